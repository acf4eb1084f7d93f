// Sessions as a host opens, locks and closes them through the real library.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <vector>
#include <string>

#include "e2e_support.h"
#include "playfile/RecordingText.h"

namespace tap::e2e {
namespace {

class SessionLifecycle : public testing::Test {
 protected:
  void SetUp() override {
    process_region().set_playback_path("/nonexistent/playback-file.xml");
    process_region().set_next_stream_index(0);
  }
  const host::DriverHost& host = driver_host();
};

TEST_F(SessionLifecycle, OpenOfAMissingFileFailsWith24AndLeavesNoSession) {
  VarnelSession session = nullptr;
  EXPECT_EQ(host.open(host::OpenArgs{}, &session), VARNEL_BAD_PLAYBACK_FILE);
  // The handle was stored before the open failed; the host discards it.
  EXPECT_NE(session, nullptr);
}

TEST_F(SessionLifecycle, CloseOfANullSessionIsZero) { EXPECT_EQ(host.close(nullptr), 0); }

TEST_F(SessionLifecycle, NullPointersFromTheHostGet128) {
  std::uint8_t bytes[4] = {};
  std::uint32_t actual = 7;
  std::int32_t stop = 0;
  auto fake = reinterpret_cast<VarnelSession>(&bytes);  // never dereferenced on these paths
  EXPECT_EQ(host.open(host::OpenArgs{}, nullptr), VARNEL_INTERNAL_ERROR);
  EXPECT_EQ(host.write(fake, 0, 0, bytes, 4, nullptr), VARNEL_INTERNAL_ERROR);
  EXPECT_EQ(host.write(fake, 0, 0, nullptr, 4, &actual), VARNEL_INTERNAL_ERROR);
  EXPECT_EQ(host.read(fake, 0, 0, 0, bytes, 4, nullptr, &stop), VARNEL_INTERNAL_ERROR);
  EXPECT_EQ(host.read(fake, 0, 0, 0, bytes, 4, &actual, nullptr), VARNEL_INTERNAL_ERROR);
  EXPECT_EQ(host.read(fake, 0, 0, 0, nullptr, 4, &actual, &stop), VARNEL_INTERNAL_ERROR);
  EXPECT_EQ(host.docommand(fake, 0, 0, 1, 4, 0, nullptr), VARNEL_INTERNAL_ERROR);
  EXPECT_EQ(host.write(nullptr, 0, 0, bytes, 4, &actual), VARNEL_INTERNAL_ERROR);
  EXPECT_EQ(host.read(nullptr, 0, 0, 0, bytes, 4, &actual, &stop), VARNEL_INTERNAL_ERROR);
  EXPECT_EQ(host.docommand(nullptr, 0, 0, 1, 4, 0, bytes), VARNEL_INTERNAL_ERROR);
  EXPECT_EQ(host.lock(nullptr), VARNEL_INTERNAL_ERROR);
  EXPECT_EQ(host.unlock(nullptr), VARNEL_INTERNAL_ERROR);
  EXPECT_EQ(actual, 7u);
}

// The host owns handle validity, but a stale or foreign handle must not
// take its process down: the driver refuses handles it does not know.
TEST_F(SessionLifecycle, HandlesTheDriverDoesNotKnowGet128) {
  process_region().set_interface("gpib", "instr");
  recording::TempFile file(recording::file(recording::stream(
      recording::address("gpib", "22"), recording::pair("A", {recording::response("1")}))));
  process_region().set_playback_path(file.path());
  VarnelSession closed = nullptr;
  ASSERT_EQ(host.open(host::OpenArgs{}, &closed), 0);
  VarnelSession live = nullptr;
  ASSERT_EQ(host.open(host::OpenArgs{}, &live), 0);
  ASSERT_EQ(host.close(closed), 0);

  std::uint8_t bytes[64] = {};
  std::uint32_t actual = 7;
  std::int32_t stop = 3;
  // Pointers to memory the driver never handed out, including one filled
  // with what a session's bytes could look like.
  std::vector<unsigned char> junk(256, 0xA5);
  for (VarnelSession bad : {closed, static_cast<VarnelSession>(junk.data()),
                            static_cast<VarnelSession>(&bytes[16]),
                            reinterpret_cast<VarnelSession>(std::uintptr_t{0x10})}) {
    EXPECT_EQ(host.write(bad, 0, 0, bytes, 1, &actual), VARNEL_INTERNAL_ERROR);
    EXPECT_EQ(host.read(bad, 0, 0, 0, bytes, 4, &actual, &stop), VARNEL_INTERNAL_ERROR);
    EXPECT_EQ(host.docommand(bad, 0, 0, 1, 4, 0, bytes), VARNEL_INTERNAL_ERROR);
    EXPECT_EQ(host.lock(bad), VARNEL_INTERNAL_ERROR);
    EXPECT_EQ(host.unlock(bad), VARNEL_INTERNAL_ERROR);
    EXPECT_EQ(host.close(bad), VARNEL_INTERNAL_ERROR);
  }
  EXPECT_EQ(actual, 7u);
  EXPECT_EQ(stop, 3);
  // The live session is untouched by all of that.
  const std::uint8_t a = 'A';
  EXPECT_EQ(host.write(live, 0, 0, &a, 1, &actual), 0);
  EXPECT_EQ(host.read(live, 0, 0, 0, bytes, 4, &actual, &stop), 0);
  EXPECT_EQ(bytes[0], '1');
  EXPECT_EQ(host.close(live), 0);
}

}  // namespace
}  // namespace tap::e2e
