#pragma once
#include <stdexcept>
#include <string>
#include <string_view>

namespace tap {

// A value the load needs is missing or does not convert to its type.
class conversion_error : public std::runtime_error {
 public:
  // `expected` completes "missing or not ...", e.g. "a 32-bit integer".
  // `detail` says what is wrong with a value that is present.
  conversion_error(std::string_view value_name, std::string element, int line,
                   std::string_view expected, std::string detail = {})
      : std::runtime_error("Type mismatch: " + std::string(value_name)),
        name_(value_name),
        element_(std::move(element)),
        line_(line),
        expected_(expected),
        detail_(std::move(detail)) {}

  // The attribute whose value failed, and the element that holds it.
  const std::string& value_name() const { return name_; }
  const std::string& element() const { return element_; }
  int line() const { return line_; }
  // The rule in a user's words.
  std::string rule() const {
    std::string rule = expected_.empty() ? "its " + name_ + " is missing"
                                         : "its " + name_ + " is missing or not " + expected_;
    return detail_.empty() ? rule : rule + ": " + detail_;
  }
  bool has_detail() const { return !detail_.empty(); }

 private:
  std::string name_;
  std::string element_;
  int line_;
  std::string expected_;
  std::string detail_;
};

}  // namespace tap
