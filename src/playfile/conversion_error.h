#pragma once
#include <stdexcept>
#include <string>
#include <string_view>

namespace tap {

// A value the load needs is missing or does not convert to its type.
class conversion_error : public std::runtime_error {
 public:
  explicit conversion_error(std::string_view value_name)
      : std::runtime_error("Type mismatch: " + std::string(value_name)), name_(value_name) {}
  // The attribute whose value failed.
  const std::string& value_name() const { return name_; }

 private:
  std::string name_;
};

}  // namespace tap
