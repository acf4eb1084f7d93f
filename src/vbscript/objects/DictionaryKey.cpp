#include "vbscript/objects/DictionaryKey.h"

#include <functional>

#include "platform/com/case_fold.h"

namespace tap::vbs {

com::HRESULT DictionaryKey::from(const com::Variant& value, bool text_compare, DictionaryKey* out) {
  const com::Variant& v = value.deref();
  DictionaryKey k;
  switch (v.vt()) {
    case com::VT_EMPTY: k.kind = Kind::empty; break;
    case com::VT_NULL: k.kind = Kind::null; break;
    case com::VT_I2: k.kind = Kind::number; k.number = v.i2(); break;
    case com::VT_I4: k.kind = Kind::number; k.number = v.i4(); break;
    case com::VT_R4: k.kind = Kind::number; k.number = v.r4(); break;
    case com::VT_R8: k.kind = Kind::number; k.number = v.r8(); break;
    case com::VT_CY: k.kind = Kind::number; k.number = static_cast<double>(v.cy().scaled) / 10000.0; break;
    case com::VT_DATE: k.kind = Kind::number; k.number = v.date().value; break;
    case com::VT_BOOL: k.kind = Kind::number; k.number = v.boolean() ? -1 : 0; break;
    case com::VT_UI1: k.kind = Kind::number; k.number = v.ui1(); break;
    case com::VT_ERROR: k.kind = Kind::number; k.number = v.scode(); break;
    case com::VT_BSTR:
      k.kind = Kind::text;
      k.text = v.bstr().str();
      if (text_compare)
        for (char16_t& c : k.text) c = com::lower_char(c);
      break;
    case com::VT_DISPATCH:
      k.kind = Kind::object;
      k.object = v.dispatch().get();
      break;
    default: return com::DISP_E_TYPEMISMATCH;
  }
  if (k.number == 0) k.number = 0;  // -0.0 and 0.0 are one key
  *out = std::move(k);
  return com::S_OK;
}

std::size_t DictionaryKeyHash::operator()(const DictionaryKey& k) const {
  std::size_t h = static_cast<std::size_t>(k.kind);
  switch (k.kind) {
    case DictionaryKey::Kind::number: return h ^ std::hash<double>{}(k.number);
    case DictionaryKey::Kind::text: return h ^ std::hash<std::u16string>{}(k.text);
    case DictionaryKey::Kind::object: return h ^ std::hash<const void*>{}(k.object);
    default: return h;
  }
}

}  // namespace tap::vbs
