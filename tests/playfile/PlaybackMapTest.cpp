#include "playfile/PlaybackMap.h"

#include <gtest/gtest.h>

#include <cstring>

#include "playfile/test_region.h"
#include "playfile/InterfaceKind.h"
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

TEST(PlaybackMapTest, ClassOtherThanInstrIsUnknown) {
  region().set_interface("tcpip", "socket");
  PlaybackMap map;
  EXPECT_EQ(map.GetInterfaceKind(), kind_unknown);
}

TEST(PlaybackMapTest, PathWithoutTerminatorNamesNoFile) {
  std::memset(region().bytes() + TAP_REGION_PATH_OFFSET, 'a', TAP_REGION_PATH_SIZE);
  PlaybackMap map;
  std::string path;
  std::uint32_t next = 0;
  EXPECT_FALSE(map.GetPlaybackFile(path, next));
  EXPECT_EQ(path, "");
}

}  // namespace
}  // namespace tap
