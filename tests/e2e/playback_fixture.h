#pragma once
// The host side of the playback end-to-end tests: one region for this
// process and the real driver loaded as a host loads it.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "e2e/e2e_support.h"
#include "playfile/RecordingText.h"

namespace tap::e2e {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Lower bounds of waits are tight: a wait never ends early. Upper bounds
// leave room for a loaded two-core machine.
inline constexpr milliseconds kSlack{400};

class PlaybackTest : public testing::Test {
 protected:
  // One region and one driver per process, shared with the other tests.
  static host::ProcessRegion& region() { return process_region(); }
  static const host::DriverHost& driver() { return driver_host(); }

  void SetUp() override {
    region().set_interface("gpib", "instr");
    region().set_next_stream_index(0);
  }
  void TearDown() override {
    if (session_) driver().close(session_);
    session_ = nullptr;
  }

  // Points the region at `content` (kept until the test ends) and opens.
  std::int32_t open_recording(const std::string& content, host::OpenArgs args = {}) {
    files_.push_back(std::make_unique<recording::TempFile>(content));
    region().set_playback_path(files_.back()->path());
    return open(args);
  }
  std::int32_t open(host::OpenArgs args = {}) {
    if (session_) driver().close(session_);
    session_ = nullptr;
    VarnelSession s = nullptr;
    std::int32_t status = driver().open(args, &s);
    if (status == 0) session_ = s;
    return status;
  }

  struct Result {
    std::int32_t status = 0;
    std::uint32_t actual = 0;
    std::int32_t stop = -77;
    std::string bytes;
    milliseconds elapsed{0};
  };

  Result write(const std::string& bytes, std::int32_t timeout = 2000, std::uint32_t flags = 0) {
    Result r;
    auto t0 = Clock::now();
    r.status = driver().write(session_, flags, timeout,
                              reinterpret_cast<const std::uint8_t*>(bytes.data()),
                              static_cast<std::uint32_t>(bytes.size()), &r.actual);
    r.elapsed = std::chrono::duration_cast<milliseconds>(Clock::now() - t0);
    return r;
  }
  Result read(std::uint32_t count, std::int32_t timeout = 5000) {
    Result r;
    std::string buffer(count, '\xAA');
    auto t0 = Clock::now();
    r.status = driver().read(session_, 0, timeout, '\n',
                             reinterpret_cast<std::uint8_t*>(buffer.data()), count, &r.actual,
                             &r.stop);
    r.elapsed = std::chrono::duration_cast<milliseconds>(Clock::now() - t0);
    r.bytes = buffer.substr(0, std::min<std::size_t>(r.actual, count));
    return r;
  }
  // Reads until the stop reason is not 1.
  std::string query(const std::string& bytes) {
    write(bytes);
    std::string all;
    for (int i = 0; i < 100000; ++i) {
      Result r = read(4096);
      all += r.bytes;
      if (r.status != 0 || r.stop != 1) break;
    }
    return all;
  }
  std::int32_t docommand(std::uint32_t command, std::string& block, std::int32_t size,
                         std::int32_t timeout = 1000, std::uint32_t flags = 0) {
    return driver().docommand(session_, flags, timeout, command, size, 0,
                              reinterpret_cast<std::uint8_t*>(block.data()));
  }

  VarnelSession session_ = nullptr;
  std::vector<std::unique_ptr<recording::TempFile>> files_;
};

inline host::OpenArgs gpib(std::uint32_t primary, std::uint32_t secondary = 0xFFFFFFFF) {
  host::OpenArgs a;
  a.address = "GPIB0::" + std::to_string(primary) + "::INSTR";
  a.primary = primary;
  a.secondary = secondary;
  return a;
}

}  // namespace tap::e2e
