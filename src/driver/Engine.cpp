#include "driver/Engine.h"

#include <climits>
#include <cstring>
#include <new>
#include <optional>

#include "driver/DefaultVarnelHandler.h"
#include "driver/emulated_wait.h"
#include "driver/status.h"
#include "platform/os/performance_counter.h"
#include "playfile/PlaybackLoader.h"
#include "scripting/HelperThread.h"

namespace tap {
namespace {

// Piece delivery counts in signed 32-bit numbers; a larger buffer is
// served as the largest count that fits.
std::int32_t piece_count(std::uint32_t count) {
  return count > static_cast<std::uint32_t>(INT32_MAX) ? INT32_MAX
                                                       : static_cast<std::int32_t>(count);
}

// The counter is read only on calls that have a wait to hold, once the
// wait is known. Finding the answer costs the same however large the
// recording, so the held time still ends within microseconds of
// min(timeout, wait) after the call began, and never before.
bool has_wait(std::int32_t timeout, std::int32_t wait) { return timeout > 0 && wait > 0; }

}  // namespace

Engine::Engine() : counter_frequency_(os::performance_frequency()) {}

Engine::~Engine() { DefaultHandler().Close(this); }

std::int32_t Engine::Open(const char* address, std::uint32_t primary, std::uint32_t secondary,
                          std::uint32_t protocol, const char* bracket, const char* colon,
                          std::uint64_t extra) {
  // The host's texts are read only here, while the open is under way.
  SessionAddress session{address ? address : "", primary, secondary, protocol,
                         bracket ? bracket : "", colon ? colon : ""};
  open_status_ = status::bad_playback_file;
  try {
    LoadPlaybackFile(session, extra);
  } catch (...) {
    return status::internal_error;
  }
  return open_status_;
}

void Engine::LoadPlaybackFile(const SessionAddress& address, std::uint64_t extra) {
  // Without a script host the worker skips the job: the preset status stays.
  std::optional<LoadResult> loaded;
  HelperThread::LoadFile([&] { loaded = load_playback_file(address); });
  if (!loaded) return;
  open_status_ = loaded->status;
  if (loaded->no_matching_stream) {
    open_status_ = DefaultHandler().Open(address.address.c_str(), address.primary,
                                         address.secondary, address.protocol,
                                         address.bracket.c_str(), address.colon.c_str(), extra);
    return;
  }
  tables_ = std::move(loaded->tables);
  lines_ = std::move(loaded->lines);
  if (!loaded->initial_values.empty()) scripting_.InitStoredValues(loaded->initial_values);
}

std::int32_t Engine::Write(std::uint32_t flags, std::int32_t timeout, const std::uint8_t* buffer,
                           std::uint32_t count, std::uint32_t* actual) {
  std::int32_t wait = 0;
  try {
    SRPair* pair = tables_.FindMatchingPair(&scripting_, buffer, count, flags);
    if (!pair) throw unknown_stimulus();
    std::int32_t result = pair->Execute(&scripting_, buffer, count, flags, timeout, wait, *actual);
    pair->AdvanceResponse();
    if (has_wait(timeout, wait))
      emulated_wait(os::performance_counter(), counter_frequency_, timeout, wait);
    return result;
  } catch (const unknown_stimulus&) {
    return DefaultHandler().Write(this, flags, timeout, buffer, count, actual);
  } catch (...) {
    return status::internal_error;
  }
}

std::int32_t Engine::Read(std::uint32_t flags, std::int32_t timeout, std::uint8_t termination,
                          std::uint8_t* buffer, std::uint32_t count, std::uint32_t* actual,
                          std::int32_t* stop_reason) {
  try {
    SRPair* pair = tables_.CurrentPair();
    if (!pair || !pair->HasPendingResponse()) throw unknown_stimulus();
    switch (pair->CurrentResponseType()) {
      case SRPair::Response::kExactString:
      case SRPair::Response::kScriptResult: {
        const SRPair::Response& response = pair->CurrentResponse();
        SRPair::Response::Piece piece = pair->ReadCurrentResponse(piece_count(count));
        const bool waits = has_wait(timeout, piece.wait);
        const std::int64_t start = waits ? os::performance_counter() : 0;
        if (piece.count) std::memcpy(buffer, response.bytes().data() + piece.begin, piece.count);
        *actual = piece.count;
        *stop_reason = piece.stopReason;
        if (waits) emulated_wait(start, counter_frequency_, timeout, piece.wait);
        return piece.returnValue;
      }
      case SRPair::Response::kScriptPending:
        return ReadScripted(flags, timeout, termination, buffer, count, actual, stop_reason);
      default:
        return status::internal_error;
    }
  } catch (const unknown_stimulus&) {
    return DefaultHandler().Read(this, flags, timeout, termination, buffer, count, actual,
                                 stop_reason);
  } catch (...) {
    return status::internal_error;
  }
}

std::int32_t Engine::ReadScripted(std::uint32_t flags, std::int32_t timeout,
                                  std::uint8_t termination, std::uint8_t* buffer,
                                  std::uint32_t count, std::uint32_t* actual,
                                  std::int32_t* stop_reason) {
  SRPair& pair = *tables_.CurrentPair();
  const SRPair::WriteRecord& last = pair.LastWrite();
  const std::int32_t script_timeout = pair.CurrentScriptTimeout();
  const std::string script = pair.TakeCurrentScript();
  SessionScripting::ReadResults results;
  try {
    results = scripting_.RunReadScript(
        script, script_timeout, {termination, flags, timeout, count},
        {last.actualWritten, last.flags, last.returnValue, last.bytes});
  } catch (const HelperThread::InitFailed&) {
    if (count >= 1) buffer[0] = 0;
    *actual = 0;
    return status::internal_error;
  }
  *stop_reason = results.stop_reason;
  std::string& text = results.text;
  if (text.size() > count) {
    pair.SetCurrentScriptResult(text.substr(count), results.stop_reason, results.return_value);
    *stop_reason = 1;
    text.resize(count);
  }
  if (!text.empty()) std::memcpy(buffer, text.data(), text.size());
  *actual = static_cast<std::uint32_t>(text.size());
  return results.return_value;
}

std::int32_t Engine::DoCommand(std::uint32_t flags, std::int32_t timeout, std::uint32_t command,
                               std::int32_t size, std::int32_t extra, std::uint8_t* data) {
  try {
    DoCommandSR* entry = tables_.FindMatchingDoCommand(command, flags, size, data);
    if (!entry) throw unknown_stimulus();
    DoCommandSR::Answer answer = entry->AnswerDoCommand(data, size);
    if (has_wait(timeout, answer.wait))
      emulated_wait(os::performance_counter(), counter_frequency_, timeout, answer.wait);
    return answer.returnValue;
  } catch (const unknown_stimulus&) {
    return DefaultHandler().DoCommand(this, flags, timeout, command, size, extra, data);
  } catch (...) {
    return status::internal_error;
  }
}

std::int32_t Engine::Lock() {
  ++lock_count_;
  return status::ok;
}

std::int32_t Engine::Unlock() {
  if (lock_count_ == 0) return status::not_locked;
  --lock_count_;
  return status::ok;
}

}  // namespace tap
