// srplay's command line: help when the words make no command, the
// project's version, and the system's reason for files it cannot read.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "tools/shell_command.h"

namespace tap::e2e {
namespace {

struct Output {
  int exit_code = -1;
  std::string text;
};

Output srplay(const std::string& args) {
  std::string cmd = std::string(TAP_SRPLAY_PATH) + " " + args + " 2>&1 </dev/null";
  test::ShellResult r = test::run_shell(cmd);
  return {r.exit_code, std::move(r.out)};
}

// The version the build declares, read from the project's CMakeLists.txt.
std::string project_version() {
  std::ifstream in(std::string(TAP_SOURCE_DIR) + "/CMakeLists.txt");
  std::stringstream text;
  text << in.rdbuf();
  std::smatch m;
  std::string s = text.str();
  if (!std::regex_search(s, m, std::regex(R"(project\(taplayback VERSION ([0-9.]+))"))) return "?";
  return m[1];
}

struct HelpCase {
  const char* name;
  const char* args;
  const char* reason;  // what the message must name besides the help
};

class SrplayHelp : public testing::TestWithParam<HelpCase> {};

TEST_P(SrplayHelp, PrintsTheSubcommandsAndFails) {
  Output out = srplay(GetParam().args);
  EXPECT_EQ(out.exit_code, 2) << out.text;
  for (const char* sub : {"check", "info", "run", "vbs", "driver"})
    EXPECT_NE(out.text.find(std::string("  ") + sub), std::string::npos) << sub << "\n" << out.text;
  EXPECT_NE(out.text.find(GetParam().reason), std::string::npos) << out.text;
}

INSTANTIATE_TEST_SUITE_P(
    Srplay, SrplayHelp,
    testing::Values(HelpCase{"no_arguments", "", "Usage"},
                    HelpCase{"unknown_subcommand", "--driver x.so play x.xml", "unknown subcommand \"play\""},
                    HelpCase{"options_only", "--driver /nonexistent.so", "A subcommand is required"}),
    [](const auto& info) { return std::string(info.param.name); });

// Within a subcommand, CLI11 would exit with its own codes (106, 105...).
TEST(Srplay, CommandLinesItCannotUseExitWithTwo) {
  for (const char* args : {"check --no-such-option x.xml", "run", "run x.xml --show many"}) {
    Output out = srplay(args);
    EXPECT_EQ(out.exit_code, 2) << args << "\n" << out.text;
    EXPECT_FALSE(out.text.empty()) << args;
  }
}

TEST(Srplay, VersionIsTheProjectVersion) {
  Output out = srplay("--version");
  EXPECT_EQ(out.exit_code, 0);
  EXPECT_EQ(out.text, "srplay " + project_version() + "\n");
}

struct UnreadableCase {
  const char* name;
  const char* subcommand;
  bool directory;  // the path names a directory rather than nothing
};

class SrplayUnreadable : public testing::TestWithParam<UnreadableCase> {};

TEST_P(SrplayUnreadable, GivesTheSystemsReason) {
  const UnreadableCase& c = GetParam();
  std::string path = c.directory ? std::string(TAP_SOURCE_DIR) + "/examples"
                                 : std::string(TAP_SOURCE_DIR) + "/examples/no-such-recording.xml";
  Output out = srplay(std::string(c.subcommand) + " " + path);
  EXPECT_EQ(out.exit_code, 2) << out.text;
  std::string reason = c.directory ? "Is a directory" : "No such file or directory";
  EXPECT_NE(out.text.find("cannot read " + path + ": " + reason), std::string::npos) << out.text;
}

INSTANTIATE_TEST_SUITE_P(Srplay, SrplayUnreadable,
                         testing::Values(UnreadableCase{"check_missing", "check", false},
                                         UnreadableCase{"info_directory", "info", true},
                                         UnreadableCase{"run_missing", "run", false},
                                         UnreadableCase{"run_directory", "run", true},
                                         UnreadableCase{"vbs_missing", "vbs", false},
                                         UnreadableCase{"check_directory", "check", true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tap::e2e
