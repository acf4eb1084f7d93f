#pragma once
// Texts and numbers as VBScript source, for the scripts the importer writes.
#include <string>

namespace srplay::simdef {

// A string expression giving exactly these bytes once the script's text has
// passed through the driver's code page: printable ASCII in quotes, every
// other byte as Chr(n), joined with &. The empty text is "".
std::string vbs_bytes(const std::string& bytes);

// A Double of exactly this value, read in the script's locale-independent way.
std::string vbs_double(double value);

}  // namespace srplay::simdef
