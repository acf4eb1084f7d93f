#pragma once
#include <cstdint>
#include <memory>
#include <stdexcept>

#include "driver/SessionScripting.h"
#include "model/SessionTables.h"
#include "playfile/LoadResult.h"
#include "playfile/SessionAddress.h"

namespace tap {

// One session: the host's handle is this object's address.
class Engine {
 public:
  // The recording has no answer; always turned into the default answer.
  class unknown_stimulus : public std::runtime_error {
   public:
    unknown_stimulus() : std::runtime_error("Unknown Stimulus") {}
  };

  Engine();
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  // Virtual operations in the order of the session's slot table.
  virtual std::int32_t Open(const char* address, std::uint32_t primary, std::uint32_t secondary,
                            std::uint32_t protocol, const char* bracket, const char* colon,
                            std::uint64_t extra);
  virtual std::int32_t DoCommand(std::uint32_t flags, std::int32_t timeout, std::uint32_t command,
                                 std::int32_t size, std::int32_t extra, std::uint8_t* data);
  virtual std::int32_t Read(std::uint32_t flags, std::int32_t timeout, std::uint8_t termination,
                            std::uint8_t* buffer, std::uint32_t count, std::uint32_t* actual,
                            std::int32_t* stop_reason);
  virtual ~Engine();
  virtual std::int32_t Write(std::uint32_t flags, std::int32_t timeout, const std::uint8_t* buffer,
                             std::uint32_t count, std::uint32_t* actual);
  virtual std::int32_t Lock();
  virtual std::int32_t Unlock();
  // Has the worker load this session's stream of the process's playback
  // file for `address`, then takes over what the load built.
  virtual void LoadPlaybackFile(const SessionAddress& address, std::uint64_t extra);

  std::int32_t open_status() const { return open_status_; }
  std::uint32_t lock_count() const { return lock_count_; }
  SessionTables& tables() { return tables_; }
  // The scripting block is created on first use, then kept for the
  // session's life.
  SessionScripting& scripting() { return scripting_; }
  const SessionTables& tables() const { return tables_; }
  // Where the stream's entries stand in the file, for the driver trace.
  const EntryLines& entry_lines() const { return lines_; }

 private:
  std::int32_t ReadScripted(std::uint32_t flags, std::int32_t timeout, std::uint8_t termination,
                            std::uint8_t* buffer, std::uint32_t count, std::uint32_t* actual,
                            std::int32_t* stop_reason);
  SessionTables tables_;
  std::int64_t counter_frequency_;
  std::int32_t open_status_ = 0;
  SessionScripting scripting_;
  std::uint32_t lock_count_ = 0;
  EntryLines lines_;
};

}  // namespace tap
