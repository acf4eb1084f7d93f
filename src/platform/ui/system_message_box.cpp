#include "platform/ui/system_message_box.h"

#include <cstdio>
#include <string>

#include "platform/os/code_page.h"
#include "platform/ui/MessageBox.h"

namespace tap::ui {

// No desktop to show a box on: the line goes to standard error and the
// answer is OK.
int system_message_box(std::u16string_view title, std::u16string_view text, int) {
  std::string line = os::wide_to_utf8(title) + ": " + os::wide_to_utf8(text) + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
  return message_box_ok;
}

}  // namespace tap::ui
