// Drives the driver's entries as a host would: the real library, loaded
// through its entry export, on a recording decoded from the input, then a
// sequence of calls with any handles, sizes, counts and null pointers.
// Every iteration closes what it opened, so none leaves state behind.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "FuzzBytes.h"
#include "FuzzRecording.h"
#include "host/DriverHost.h"
#include "host/ProcessRegion.h"

namespace {

using tap::fuzz::FuzzBytes;
using tap::fuzz::FuzzRecording;

struct Host {
  tap::host::ProcessRegion region;
  tap::host::DriverHost driver{TAP_DRIVER_PATH};
  std::string path = "/tmp/fuzz_entries_" + std::to_string(getpid()) + ".xml";
  ~Host() { std::remove(path.c_str()); }
};

Host& host() {
  static Host h;
  return h;
}

constexpr unsigned kMaxSessions = 4;
constexpr unsigned kMaxCalls = 24;

class CallSequence {
 public:
  CallSequence(FuzzBytes& in, const FuzzRecording& recording)
      : in_(in), recording_(recording), driver_(host().driver) {}
  ~CallSequence() {
    for (VarnelSession s : open_)
      if (driver_.close(s) != 0) __builtin_trap();
  }

  void run() {
    for (unsigned i = 0; i < kMaxCalls && !in_.empty(); ++i) {
      switch (in_.below(8)) {
        case 0: open(); break;
        case 1: close(); break;
        case 2: write(); break;
        case 3:
        case 4: read(); break;
        case 5: docommand(); break;
        case 6: lock(); break;
        case 7: no_op(); break;
      }
    }
  }

 private:
  // Null, a live session, one closed already, or an address never given out.
  VarnelSession handle() {
    const unsigned pick = in_.below(8);
    if (pick == 0) return nullptr;
    if (pick == 1 && !closed_.empty()) return closed_[in_.below(static_cast<unsigned>(closed_.size()))];
    if (pick == 2) return &stranger_;
    if (pick == 3) return reinterpret_cast<VarnelSession>(std::uintptr_t{in_.u32()} << 4);
    if (open_.empty()) return nullptr;
    return open_[in_.below(static_cast<unsigned>(open_.size()))];
  }
  std::int32_t timeout() { return static_cast<std::int32_t>(in_.below(5)) - 1; }
  std::uint32_t flags() { return in_.below(4) == 0 ? in_.u32() : in_.below(4); }

  void open() {
    if (open_.size() >= kMaxSessions) return;
    const tap::fuzz::FuzzAddress& a = tap::fuzz::kAddresses[in_.below(tap::fuzz::kAddressCount)];
    const bool matching_kind = in_.below(4) != 0;
    host().region.set_interface(matching_kind ? a.region_kind : "gpib", in_.below(8) ? "instr" : "intfc");
    host().region.set_next_stream_index(in_.below(3));
    tap::host::OpenArgs args;
    args.address = a.resource;
    args.primary = a.primary;
    args.bracket = a.bracket;
    args.colon = a.colon;
    if (in_.below(4) == 0) args.secondary = in_.below(31);
    if (in_.below(8) == 0) args.protocol = in_.byte();
    if (in_.below(16) == 0) {
      if (driver_.open(args, nullptr) == 0) __builtin_trap();
      return;
    }
    VarnelSession s = nullptr;
    if (driver_.open(args, &s) == 0) {
      if (!s) __builtin_trap();
      open_.push_back(s);
    }
  }

  void close() {
    const VarnelSession s = handle();
    const std::int32_t status = driver_.close(s);
    std::erase_if(open_, [&](VarnelSession o) {
      if (o != s) return false;
      if (status != 0) __builtin_trap();
      closed_.push_back(o);
      return true;
    });
  }

  // The recorded bytes of a stimulus, or any bytes.
  std::string write_bytes() {
    const auto& stimuli = recording_.stimuli();
    if (!stimuli.empty() && in_.below(4) != 0) {
      std::string bytes = stimuli[in_.below(static_cast<unsigned>(stimuli.size()))];
      if (in_.below(4) == 0) bytes += in_.text(8);
      return bytes;
    }
    return in_.text(32);
  }

  void write() {
    const VarnelSession s = handle();
    const std::uint32_t f = flags();
    const std::int32_t t = timeout();
    const std::string bytes = write_bytes();
    const unsigned nulls = in_.below(8);
    std::uint32_t actual = 0;
    const auto* buffer = reinterpret_cast<const std::uint8_t*>(bytes.data());
    if (nulls == 1) buffer = nullptr;
    (void)driver_.write(s, f, t, buffer, static_cast<std::uint32_t>(bytes.size()),
                        nulls == 2 ? nullptr : &actual);
  }

  void read() {
    static constexpr std::uint32_t kCounts[] = {0, 1, 2, 3, 7, 64, 300, 4096};
    const VarnelSession s = handle();
    const std::uint32_t f = flags();
    const std::int32_t t = timeout();
    const std::uint8_t termination = in_.byte();
    const std::uint32_t count = kCounts[in_.below(8)];
    const unsigned nulls = in_.below(8);
    std::vector<std::uint8_t> buffer(count);
    std::uint32_t actual = 0xFFFFFFFF;
    std::int32_t stop = -1;
    const std::int32_t status =
        driver_.read(s, f, t, termination, nulls == 1 ? nullptr : buffer.data(), count,
                     nulls == 2 ? nullptr : &actual, nulls == 3 ? nullptr : &stop);
    if (status == 0 && nulls > 3 && actual > count) __builtin_trap();
  }

  void docommand() {
    const VarnelSession s = handle();
    const std::uint32_t f = flags();
    const std::int32_t t = timeout();
    const auto& commands = recording_.commands();
    std::uint32_t code = 8193 + in_.below(4);
    std::string data;
    if (!commands.empty() && in_.below(4) != 0) {
      const auto& c = commands[in_.below(static_cast<unsigned>(commands.size()))];
      code = c.code;
      data = c.data;
    }
    data += in_.text(8);
    std::int32_t size = static_cast<std::int32_t>(data.size());
    const unsigned shape = in_.below(8);
    if (shape == 1) size = -1 - static_cast<std::int32_t>(in_.byte());
    if (shape == 2 && size > 0) size -= 1;
    const std::int32_t extra = static_cast<std::int32_t>(in_.byte());
    std::vector<std::uint8_t> block(data.begin(), data.end());
    std::uint8_t* p = shape == 3 ? nullptr : block.data();
    if (block.empty() && shape != 4) p = nullptr;
    (void)driver_.docommand(s, f, t, code, size, extra, p);
  }

  void lock() {
    const VarnelSession s = handle();
    (void)(in_.flag() ? driver_.lock(s) : driver_.unlock(s));
  }

  void no_op() {
    static constexpr int kNoOpSlots[] = {VARNEL_SLOT_NOOP_9, VARNEL_SLOT_NOOP_10,
                                         VARNEL_SLOT_NOOP_11, VARNEL_SLOT_NOOP_13};
    auto fn = reinterpret_cast<VarnelNoOpFn>(driver_.slot(kNoOpSlots[in_.below(4)]));
    if (fn() != 0) __builtin_trap();
  }

  FuzzBytes& in_;
  const FuzzRecording& recording_;
  const tap::host::DriverHost& driver_;
  std::vector<VarnelSession> open_;
  std::vector<VarnelSession> closed_;
  int stranger_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  Host& h = host();
  h.region.set_playback_path(h.path);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 2048) return 0;
  Host& h = host();
  FuzzBytes in(data, size);
  const FuzzRecording recording(in);
  std::ofstream(h.path, std::ios::binary | std::ios::trunc) << recording.text();
  CallSequence(in, recording).run();
  return 0;
}
