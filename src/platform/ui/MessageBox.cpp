#include "platform/ui/MessageBox.h"

#include <cstdio>
#include <mutex>
#include <string>

#include "platform/os/code_page.h"

namespace tap::ui {

namespace {

std::mutex handler_mutex;
MessageBoxHandler& installed() {
  static MessageBoxHandler h;
  return h;
}

int default_message_box(std::u16string_view title, std::u16string_view text, int) {
  std::string line = os::wide_to_utf8(title) + ": " + os::wide_to_utf8(text) + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
  return message_box_ok;
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
  return h ? h(title, text, flags) : default_message_box(title, text, flags);
}

}  // namespace tap::ui
