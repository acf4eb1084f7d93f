#include "host/ResourceName.h"

#include <array>
#include <cstdio>
#include <stdexcept>
#include <vector>

#include "playfile/InterfaceKind.h"

namespace tap::host {
namespace {

class resource_name_error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::string lower(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

std::string upper(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

std::vector<std::string_view> split_on_double_colon(std::string_view name) {
  std::vector<std::string_view> parts;
  for (;;) {
    auto at = name.find("::");
    parts.push_back(name.substr(0, at));
    if (at == std::string_view::npos) return parts;
    name.remove_prefix(at + 2);
  }
}

bool all_digits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

// Decimal digits only, at most max; leading zeros allowed as VISA does.
std::uint32_t decimal(std::string_view text, std::uint32_t max, std::string_view what) {
  if (!all_digits(text)) throw resource_name_error(std::string(what) + " is not a number");
  std::uint64_t value = 0;
  for (char c : text) {
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
    if (value > max) break;
  }
  if (value > max)
    throw resource_name_error(std::string(what) + " must be at most " + std::to_string(max));
  return static_cast<std::uint32_t>(value);
}

// Vendor and product ids: "0x" hexadecimal or decimal, 16 bits.
std::uint32_t usb_id(std::string_view text, std::string_view what) {
  std::string t = lower(text);
  if (t.size() > 2 && t.starts_with("0x")) {
    std::uint32_t value = 0;
    for (char c : std::string_view(t).substr(2)) {
      int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
      if (digit < 0) throw resource_name_error(std::string(what) + " is not a number");
      value = value * 16 + static_cast<std::uint32_t>(digit);
      if (value > 0xFFFF) throw resource_name_error(std::string(what) + " must be at most 0xFFFF");
    }
    return value;
  }
  return decimal(text, 0xFFFF, what);
}

std::string usb_id_text(std::uint32_t id) {
  std::array<char, 8> text{};
  std::snprintf(text.data(), text.size(), "0x%04X", static_cast<unsigned>(id & 0xFFFF));
  return text.data();
}

constexpr std::array<std::string_view, 6> kClasses = {"instr", "socket",    "intfc",
                                                      "raw",   "backplane", "servant"};
// Longer prefixes that share a start with a supported one come first, so
// that they are refused by name rather than misread.
constexpr std::array<std::string_view, 3> kUnsupported = {"gpib-vxi", "vxi", "pxi"};
constexpr std::array<std::string_view, 4> kKinds = {"tcpip", "gpib", "asrl", "usb"};

void expect_parts(const std::vector<std::string_view>& parts, std::size_t least, std::size_t most,
                  std::string_view form) {
  if (parts.size() < least || parts.size() > most)
    throw resource_name_error("expected the form " + std::string(form));
  for (auto part : parts)
    if (part.empty()) throw resource_name_error("empty field in the name");
}

void fill_gpib(ResourceAddress& a, const std::vector<std::string_view>& rest) {
  if (a.resource_class == "intfc") {
    expect_parts(rest, 0, 0, "GPIB[board]::INTFC");
    return;
  }
  expect_parts(rest, 1, 2, "GPIB[board]::primary[::secondary][::INSTR]");
  a.primary = decimal(rest[0], 30, "the GPIB primary address");
  if (rest.size() == 2) {
    // VISA's "no secondary address" (VI_NO_SEC_ADDR), as some programs write it.
    constexpr std::uint32_t kVisaNone = 0xFFFF;
    std::uint32_t secondary = decimal(rest[1], kVisaNone, "the GPIB secondary address");
    if (secondary != kVisaNone && secondary > 30)
      throw resource_name_error("the GPIB secondary address must be at most 30, or 65535 for none");
    if (secondary != kVisaNone) a.secondary = secondary;
  }
}

void fill_tcpip(ResourceAddress& a, const std::vector<std::string_view>& rest) {
  if (a.resource_class == "socket") {
    expect_parts(rest, 2, 2, "TCPIP[board]::host::port::SOCKET");
    a.bracket = lower(rest[0]);
    a.colon = std::to_string(decimal(rest[1], 65535, "the port"));
    return;
  }
  expect_parts(rest, 1, 2, "TCPIP[board]::host[::LAN device name][::INSTR]");
  a.bracket = lower(rest[0]);
  a.colon = rest.size() == 2 ? lower(rest[1]) : "inst0";
}

void fill_usb(ResourceAddress& a, const std::vector<std::string_view>& rest) {
  expect_parts(rest, 3, 4,
               "USB[board]::vendor id::product id::serial number[::interface number][::INSTR]");
  a.bracket = usb_id_text(usb_id(rest[0], "the vendor id")) +
              "::" + usb_id_text(usb_id(rest[1], "the product id")) + "::" + std::string(rest[2]);
  if (rest.size() == 4)
    a.bracket += "::" + std::to_string(decimal(rest[3], 255, "the USB interface number"));
}

ResourceAddress parse(std::string_view name) {
  auto parts = split_on_double_colon(name);
  ResourceAddress a;
  a.resource_class = "instr";
  std::string last = lower(parts.back());
  for (auto c : kClasses)
    if (parts.size() > 1 && last == c) {
      a.resource_class = last;
      parts.pop_back();
      break;
    }

  const std::string_view head = parts.front();
  const std::string head_lower = lower(head);
  for (auto prefix : kUnsupported)
    if (head_lower.starts_with(prefix))
      throw resource_name_error("interface type " + upper(prefix) + " is not supported");
  for (auto kind : kKinds)
    if (head_lower.starts_with(kind)) {
      a.kind = kind;
      break;
    }
  if (a.kind.empty())
    throw resource_name_error("unknown interface type in '" + std::string(head) + "'");

  std::string_view board = head.substr(a.kind.size());
  std::vector<std::string_view> rest(parts.begin() + 1, parts.end());
  if (a.kind == "asrl" && !board.empty() && !all_digits(board)) {
    // A serial device named by its path (ASRL/dev/ttyUSB0) keeps it as written.
    if (a.resource_class != "instr" || !rest.empty())
      throw resource_name_error("expected the form ASRL<port or device>[::INSTR]");
    a.interface_text = "asrl" + std::string(board);
    a.bracket = std::string(board);
    return a;
  }
  a.board = board.empty() ? 0 : decimal(board, 0xFFFF, "the board number");
  a.interface_text = a.kind + std::to_string(a.board);

  if (a.kind == "gpib") {
    if (a.resource_class != "instr" && a.resource_class != "intfc")
      throw resource_name_error("GPIB takes the classes INSTR and INTFC");
    fill_gpib(a, rest);
  } else if (a.kind == "tcpip") {
    if (a.resource_class != "instr" && a.resource_class != "socket")
      throw resource_name_error("TCPIP takes the classes INSTR and SOCKET");
    fill_tcpip(a, rest);
  } else if (a.kind == "usb") {
    if (a.resource_class != "instr" && a.resource_class != "raw")
      throw resource_name_error("USB takes the classes INSTR and RAW");
    fill_usb(a, rest);
  } else {
    if (a.resource_class != "instr") throw resource_name_error("ASRL takes the class INSTR");
    expect_parts(rest, 0, 0, "ASRL<port>[::INSTR]");
    a.primary = a.board;
  }
  return a;
}

}  // namespace

std::optional<ResourceAddress> parse_resource_name(std::string_view name, std::string* error) {
  try {
    return parse(name);
  } catch (const resource_name_error& e) {
    if (error) *error = "'" + std::string(name) + "': " + e.what();
    return std::nullopt;
  }
}

std::string intfaddr_word(const ResourceAddress& address) {
  return std::string(
      interface_file_name(interface_kind_code(address.kind, address.resource_class)));
}

std::string format_resource_name(const ResourceAddress& a) {
  const std::string board = std::to_string(a.board);
  const std::string cls = "::" + upper(a.resource_class);
  if (a.kind == "gpib") {
    if (a.resource_class == "intfc") return "GPIB" + board + cls;
    std::string name = "GPIB" + board + "::" + std::to_string(a.primary);
    if (a.secondary != kNoSecondaryAddress) name += "::" + std::to_string(a.secondary);
    return name + cls;
  }
  if (a.kind == "tcpip") return "TCPIP" + board + "::" + a.bracket + "::" + a.colon + cls;
  if (a.kind == "usb") return "USB" + board + "::" + a.bracket + cls;
  if (a.kind == "asrl")
    return "ASRL" + (a.bracket.empty() ? std::to_string(a.primary) : a.bracket) + cls;
  return {};
}

std::optional<ResourceAddress> address_for_stream(std::string_view intfaddr, std::uint32_t primary,
                                                  std::uint32_t secondary,
                                                  std::uint32_t device_protocol,
                                                  std::string_view bracket,
                                                  std::string_view colon) {
  ResourceAddress candidate;
  candidate.resource_class = "instr";
  candidate.primary = primary;
  candidate.secondary = secondary;
  candidate.device_protocol = device_protocol;
  candidate.bracket = bracket;
  candidate.colon = colon;
  if (intfaddr == "com") {
    candidate.kind = "asrl";
    if (bracket.empty()) candidate.board = primary;
  } else if (intfaddr == "gpib" || intfaddr == "tcpip" || intfaddr == "usb") {
    candidate.kind = intfaddr;
  } else if (intfaddr.empty()) {
    // The one class other than INSTR that a stream's values name plainly.
    candidate.kind = "tcpip";
    candidate.resource_class = "socket";
  } else {
    return std::nullopt;
  }
  candidate.interface_text = candidate.kind == "asrl" && !bracket.empty()
                                 ? "asrl" + std::string(bracket)
                                 : candidate.kind + std::to_string(candidate.board);
  // Only values that some name gives back are a resource; the rest (a
  // device protocol, a secondary address on a LAN) no name can open.
  auto parsed = parse_resource_name(format_resource_name(candidate));
  if (!parsed || !(*parsed == candidate)) return std::nullopt;
  return parsed;
}

}  // namespace tap::host
