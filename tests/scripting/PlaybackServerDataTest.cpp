#include "scripting/PlaybackServerData.h"

#include <gtest/gtest.h>

namespace tap {
namespace {

TEST(PlaybackServerDataTest, WriteContextDefaultsToTheWholeWriteAndZero) {
  PlaybackServerData d;
  d.ReadText = "earlier";
  d.SetWriteContext(0x11, 2500, std::string("AB\0C", 4));
  EXPECT_FALSE(d.read_context);
  EXPECT_EQ(d.WriteText, std::string("AB\0C", 4));
  EXPECT_EQ(d.WriteTimeout, 2500);
  EXPECT_EQ(d.GetWriteResults().actual_written, 4u);
  EXPECT_EQ(d.GetWriteResults().return_value, 0);
  EXPECT_EQ(d.ReadText, "earlier");
}

TEST(PlaybackServerDataTest, ReadContextPresetsAnEmptyFailedRead) {
  PlaybackServerData d;
  d.SetWriteContext(0, 777, "x");
  d.ReadText = "stale";
  d.ReadStopReason = 9;
  d.SetReadContext('\n', 3, 100, 64, 5, 0x20, 0, "MEAS?");
  EXPECT_TRUE(d.read_context);
  PlaybackServerData::ReadResults r = d.GetReadResults();
  EXPECT_EQ(r.text, "");
  EXPECT_EQ(r.stop_reason, 0);
  EXPECT_EQ(r.return_value, 128);
  EXPECT_EQ(d.WriteText, "MEAS?");
  EXPECT_EQ(d.WriteActualWritten, 5);
  EXPECT_EQ(d.ReadBufferLength, 64);
  EXPECT_EQ(d.ReadTermChar, '\n');
  // A read script sees the last write script's timeout.
  EXPECT_EQ(d.WriteTimeout, 777);
}

TEST(PlaybackServerDataTest, InitStoredValuesFillsBothMapsAndKeepsPresentKeys) {
  PlaybackServerData d;
  ASSERT_EQ(d.values.Store(com::Variant(u"a"), com::Variant(u"present")), com::S_OK);
  PlaybackServerData::ValueMap init;
  init.emplace("a", com::Variant(std::u16string(u"initial")));
  init.emplace("B", com::Variant(std::u16string(u"two")));
  d.InitStoredValues(init);
  EXPECT_EQ(d.values.current().at("a").bstr().str(), u"present");
  EXPECT_EQ(d.values.current().at("B").bstr().str(), u"two");
  EXPECT_EQ(d.values.defaults().at("a").bstr().str(), u"initial");
  EXPECT_EQ(d.values.current().count("b"), 0u);
}

}  // namespace
}  // namespace tap
