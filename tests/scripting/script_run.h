#pragma once
// Runs VBScript against a PlaybackServer the way the worker does: a module
// declaring one procedure with the object as its by-value parameter.
#include <gtest/gtest.h>

#include <span>
#include <string>
#include <string_view>

#include "platform/com/RefCounted.h"
#include "platform/com/variant_text.h"
#include "scripting/PlaybackServer.h"
#include "scripting/PlaybackServerData.h"
#include "vbscript/host/ScriptHost.h"

namespace tap::test {

class ScriptRun {
 public:
  ScriptRun() { server->set_data(&data); }

  // The body as ExecuteWrite; the context is whatever the block is in.
  vbs::ScriptResult RunScript(std::u16string_view body) {
    return Call(u"Sub ExecuteWrite(ByVal PlaybackEngine)\n" + std::u16string(body) + u"\nEnd Sub",
                u"ExecuteWrite");
  }

  // The value of expr after the setup statements.
  com::Variant Eval(std::u16string_view expr, std::u16string_view setup = {}) {
    vbs::ScriptResult r = Call(u"Function Probe(ByVal PlaybackEngine)\n" + std::u16string(setup) + u"\nProbe = " +
                                   std::u16string(expr) + u"\nEnd Function",
                               u"Probe");
    EXPECT_TRUE(r.ok()) << "error " << r.number << " evaluating " << com::test::narrow(expr);
    return r.value;
  }

  PlaybackServerData data;
  com::Ref<PlaybackServer> server = com::make_ref<PlaybackServer>();

 private:
  vbs::ScriptResult Call(const std::u16string& module, std::u16string_view procedure) {
    host_.reset();
    vbs::ScriptResult added = host_.add_code(module);
    if (!added.ok()) return added;
    com::Variant arg{com::Ref<com::IDispatch>(server)};
    return host_.run(procedure, std::span<com::Variant>(&arg, 1));
  }

  vbs::ScriptHost host_;
};

}  // namespace tap::test
