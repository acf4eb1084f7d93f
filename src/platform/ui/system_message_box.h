#pragma once
#include <string_view>

namespace tap::ui {

// The system's own message box, shown when no handler is installed.
int system_message_box(std::u16string_view title, std::u16string_view text, int flags);

}  // namespace tap::ui
