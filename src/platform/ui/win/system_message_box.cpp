#include "platform/ui/system_message_box.h"

#include <windows.h>

#include <string>

#include "platform/os/code_page.h"

namespace tap::ui {

// Modal, without an owner window, in the process's ANSI code page; the
// flags are the box's style (0: a single OK button, no icon).
int system_message_box(std::u16string_view title, std::u16string_view text, int flags) {
  std::string ansi_title = os::wide_to_ansi(title);
  std::string ansi_text = os::wide_to_ansi(text);
  return MessageBoxA(nullptr, ansi_text.c_str(), ansi_title.c_str(), static_cast<UINT>(flags));
}

}  // namespace tap::ui
