#pragma once
// Runs srplay as a user does and keeps files for it in a directory that is
// removed again.
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/os/process.h"
#include "tools/shell_command.h"

namespace srplay_test {

struct Output {
  int exit_code = -1;
  std::string out;  // standard output
  std::string err;  // standard error
};

class ScratchDir {
 public:
  ScratchDir() {
    static std::atomic<int> counter{0};
    path_ = std::filesystem::temp_directory_path() /
            ("srplay-text-" + std::to_string(tap::os::current_process_id()) + "-" +
             std::to_string(counter++));
    std::filesystem::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  std::string file(const std::string& name) const { return (path_ / name).string(); }
  std::string write(const std::string& name, const std::string& text) const {
    std::ofstream(file(name), std::ios::binary) << text;
    return file(name);
  }

 private:
  std::filesystem::path path_;
};

inline std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline Output srplay(const std::string& args, const ScratchDir& dir) {
  const std::string err = dir.file("stderr.txt");
  const std::string cmd = std::string(TAP_SRPLAY_PATH) + " --driver " + TAP_DRIVER_PATH + " " +
                          args + " 2>" + err;
  Output o;
  tap::test::ShellResult r = tap::test::run_shell(cmd);
  o.exit_code = r.exit_code;
  o.out = std::move(r.out);
  o.err = read_file(err);
  return o;
}

}  // namespace srplay_test
