#include "driver/TraceLine.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "diag/c_escape.h"
#include "platform/os/process.h"
#include "taplayback/varnel_status.h"

namespace tap {
namespace {

// UTC with microseconds, e.g. 2026-12-06T09:31:02.123456Z.
std::string utc_now() {
  using namespace std::chrono;
  const auto now = time_point_cast<microseconds>(system_clock::now());
  const auto day = floor<days>(now);
  const year_month_day date{day};
  const hh_mm_ss<microseconds> time{now - day};
  char buf[128];
  std::snprintf(buf, sizeof buf, "%04d-%02u-%02uT%02d:%02d:%02d.%06ldZ", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                static_cast<int>(time.seconds().count()),
                static_cast<long>(time.subseconds().count()));
  return buf;
}


}  // namespace

TraceLine::TraceLine(const void* session, const char* call) {
  char buf[96];
  std::snprintf(buf, sizeof buf, " pid=%u tid=%llu session=0x%llx ", os::current_process_id(),
                static_cast<unsigned long long>(os::current_thread_id()),
                static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(session)));
  line_ = utc_now();
  line_ += buf;
  line_ += call;
}

TraceLine& TraceLine::number(const char* name, std::int64_t value) {
  line_ += ' ';
  line_ += name;
  line_ += '=';
  line_ += std::to_string(value);
  return *this;
}

TraceLine& TraceLine::hex(const char* name, std::uint64_t value) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "=0x%llX", static_cast<unsigned long long>(value));
  line_ += ' ';
  line_ += name;
  line_ += buf;
  return *this;
}

TraceLine& TraceLine::text(const char* name, const char* value) {
  line_ += ' ';
  line_ += name;
  line_ += "=\"";
  if (value) {
    std::string_view all(value);
    append_c_escaped(line_, all.substr(0, kShownBytes));
    line_ += '"';
    if (all.size() > kShownBytes) line_ += "...";
  } else {
    line_ += '"';
  }
  return *this;
}

TraceLine& TraceLine::bytes(const char* name, std::string_view value, std::size_t total) {
  const std::string_view shown = value.substr(0, std::min(kShownBytes, total));
  line_ += ' ';
  line_ += name;
  line_ += '=';
  line_ += std::to_string(total);
  line_ += ":\"";
  append_c_escaped(line_, shown);
  line_ += '"';
  if (total > shown.size()) line_ += "...";
  return *this;
}

TraceLine& TraceLine::status(std::int32_t value) {
  line_ += " -> status=";
  line_ += std::to_string(value);
  if (const char* name = varnel_status_name(value)) {
    line_ += '(';
    line_ += name;
    line_ += ')';
  }
  return *this;
}

TraceLine& TraceLine::answer(const CallAnswer& answer, const EntryLines& lines, bool docommand,
                             std::int32_t timeout) {
  switch (answer.source) {
    case CallAnswer::failed:
      line_ += " answer=none";
      return *this;
    case CallAnswer::default_handler:
      line_ += " answer=default";
      return *this;
    case CallAnswer::recording:
      break;
  }
  const auto& table = docommand ? lines.docommands : lines.pairs;
  line_ += docommand ? " answer=docommand:" : " answer=pair:";
  line_ += std::to_string(answer.entry);
  const auto at = static_cast<std::size_t>(answer.entry);
  if (answer.entry >= 0 && at < table.size()) number("line", table[at]);
  number("response", answer.response);
  const std::int32_t held = timeout > 0 && answer.wait > 0 ? std::min(timeout, answer.wait) : 0;
  line_ += " wait=" + std::to_string(held) + "ms";
  if (held != answer.wait) line_ += "(recorded " + std::to_string(answer.wait) + "ms)";
  return *this;
}

std::string TraceLine::finish() {
  line_ += '\n';
  return std::move(line_);
}

}  // namespace tap
