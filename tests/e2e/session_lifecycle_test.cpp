// Sessions as a host opens, locks and closes them through the real library.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "e2e_support.h"

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

}  // namespace
}  // namespace tap::e2e
