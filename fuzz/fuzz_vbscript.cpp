// Parses and runs arbitrary text as a module with a short time-out: any
// crash, sanitizer report or hang is a bug; script errors are fine.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/os/code_page.h"
#include "platform/ui/MessageBox.h"
#include "vbscript/host/ScriptHost.h"
#include "vbscript/host/WScriptObject.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool quiet = [] {
    tap::ui::set_message_box_handler([](std::u16string_view, std::u16string_view, int) { return 1; });
    return true;
  }();
  (void)quiet;
  if (size > 8192) return 0;
  std::u16string text = tap::os::utf8_to_wide(std::string_view(reinterpret_cast<const char*>(data), size));
  tap::vbs::ScriptHost host;
  host.set_timeout(50);
  host.add_object(u"WScript",
                  tap::com::Ref<tap::com::IDispatch>(new tap::vbs::WScriptObject([](const std::u16string&) {})));
  host.add_code(text);
  // The same text again after a reset takes the cached path.
  host.reset();
  host.add_object(u"WScript",
                  tap::com::Ref<tap::com::IDispatch>(new tap::vbs::WScriptObject([](const std::u16string&) {})));
  host.add_code(text);
  host.run(u"Main", {});
  return 0;
}
