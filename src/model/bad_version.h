#pragma once
#include <stdexcept>
#include <string>

namespace tap {

// A pair the engine cannot use: its version is too new or a type word is
// unknown. Caught by the pair's parse, which marks the pair unusable.
class bad_version : public std::runtime_error {
 public:
  explicit bad_version(std::string reason = {})
      : std::runtime_error("Bad File Version."), reason_(std::move(reason)) {}
  // Which rule the entry broke, in a user's words.
  const std::string& reason() const { return reason_; }

 private:
  std::string reason_;
};

}  // namespace tap
