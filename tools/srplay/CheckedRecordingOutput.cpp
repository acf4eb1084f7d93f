#include "CheckedRecordingOutput.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "TextFiles.h"
#include "platform/os/process.h"

namespace srplay {

namespace fs = std::filesystem;

int write_checked_recording(const RecordingXml& xml, const std::string& output,
                            const std::function<bool(const tap::RecordingLoad&)>& report) {
  const std::string suffix = ".srplay-" + std::to_string(tap::os::current_process_id()) + ".tmp";
  const fs::path temp = output.empty() ? fs::temp_directory_path() / ("recording" + suffix) : fs::path(output + suffix);
  if (!write_whole_file(temp.string(), xml.text)) {
    std::fprintf(stderr, "srplay: cannot write %s\n", temp.string().c_str());
    return 2;
  }
  const bool ok = report(tap::load_recording(temp.string()));
  std::error_code ec;
  if (!ok || output.empty()) {
    if (ok) std::fwrite(xml.text.data(), 1, xml.text.size(), stdout);
    fs::remove(temp, ec);
    return ok ? 0 : 1;
  }
  fs::rename(temp, output, ec);
  if (ec) {
    std::fprintf(stderr, "srplay: cannot write %s: %s\n", output.c_str(), ec.message().c_str());
    fs::remove(temp, ec);
    return 2;
  }
  return 0;
}

}  // namespace srplay
