#pragma once
// Bytes as C escapes (\n, \r, \t, \\, \", \xHH for the rest outside
// printable ASCII): the form srplay reads back, so what the trace or the
// tool shows can be typed again as it stands.
#include <string>
#include <string_view>

namespace tap {

void append_c_escaped(std::string& out, std::string_view bytes);
std::string c_escaped(std::string_view bytes);

}  // namespace tap
