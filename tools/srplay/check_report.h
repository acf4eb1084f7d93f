#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace srplay {

// One thing `srplay check` has to say about a file.
struct Finding {
  enum class Severity { error, warning };
  Severity severity = Severity::warning;
  std::string rule;     // fixed short name, stable for scripts
  std::string message;  // without file and line
  std::string file;
  std::int32_t line = 0;    // 0: the file as a whole
  std::int32_t column = 0;  // 0: not known
  std::string element;
  std::int32_t related_line = 0;  // another element the message names
  std::string label;  // text form only: "refused: ", "warning: " or none
};

// How a file came out; the exit status follows from the worst of them.
enum class FileOutcome { loads, opens_fail, refused, unreadable };

// Exit statuses of `srplay check`.
inline constexpr int kCheckClean = 0;
inline constexpr int kCheckRefused = 1;     // a file or some opens are refused
inline constexpr int kCheckUnreadable = 2;  // a file cannot be read
inline constexpr int kCheckWarnings = 3;    // --strict, and only warnings

// Where findings go: lines for a reader, or JSON Lines for a program.
class CheckReport {
 public:
  virtual ~CheckReport() = default;
  // What the text form shows besides findings, such as each stream's address.
  virtual void info(const std::string& line) = 0;
  virtual void finding(const Finding& f) = 0;
  virtual void file_done(const std::string& file, FileOutcome outcome) = 0;
  // Prints what closes the report and returns the exit status.
  virtual int finish(bool strict) = 0;
};

std::unique_ptr<CheckReport> make_text_report();
std::unique_ptr<CheckReport> make_json_report();

}  // namespace srplay
