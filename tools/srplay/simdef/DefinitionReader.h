#pragma once
#include <string>

#include "simdef/ImportDiagnostics.h"
#include "simdef/SimDefinition.h"

namespace srplay::simdef {

// Reads a definition file. Throws import_error for a file that cannot be
// read, is not YAML, has no usable spec version, or lacks what the format
// requires (a dialogue without `q`); keys it does not know go to
// diagnostics as warnings.
Definition read_definition(const std::string& path, Diagnostics& diagnostics);

}  // namespace srplay::simdef
