#include "RunPrinter.h"

#include <cstdio>

#include "escape_text.h"
#include "taplayback/varnel_status.h"

namespace srplay {
namespace {

std::string answer_text(const TracedCall& t) {
  switch (t.answer) {
    case TracedCall::Answer::unknown: return "";
    case TracedCall::Answer::none: return "";
    case TracedCall::Answer::default_handler: return "  <- default answer";
    case TracedCall::Answer::pair:
    case TracedCall::Answer::docommand: break;
  }
  std::string out = t.answer == TracedCall::Answer::pair ? "  <- pair " : "  <- docmd ";
  out += std::to_string(t.entry) + " line " + std::to_string(t.line);
  if (t.call == "read") out += " response " + std::to_string(t.response);
  return out;
}

std::string answer_json(const TracedCall& t) {
  switch (t.answer) {
    case TracedCall::Answer::unknown: return "";
    case TracedCall::Answer::none: return ",\"answer\":\"none\"";
    case TracedCall::Answer::default_handler: return ",\"answer\":\"default\"";
    case TracedCall::Answer::pair:
    case TracedCall::Answer::docommand: break;
  }
  return std::string(",\"answer\":{\"") +
         (t.answer == TracedCall::Answer::pair ? "pair" : "docommand") +
         "\":" + std::to_string(t.entry) + ",\"line\":" + std::to_string(t.line) +
         ",\"response\":" + std::to_string(t.response) + "}";
}

// A pattern as written: its backslashes are the pattern's own.
std::string pattern_text(std::string_view pattern) {
  std::string out;
  for (unsigned char c : pattern) {
    if (c >= 0x20 && c < 0x7F) {
      out.push_back(static_cast<char>(c));
    } else {
      char buf[5];
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      out += buf;
    }
  }
  return out;
}

std::string differences_json(const StimulusHint& h) {
  std::string out = "[";
  for (std::size_t i = 0; i < h.differences.size(); ++i)
    out += (i ? ",\"" : "\"") + h.differences[i] + "\"";
  return out + "]";
}

}  // namespace

std::string RunPrinter::shown(const std::string& bytes) const { return bytes.substr(0, show_); }

void RunPrinter::print(const CallRecord& r) const {
  if (json_) {
    print_json(r);
  } else {
    std::string shown_bytes = r.bytes ? shown(*r.bytes) : std::string();
    bool cut = r.bytes && r.bytes->size() > show_;
    std::string status = std::to_string(r.status);
    if (const char* name = varnel_status_name(r.status)) status += std::string(" (") + name + ")";
    std::printf("%-6s status %-4s", r.call, status.c_str());
    if (r.count) std::printf(" count %-6u", *r.count);
    if (r.stop) std::printf(" stop %-2d", *r.stop);
    std::printf(" %9.3f ms", r.elapsed_ms);
    if (r.bytes) std::printf("  \"%s\"%s", escape(shown_bytes).c_str(), cut ? "..." : "");
    if (r.traced) std::printf("%s", answer_text(*r.traced).c_str());
    std::printf("\n");
    if (r.hints) print_hints_text(*r.hints);
  }
  std::fflush(stdout);
}

void RunPrinter::print_hints_text(const StimulusHints& hints) const {
  if (hints.exact.empty() && hints.scripted.empty()) {
    std::printf("  no recorded stimulus matched; the stream has none\n");
    return;
  }
  std::printf("  no recorded stimulus matched; nearest:\n");
  for (const StimulusHint& h : hints.exact) {
    const bool cut = h.recorded.size() > show_;
    std::printf("    line %d (pair %zu): \"%s\"%s: %s\n", h.line, h.pair,
                escape(shown(h.recorded)).c_str(), cut ? "..." : "", h.detail.c_str());
  }
  for (const StimulusHint& h : hints.scripted)
    std::printf("    line %d (pair %zu): scripted /%s/%s: %s\n", h.line, h.pair,
                pattern_text(h.recorded).c_str(), h.ignore_case ? "i" : "", h.detail.c_str());
  if (hints.scripted_not_shown)
    std::printf("    and %zu more scripted stimuli\n", hints.scripted_not_shown);
}

void RunPrinter::print_json(const CallRecord& r) const {
  std::string shown_bytes = r.bytes ? shown(*r.bytes) : std::string();
  bool cut = r.bytes && r.bytes->size() > show_;
  std::printf("{\"call\":\"%s\",\"status\":%d", r.call, r.status);
  if (r.count) std::printf(",\"count\":%u", *r.count);
  if (r.stop) std::printf(",\"stop_reason\":%d", *r.stop);
  if (r.bytes) std::printf(",\"bytes\":\"%s\"", json_string(shown_bytes).c_str());
  if (cut) std::printf(",\"bytes_shown\":%zu", shown_bytes.size());
  std::printf(",\"elapsed_ms\":%.3f", r.elapsed_ms);
  if (const char* name = varnel_status_name(r.status)) std::printf(",\"status_name\":\"%s\"", name);
  if (r.traced) std::printf("%s", answer_json(*r.traced).c_str());
  if (r.hints) {
    std::string out = ",\"nearest\":[";
    for (std::size_t i = 0; i < r.hints->exact.size(); ++i) {
      const StimulusHint& h = r.hints->exact[i];
      if (i) out += ',';
      out += "{\"pair\":" + std::to_string(h.pair) + ",\"line\":" + std::to_string(h.line) +
             ",\"stimulus\":\"" + json_string(shown(h.recorded)) + "\"";
      if (h.distance <= kDistanceLimit) out += ",\"distance\":" + std::to_string(h.distance);
      out += ",\"differences\":" + differences_json(h) + ",\"detail\":\"" + json_string(h.detail) + "\"}";
    }
    out += "],\"scripted\":[";
    for (std::size_t i = 0; i < r.hints->scripted.size(); ++i) {
      const StimulusHint& h = r.hints->scripted[i];
      if (i) out += ',';
      out += "{\"pair\":" + std::to_string(h.pair) + ",\"line\":" + std::to_string(h.line) +
             ",\"pattern\":\"" + json_string(h.recorded) + "\",\"ignore_case\":" +
             (h.ignore_case ? "true" : "false") + ",\"differences\":" + differences_json(h) +
             ",\"detail\":\"" + json_string(h.detail) + "\"}";
    }
    out += "]";
    if (r.hints->scripted_not_shown)
      out += ",\"scripted_not_shown\":" + std::to_string(r.hints->scripted_not_shown);
    std::printf("%s", out.c_str());
  }
  std::printf("}\n");
}

void RunPrinter::print_text(const std::string& text) const {
  std::fputs(text.c_str(), stdout);
  std::fflush(stdout);
}

}  // namespace srplay
