#include "platform/ui/MessageBox.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(MessageBox, InstalledHandlerSeesTitleTextAndFlags) {
  std::u16string seen;
  int seen_flags = -1;
  tap::ui::MessageBoxHandler previous = tap::ui::set_message_box_handler(
      [&](std::u16string_view title, std::u16string_view text, int flags) {
        seen = std::u16string(title) + u"|" + std::u16string(text);
        seen_flags = flags;
        return 6;
      });
  EXPECT_EQ(tap::ui::message_box(u"Title", u"Body", 4), 6);
  EXPECT_EQ(seen, u"Title|Body");
  EXPECT_EQ(seen_flags, 4);
  tap::ui::set_message_box_handler(previous);
}

TEST(MessageBox, DefaultAnswersOk) {
#ifdef _WIN32
  GTEST_SKIP() << "the default is the system's message box, which waits for a person";
#endif
  tap::ui::set_message_box_handler({});
  testing::internal::CaptureStderr();
  EXPECT_EQ(tap::ui::message_box(u"T", u"hello", 0), tap::ui::message_box_ok);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "T: hello\n");
}

}  // namespace
