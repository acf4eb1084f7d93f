// The host face: results as values, time-outs, the compile cache, calls
// with arguments (a host object among them) and reset.
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "platform/com/Dispatch.h"
#include "vbscript/ScriptError.h"
#include "vbscript/host/ScriptHost.h"

namespace {

using tap::com::Ref;
using tap::com::Variant;
using tap::vbs::ScriptHost;
using tap::vbs::ScriptResult;

// A host object with a property and a method that writes a ByRef argument.
class Probe final : public tap::com::IDispatch {
 public:
  std::int32_t value = 0;
  tap::com::HRESULT GetIDsOfNames(std::u16string_view name, tap::com::DISPID* id) override {
    if (tap::com::names_equal(name, u"Value")) *id = 1;
    else if (tap::com::names_equal(name, u"Fill")) *id = 2;
    else return tap::com::DISP_E_UNKNOWNNAME;
    return tap::com::S_OK;
  }
  tap::com::HRESULT Invoke(tap::com::DISPID id, tap::com::InvokeFlags flags, std::span<Variant> args, Variant* result,
                           tap::com::ExcepInfo*) override {
    if (id == 1 && (flags & tap::com::DISPATCH_PROPERTYPUT)) {
      value = args.back().deref().i4();
      return tap::com::S_OK;
    }
    if (id == 1) {
      *result = Variant(value);
      return tap::com::S_OK;
    }
    if (id == 2 && args.size() == 1 && args[0].is_byref()) {
      args[0].deref() = Variant(u"filled");
      return tap::com::S_OK;
    }
    return tap::com::DISP_E_MEMBERNOTFOUND;
  }
  std::u16string type_name() const override { return u"Probe"; }
};

TEST(ScriptHost, SyntaxErrorsReportNumberAndPosition) {
  struct Case {
    const char16_t* text;
    std::int32_t number, line, column;
  };
  const Case cases[] = {
      {u"x = 1\ny = (2", 1006, 2, 7},
      {u"If x Then\nx = 1\n", 1014, 3, 1},
      {u"x = \"open", 1033, 1, 5},
      {u"Dim 5", 1010, 1, 5},
      {u"Next", 1055, 1, 1},
      {u"Sub s\nExit Function\nEnd Sub", 1039, 2, 1},
      {u"x = Me", 1037, 1, 5},
  };
  for (const Case& c : cases) {
    ScriptHost host;
    ScriptResult r = host.add_code(c.text);
    EXPECT_EQ(r.number, c.number) << "case " << (&c - cases);
    EXPECT_EQ(r.line, c.line);
    EXPECT_EQ(r.column, c.column);
    EXPECT_EQ(r.source, u"Microsoft VBScript compilation error");
  }
}

TEST(ScriptHost, RuntimeErrorsCarryTheStatementLine) {
  ScriptHost host;
  ScriptResult r = host.add_code(u"a = 1\nSub F()\n  b = 1 / 0\nEnd Sub\nF\n");
  EXPECT_EQ(r.number, 11);
  EXPECT_EQ(r.description, u"Division by zero");
  EXPECT_EQ(r.source, u"Microsoft VBScript runtime error");
  EXPECT_EQ(r.line, 3);
  EXPECT_EQ(r.column, 3);
}

TEST(ScriptHost, RunsNamedProcedureWithObjectArgument) {
  ScriptHost host;
  ASSERT_TRUE(host.add_code(u"Function Handle(engine, n)\n"
                            u"  engine.Value = engine.Value + n\n"
                            u"  Dim s : engine.Fill s\n"
                            u"  Handle = s & \":\" & TypeName(engine)\n"
                            u"End Function\n")
                  .ok());
  Ref<Probe> probe(new Probe);
  probe->value = 40;
  std::vector<Variant> args{Variant(Ref<tap::com::IDispatch>(probe.get())), Variant(std::int32_t{2})};
  ScriptResult r = host.run(u"handle", args);
  ASSERT_TRUE(r.ok()) << r.number;
  EXPECT_EQ(probe->value, 42);
  EXPECT_EQ(r.value.bstr().str(), u"filled:Probe");

  EXPECT_EQ(host.run(u"Missing", {}).number, 35);
}

TEST(ScriptHost, TimeOutStopsEndlessLoops) {
  const char16_t* loops[] = {u"Do : Loop", u"While True : Wend", u"Sub S : S : End Sub\nDo : On Error Resume Next : S : Loop",
                             u"On Error Resume Next\nDo\nx = 1 / 0\nLoop"};
  for (const char16_t* text : loops) {
    ScriptHost host;
    host.set_timeout(100);
    auto start = std::chrono::steady_clock::now();
    ScriptResult r = host.add_code(text);
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(r.description, u"Script timed out");
    EXPECT_GE(ms, 100);
    // Generous: the machine running the tests may be busy.
    EXPECT_LT(ms, 400) << std::string(text, text + 8);
  }
}

TEST(ScriptHost, ResetDropsGlobalsAndCachedTextRunsAgain) {
  ScriptHost host;
  const char16_t* text = u"Dim n : n = n + 1\nFunction Get() : Get = n : End Function\n";
  ASSERT_TRUE(host.add_code(text).ok());
  ASSERT_TRUE(host.add_code(u"n = n + 10").ok());
  EXPECT_EQ(host.run(u"Get", {}).value.i2(), 11);
  host.reset();
  EXPECT_EQ(host.run(u"Get", {}).number, 35);
  ASSERT_TRUE(host.add_code(text).ok());
  EXPECT_EQ(host.run(u"Get", {}).value.i2(), 1);
}

TEST(ScriptHost, ObjectsOutliveReset) {
  ScriptHost host;
  ASSERT_TRUE(host.add_code(u"Class C\nPublic V\nSub Class_Terminate : V = 0 : End Sub\nEnd Class\n"
                            u"Function Make() : Set Make = New C : Make.V = 7 : End Function")
                  .ok());
  ScriptResult r = host.run(u"Make", {});
  ASSERT_TRUE(r.ok());
  Ref<tap::com::IDispatch> kept = r.value.dispatch();
  host.reset();
  tap::com::DISPID id;
  EXPECT_TRUE(tap::com::failed(kept->GetIDsOfNames(u"V", &id)));
  EXPECT_EQ(kept->type_name(), u"C");
}

TEST(ScriptHost, QuitEndsTheRun) {
  ScriptHost host;
  class Quitter final : public tap::com::IDispatch {
   public:
    tap::com::HRESULT GetIDsOfNames(std::u16string_view, tap::com::DISPID* id) override {
      *id = 1;
      return tap::com::S_OK;
    }
    tap::com::HRESULT Invoke(tap::com::DISPID, tap::com::InvokeFlags, std::span<Variant>, Variant*,
                             tap::com::ExcepInfo*) override {
      throw tap::vbs::ScriptAbort(tap::vbs::ScriptAbort::Kind::quit, 3);
    }
    std::u16string type_name() const override { return u"Object"; }
  };
  host.add_object(u"Host", Ref<tap::com::IDispatch>(new Quitter));
  ScriptResult r = host.add_code(u"On Error Resume Next\nHost.Stop\nx = 1");
  EXPECT_TRUE(r.quit);
  EXPECT_EQ(r.exit_code, 3);
}

}  // namespace
