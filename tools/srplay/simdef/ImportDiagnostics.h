#pragma once
// What the importer tells the user: warnings about parts of a definition it
// could not express (the recording is still written), and the error that
// stops it when nothing sensible can be written.
#include <stdexcept>
#include <string>
#include <vector>

namespace srplay::simdef {

struct Warning {
  std::string file;
  int line = 0;
  std::string message;
};

class import_error : public std::runtime_error {
 public:
  import_error(std::string file, int line, const std::string& what)
      : std::runtime_error(what), file_(std::move(file)), line_(line) {}
  const std::string& file() const { return file_; }
  int line() const { return line_; }

 private:
  std::string file_;
  int line_;
};

class Diagnostics {
 public:
  // A device bound to several resources is built several times; each of
  // its warnings is told once.
  void warn(const std::string& file, int line, std::string message) {
    for (const Warning& w : warnings_)
      if (w.file == file && w.line == line && w.message == message) return;
    warnings_.push_back({file, line, std::move(message)});
  }
  const std::vector<Warning>& warnings() const { return warnings_; }

 private:
  std::vector<Warning> warnings_;
};

// "file:line: " or "file: " when the line is not known.
inline std::string where(const std::string& file, int line) {
  return line > 0 ? file + ":" + std::to_string(line) + ": " : file + ": ";
}

}  // namespace srplay::simdef
