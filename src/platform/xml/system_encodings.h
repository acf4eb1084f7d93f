#pragma once

namespace tap::xml {

// Makes the encodings that the system converts, beyond libxml2's own,
// known to libxml2 by name. Called once, after xmlInitParser.
void register_system_encodings();

}  // namespace tap::xml
