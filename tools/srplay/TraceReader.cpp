#include "TraceReader.h"

#include <charconv>
#include <filesystem>
#include <fstream>

#include "platform/os/environment.h"
#include "platform/os/process.h"

namespace srplay {
namespace {

constexpr const char* kTraceVariable = "TAPLAYBACK_TRACE";

// Splits at spaces outside double quotes; quoted values keep their escapes.
std::vector<std::string_view> fields(std::string_view line) {
  std::vector<std::string_view> out;
  std::size_t start = 0;
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted && c == '\\') {
      ++i;
    } else if (c == '"') {
      quoted = !quoted;
    } else if (c == ' ' && !quoted) {
      if (i > start) out.push_back(line.substr(start, i - start));
      start = i + 1;
    }
  }
  if (start < line.size()) out.push_back(line.substr(start));
  return out;
}

template <typename T>
bool number(std::string_view text, T& value, int base = 10) {
  if (base == 16 && text.substr(0, 2) == "0x") text.remove_prefix(2);
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  return ec == std::errc() && end != text.data();
}

}  // namespace

std::optional<TracedCall> parse_trace_line(const std::string& line, std::uint32_t* pid) {
  std::vector<std::string_view> f = fields(line);
  // TIME pid=P tid=T session=S CALL ...
  if (f.size() < 5 || f[1].substr(0, 4) != "pid=" || f[3].substr(0, 8) != "session=") return std::nullopt;
  TracedCall call;
  if (!number(f[1].substr(4), *pid) || !number(f[3].substr(8), call.session, 16)) return std::nullopt;
  call.call = std::string(f[4]);
  bool has_status = false;
  for (std::size_t i = 5; i < f.size(); ++i) {
    const std::string_view field = f[i];
    const std::size_t eq = field.find('=');
    if (eq == std::string_view::npos) continue;
    const std::string_view key = field.substr(0, eq), value = field.substr(eq + 1);
    if (key == "status") {
      has_status = number(value, call.status);
    } else if (key == "answer") {
      if (value == "none") call.answer = TracedCall::Answer::none;
      else if (value == "default") call.answer = TracedCall::Answer::default_handler;
      else if (value.substr(0, 5) == "pair:" && number(value.substr(5), call.entry))
        call.answer = TracedCall::Answer::pair;
      else if (value.substr(0, 10) == "docommand:" && number(value.substr(10), call.entry))
        call.answer = TracedCall::Answer::docommand;
    } else if (key == "line") {
      number(value, call.line);
    } else if (key == "response") {
      number(value, call.response);
    } else if (key == "stream_line") {
      number(value, call.stream_line);
    }
  }
  if (!has_status) return std::nullopt;
  return call;
}

TraceReader::TraceReader() : pid_(tap::os::current_process_id()) {
  std::optional<std::string> set = tap::os::environment_variable(kTraceVariable);
  std::error_code ec;
  if (set && !set->empty()) {
    // The user's own trace: it gets this run's lines as well, after
    // whatever it holds already. Only a regular file can be read back; a
    // terminal or a pipe would wait for input that never comes.
    const auto type = std::filesystem::status(*set, ec).type();
    if (type != std::filesystem::file_type::regular && type != std::filesystem::file_type::not_found)
      return;
    path_ = *set;
    const auto size = std::filesystem::file_size(path_, ec);
    offset_ = ec ? 0 : size;
    return;
  }
  // A folder only this run created, so that no one else's file or link
  // can stand where the driver writes.
  const std::filesystem::path temp = std::filesystem::temp_directory_path(ec);
  for (int attempt = 0; attempt < 100 && own_dir_.empty(); ++attempt) {
    std::filesystem::path dir =
        temp / ("srplay-trace-" + std::to_string(pid_) + "-" + std::to_string(attempt));
    if (std::filesystem::create_directory(dir, ec) && !ec) own_dir_ = dir.string();
  }
  if (own_dir_.empty()) return;
  path_ = (std::filesystem::path(own_dir_) / "trace.log").string();
  tap::os::set_environment_variable(kTraceVariable, path_);
}

TraceReader::~TraceReader() {
  if (own_dir_.empty()) return;
  std::error_code ec;
  std::filesystem::remove_all(own_dir_, ec);
}

std::vector<TracedCall> TraceReader::take() {
  std::vector<TracedCall> calls;
  if (path_.empty()) return calls;
  std::ifstream in(path_, std::ios::binary);
  if (!in) return calls;
  in.seekg(static_cast<std::streamoff>(offset_));
  std::string chunk((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  offset_ += chunk.size();
  partial_ += chunk;
  std::size_t start = 0;
  for (std::size_t nl; (nl = partial_.find('\n', start)) != std::string::npos; start = nl + 1) {
    std::uint32_t pid = 0;
    std::optional<TracedCall> call = parse_trace_line(partial_.substr(start, nl - start), &pid);
    if (call && pid == pid_) calls.push_back(std::move(*call));
  }
  partial_.erase(0, start);
  return calls;
}

}  // namespace srplay
