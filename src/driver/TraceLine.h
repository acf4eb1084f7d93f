#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "driver/CallAnswer.h"
#include "playfile/LoadResult.h"

namespace tap {

// One line of the driver trace, built field by field:
//   TIME pid=P tid=T session=0x... CALL INPUTS -> status=N(name) OUTPUTS
// Bytes appear as COUNT:"C escapes", cut after kShownBytes with "..."
// after the closing quote, so that the count is always the full one.
class TraceLine {
 public:
  static constexpr std::size_t kShownBytes = 128;

  TraceLine(const void* session, const char* call);

  TraceLine& number(const char* name, std::int64_t value);
  TraceLine& hex(const char* name, std::uint64_t value);
  TraceLine& text(const char* name, const char* value);
  TraceLine& bytes(const char* name, std::string_view value) {
    return bytes(name, value, value.size());
  }
  // `value` may hold just the start of `total` bytes.
  TraceLine& bytes(const char* name, std::string_view value, std::size_t total);
  // Separates what the caller passed from what the call gave back.
  TraceLine& status(std::int32_t value);
  // What answered, and the wait held: min(timeout, recorded wait), or 0
  // when either is not positive.
  TraceLine& answer(const CallAnswer& answer, const EntryLines& lines, bool docommand,
                    std::int32_t timeout);

  // The finished line, ending in a line feed.
  std::string finish();

 private:
  std::string line_;
};

}  // namespace tap
