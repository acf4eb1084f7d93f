#include "playfile/PlaybackMap.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/os/SharedMemory.h"
#include "platform/os/process.h"
#include "playfile/InterfaceKind.h"
#include "playfile/test_region.h"
#include "taplayback/region.h"

namespace tap {
namespace {

using testing_region::region;

TEST(PlaybackMapTest, WithoutRegionThereIsNoFileAndNoKind) {
  testing_region::drop_region();
  PlaybackMap map;
  std::string path = "stale";
  std::uint32_t next = 77;
  EXPECT_FALSE(map.GetPlaybackFile(path, next));
  EXPECT_EQ(path, "");
  EXPECT_EQ(map.GetInterfaceKind(), kind_unknown);
  map.SetNextStreamIndex(3);  // no view: nothing happens
}

TEST(PlaybackMapTest, ReadsPathIndexAndKindThroughOneView) {
  region().set_playback_path("/tmp/rec.xml");
  region().set_next_stream_index(5);
  region().set_interface("GPIB", "INSTR");
  PlaybackMap map;
  std::string path;
  std::uint32_t next = 0;
  ASSERT_TRUE(map.GetPlaybackFile(path, next));
  EXPECT_EQ(path, "/tmp/rec.xml");
  EXPECT_EQ(next, 5u);
  EXPECT_EQ(map.GetInterfaceKind(), kind_gpib);
  EXPECT_TRUE(map.has_handle());
  EXPECT_TRUE(map.has_view());
  map.SetNextStreamIndex(2);
  EXPECT_EQ(region().next_stream_index(), 2u);
}

TEST(PlaybackMapTest, PathWithoutTerminatorNamesNoFile) {
  std::memset(region().bytes() + TAP_REGION_PATH_OFFSET, 'a', TAP_REGION_PATH_SIZE);
  PlaybackMap map;
  std::string path;
  std::uint32_t next = 0;
  EXPECT_FALSE(map.GetPlaybackFile(path, next));
  EXPECT_EQ(path, "");
}

// The host may shrink its region while a load holds it open. What the load
// reads or writes after that fails as a missing region does; the region
// is never touched past its end, so the process does not fault.
TEST(PlaybackMapTest, RegionShrunkAfterAttachFailsWithoutFaulting) {
#ifdef _WIN32
  GTEST_SKIP() << "a Windows file mapping keeps the size it was created with: no host can shrink it";
#endif
  region().set_playback_path("/tmp/rec.xml");
  region().set_interface("usb", "instr");
  region().set_next_stream_index(4);
  PlaybackMap map;
  std::string path;
  std::uint32_t next = 0;
  ASSERT_TRUE(map.GetPlaybackFile(path, next));

  auto host = os::SharedMemory::open_existing(
      TAP_REGION_NAME_PREFIX + std::to_string(os::current_process_id()), nullptr);
  ASSERT_NE(host, nullptr);
  ASSERT_TRUE(host->resize(TAP_REGION_INTERFACE_OFFSET));
  EXPECT_THROW(map.GetInterfaceKind(), PlaybackMap::region_lost);
  ASSERT_TRUE(host->resize(0));
  EXPECT_THROW(map.SetNextStreamIndex(1), PlaybackMap::region_lost);
  EXPECT_EQ(host->size(), 0u);  // the write did not regrow it
  EXPECT_FALSE(map.GetPlaybackFile(path, next));
  EXPECT_EQ(path, "");

  testing_region::drop_region();  // the next test gets a whole region
}

}  // namespace
}  // namespace tap
