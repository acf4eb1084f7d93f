#pragma once
// bin.hex digits without the surrounding whitespace: a recorded waveform
// can be hundreds of megabytes of them, so where the processor has SSE2
// the check and the decode run 32 digits at a time.
#include <cstddef>
#include <string_view>

namespace tap::xml {

// The value of one hex digit, or -1.
int hex_value(char c);

// hex := (hexdigit hexdigit)*   hexdigit := [0-9a-fA-F]
bool is_bin_hex(std::string_view digits);

// Writes digits.size() / 2 bytes to `out`; false, with `out` partly
// written, when `digits` is not hex. The length must be even.
bool decode_bin_hex_into(std::string_view digits, char* out);

}  // namespace tap::xml
