#pragma once
#include <string>
#include <string_view>

#include "platform/xml/XdrDataType.h"

namespace tap::xml {

// What a value of `type` must look like, said about the value that failed:
// the digits a bin.hex value lacks or the first character it cannot take,
// the range and base of an integer. Empty when there is nothing to add.
std::string value_hint(DataType type, std::string_view value);

}  // namespace tap::xml
