#pragma once
// The modal message box stand-in. By default it writes "title: text" to
// standard error and answers as if OK (1) was pressed; tests and hosts may
// install their own handler.
#include <functional>
#include <string_view>

namespace tap::ui {

inline constexpr int message_box_ok = 1;

using MessageBoxHandler = std::function<int(std::u16string_view title, std::u16string_view text, int flags)>;

// Installs a handler (an empty one restores the default) and returns the
// previous one.
MessageBoxHandler set_message_box_handler(MessageBoxHandler handler);

// Shows the message through the installed handler; returns the button.
int message_box(std::u16string_view title, std::u16string_view text, int flags);

}  // namespace tap::ui
