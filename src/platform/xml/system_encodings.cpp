#include "platform/xml/system_encodings.h"

namespace tap::xml {

// libxml2 reaches every encoding through iconv here.
void register_system_encodings() {}

}  // namespace tap::xml
