#pragma once
// Interface identifiers. The layer dispatches by name and DISPID, so
// identifiers serve only the questions a caller asks about an interface
// (ISupportErrorInfo); they are written in their registry form and parsed
// at compile time.
#include <array>
#include <cstdint>
#include <string_view>

namespace tap::com {

struct Guid {
  std::uint32_t data1 = 0;
  std::uint16_t data2 = 0;
  std::uint16_t data3 = 0;
  std::array<std::uint8_t, 8> data4{};

  // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"; anything else does not compile.
  static consteval Guid parse(std::string_view text);

  friend constexpr bool operator==(const Guid&, const Guid&) = default;
};

namespace guid_detail {

consteval std::uint64_t hex(std::string_view text, std::size_t pos, std::size_t digits) {
  std::uint64_t value = 0;
  for (std::size_t i = pos; i < pos + digits; ++i) {
    char c = text[i];
    int d = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
    if (d < 0) throw "not a hexadecimal digit";
    value = value << 4 | static_cast<std::uint64_t>(d);
  }
  return value;
}

}  // namespace guid_detail

consteval Guid Guid::parse(std::string_view text) {
  if (text.size() != 38 || text[0] != '{' || text[9] != '-' || text[14] != '-' || text[19] != '-' ||
      text[24] != '-' || text[37] != '}')
    throw "not a GUID in registry form";
  using guid_detail::hex;
  Guid g;
  g.data1 = static_cast<std::uint32_t>(hex(text, 1, 8));
  g.data2 = static_cast<std::uint16_t>(hex(text, 10, 4));
  g.data3 = static_cast<std::uint16_t>(hex(text, 15, 4));
  g.data4[0] = static_cast<std::uint8_t>(hex(text, 20, 2));
  g.data4[1] = static_cast<std::uint8_t>(hex(text, 22, 2));
  for (std::size_t i = 0; i < 6; ++i) g.data4[2 + i] = static_cast<std::uint8_t>(hex(text, 25 + 2 * i, 2));
  return g;
}

inline constexpr Guid IID_IUnknown = Guid::parse("{00000000-0000-0000-C000-000000000046}");
inline constexpr Guid IID_IDispatch = Guid::parse("{00020400-0000-0000-C000-000000000046}");
inline constexpr Guid IID_IEnumVARIANT = Guid::parse("{00020404-0000-0000-C000-000000000046}");

}  // namespace tap::com
