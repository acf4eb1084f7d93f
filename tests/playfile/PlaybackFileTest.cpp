// The playback path may name anything; only a regular file is read, and
// anything else fails the open at once, for the driver and for the tools.
#include <gtest/gtest.h>

#include <fcntl.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif
#include <unistd.h>

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/xml/XmlErrors.h"
#include "playfile/PlaybackLoader.h"
#include "playfile/RecordingText.h"
#include "playfile/test_region.h"

namespace tap {
namespace {

// Runs `load`; should it block on the FIFO, a writer is opened and closed
// after a while so that the test ends and fails instead of hanging.
template <typename Load>
bool blocked_on(const std::string& fifo, Load load) {
  std::mutex m;
  std::condition_variable done_cv;
  bool done = false;
  bool blocked = false;
  std::thread watchdog([&] {
    std::unique_lock lock(m);
    if (done_cv.wait_for(lock, std::chrono::seconds(5), [&] { return done; })) return;
    blocked = true;
#ifdef _WIN32
    (void)fifo;
#else
    int fd = open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
    if (fd >= 0) close(fd);
#endif
  });
  load();
  {
    std::lock_guard lock(m);
    done = true;
  }
  done_cv.notify_one();
  watchdog.join();
  return blocked;
}

// A path that an ordinary open would block on (a FIFO without a writer),
// and the other kinds of path that are not regular files. Windows has no
// FIFO in its file system: its pipes and devices are named, and refused.
class PlaybackFileTest : public testing::Test {
 protected:
  void SetUp() override {
#ifdef _WIN32
    fifo_ = "\\\\.\\pipe\\playback_fifo_" + std::to_string(getpid());
    others_ = {"COM1", "NUL", testing::TempDir()};
#else
    fifo_ = testing::TempDir() + "playback_fifo_" + std::to_string(getpid());
    ASSERT_EQ(mkfifo(fifo_.c_str(), 0600), 0);
    others_ = {"/dev/zero", testing::TempDir()};
#endif
  }
  void TearDown() override { std::remove(fifo_.c_str()); }
  std::string fifo_;
  std::vector<std::string> others_;
};

TEST_F(PlaybackFileTest, NonRegularPathFailsTheOpenWithoutBlocking) {
  host::ProcessRegion& region = testing_region::region();
  region.set_interface("gpib", "instr");
  SessionAddress address;
  address.primary = 22;
  std::vector<std::string> paths = others_;
  paths.insert(paths.begin(), fifo_);
  for (const std::string& path : paths) {
    region.set_playback_path(path);
    LoadResult result;
    EXPECT_FALSE(blocked_on(fifo_, [&] { result = load_playback_file(address); })) << path;
    EXPECT_EQ(result.status, VARNEL_BAD_PLAYBACK_FILE) << path;
    ASSERT_EQ(result.refusals.size(), 1u) << path;
    EXPECT_NE(result.refusals[0].rule.find("is not a regular file"), std::string::npos)
        << path << ": " << result.refusals[0].rule;
  }
}

TEST_F(PlaybackFileTest, ToolsGetTheSameRefusal) {
  RecordingLoad recording;
  EXPECT_FALSE(blocked_on(fifo_, [&] { recording = load_recording(fifo_); }));
  EXPECT_EQ(recording.result.code, static_cast<int>(xml::XmlError::NotRegularFile));
  EXPECT_TRUE(recording.streams.empty());
}

}  // namespace
}  // namespace tap
