#include "vbs_command.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "file_problem.h"
#include "platform/os/code_page.h"
#include "vbscript/host/ScriptHost.h"
#include "vbscript/host/WScriptObject.h"

namespace srplay {

namespace {

// Scripts come as UTF-8 (with or without a BOM), UTF-16 with a BOM, or in
// the ANSI code page as Windows editors save them.
std::u16string decode(const std::string& bytes) {
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE) {
    std::u16string out;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
      out.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                          (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    return out;
  }
  std::string_view body(bytes);
  if (body.size() >= 3 && body.substr(0, 3) == "\xEF\xBB\xBF") return tap::os::utf8_to_wide(body.substr(3));
  std::u16string wide = tap::os::utf8_to_wide(body);
  if (wide.find(u'\xFFFD') != std::u16string::npos && body.find("\xEF\xBF\xBD") == std::string_view::npos)
    return tap::os::ansi_to_wide(body);
  return wide;
}

}  // namespace

int run_vbs_command(const std::vector<std::string>& files, int timeout_ms, std::size_t memory_limit_bytes) {
  tap::vbs::ScriptHost host;
  host.set_timeout(timeout_ms);
  host.set_memory_limit(memory_limit_bytes);
  host.add_object(u"WScript", tap::com::Ref<tap::com::IDispatch>(new tap::vbs::WScriptObject([](const std::u16string& line) {
                    std::string text = tap::os::wide_to_utf8(line) + "\n";
                    std::fwrite(text.data(), 1, text.size(), stdout);
                  })));
  for (const std::string& file : files) {
    if (report_unreadable(file)) return 2;
    std::ifstream in(file, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    tap::vbs::ScriptResult r = host.add_code(decode(bytes.str()));
    std::fflush(stdout);
    if (r.quit) return r.exit_code;
    if (!r.ok()) {
      std::fprintf(stderr, "%s(%d, %d) %s: %s (%d)\n", file.c_str(), r.line, r.column,
                   tap::os::wide_to_utf8(r.source).c_str(), tap::os::wide_to_utf8(r.description).c_str(), r.number);
      return 1;
    }
  }
  return 0;
}

}  // namespace srplay
