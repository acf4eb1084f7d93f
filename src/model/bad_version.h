#pragma once
#include <stdexcept>

namespace tap {

// A pair the engine cannot use: its version is too new or a type word is
// unknown. Caught by the pair's parse, which marks the pair unusable.
class bad_version : public std::runtime_error {
 public:
  bad_version() : std::runtime_error("Bad File Version.") {}
};

}  // namespace tap
