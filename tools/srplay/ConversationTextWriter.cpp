#include "ConversationTextWriter.h"

#include <cctype>
#include <cstdio>

#include "TextLine.h"
#include "escape_text.h"

namespace srplay {
namespace {

std::string hex_escape(unsigned char c) {
  char buf[5];
  std::snprintf(buf, sizeof buf, "\\x%02X", c);
  return buf;
}

// Bytes with C escapes; every byte outside printable ASCII is escaped.
// Unquoted, blanks at either end are escaped so that the line keeps them.
std::string escaped_bytes(std::string_view bytes, bool quoted) {
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    const bool edge = i == 0 || i + 1 == bytes.size();
    switch (c) {
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '\\': out += "\\\\"; break;
      case '"': out += quoted || i == 0 ? "\\\"" : "\""; break;
      default:
        if (c == ' ' && edge && !quoted) out += "\\x20";
        else if (c >= 0x20 && c < 0x7F) out.push_back(static_cast<char>(c));
        else out += hex_escape(c);
    }
  }
  return out;
}

std::string quoted_bytes(std::string_view bytes) { return "\"" + escaped_bytes(bytes, true) + "\""; }

// UTF-8 text in double quotes: characters beyond ASCII stay as they are.
std::string quoted_text(std::string_view text) {
  std::string out = "\"";
  for (char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '"' || c == '\\') out += std::string("\\") + ch;
    else if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else if (c == '\t') out += "\\t";
    else if (c < 0x20 || c == 0x7F) out += hex_escape(c);
    else out.push_back(ch);
  }
  return out + "\"";
}

bool has_controls(std::string_view text, bool tab_allowed) {
  for (char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if ((c < 0x20 && !(tab_allowed && c == '\t')) || c == 0x7F) return true;
  }
  return false;
}

// Texts that read back unchanged when written bare or raw.
bool fits_bare(std::string_view text) {
  return !text.empty() && !has_controls(text, false) && text.front() != '"' &&
         text.front() != '\'' && !is_blank(text.front()) && !is_blank(text.back()) &&
         text.find("<<") == std::string_view::npos;
}

std::string quoted_pattern(std::string_view pattern) {
  if (has_controls(pattern, true)) return quoted_text(pattern);
  std::string out = "'";
  for (char c : pattern) out += c == '\'' ? std::string("''") : std::string(1, c);
  return out + "'";
}

bool is_word(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '.' && c != '-' && c != ':')
      return false;
  return true;
}

std::string word_or_quoted(std::string_view text) {
  return is_word(text) ? std::string(text) : quoted_text(text);
}

std::string flags_text(std::uint32_t flags) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%X", flags);
  return buf;
}

// The end word of a block holding `body`, or "" when a block cannot hold it.
std::string block_word(std::string_view body) {
  // Line feeds separate the block's lines; other controls need quoting.
  for (char ch : body) {
    const auto c = static_cast<unsigned char>(ch);
    if ((c < 0x20 && c != '\n' && c != '\t') || c == 0x7F) return "";
  }
  for (int n = 1;; ++n) {
    const std::string word = n == 1 ? "END" : "END" + std::to_string(n);
    bool clash = false;
    for (std::size_t start = 0; start <= body.size() && !clash;) {
      std::size_t end = body.find('\n', start);
      if (end == std::string_view::npos) end = body.size();
      clash = trim_blanks(body.substr(start, end - start)) == word;
      start = end + 1;
    }
    if (!clash) return word;
  }
}

class TextOut {
 public:
  void line(const std::string& s) { out_ += s + "\n"; }
  void blank() {
    if (!out_.empty() && out_.compare(out_.size() - std::min<std::size_t>(2, out_.size()), 2, "\n\n") != 0)
      out_ += "\n";
  }
  void block(const std::string& word, const std::string& body) {
    if (!body.empty()) out_ += body + "\n";
    out_ += word + "\n";
  }
  std::string take() { return std::move(out_); }

 private:
  std::string out_;
};

std::string option_text(const std::vector<std::string>& options) {
  std::string out;
  for (const std::string& o : options) out += " " + o;
  return out;
}

void write_exact_write(TextOut& t, const TextWrite& w) {
  std::vector<std::string> o;
  if (w.waitTime) o.push_back("wait=" + std::to_string(w.waitTime));
  if (w.returnValue) o.push_back("status=" + std::to_string(w.returnValue));
  if (w.readWriteFlags) o.push_back("flags=" + flags_text(w.readWriteFlags));
  if (!w.ignoreFlags) o.push_back("ignoreFlags=0");
  if (w.actualWritten && *w.actualWritten != w.bytes.size())
    o.push_back("written=" + std::to_string(*w.actualWritten));
  if (o.empty() && !w.bytes.empty()) t.line("> " + escaped_bytes(w.bytes, false));
  else t.line("> " + quoted_bytes(w.bytes) + option_text(o));
}

void write_scripted_write(TextOut& t, const TextWrite& w) {
  std::vector<std::string> o;
  if (w.readWriteFlags) o.push_back("flags=" + flags_text(w.readWriteFlags));
  if (!w.ignoreFlags) o.push_back("ignoreFlags=0");
  if (w.ignoreCase) o.push_back("ignoreCase");
  if (w.scriptTimeout != -1) o.push_back("timeout=" + std::to_string(w.scriptTimeout));
  const std::string word = w.script ? block_word(*w.script) : "";
  if (w.script && word.empty()) o.push_back("script=" + quoted_text(*w.script));
  const bool bare = o.empty() && (w.pattern.empty() || fits_bare(w.pattern));
  std::string line = "~";
  if (!w.pattern.empty() || !bare) line += " " + (bare ? w.pattern : quoted_pattern(w.pattern));
  line += option_text(o);
  if (!word.empty()) line += " <<" + word;
  t.line(line);
  if (!word.empty()) t.block(word, *w.script);
}

void write_response(TextOut& t, const TextResponse& r) {
  if (!r.scripted) {
    std::vector<std::string> o;
    if (r.waitTime) o.push_back("wait=" + std::to_string(r.waitTime));
    if (r.returnValue) o.push_back("status=" + std::to_string(r.returnValue));
    if (r.stopReason != 2) o.push_back("stop=" + std::to_string(r.stopReason));
    if (o.empty() && !r.bytes.empty()) t.line("< " + escaped_bytes(r.bytes, false));
    else t.line("< " + quoted_bytes(r.bytes) + option_text(o));
    return;
  }
  const std::string timeout =
      r.scriptTimeout != -1 ? " timeout=" + std::to_string(r.scriptTimeout) : "";
  if (timeout.empty() && fits_bare(r.script) && r.script.find('\n') == std::string::npos) {
    t.line("<~ " + r.script);
    return;
  }
  const std::string word = r.script.empty() ? "" : block_word(r.script);
  if (word.empty()) {
    t.line("<~ " + quoted_text(r.script) + timeout);
    return;
  }
  t.line("<~ <<" + word + timeout);
  t.block(word, r.script);
}

void write_pair(TextOut& t, const TextPair& p) {
  t.blank();
  std::string head;
  if (!p.name.empty()) head += " " + quoted_text(p.name);
  if (p.version != kDefaultEntryVersion) head += " version=" + p.version;
  if (!head.empty()) t.line("pair" + head);
  if (p.write.scripted) write_scripted_write(t, p.write);
  else write_exact_write(t, p.write);
  for (const TextResponse& r : p.responses) write_response(t, r);
}

void write_docommand(TextOut& t, const TextDoCommand& d) {
  t.blank();
  std::string line = "docmd " + flags_text(d.command);
  if (!d.data.empty()) line += " " + to_hex(d.data);
  if (d.flags) line += " flags=" + flags_text(d.flags);
  if (!d.ignoreFlags) line += " ignoreFlags=0";
  if (!d.name.empty()) line += " name=" + quoted_text(d.name);
  if (d.version != kDefaultEntryVersion) line += " version=" + d.version;
  t.line(line);
  for (const TextDoCommandAnswer& a : d.answers) {
    std::string answer = "=";
    if (!a.data.empty()) answer += " " + to_hex(a.data);
    if (a.returnValue) answer += " status=" + std::to_string(a.returnValue);
    if (a.waitTime) answer += " wait=" + std::to_string(a.waitTime);
    t.line(answer);
  }
}

void write_stream(TextOut& t, const TextStream& s) {
  t.blank();
  std::string line = "stream " + (s.intfaddr.empty() ? std::string("\"\"") : word_or_quoted(s.intfaddr)) +
                     " " + std::to_string(s.prim);
  if (s.sec != -1) line += " sec=" + std::to_string(s.sec);
  if (s.devprot) line += " devprot=" + std::to_string(s.devprot);
  if (!s.bracket.empty()) line += " bracket=" + quoted_text(s.bracket);
  if (!s.colon.empty()) line += " colon=" + quoted_text(s.colon);
  if (s.returnValue) line += " status=" + std::to_string(s.returnValue);
  t.line(line);
  for (const std::string& c : s.comments) t.line("# " + c);
  for (const TextEntry& e : s.entries) {
    if (auto* p = std::get_if<TextPair>(&e)) write_pair(t, *p);
    else if (auto* d = std::get_if<TextDoCommand>(&e)) write_docommand(t, *d);
    else if (auto* c = std::get_if<TextComment>(&e)) {
      t.blank();
      t.line("# " + c->text);
    }
  }
}

}  // namespace

std::string write_conversation_text(const ConversationText& conversation, const std::string& heading) {
  TextOut t;
  if (!heading.empty()) t.line("# " + heading);
  for (const TextStream& s : conversation.streams) write_stream(t, s);
  if (!conversation.values.empty()) t.blank();
  for (const TextValue& v : conversation.values) {
    const std::string value = v.binary ? quoted_bytes(v.value) + " binary" : quoted_text(v.value);
    t.line("value " + word_or_quoted(v.key) + " " + value);
  }
  return t.take();
}

}  // namespace srplay
