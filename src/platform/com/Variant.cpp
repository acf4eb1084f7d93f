#include "platform/com/Variant.h"

#include "platform/com/SafeArray.h"

namespace tap::com {

Variant::Variant(Ref<IDispatch> v) : vt_(VT_DISPATCH), obj_(std::move(v)) {}

Variant::Variant(std::shared_ptr<SafeArray> array)
    : vt_(VT_ARRAY | VT_VARIANT), array_(std::move(array)) {}

Variant Variant::missing() { return error(DISP_E_PARAMNOTFOUND); }

bool Variant::is_missing() const {
  const Variant& v = deref();
  return v.vt_ == VT_ERROR && v.u_.scode == DISP_E_PARAMNOTFOUND;
}

}  // namespace tap::com
