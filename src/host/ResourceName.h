#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tap::host {

inline constexpr std::uint32_t kNoSecondaryAddress = 0xFFFFFFFF;

// What a host makes of a VISA resource name: the interface kind and class it
// puts in the region, and the six values it passes to the driver's open.
struct ResourceAddress {
  std::string kind;            // region interface kind: "gpib", "tcpip", "asrl", "usb"
  std::string resource_class;  // lower case: "instr", "socket", "intfc", "raw"
  std::uint32_t board = 0;
  std::string interface_text;  // the open's address text, e.g. "gpib0"; never matched
  std::uint32_t primary = 0;
  std::uint32_t secondary = kNoSecondaryAddress;
  std::uint32_t device_protocol = 0;
  std::string bracket;
  std::string colon;

  bool operator==(const ResourceAddress&) const = default;
};

// Names compare without case, as in VISA; the texts that end up in the
// bracket and colon are put in one canonical form so that differently
// spelt names of one resource open the same stream. On failure returns
// nothing and, when error is given, says why.
std::optional<ResourceAddress> parse_resource_name(std::string_view name,
                                                   std::string* error = nullptr);

// The word a recording's `intfaddr` holds for this address: "gpib",
// "tcpip", "com", "usb", or "" when the class is not "instr" or the kind is
// unknown (the driver then matches only an empty `intfaddr`).
std::string intfaddr_word(const ResourceAddress& address);

// The address of a recorded stream as a resource, from its `InstrumentAddress`
// values; nothing when no resource name leads to them. The board is not
// recorded, so it is 0.
std::optional<ResourceAddress> address_for_stream(std::string_view intfaddr, std::uint32_t primary,
                                                  std::uint32_t secondary,
                                                  std::uint32_t device_protocol,
                                                  std::string_view bracket, std::string_view colon);

// The canonical resource name of an address: parse_resource_name of it
// gives the address back.
std::string format_resource_name(const ResourceAddress& address);

}  // namespace tap::host
