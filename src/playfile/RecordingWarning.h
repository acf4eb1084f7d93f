#pragma once
#include <cstdint>
#include <string>

namespace tap {

// Something a recording says that loads but cannot do what its author
// meant. The driver never looks for these; tools show them.
struct RecordingWarning {
  std::string rule;     // a fixed short name, such as "shadowed-pair"
  std::string element;  // the element it concerns
  std::int32_t line = 0;
  std::string message;  // in a user's words
  std::int32_t other_line = 0;  // the other element it names, if any
};

}  // namespace tap
