#pragma once
// How Scripting.Dictionary tells keys apart: numbers by value whatever
// their type (1, 1.0 and CCur(1) are one key), text by its characters
// (folded under text compare), objects by identity. "1" and 1 differ.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/com/HResult.h"
#include "platform/com/Variant.h"

namespace tap::vbs {

struct DictionaryKey {
  enum class Kind : std::uint8_t { empty, null, number, text, object };
  Kind kind = Kind::empty;
  double number = 0;
  std::u16string text;
  const void* object = nullptr;

  // DISP_E_TYPEMISMATCH for values that cannot be keys (arrays).
  static com::HRESULT from(const com::Variant& v, bool text_compare, DictionaryKey* out);

  friend bool operator==(const DictionaryKey&, const DictionaryKey&) = default;
};

struct DictionaryKeyHash {
  std::size_t operator()(const DictionaryKey& k) const;
};

}  // namespace tap::vbs
