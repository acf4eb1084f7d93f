#pragma once
#include <string>

#include "ConversationText.h"
#include "simdef/ImportDiagnostics.h"

namespace srplay::simdef {

// The recording of a definition file: one stream per resource, in the
// file's order, and the value store's initial values of their devices.
// Throws import_error when no stream can be written.
ConversationText recording_from_definition(const std::string& path, Diagnostics& diagnostics);

}  // namespace srplay::simdef
