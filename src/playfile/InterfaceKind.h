#pragma once
#include <cstdint>
#include <string_view>

namespace tap {

// Interface kinds as the region names them, the codes the driver reports
// them in, and the names the playback file writes in `intfaddr`.
#define TAP_INTERFACE_KINDS(X) \
  X(gpib, "gpib", 100, "gpib")  \
  X(tcpip, "tcpip", 200, "tcpip") \
  X(asrl, "asrl", 300, "com")   \
  X(usb, "usb", 400, "usb")

enum InterfaceKindCode : std::int32_t {
#define TAP_KIND_CODE(id, region, code, file) kind_##id = code,
  TAP_INTERFACE_KINDS(TAP_KIND_CODE)
#undef TAP_KIND_CODE
  kind_unknown = 10000,
};

// The code for a region's kind and class names; both compare without case.
std::int32_t interface_kind_code(std::string_view kind_name, std::string_view class_name);

// The name of a code in the playback file; empty for an unknown code.
std::string_view interface_file_name(std::int32_t code);

}  // namespace tap
