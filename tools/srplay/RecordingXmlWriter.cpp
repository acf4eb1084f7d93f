#include "RecordingXmlWriter.h"

#include "escape_text.h"
#include "platform/os/code_page.h"
#include "playfile/file_format.h"

namespace srplay {
namespace {

std::string attribute_text(std::string_view utf8) {
  std::string out;
  for (char c : utf8) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      // Written as references so that the parser does not fold them into spaces.
      case '\n': out += "&#10;"; break;
      case '\r': out += "&#13;"; break;
      case '\t': out += "&#9;"; break;
      default: out.push_back(c);
    }
  }
  return out;
}

std::string attr(const char* name, std::string_view value) {
  return std::string(" ") + name + "=\"" + attribute_text(value) + "\"";
}

std::string attr(const char* name, std::int64_t value) { return attr(name, std::to_string(value)); }

std::string signed_text(std::uint32_t v) { return std::to_string(static_cast<std::int32_t>(v)); }

// Scripts are text of the driver's code page once loaded.
std::string ansi_bytes(std::string_view utf8) {
  return tap::os::wide_to_ansi(tap::os::utf8_to_wide(utf8));
}

class XmlOut {
 public:
  void line(int depth, int source, const std::string& text) {
    out_.text.append(static_cast<std::size_t>(depth) * 2, ' ');
    out_.text += text;
    out_.text += '\n';
    out_.source_lines.push_back(source);
  }
  RecordingXml take() { return std::move(out_); }

 private:
  RecordingXml out_;
};

// An XML comment may not hold "--" nor end in "-".
std::string comment(std::string text) {
  for (auto at = text.find("--"); at != std::string::npos; at = text.find("--", at))
    text.replace(at, 2, "- -");
  if (!text.empty() && text.back() == '-') text += ' ';
  return "<!-- " + text + " -->";
}

void write_stimulus(XmlOut& x, const TextWrite& w) {
  std::string a = attr("stimulusType", w.scripted ? "vbscript" : "exactString") +
                  attr("readWriteFlags", signed_text(w.readWriteFlags));
  if (!w.ignoreFlags) a += attr("ignoreFlags", "0");
  if (w.scripted) {
    if (w.ignoreCase) a += attr("ignoreCase", "1");
    if (w.scriptTimeout != -1) a += attr("scriptTimeout", w.scriptTimeout);
    if (!w.pattern.empty()) a += attr("patternString", w.pattern);
    if (w.script) a += attr("scriptString", *w.script);
    x.line(3, w.line, "<Stimulus" + a + "/>");
    return;
  }
  a += attr("returnValue", w.returnValue) +
       attr("actualWritten",
            signed_text(w.actualWritten.value_or(static_cast<std::uint32_t>(w.bytes.size()))));
  if (w.waitTime != 0) a += attr("waitTime", w.waitTime);
  x.line(3, w.line, "<Stimulus" + a + ">");
  x.line(4, w.line, "<ExactString>" + to_hex(w.bytes) + "</ExactString>");
  x.line(3, w.line, "</Stimulus>");
}

void write_response(XmlOut& x, const TextResponse& r) {
  std::string a;
  std::string bytes;
  if (r.scripted) {
    // The driver reads neither value of a scripted response; the format requires both.
    a = attr("responseType", "vbscript") + attr("returnValue", 0) + attr("stopReason", 0);
    if (r.scriptTimeout != -1) a += attr("scriptTimeout", r.scriptTimeout);
    bytes = ansi_bytes(r.script);
  } else {
    a = attr("responseType", "exactString") + attr("returnValue", r.returnValue) +
        attr("stopReason", r.stopReason);
    if (r.waitTime != 0) a += attr("waitTime", r.waitTime);
    bytes = r.bytes;
  }
  x.line(3, r.line, "<Response" + a + ">");
  x.line(4, r.line, "<ExactString>" + to_hex(bytes) + "</ExactString>");
  x.line(3, r.line, "</Response>");
}

void write_pair(XmlOut& x, const TextPair& p) {
  std::string a;
  if (!p.name.empty()) a += attr("name", p.name);
  a += attr("version", p.version);
  x.line(2, p.line, "<IOStimulusResponse" + a + ">");
  write_stimulus(x, p.write);
  for (const TextResponse& r : p.responses) write_response(x, r);
  x.line(2, p.line, "</IOStimulusResponse>");
}

void write_data(XmlOut& x, int depth, int source, const std::string& data) {
  if (data.empty()) {
    x.line(depth, source, "<DataStruct/>");
    return;
  }
  x.line(depth, source, "<DataStruct>");
  x.line(depth + 1, source, "<DataParameter>" + to_hex(data) + "</DataParameter>");
  x.line(depth, source, "</DataStruct>");
}

void write_docommand(XmlOut& x, const TextDoCommand& d) {
  std::string a = attr("doCmdType", "exactMatch");
  if (!d.name.empty()) a += attr("name", d.name);
  a += attr("version", d.version) + attr("command", d.command) + attr("doCmdFlags", d.flags);
  if (!d.ignoreFlags) a += attr("ignoreFlags", "0");
  x.line(2, d.line, "<DoCommand" + a + ">");
  write_data(x, 3, d.line, d.data);
  for (const TextDoCommandAnswer& r : d.answers) {
    std::string ra = attr("returnValue", r.returnValue);
    if (r.waitTime != 0) ra += attr("waitTime", r.waitTime);
    if (r.data.empty()) {
      x.line(3, r.line, "<DoCommandResponse" + ra + "/>");
      continue;
    }
    // The driver takes an answer's data from a DataStruct, as for the call.
    x.line(3, r.line, "<DoCommandResponse" + ra + ">");
    write_data(x, 4, r.line, r.data);
    x.line(3, r.line, "</DoCommandResponse>");
  }
  x.line(2, d.line, "</DoCommand>");
}

void write_stream(XmlOut& x, const TextStream& s) {
  x.line(1, s.line, "<IORecordStream" + attr("returnValue", s.returnValue) + ">");
  x.line(2, s.line,
         "<InstrumentAddress" + attr("intfaddr", s.intfaddr) + attr("prim", s.prim) +
             attr("sec", s.sec) + attr("devprot", s.devprot) + attr("bracket", s.bracket) +
             attr("colon", s.colon) + "/>");
  for (const std::string& c : s.comments) x.line(2, s.line, comment(c));
  for (const TextEntry& e : s.entries) {
    if (auto* p = std::get_if<TextPair>(&e)) write_pair(x, *p);
    else if (auto* d = std::get_if<TextDoCommand>(&e)) write_docommand(x, *d);
    else if (auto* c = std::get_if<TextComment>(&e)) x.line(2, 0, comment(c->text));
  }
  x.line(1, s.line, "</IORecordStream>");
}

}  // namespace

RecordingXml write_recording_xml(const ConversationText& conversation) {
  XmlOut x;
  x.line(0, 0, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
  x.line(0, 0, "<IORecordStreamFile" +
                   attr("xmlns", tap::os::wide_to_utf8(tap::file_format::kNamespace)) +
                   attr("version", "1.0") + ">");
  for (const TextStream& s : conversation.streams) write_stream(x, s);
  if (!conversation.values.empty()) {
    x.line(1, 0, "<ArrayInitValues>");
    for (const TextValue& v : conversation.values) {
      const std::string value =
          v.binary ? "<BinaryArrayValue>" + to_hex(v.value) + "</BinaryArrayValue>"
                   : "<StringArrayValue>" + attribute_text(v.value) + "</StringArrayValue>";
      x.line(2, v.line, "<ArrayPair" + attr("arrayKey", v.key) + ">" + value + "</ArrayPair>");
    }
    x.line(1, 0, "</ArrayInitValues>");
  }
  x.line(0, 0, "</IORecordStreamFile>");
  return x.take();
}

}  // namespace srplay
