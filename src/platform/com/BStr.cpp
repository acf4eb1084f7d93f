#include "platform/com/BStr.h"

namespace tap::com {

const std::u16string& BStr::str() const {
  static const std::u16string empty;
  return text_ ? *text_ : empty;
}

}  // namespace tap::com
