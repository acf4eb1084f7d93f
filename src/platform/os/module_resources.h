#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tap::os {

// The library's own resources, compiled in from resources/ so that they
// travel with the module and need no path at run time.
std::optional<std::string_view> find_resource(std::string_view type, std::uint32_t id);

// The string-table entry `id` as UTF-16, cut to `capacity - 1` characters
// as a fixed buffer would cut it; empty when absent.
std::u16string load_string(std::uint32_t id, std::size_t capacity = 260);

}  // namespace tap::os
