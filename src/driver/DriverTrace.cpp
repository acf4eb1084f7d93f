#include "driver/DriverTrace.h"

#include <algorithm>

#include "driver/Engine.h"
#include "driver/TraceLine.h"
#include "platform/os/environment.h"

namespace tap {

DriverTrace* DriverTrace::from_environment() {
  std::optional<std::string> path = os::environment_variable(kVariable);
  if (!path || path->empty()) return nullptr;
  std::unique_ptr<os::AppendFile> file = os::AppendFile::open(*path);
  if (!file) return nullptr;
  return new DriverTrace(std::move(file));
}

std::string_view DriverTrace::block(const std::uint8_t* data, std::int64_t size) {
  if (!data || size <= 0) return {};
  return {reinterpret_cast<const char*>(data), static_cast<std::size_t>(size)};
}

std::string_view DriverTrace::shown_block(const std::uint8_t* data, std::int64_t size) {
  return block(data, std::min<std::int64_t>(size, static_cast<std::int64_t>(TraceLine::kShownBytes)));
}

void DriverTrace::open(const char* address, std::uint32_t primary, std::uint32_t secondary,
                       std::uint32_t protocol, const char* bracket, const char* colon,
                       std::uint64_t extra, const Engine* engine, std::int32_t status) {
  TraceLine line(engine, "open");
  line.text("address", address)
      .number("primary", primary)
      .number("secondary", secondary)
      .number("protocol", protocol)
      .text("bracket", bracket)
      .text("colon", colon)
      .hex("extra", extra)
      .status(status);
  if (engine) line.number("stream_line", engine->entry_lines().stream);
  file_->append(line.finish());
}

void DriverTrace::close(const void* session, std::int32_t status) {
  file_->append(TraceLine(session, "close").status(status).finish());
}

void DriverTrace::write(const void* session, const Engine* engine, std::uint32_t flags,
                        std::int32_t timeout, const std::uint8_t* buffer, std::uint32_t count,
                        const std::uint32_t* actual, std::int32_t status,
                        const CallAnswer& answer) {
  TraceLine line(session, "write");
  line.hex("flags", flags).number("timeout", timeout).bytes("in", block(buffer, count)).status(status);
  if (engine) {
    if (actual) line.number("actual", *actual);
    line.answer(answer, engine->entry_lines(), false, timeout);
  }
  file_->append(line.finish());
}

void DriverTrace::read(const void* session, const Engine* engine, std::uint32_t flags,
                       std::int32_t timeout, std::uint8_t termination, const std::uint8_t* buffer,
                       std::uint32_t count, const std::uint32_t* actual,
                       const std::int32_t* stop_reason, std::int32_t status,
                       const CallAnswer& answer) {
  TraceLine line(session, "read");
  line.hex("flags", flags)
      .number("timeout", timeout)
      .hex("termination", termination)
      .number("count", count)
      .status(status);
  if (engine) {
    // A failed read may leave the count unset; never show past the buffer.
    const std::uint32_t got = actual && *actual <= count ? *actual : 0;
    if (actual) line.number("actual", *actual);
    if (stop_reason) line.number("stop", *stop_reason);
    line.bytes("out", block(buffer, got));
    line.answer(answer, engine->entry_lines(), false, timeout);
  }
  file_->append(line.finish());
}

void DriverTrace::docommand(const void* session, const Engine* engine, std::uint32_t flags,
                            std::int32_t timeout, std::uint32_t command, std::int32_t size,
                            std::int32_t extra, std::string_view in, const std::uint8_t* data,
                            std::int32_t status, const CallAnswer& answer) {
  TraceLine line(session, "docmd");
  line.hex("flags", flags)
      .number("timeout", timeout)
      .hex("command", command)
      .number("size", size)
      .number("extra", extra)
      .bytes("in", in, size > 0 ? static_cast<std::size_t>(size) : 0)
      .status(status);
  if (engine) {
    line.bytes("out", block(data, size));
    line.answer(answer, engine->entry_lines(), true, timeout);
  }
  file_->append(line.finish());
}

void DriverTrace::lock(const char* call, const void* session, const Engine* engine,
                       std::int32_t status) {
  TraceLine line(session, call);
  line.status(status);
  if (engine) line.number("lock_count", engine->lock_count());
  file_->append(line.finish());
}

}  // namespace tap
