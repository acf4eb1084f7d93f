// What scripts see of the PlaybackEngine object through the driver: the
// capture groups, the texts of the write and the read, the context rule,
// DisplayErrors and the dialogs.
#include "e2e/scripted_fixture.h"

namespace tap::e2e {
namespace {

namespace rec = recording;

TEST_F(ScriptedPlaybackTest, WriteScriptWalksTheCaptureGroupsOfItsOwnPattern) {
  open_scripted(rec::script_pair("^CONF (\\w+) (\\d+)(?:,(\\w+))?$",
                                 "s = \"\"\n"
                                 "For Each g In PlaybackEngine.WriteRegExpMatches\n"
                                 "  s = s & \"[\" & g & \"]\"\n"
                                 "Next\n"
                                 "Set m = PlaybackEngine.WriteRegExpMatches\n"
                                 "s = s & m.Count & \" \" & m.Item(2) & \" \" & PlaybackEngine.WriteRegExpMatches(1)\n"
                                 "PlaybackEngine.StoreValue \"seen\", s") +
                rec::script_pair("^ITEM (-?\\d+)$",
                                 "PlaybackEngine.WriteReturnValue = 1\n"
                                 "i = CLng(PlaybackEngine.WriteRegExpMatches(1))\n"
                                 "x = PlaybackEngine.WriteRegExpMatches.Item(i)\n"
                                 "PlaybackEngine.WriteReturnValue = 2"));
  ASSERT_EQ(write("CONF VOLT 12").status, 0);
  // The group that took no part gives an empty string.
  EXPECT_EQ(stored("seen"), "String=[VOLT][12][]3 12 VOLT");
  ASSERT_EQ(write("CONF CURR 2,FAST").status, 0);
  EXPECT_EQ(stored("seen"), "String=[CURR][2][FAST]3 2 CURR");

  // Out of range, Item fails and the script ends there.
  const std::pair<const char*, std::int32_t> items[] = {{"ITEM 1", 2}, {"ITEM 0", 1}, {"ITEM 2", 1},
                                                        {"ITEM -1", 1}};
  for (const auto& [written, status] : items) EXPECT_EQ(write(written).status, status) << written;
}

TEST_F(ScriptedPlaybackTest, ForEachOverNoCaptureGroupsFailsAtTheFirstStep) {
  open_scripted(rec::script_pair("^NONE$",
                                 "PlaybackEngine.WriteActualWritten = PlaybackEngine.WriteRegExpMatches.Count\n"
                                 "PlaybackEngine.WriteReturnValue = 1\n"
                                 "For Each g In PlaybackEngine.WriteRegExpMatches\n"
                                 "  PlaybackEngine.WriteReturnValue = 3\n"
                                 "Next\n"
                                 "PlaybackEngine.WriteReturnValue = 2"));
  Result w = write("NONE");
  EXPECT_EQ(w.status, 1);
  EXPECT_EQ(w.actual, 0u);
}

// A write script sees the write's bytes with one zero character added,
// zero bytes inside included, through the ANSI code page.
TEST_F(ScriptedPlaybackTest, WriteTextCarriesTheBytesAndOneZeroCharacter) {
  open_scripted(rec::script_pair("^TEXT",
                                 "t = PlaybackEngine.WriteText\n"
                                 "PlaybackEngine.WriteReturnValue = Len(t)\n"
                                 "PlaybackEngine.WriteActualWritten = AscW(Mid(t, 5, 1)) * 1000 + AscW(Right(t, 1))"));
  const struct {
    std::string written;
    std::int32_t length;
    std::uint32_t fifth_and_last;
  } cases[] = {{"TEXT5", 6, '5' * 1000},
               {"TEXT\x80", 6, 0x20AC * 1000},
               {std::string("TEXT\0Z", 6), 7, 0}};
  for (const auto& c : cases) {
    Result w = write(c.written);
    EXPECT_EQ(w.status, c.length) << c.written;
    EXPECT_EQ(w.actual, c.fifth_and_last) << c.written;
  }
}

TEST_F(ScriptedPlaybackTest, ReadTextBecomesExactlyItsAnsiBytes) {
  open_scripted(rec::script_pair("^ANSI\\?$", "",
                                 {rec::script_response("PlaybackEngine.ReadText = \"x\" & ChrW(8364) & ChrW(937)\n"
                                                       "PlaybackEngine.ReadReturnValue = 0")}));
  write("ANSI?");
  Result r = read(64);
  EXPECT_EQ(r.bytes, "x\x80?");
  EXPECT_EQ(r.actual, 3u);
}

// A read script sees the write it answers: the written bytes, the flags,
// and the count and status that write reported; WriteTimeout stays that of
// the last write script.
TEST_F(ScriptedPlaybackTest, ReadScriptSeesTheAnsweredWriteAndItsOwnRead) {
  const std::string report = rec::script_response(
      "t = PlaybackEngine.WriteText\n"
      "PlaybackEngine.ReadText = Left(t, Len(t) - 1) & \"|\" & PlaybackEngine.WriteFlags & \"|\" & "
      "PlaybackEngine.WriteActualWritten & \"|\" & PlaybackEngine.WriteReturnValue & \"|\" & "
      "PlaybackEngine.WriteTimeout & \"|\" & PlaybackEngine.ReadBufferLength & \"|\" & "
      "PlaybackEngine.ReadTermChar & \"|\" & PlaybackEngine.ReadFlags & \"|\" & PlaybackEngine.ReadTimeout\n"
      "PlaybackEngine.ReadReturnValue = 0");
  open_scripted(rec::script_pair("^ASK 1$",
                                 "PlaybackEngine.WriteActualWritten = 3\n"
                                 "PlaybackEngine.WriteReturnValue = 4",
                                 {report}) +
                rec::pair("ASK 2", {report}, 0, "1.5",
                          "returnValue=\"5\" actualWritten=\"99\" readWriteFlags=\"0\""));
  auto read_with = [&](std::uint32_t flags, std::int32_t timeout, std::uint8_t term) {
    std::string buffer(300, '\0');
    std::uint32_t actual = 0;
    std::int32_t stop = 0;
    driver().read(session_, flags, timeout, term, reinterpret_cast<std::uint8_t*>(buffer.data()),
                  300, &actual, &stop);
    return buffer.substr(0, actual);
  };
  Result w = write("ASK 1", 1234, 0x10);
  EXPECT_EQ(w.status, 4);
  EXPECT_EQ(w.actual, 3u);
  EXPECT_EQ(read_with(0x20, 777, '\r'), "ASK 1|16|3|4|1234|300|13|32|777");
  EXPECT_EQ(write("ASK 2", 50, 0x10).status, 5);
  EXPECT_EQ(read_with(0, 900, '\n'), "ASK 2|16|99|5|1234|300|10|0|900");
}

struct ContextCase {
  const char* name;
  std::string statement;
};
void PrintTo(const ContextCase& c, std::ostream* os) { *os << c.name; }

class SetterInTheWrongContext : public ScriptedPlaybackTest,
                                public testing::WithParamInterface<ContextCase> {};

// The failed setter ends the script: what came before it stays, nothing
// after it runs.
TEST_P(SetterInTheWrongContext, EndsTheScript) {
  const std::string& statement = GetParam().statement;
  open_scripted(rec::script_pair("^W$",
                                 "PlaybackEngine.WriteReturnValue = 4\n" + statement +
                                     "\nPlaybackEngine.WriteReturnValue = 5",
                                 {rec::script_response("PlaybackEngine.ReadText = \"ok\"\n"
                                                       "PlaybackEngine.ReadReturnValue = 0\n" +
                                                       statement +
                                                       "\nPlaybackEngine.ReadStopReason = 2\n"
                                                       "PlaybackEngine.ReadText = \"late\"")}));
  bool write_side = statement.find("PlaybackEngine.Read") != std::string::npos;
  EXPECT_EQ(write("W").status, write_side ? 4 : 5);
  Result r = read(64);
  EXPECT_EQ(r.bytes, write_side ? "late" : "ok");
  EXPECT_EQ(r.stop, write_side ? 2 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SetterInTheWrongContext,
    testing::Values(ContextCase{"ReadText", "PlaybackEngine.ReadText = \"x\""},
                    ContextCase{"ReadStopReason", "PlaybackEngine.ReadStopReason = 1"},
                    ContextCase{"ReadReturnValue", "PlaybackEngine.ReadReturnValue = 1"},
                    ContextCase{"WriteReturnValue", "PlaybackEngine.WriteReturnValue = 1"},
                    ContextCase{"WriteActualWritten", "PlaybackEngine.WriteActualWritten = 1"},
                    ContextCase{"WriteRegExpMatches", "n = PlaybackEngine.WriteRegExpMatches.Count"}),
    [](const testing::TestParamInfo<ContextCase>& info) { return std::string(info.param.name); });

TEST_F(ScriptedPlaybackTest, DisplayErrorsReadsFalseAtTheStartOfEveryScript) {
  open_scripted(rec::script_pair("^DISPLAY$",
                                 "PlaybackEngine.WriteReturnValue = 10 + CInt(PlaybackEngine.DisplayErrors)\n"
                                 "PlaybackEngine.DisplayErrors = True\n"
                                 "PlaybackEngine.WriteActualWritten = 20 + CInt(PlaybackEngine.DisplayErrors)",
                                 {rec::script_response("PlaybackEngine.ReadText = CStr(PlaybackEngine.DisplayErrors)")}));
  for (int run = 0; run < 2; ++run) {
    Result w = write("DISPLAY");
    EXPECT_EQ(w.status, 10);
    EXPECT_EQ(w.actual, 19u);
    EXPECT_EQ(read(64).bytes, "False");
  }
}

TEST_F(ScriptedPlaybackTest, DialogsLetTheScriptGoOn) {
  open_scripted(rec::script_pair("^ASK$",
                                 "v = PlaybackEngine.QueryUserValue(\"Serial number?\")\n"
                                 "PlaybackEngine.WriteReturnValue = 100 + VarType(v)") +
                rec::script_pair("^TELL$",
                                 "PlaybackEngine.UserMessage \"Connect the 24 \" & ChrW(937) & \" load\"\n"
                                 "PlaybackEngine.WriteReturnValue = 3"));
  testing::internal::CaptureStderr();
  Result asked = write("ASK");
  std::string shown_for_ask = testing::internal::GetCapturedStderr();
  EXPECT_EQ(asked.status, 100);
  EXPECT_EQ(shown_for_ask, "");

  testing::internal::CaptureStderr();
  Result told = write("TELL");
  std::string shown = testing::internal::GetCapturedStderr();
  EXPECT_EQ(told.status, 3);
#ifdef _WIN32
  // The system's own box, which the tests' Wine, without a display, closes
  // at once; nothing goes to standard error.
  EXPECT_EQ(shown, "");
#else
  // The default box writes its title and text to standard error.
  EXPECT_EQ(shown, "Tarvena I/O Playback/Record Varnel Driver: Connect the 24 ? load\n");
#endif
}

}  // namespace
}  // namespace tap::e2e
