// The host stand-in's region outlives a process that did not end cleanly;
// the next process with the same id must still get its region.
#include "host/ProcessRegion.h"

#include <gtest/gtest.h>

#include "platform/os/SharedMemory.h"
#include "platform/os/process.h"

namespace tap::host {
namespace {

TEST(ProcessRegionTest, ReplacesARegionLeftUnderThisProcessId) {
  const std::string name = ProcessRegion::name_for(os::current_process_id());
  os::SharedMemory::Status status{};
  auto stale = os::SharedMemory::create(name, 16, &status);
  ASSERT_TRUE(stale) << "a region of this process already exists";
  // What a killed process leaves: the object, with nobody to remove it.
  stale->close_handle();
  {
    ProcessRegion region;
    region.set_playback_path("/tmp/x.xml");
    EXPECT_EQ(region.next_stream_index(), 0u);
  }
  // The region removed itself at the end, so creating it again works.
  EXPECT_TRUE(os::SharedMemory::create(name, 16, &status));
}

}  // namespace
}  // namespace tap::host
