#include "scripting/PlaybackServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "platform/com/variant_text.h"
#include "platform/ui/MessageBox.h"
#include "scripting/HelperThread.h"
#include "scripting/PlaybackEngineLib.h"
#include "scripting/StringCollection.h"
#include "script_run.h"

namespace tap {
namespace {

using com::test::narrow;
using com::test::show;

class PlaybackServerTest : public testing::Test, public test::ScriptRun {
 protected:
  void TearDown() override { HelperThread::SetDisplayErrors(false); }
};

TEST_F(PlaybackServerTest, ReadScriptSeesTheReadAndTheWriteItAnswers) {
  data.SetWriteContext(0, 2500, "ignored");
  data.SetReadContext('\n', 0xFFFFFFFFu, 1000, 64, 5, 0x11, -3, "MEAS?");
  const std::pair<const char16_t*, const char*> cases[] = {
      {u"ReadTermChar", "UI1 10"},     {u"ReadFlags", "I4 -1"},       {u"ReadTimeout", "I4 1000"},
      {u"ReadBufferLength", "I4 64"},  {u"WriteActualWritten", "I4 5"}, {u"WriteFlags", "I4 17"},
      {u"WriteReturnValue", "I4 -3"},  {u"WriteTimeout", "I4 2500"},  {u"ReadStopReason", "I4 0"},
      {u"ReadReturnValue", "I4 128"},
  };
  for (const auto& [name, shown] : cases)
    EXPECT_EQ(show(Eval(u"PlaybackEngine." + std::u16string(name))), shown) << narrow(name);
}

TEST_F(PlaybackServerTest, TextsCarryOneZeroCharacterAfterTheConvertedBytes) {
  const std::pair<std::string, std::u16string> cases[] = {
      {"*IDN?", std::u16string(u"*IDN?\0", 6)},
      {"", std::u16string(u"\0", 1)},
      {std::string("A\0\x80", 3), std::u16string(u"A\0\u20AC\0", 4)},
  };
  for (const auto& [bytes, text] : cases) {
    data.SetWriteContext(0, 0, bytes);
    data.ReadText = bytes;
    EXPECT_EQ(Eval(u"PlaybackEngine.WriteText").bstr().str(), text);
    EXPECT_EQ(Eval(u"PlaybackEngine.ReadText").bstr().str(), text);
  }
}

TEST_F(PlaybackServerTest, ReadTextTakesTheAssignedTextByExactLength) {
  const std::pair<const char16_t*, std::string> cases[] = {
      {u"\"abc\"", "abc"}, {u"\"a\" & Chr(0) & \"b\"", std::string("a\0b", 3)}, {u"ChrW(937)", "?"}, {u"\"\"", ""}};
  for (const auto& [expr, bytes] : cases) {
    data.SetReadContext(0, 0, 0, 0, 0, 0, 0, "");
    data.ReadText = "stale";
    ASSERT_TRUE(RunScript(u"PlaybackEngine.ReadText = " + std::u16string(expr)).ok());
    EXPECT_EQ(data.GetReadResults().text, bytes) << narrow(expr);
  }
}

// The failing statement ends the script; what was set before it stays.
TEST_F(PlaybackServerTest, SetterInTheWrongContextStopsTheScript) {
  const std::pair<bool, const char16_t*> cases[] = {
      {false, u"PlaybackEngine.ReadText = \"x\""},        {false, u"PlaybackEngine.ReadStopReason = 1"},
      {false, u"PlaybackEngine.ReadReturnValue = 1"},     {true, u"PlaybackEngine.WriteReturnValue = 1"},
      {true, u"PlaybackEngine.WriteActualWritten = 1"},  {true, u"Set m = PlaybackEngine.WriteRegExpMatches"},
  };
  for (const auto& [read, statement] : cases) {
    if (read) data.SetReadContext(0, 0, 0, 0, 9, 0, 0, "w");
    else data.SetWriteContext(0, 0, "w");
    vbs::ScriptResult r = RunScript(u"PlaybackEngine.StoreValue \"mark\", \"before\"\n" + std::u16string(statement) +
                                    u"\nPlaybackEngine.StoreValue \"mark\", \"after\"");
    EXPECT_EQ(r.number, com::E_FAIL) << narrow(statement);
    EXPECT_EQ(show(data.values.current().at("mark")), "BSTR before");
    EXPECT_EQ(data.ReadText, "");
    EXPECT_EQ(data.ReadStopReason + data.WriteReturnValue, 0);
    EXPECT_EQ(data.ReadReturnValue, read ? 128 : 0);  // write cases run on a fresh block
    EXPECT_EQ(data.WriteActualWritten, read ? 9 : 1);
  }
  data.SetReadContext(0, 0, 0, 0, 0, 0, 0, "");
  RunScript(u"PlaybackEngine.ReadText = \"partial\"\nPlaybackEngine.WriteReturnValue = 1");
  EXPECT_EQ(data.GetReadResults().text, "partial");
}

TEST_F(PlaybackServerTest, DisplayErrorsIsTheProcessWideFlag) {
  for (const auto& [value, set] : {std::pair{u"True", true}, {u"False", false}, {u"1", true}}) {
    HelperThread::SetDisplayErrors(!set);
    ASSERT_TRUE(RunScript(u"PlaybackEngine.DisplayErrors = " + std::u16string(value)).ok());
    EXPECT_EQ(HelperThread::DisplayErrors(), set) << narrow(value);
    EXPECT_EQ(show(Eval(u"CInt(PlaybackEngine.DisplayErrors)")), set ? "I2 -1" : "I2 0");
  }
}

TEST_F(PlaybackServerTest, UserMessageShowsTheTextUnderTheDriversCaptionQueryUserValueNothing) {
  std::vector<std::u16string> shown;
  ui::MessageBoxHandler previous =
      ui::set_message_box_handler([&](std::u16string_view title, std::u16string_view text, int flags) {
        shown.push_back(std::u16string(title) + u"|" + std::u16string(text) + (flags == 0 ? u"|0" : u"|?"));
        return ui::message_box_ok;
      });
  data.SetWriteContext(0, 0, "");
  vbs::ScriptResult r = RunScript(u"PlaybackEngine.UserMessage \"Check \" & ChrW(937) & Chr(0) & \"hidden\"\n"
                                  u"PlaybackEngine.StoreValue \"asked\", PlaybackEngine.QueryUserValue(\"Value?\")");
  ui::set_message_box_handler(previous);
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(shown, std::vector<std::u16string>{u"Tarvena I/O Playback/Record Varnel Driver|Check ?|0"});
  EXPECT_EQ(show(data.values.current().at("asked")), "EMPTY");
}

TEST_F(PlaybackServerTest, SleepWaitsTheGivenTimeButNotForNegativeCounts) {
  using clock = std::chrono::steady_clock;
  auto start = clock::now();
  ASSERT_TRUE(RunScript(u"PlaybackEngine.Sleep 20").ok());
  EXPECT_GE(clock::now() - start, std::chrono::milliseconds(20));
  start = clock::now();
  ASSERT_TRUE(RunScript(u"PlaybackEngine.Sleep -1").ok());
  EXPECT_LT(clock::now() - start, std::chrono::seconds(1));
}

TEST(PlaybackServerDispatch, NamesResolveToTheirDispidsWithoutRegardToCase) {
  const char16_t* names[] = {u"WriteText",      u"writereturnvalue", u"WRITEFLAGS",         u"WriteTimeout",
                             u"WriteActualWritten", u"ReadStopReason", u"ReadReturnValue",   u"readtext",
                             u"ReadFlags",      u"ReadTimeout",      u"ReadTermChar",       u"QueryUserValue",
                             u"DisplayErrors",  u"sleep",            u"UserMessage",        u"ReadBufferLength",
                             u"StoreValue",     u"GetValue",         u"WriteRegExpMatches", u"resetVALUES"};
  com::Ref<PlaybackServer> s = com::make_ref<PlaybackServer>();
  for (com::DISPID expected = 1; const char16_t* name : names) {
    com::DISPID id = -99;
    EXPECT_EQ(s->GetIDsOfNames(name, &id), com::S_OK) << narrow(name);
    EXPECT_EQ(id, expected++) << narrow(name);
  }
  com::DISPID id = 0;
  EXPECT_EQ(s->GetIDsOfNames(u"WriteTextX", &id), com::DISP_E_UNKNOWNNAME);
}

TEST(PlaybackServerDispatch, ArgumentsAreConvertedToTheDeclaredTypes) {
  PlaybackServerData data;
  data.SetWriteContext(0, 0, "");
  com::Ref<PlaybackServer> s = com::make_ref<PlaybackServer>();
  s->set_data(&data);
  auto put = [&](com::DISPID id, com::Variant value) {
    return s->Invoke(id, com::DISPATCH_PROPERTYPUT, std::span<com::Variant>(&value, 1), nullptr, nullptr);
  };
  EXPECT_EQ(put(2, com::Variant(u"42")), com::S_OK);
  EXPECT_EQ(data.WriteReturnValue, 42);
  EXPECT_EQ(put(2, com::Variant(u"x")), com::DISP_E_TYPEMISMATCH);
  EXPECT_EQ(put(2, com::Variant(3e9)), com::DISP_E_OVERFLOW);
  EXPECT_EQ(put(3, com::Variant(1)), com::DISP_E_MEMBERNOTFOUND);  // WriteFlags is read-only
  data.SetReadContext(0, 0, 0, 0, 0, 0, 0, "");
  EXPECT_EQ(put(8, com::Variant(std::int32_t{12})), com::S_OK);
  EXPECT_EQ(data.ReadText, "12");
}

TEST(PlaybackServerDispatch, WithoutABlockMembersFailInsteadOfCrashing) {
  com::Ref<PlaybackServer> s = com::make_ref<PlaybackServer>();
  com::Variant out, key(u"k");
  for (com::DISPID id : {1, 2, 8, 11, 16, 19})
    EXPECT_EQ(s->Invoke(id, com::DISPATCH_PROPERTYGET, {}, &out, nullptr), com::E_POINTER) << id;
  EXPECT_EQ(s->Invoke(18, com::DISPATCH_METHOD, std::span<com::Variant>(&key, 1), &out, nullptr), com::E_POINTER);
}

TEST(PlaybackServerDispatch, ErrorInfoIsSupportedForTheObjectsOwnInterfaces) {
  com::Ref<PlaybackServer> server = com::make_ref<PlaybackServer>();
  com::Ref<StringCollection> collection = com::make_ref<StringCollection>();
  EXPECT_EQ(server->InterfaceSupportsErrorInfo(IID_IPlaybackEngine), com::S_OK);
  EXPECT_EQ(server->InterfaceSupportsErrorInfo(com::IID_IDispatch), com::S_FALSE);
  EXPECT_EQ(collection->InterfaceSupportsErrorInfo(IID__IStringCollection), com::S_OK);
  EXPECT_EQ(collection->InterfaceSupportsErrorInfo(com::IID_IDispatch), com::S_OK);
  EXPECT_EQ(collection->InterfaceSupportsErrorInfo(IID_IPlaybackEngine), com::S_FALSE);
}

}  // namespace
}  // namespace tap
