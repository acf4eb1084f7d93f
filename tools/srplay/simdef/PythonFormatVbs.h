#pragma once

namespace srplay::simdef {

// VBScript statements that format the value in `fv` as Python's format()
// does with the format in `sp` (an array: fill, align, sign, alternate form,
// zero, width, grouping, precision or -1, type) and leave the text in `fs`.
// Float types are formatted from the exact binary value with Python's
// rounding (half to even on exact ties), so the script does not depend on the
// machine's locale or on FormatNumber. A value Python would refuse to format
// with that format raises error 5 with Python's message.
const char* python_format_block();

}  // namespace srplay::simdef
