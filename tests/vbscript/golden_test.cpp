// Runs every .vbs file below this folder through the engine and compares
// what it echoes with its "' expect: TEXT" lines, in order; a file with
// "' expect error: N" must stop with run-time or compilation error N.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/os/code_page.h"
#include "platform/ui/MessageBox.h"
#include "vbscript/host/ScriptHost.h"
#include "vbscript/host/WScriptObject.h"

namespace {

namespace fs = std::filesystem;
using tap::os::utf8_to_wide;
using tap::os::wide_to_utf8;

struct Golden {
  std::string path;
  std::vector<std::string> lines;
  int error = 0;  // 0: must succeed
};

Golden load(const fs::path& p) {
  Golden g;
  g.path = p.string();
  std::ifstream in(p, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    auto at = line.find("' expect");
    if (at == std::string::npos) continue;
    std::string rest = line.substr(at + 8);
    if (rest.rfind(" error:", 0) == 0) {
      g.error = std::stoi(rest.substr(7));
    } else if (rest.rfind(":", 0) == 0) {
      rest.erase(0, 1);
      if (!rest.empty() && rest[0] == ' ') rest.erase(0, 1);
      g.lines.push_back(rest);
    }
  }
  return g;
}

std::vector<std::string> all_scripts() {
  std::vector<std::string> out;
  for (const auto& e : fs::recursive_directory_iterator(TAP_TEST_DATA_DIR))
    if (e.is_regular_file() && e.path().extension() == ".vbs") out.push_back(e.path().string());
  std::sort(out.begin(), out.end());
  return out;
}

std::string test_name(const testing::TestParamInfo<std::string>& info) {
  std::string rel = fs::relative(info.param, TAP_TEST_DATA_DIR).string();
  for (char& c : rel)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return rel;
}

class GoldenScript : public testing::TestWithParam<std::string> {
#ifdef _WIN32
  // The default box is the system's there, which would wait for a person:
  // scripts get the answer the stand-in gives elsewhere, OK.
 protected:
  void SetUp() override {
    previous_ = tap::ui::set_message_box_handler(
        [](std::u16string_view, std::u16string_view, int) { return tap::ui::message_box_ok; });
  }
  void TearDown() override { tap::ui::set_message_box_handler(previous_); }

 private:
  tap::ui::MessageBoxHandler previous_;
#endif
};

// The time-out only stops a script that would never end; the sanitizers
// make the heaviest scripts (a 100,000-link chain released) twenty times
// slower, so they get more room there.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr std::int32_t kScriptTimeoutMs = 120000;
#else
constexpr std::int32_t kScriptTimeoutMs = 10000;
#endif

TEST_P(GoldenScript, PrintsExpectedLines) {
  Golden g = load(GetParam());
  std::ifstream in(g.path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();

  std::vector<std::string> printed;
  tap::vbs::ScriptHost host;
  host.set_timeout(kScriptTimeoutMs);
  host.add_object(u"WScript", tap::com::Ref<tap::com::IDispatch>(new tap::vbs::WScriptObject(
                                  [&](const std::u16string& line) { printed.push_back(wide_to_utf8(line)); })));
  tap::vbs::ScriptResult r = host.add_code(utf8_to_wide(text.str()));

  if (g.error != 0) {
    EXPECT_EQ(r.number, g.error) << wide_to_utf8(r.description) << " at line " << r.line;
  } else {
    EXPECT_EQ(r.number, 0) << wide_to_utf8(r.description) << " at line " << r.line << ", column " << r.column;
  }
  std::size_t n = std::max(printed.size(), g.lines.size());
  for (std::size_t i = 0; i < n; ++i) {
    std::string want = i < g.lines.size() ? g.lines[i] : "<nothing>";
    std::string got = i < printed.size() ? printed[i] : "<nothing>";
    EXPECT_EQ(got, want) << "line " << i + 1 << " of the output";
  }
}

INSTANTIATE_TEST_SUITE_P(Scripts, GoldenScript, testing::ValuesIn(all_scripts()), test_name);

}  // namespace
