// srplay as a user runs it: check, info and run on recordings.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "playfile/RecordingText.h"
#include "tools/shell_command.h"

namespace tap::e2e {
namespace {

namespace rec = recording;

struct Output {
  int exit_code = -1;
  std::string text;
};

Output srplay(const std::string& args) {
  std::string cmd = std::string(TAP_SRPLAY_PATH) + " --driver " + TAP_DRIVER_PATH + " " + args + " 2>&1";
  test::ShellResult r = test::run_shell(cmd);
  return {r.exit_code, std::move(r.out)};
}

std::string example(const char* name) { return std::string(TAP_SOURCE_DIR) + "/examples/" + name; }

TEST(PlaybackSrplay, RunPrintsOneJsonObjectPerCall) {
  Output out = srplay("run " + example("bench-multimeter.xml") +
                      " --json 'query *IDN?\\n' 'count 4' 'query SYST:ERR?\\n' 'write *TST?\\n'");
  ASSERT_EQ(out.exit_code, 0) << out.text;
  EXPECT_NE(out.text.find("{\"call\":\"open\",\"status\":0,"), std::string::npos) << out.text;
  EXPECT_NE(out.text.find("\"bytes\":\"TARVENA,TDM-4520,SN10442,1.07\\n\""), std::string::npos);
  // "+0,\"No error\"\n" through a 4-byte buffer: 4 pieces with stop 1, then the last.
  EXPECT_NE(out.text.find("\"count\":4,\"stop_reason\":1,\"bytes\":\"+0,\\\"\""), std::string::npos);
  EXPECT_NE(out.text.find("{\"call\":\"write\",\"status\":15,\"count\":0,"), std::string::npos);
}

TEST(PlaybackSrplay, RunPlaysDoCommandsFromStandardInput) {
  Output out = srplay("run " + example("usb-daq-docommand.xml") + " < " +
                      example("usb-daq-docommand.conv"));
  ASSERT_EQ(out.exit_code, 0) << out.text;
  EXPECT_NE(out.text.find("\"\\x03\\x00\\x00\\x00\""), std::string::npos) << out.text;
  EXPECT_NE(out.text.find("status -1073807343"), std::string::npos) << out.text;
}

TEST(PlaybackSrplay, RunReportsAFailedOpen) {
  Output out = srplay("run " + example("bench-multimeter.xml") + " --address gpib,5 'query *IDN?\\n'");
  EXPECT_EQ(out.exit_code, 1);
  EXPECT_NE(out.text.find("open   status 20"), std::string::npos) << out.text;
}

TEST(PlaybackSrplay, InfoAndCheckExplainWhatTheDriverWillUse) {
  rec::TempFile file(rec::file(rec::stream(
      rec::address("gpib", "22"),
      rec::pair("A", {rec::response("1")}) + rec::pair("B", {}, 0, "2.0") +
          rec::docommand("3", "", {rec::docommand_response("")}, "", "1.5", "exactmatch"))));
  Output info = srplay("info " + file.path());
  ASSERT_EQ(info.exit_code, 0) << info.text;
  EXPECT_NE(info.text.find("2 pair(s) (1 never match), 1 DoCommand entry (1 never match)"),
            std::string::npos) << info.text;
  Output check = srplay("check " + file.path());
  EXPECT_EQ(check.exit_code, 0) << check.text;
  EXPECT_NE(check.text.find("version 2.0 is newer than 1.5"), std::string::npos) << check.text;
  EXPECT_NE(check.text.find("doCmdType \"exactmatch\" is not \"exactMatch\""), std::string::npos);
  rec::TempFile bad("<IORecordStreamFile/>");
  Output refused = srplay("check " + bad.path());
  EXPECT_EQ(refused.exit_code, 1);
  EXPECT_NE(refused.text.find("refused"), std::string::npos) << refused.text;
}

TEST(PlaybackSrplay, CheckWarnsOfScriptsThatDoNotCompileButStillAcceptsTheFile) {
  // The body's error is on its second line; the Stimulus element is on
  // line 5 of the file.
  rec::TempFile file(rec::file(rec::stream(
      rec::address("gpib", "22"),
      "<IOStimulusResponse version=\"1.5\" name=\"volt\">\n"
      "<Stimulus stimulusType=\"vbscript\" readWriteFlags=\"0\" patternString=\"VOLT\" "
      "scriptString=\"x = 1&#10;y = (2\"/>\n"
      "<Response responseType=\"vbscript\" returnValue=\"0\" stopReason=\"0\"><ExactString>" +
          rec::hex("PlaybackEngine.ReadText = \"1\"") +
          "</ExactString></Response>\n</IOStimulusResponse>\n")));
  Output check = srplay("check " + file.path());
  EXPECT_EQ(check.exit_code, 0) << check.text;
  EXPECT_NE(check.text.find(":5: warning: stream 0, pair 0 \"volt\", stimulus: line 2 of its script:"), std::string::npos)
      << check.text;
  // The response compiles: no warning names it.
  EXPECT_EQ(check.text.find("response 0"), std::string::npos) << check.text;
  EXPECT_NE(check.text.find("the driver loads this file"), std::string::npos);
}

}  // namespace
}  // namespace tap::e2e
