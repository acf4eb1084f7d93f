#include "platform/os/module_resources.h"

#include <cstddef>

#include "platform/os/code_page.h"

namespace tap::os {
namespace generated {
struct Resource { const char* type; std::uint32_t id; const unsigned char* data; std::size_t size; };
struct Message { std::uint32_t id; const unsigned char* utf8; std::size_t size; };
extern const Resource kResources[];
extern const std::size_t kResourceCount;
extern const Message kMessages[];
extern const std::size_t kMessageCount;
}  // namespace generated

std::optional<std::string_view> find_resource(std::string_view type, std::uint32_t id) {
  for (std::size_t i = 0; i < generated::kResourceCount; ++i) {
    const auto& r = generated::kResources[i];
    if (r.id == id && type == r.type)
      return std::string_view(reinterpret_cast<const char*>(r.data), r.size);
  }
  return std::nullopt;
}

std::u16string load_string(std::uint32_t id, std::size_t capacity) {
  for (std::size_t i = 0; i < generated::kMessageCount; ++i) {
    const auto& m = generated::kMessages[i];
    if (m.id != id) continue;
    std::u16string text = utf8_to_wide({reinterpret_cast<const char*>(m.utf8), m.size});
    if (capacity == 0) return {};
    if (text.size() > capacity - 1) text.resize(capacity - 1);
    return text;
  }
  return {};
}

}  // namespace tap::os
