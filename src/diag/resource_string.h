#pragma once
#include <cstdint>
#include <memory>
#include <string>

namespace tap {

// One of the library's message texts, fetched on first use. Copies of the
// text taken by callers are independent of this object.
class resource_string {
 public:
  static constexpr std::uint32_t no_fallback = 0xFFFFFFFF;

  explicit resource_string(std::uint32_t id, std::uint32_t fallback = no_fallback)
      : id_(id), fallback_(fallback) {}
  virtual ~resource_string() = default;

  // Tries the primary identifier, then the fallback; an unloaded object
  // tries again on the next call.
  bool load();
  bool loaded() const { return text_ != nullptr; }

  // Null when neither identifier has a text.
  const char* ansi();
  const char16_t* wide();

 private:
  struct Text {
    std::u16string wide;
    std::string ansi;
    bool has_ansi = false;
  };

  std::uint32_t id_;
  std::uint32_t fallback_;
  std::shared_ptr<Text> text_;
};

// Message identifiers of the library's string table.
enum message_id : std::uint32_t {
  msg_scripting_init_failed = 1,
  msg_out_of_memory = 2,
  msg_internal_error = 3,
  msg_dialog_caption = 4,
};

}  // namespace tap
