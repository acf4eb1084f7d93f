#include "check_report.h"

#include <cstdio>

#include "escape_text.h"

namespace srplay {
namespace {

const char* severity_word(Finding::Severity s) {
  return s == Finding::Severity::error ? "error" : "warning";
}

const char* outcome_word(FileOutcome o) {
  switch (o) {
    case FileOutcome::loads: return "loads";
    case FileOutcome::opens_fail: return "opens-fail";
    case FileOutcome::refused: return "refused";
    case FileOutcome::unreadable: return "unreadable";
  }
  return "";
}

// Counts and the exit status both report kinds share.
class Tally : public CheckReport {
 public:
  void finding(const Finding& f) override {
    ++(f.severity == Finding::Severity::error ? file_errors_ : file_warnings_);
  }
  void file_done(const std::string& file, FileOutcome outcome) override {
    files_.push_back({file, outcome, file_errors_, file_warnings_});
    errors_ += file_errors_;
    warnings_ += file_warnings_;
    file_errors_ = file_warnings_ = 0;
  }

 protected:
  struct FileResult {
    std::string file;
    FileOutcome outcome;
    int errors;
    int warnings;
  };

  int exit_status(bool strict) const {
    int status = kCheckClean;
    for (const FileResult& r : files_) {
      if (r.outcome == FileOutcome::unreadable) return kCheckUnreadable;
      if (r.outcome != FileOutcome::loads) status = kCheckRefused;
    }
    if (status == kCheckClean && strict && warnings_ > 0) status = kCheckWarnings;
    return status;
  }

  std::vector<FileResult> files_;
  int errors_ = 0;
  int warnings_ = 0;

 private:
  int file_errors_ = 0;
  int file_warnings_ = 0;
};

class TextReport : public Tally {
 public:
  void info(const std::string& line) override { std::printf("%s\n", line.c_str()); }
  void finding(const Finding& f) override {
    Tally::finding(f);
    // A file that cannot be read is the system's reason, on standard error.
    if (f.rule == "unreadable") {
      std::fprintf(stderr, "srplay: cannot read %s: %s\n", f.file.c_str(), f.message.c_str());
      return;
    }
    std::string where = f.file;
    if (f.line > 0) where += ":" + std::to_string(f.line);
    if (f.column > 0) where += ":" + std::to_string(f.column);
    std::printf("%s: %s%s\n", where.c_str(), f.label.c_str(), f.message.c_str());
  }
  void file_done(const std::string& file, FileOutcome outcome) override {
    Tally::file_done(file, outcome);
    if (outcome == FileOutcome::loads || outcome == FileOutcome::opens_fail)
      std::printf("%s: %s\n", file.c_str(),
                  outcome == FileOutcome::loads ? "the driver loads this file"
                                                : "the driver refuses some opens");
  }
  int finish(bool strict) override { return exit_status(strict); }
};

std::string json_text(const std::string& s) { return "\"" + json_string(s) + "\""; }

class JsonReport : public Tally {
 public:
  void info(const std::string&) override {}
  void finding(const Finding& f) override {
    Tally::finding(f);
    std::string line = "{\"severity\":" + json_text(severity_word(f.severity)) +
                       ",\"rule\":" + json_text(f.rule) + ",\"message\":" + json_text(f.message) +
                       ",\"file\":" + json_text(f.file) + ",\"line\":" + std::to_string(f.line);
    if (f.column > 0) line += ",\"column\":" + std::to_string(f.column);
    line += ",\"element\":" + json_text(f.element);
    if (f.related_line > 0) line += ",\"related_line\":" + std::to_string(f.related_line);
    std::printf("%s}\n", line.c_str());
  }
  int finish(bool strict) override {
    const int status = exit_status(strict);
    std::string files;
    for (const FileResult& r : files_)
      files += std::string(files.empty() ? "" : ",") + "{\"file\":" + json_text(r.file) +
               ",\"result\":" + json_text(outcome_word(r.outcome)) +
               ",\"errors\":" + std::to_string(r.errors) +
               ",\"warnings\":" + std::to_string(r.warnings) + "}";
    std::printf("{\"summary\":{\"files\":[%s],\"errors\":%d,\"warnings\":%d,\"strict\":%s,\"exit_code\":%d}}\n",
                files.c_str(), errors_, warnings_, strict ? "true" : "false", status);
    return status;
  }
};

}  // namespace

std::unique_ptr<CheckReport> make_text_report() { return std::make_unique<TextReport>(); }
std::unique_ptr<CheckReport> make_json_report() { return std::make_unique<JsonReport>(); }

}  // namespace srplay
