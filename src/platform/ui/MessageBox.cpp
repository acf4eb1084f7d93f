#include "platform/ui/MessageBox.h"

#include <mutex>

#include "platform/ui/system_message_box.h"

namespace tap::ui {

namespace {

std::mutex handler_mutex;
MessageBoxHandler& installed() {
  static MessageBoxHandler h;
  return h;
}

}  // namespace

MessageBoxHandler set_message_box_handler(MessageBoxHandler handler) {
  std::lock_guard<std::mutex> lock(handler_mutex);
  MessageBoxHandler previous = std::move(installed());
  installed() = std::move(handler);
  return previous;
}

int message_box(std::u16string_view title, std::u16string_view text, int flags) {
  MessageBoxHandler h;
  {
    std::lock_guard<std::mutex> lock(handler_mutex);
    h = installed();
  }
  return h ? h(title, text, flags) : system_message_box(title, text, flags);
}

}  // namespace tap::ui
