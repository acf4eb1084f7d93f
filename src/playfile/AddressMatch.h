#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "playfile/SessionAddress.h"

namespace tap {

// Reads one attribute of a recorded InstrumentAddress as 8-bit text;
// nullopt when it is absent.
using AddressAttribute = std::function<std::optional<std::string>(std::string_view name)>;

// Whether a recorded InstrumentAddress is the session's address. The six
// comparisons run in order and the first that fails ends the match, so a
// later attribute is read (and converted) only when the earlier ones hold.
// A required integer that is absent or unconvertible throws
// conversion_error.
bool address_matches(const SessionAddress& session, std::string_view kind_file_name,
                     const AddressAttribute& attribute);

}  // namespace tap
