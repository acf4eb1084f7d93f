#include "TextFromRecording.h"

#include <charconv>

#include "model/ExactStringStimulus.h"
#include "model/VBScriptStimulus.h"
#include "platform/os/code_page.h"
#include "playfile/file_format.h"
#include "TextLine.h"

namespace srplay {
namespace {

using tap::DoCommandSR;
using tap::Refusal;
using tap::SRPair;

std::string utf8(std::string_view ansi) { return tap::os::wide_to_utf8(tap::os::ansi_to_wide(ansi)); }

std::string version_text(double v) {
  char buf[32];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
  return ec == std::errc() ? std::string(buf, end) : std::to_string(v);
}

// The body between a procedure's first line and its "End Sub"; none when
// the procedure was built without one.
std::optional<std::string> script_body(const std::string& script, std::string_view head) {
  constexpr std::string_view tail = "\nEnd Sub";
  if (script.size() == head.size() + 7 && script.compare(head.size(), 7, "End Sub") == 0)
    return std::nullopt;
  if (script.size() < head.size() + tail.size()) return std::string();
  return script.substr(head.size(), script.size() - head.size() - tail.size());
}

std::int32_t address_number(const std::string& text, int line, const char* what) {
  std::optional<std::int64_t> v = parse_integer(trim_blanks(text));
  if (!v || *v < INT32_MIN || *v > INT32_MAX)
    throw text_error(line, std::string("the stream's ") + what + " \"" + text + "\" is not a number");
  return static_cast<std::int32_t>(*v);
}

std::string refusal_for(const std::vector<Refusal>& refusals, const char* entry, int line) {
  for (const Refusal& r : refusals)
    if (r.entry == entry && r.entry_line == line) return r.rule;
  return "it never matches";
}

std::string left_out(const char* what, const std::string& name, int line, const std::string& why) {
  std::string text = std::string(what);
  if (!name.empty()) text += " \"" + utf8(name) + "\"";
  if (line) text += " (line " + std::to_string(line) + ")";
  return text + " left out: it never matches: " + why;
}

TextWrite write_of(const tap::Stimulus& stimulus) {
  TextWrite w;
  if (auto* e = dynamic_cast<const tap::ExactStringStimulus*>(&stimulus)) {
    const auto& f = e->fields();
    w.bytes = f.bytes;
    w.waitTime = f.waitTime;
    w.returnValue = f.returnValue;
    w.readWriteFlags = f.readWriteFlags;
    w.ignoreFlags = f.ignoreFlags;
    if (f.actualWritten != f.bytes.size()) w.actualWritten = f.actualWritten;
  } else if (auto* v = dynamic_cast<const tap::VBScriptStimulus*>(&stimulus)) {
    const auto& f = v->fields();
    w.scripted = true;
    w.readWriteFlags = f.readWriteFlags;
    w.ignoreFlags = f.ignoreFlags;
    w.ignoreCase = f.ignoreCase;
    w.scriptTimeout = f.scriptTimeout;
    w.pattern = utf8(f.patternString);
    if (auto body = script_body(f.script, "Sub ExecuteWrite(ByVal PlaybackEngine)\n"))
      w.script = utf8(*body);
  }
  return w;
}

// A response the text can state, or nullopt.
std::optional<TextResponse> response_of(const SRPair::Response& r) {
  TextResponse t;
  switch (r.responseKind()) {
    case SRPair::Response::kExactString:
      t.bytes = r.bytes();
      t.waitTime = r.waitTime();
      t.returnValue = r.returnValue();
      t.stopReason = r.stopReason();
      return t;
    case SRPair::Response::kScriptPending:
    case SRPair::Response::kScriptResult:
      t.scripted = true;
      t.scriptTimeout = r.scriptTimeout();
      t.script = utf8(script_body(r.script(), "Sub ExecuteRead(ByVal PlaybackEngine)\n").value_or(""));
      return t;
    default:
      return std::nullopt;
  }
}

TextEntry pair_entry(const SRPair& pair, int line, const std::vector<Refusal>& refusals) {
  if (pair.unusable()) {
    // Above the engine's version the loader keeps the version alone, and
    // the text can say that again.
    if (pair.version() > tap::file_format::kEngineFileVersion) {
      TextPair p;
      p.version = version_text(pair.version());
      return p;
    }
    return TextComment{left_out("pair", pair.name(), line, refusal_for(refusals, "IOStimulusResponse", line))};
  }
  if (!pair.stimulus()) return TextComment{left_out("pair", pair.name(), line, "it has no write")};
  TextPair p;
  p.name = utf8(pair.name());
  p.version = version_text(pair.version());
  p.write = write_of(*pair.stimulus());
  for (const SRPair::Response& r : pair.responses()) {
    std::optional<TextResponse> t = response_of(r);
    if (!t)
      return TextComment{left_out("pair", pair.name(), line,
                                  "a vbscript response without a script answers every read with 128")};
    p.responses.push_back(std::move(*t));
  }
  return p;
}

TextEntry docommand_entry(const DoCommandSR& d, int line, const std::vector<Refusal>& refusals) {
  TextDoCommand t;
  t.version = version_text(d.version);
  if (d.unusable) {
    if (d.version > tap::file_format::kEngineFileVersion) {
      t.answers.emplace_back();
      return t;
    }
    return TextComment{left_out("DoCommand", d.name, line, refusal_for(refusals, "DoCommand", line))};
  }
  t.command = d.command;
  t.flags = d.doCmdFlags;
  t.ignoreFlags = d.ignoreFlags;
  t.name = utf8(d.name);
  t.data = d.data;
  for (const DoCommandSR::DoCommandResponse& r : d.responses)
    t.answers.push_back(TextDoCommandAnswer{0, r.returnValue, r.waitTime, r.data});
  if (t.answers.empty())
    return TextComment{left_out("DoCommand", d.name, 0, "it has no answer")};
  return t;
}

TextStream stream_of(const tap::RecordingLoad::Stream& s) {
  TextStream t;
  t.intfaddr = utf8(s.intfaddr);
  t.prim = address_number(s.prim, s.line, "prim");
  t.sec = address_number(s.sec, s.line, "sec");
  t.devprot = address_number(s.devprot, s.line, "devprot");
  t.bracket = utf8(s.bracket);
  t.colon = utf8(s.colon);
  t.returnValue = s.load.status;
  for (const Refusal& r : s.load.refusals)
    if (r.effect == Refusal::Effect::open_fails)
      t.comments.push_back("opening this stream fails with status " + std::to_string(s.load.status) +
                           ": " + utf8(r.rule));
  const auto& pairs = s.load.tables.pairs();
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    const int line = i < s.pair_lines.size() ? s.pair_lines[i].pair : 0;
    t.entries.push_back(pair_entry(pairs[i], line, s.load.refusals));
  }
  // The tables do not keep where each DoCommand stood; refusals name it by name.
  for (const DoCommandSR& d : s.load.tables.docommands()) {
    int line = 0;
    for (const Refusal& r : s.load.refusals)
      if (r.entry == "DoCommand" && r.entry_name == d.name) line = r.entry_line;
    t.entries.push_back(docommand_entry(d, line, s.load.refusals));
  }
  return t;
}

}  // namespace

ConversationText text_from_recording(const tap::RecordingLoad& recording) {
  ConversationText text;
  for (const tap::RecordingLoad::Stream& s : recording.streams) text.streams.push_back(stream_of(s));
  for (const auto& [key, value] : recording.initial_values) {
    TextValue v;
    v.key = utf8(key);
    if (value.vt() == tap::com::VT_BSTR) v.value = tap::os::wide_to_utf8(value.bstr().str());
    text.values.push_back(std::move(v));
  }
  return text;
}

}  // namespace srplay
