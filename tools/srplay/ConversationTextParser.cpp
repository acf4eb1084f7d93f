#include "ConversationTextParser.h"

#include <functional>
#include <map>
#include <vector>

namespace srplay {
namespace {

using Setter = std::function<void(const TextToken&)>;

// The options a line takes, under their short names and the recording's
// attribute names.
class Options {
 public:
  Options& add(std::initializer_list<const char*> names, Setter set, bool flag_word = false) {
    for (const char* n : names) entries_[n] = Entry{set, flag_word};
    if (!list_.empty()) list_ += ", ";
    list_ += *names.begin();
    return *this;
  }
  // True when the token was an option of this line.
  bool apply(const TextToken& t, int line) const {
    const bool bare = t.kind == TextToken::word;
    if (!bare && t.kind != TextToken::option) return false;
    auto it = entries_.find(bare ? t.text : t.key);
    if (it == entries_.end() || (bare && !it->second.flag_word)) {
      if (bare) return false;
      throw text_error(line, "unknown option \"" + t.key + "\" (this line takes " + list_ + ")");
    }
    if (bare) {
      static const TextToken yes{TextToken::option, "1", "", false};
      it->second.set(yes);
    } else {
      it->second.set(t);
    }
    return true;
  }
  const std::string& list() const { return list_; }

 private:
  struct Entry {
    Setter set;
    bool flag_word;
  };
  std::map<std::string, Entry, std::less<>> entries_;
  std::string list_;
};

std::string hex_bytes(const TextToken& t, int line) {
  auto digit = [](char c) {
    return c >= '0' && c <= '9' ? c - '0'
           : c >= 'a' && c <= 'f' ? c - 'a' + 10
           : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                  : -1;
  };
  std::string out;
  const std::string& s = t.text;
  bool ok = s.size() % 2 == 0;
  for (std::size_t i = 0; ok && i < s.size(); i += 2) {
    const int hi = digit(s[i]), lo = digit(s[i + 1]);
    ok = hi >= 0 && lo >= 0;
    if (ok) out.push_back(static_cast<char>(hi * 16 + lo));
  }
  if (!ok) throw text_error(line, "\"" + s + "\" is not hexadecimal byte pairs");
  return out;
}

std::size_t characters(std::string_view utf8) {
  std::size_t n = 0;
  for (char c : utf8) n += (static_cast<unsigned char>(c) >> 6) != 2;
  return n;
}

class Parser {
 public:
  explicit Parser(std::string_view text) {
    std::size_t start = 0;
    while (start <= text.size()) {
      std::size_t end = text.find('\n', start);
      if (end == std::string_view::npos) end = text.size();
      std::string_view line = text.substr(start, end - start);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      lines_.push_back(line);
      start = end + 1;
    }
  }

  ConversationText parse() {
    for (index_ = 0; index_ < lines_.size(); ++index_) parse_line();
    finish_entry();
    if (out_.streams.empty())
      throw text_error(1, "the text has no stream line: a recording needs at least one stream");
    return std::move(out_);
  }

 private:
  int line_number() const { return static_cast<int>(index_) + 1; }

  void parse_line() {
    LineScanner scan(lines_[index_], line_number());
    if (scan.at_end() || scan.rest().front() == '#') return;
    const TextToken head = scan.next();
    const std::string& kind = head.text;
    if (head.kind != TextToken::word) throw error("a line starts with what it is (see the format)");
    if (kind == "stream") return stream_line(scan);
    if (kind == "value") return value_line(scan);
    if (kind == "pair") return pair_line(scan);
    if (kind == ">") return exact_write_line(scan);
    if (kind == "~") return scripted_write_line(scan);
    if (kind == "<") return exact_response_line(scan);
    if (kind == "<~") return scripted_response_line(scan);
    if (kind == "docmd") return docmd_line(scan);
    if (kind == "=") return answer_line(scan);
    throw error("\"" + kind +
                "\" is not a line of a conversation text (stream, pair, >, ~, <, <~, docmd, =, "
                "value, or # for a comment)");
  }

  text_error error(const std::string& what) const { return text_error(line_number(), what); }

  TextStream& stream(const char* what) {
    if (out_.streams.empty())
      throw error(std::string(what) + " needs a stream line before it");
    return out_.streams.back();
  }

  // A pair line waits for its write; a DoCommand needs its answers.
  void finish_entry() {
    if (out_.streams.empty() || out_.streams.back().entries.empty()) return;
    TextEntry& last = out_.streams.back().entries.back();
    if (auto* p = std::get_if<TextPair>(&last); p && p->write.line == 0)
      throw text_error(p->line, "pair needs a write: put a > or ~ line right after it");
    if (auto* d = std::get_if<TextDoCommand>(&last); d && d->answers.empty())
      throw text_error(d->line, "docmd needs at least one answer: an = line after it");
  }

  TextPair* last_pair() {
    if (out_.streams.empty() || out_.streams.back().entries.empty()) return nullptr;
    return std::get_if<TextPair>(&out_.streams.back().entries.back());
  }

  void options_only(LineScanner& scan, const Options& options) {
    while (!scan.at_end()) {
      TextToken t = scan.next();
      if (!options.apply(t, line_number()))
        throw error("\"" + t.text + "\" is not an option here (this line takes " +
                    options.list() + ")");
    }
  }

  // The lines after this one up to the block's end word, joined by line feeds.
  std::string read_block(const std::string& end_word) {
    const int opened = line_number();
    std::string body;
    bool first = true;
    while (++index_ < lines_.size()) {
      if (trim_blanks(lines_[index_]) == end_word) return body;
      if (!first) body.push_back('\n');
      body.append(lines_[index_]);
      first = false;
    }
    throw text_error(opened, "the block opened with <<" + end_word + " has no " + end_word +
                                 " line to end it");
  }

  // `> TEXT` to the end of the line, or `> "TEXT" OPTIONS`.
  std::string written_text(LineScanner& scan) {
    std::string_view rest = scan.rest();
    if (!rest.empty() && rest.front() == '"') return scan.next().text;
    scan.take_rest();
    return unescape_text(rest, line_number());
  }

  void stream_line(LineScanner& scan) {
    finish_entry();
    TextStream s;
    s.line = line_number();
    if (scan.at_end()) throw error("stream takes the interface (gpib, tcpip, com, usb) and the primary address");
    TextToken intf = scan.next();
    if (intf.kind == TextToken::option || intf.kind == TextToken::block)
      throw error("stream takes the interface first");
    s.intfaddr = intf.text;
    if (scan.at_end()) throw error("stream needs the primary address after the interface");
    s.prim = to_int32(scan.next(), line_number());
    Options o;
    o.add({"sec"}, [&](const TextToken& t) { s.sec = to_int32(t, line_number()); })
        .add({"devprot"}, [&](const TextToken& t) { s.devprot = to_int32(t, line_number()); })
        .add({"bracket"}, [&](const TextToken& t) { s.bracket = t.text; })
        .add({"colon"}, [&](const TextToken& t) { s.colon = t.text; })
        .add({"status", "returnValue"},
             [&](const TextToken& t) { s.returnValue = to_int32(t, line_number()); });
    options_only(scan, o);
    for (auto [text, what] : {std::pair{&s.intfaddr, "the interface"},
                              std::pair{&s.bracket, "bracket"}, std::pair{&s.colon, "colon"}}) {
      check_text(*text, line_number(), what);
      if (characters(*text) > 255) throw error(std::string(what) + " is longer than 255 characters");
    }
    out_.streams.push_back(std::move(s));
  }

  void value_line(LineScanner& scan) {
    TextValue v;
    v.line = line_number();
    if (scan.at_end()) throw error("value takes a key and its value");
    v.key = scan.next().text;
    if (scan.at_end()) throw error("value needs the value after the key");
    TextToken value = scan.next();
    if (value.kind == TextToken::option || value.kind == TextToken::block)
      throw error("value takes the key, then the value");
    v.value = value.text;
    Options o;
    o.add({"binary"}, [&](const TextToken& t) { v.binary = to_bool(t, line_number()); }, true);
    options_only(scan, o);
    check_text(v.key, v.line, "the key");
    if (!v.binary) check_text(v.value, v.line, "the value");
    out_.values.push_back(std::move(v));
  }

  void pair_line(LineScanner& scan) {
    TextStream& s = stream("pair");
    finish_entry();
    TextPair p;
    p.line = line_number();
    Options o;
    o.add({"name"}, [&](const TextToken& t) { p.name = t.text; })
        .add({"version"}, [&](const TextToken& t) { p.version = to_version(t, line_number()); });
    while (!scan.at_end()) {
      TextToken t = scan.next();
      if (o.apply(t, p.line)) continue;
      if (t.kind == TextToken::block || !p.name.empty())
        throw error("pair takes a name and version=");
      p.name = t.text;
    }
    check_text(p.name, p.line, "the name");
    s.entries.emplace_back(std::move(p));
  }

  // The pair a write line fills: the one a pair line opened, or a new one.
  TextPair& pair_for_write() {
    TextStream& s = stream("a write");
    if (TextPair* p = last_pair(); p && p->write.line == 0) return *p;
    finish_entry();
    TextPair p;
    p.line = line_number();
    return std::get<TextPair>(s.entries.emplace_back(std::move(p)));
  }

  void exact_write_line(LineScanner& scan) {
    TextPair& p = pair_for_write();
    TextWrite& w = p.write;
    w.line = line_number();
    w.bytes = written_text(scan);
    Options o;
    o.add({"wait", "waitTime"}, [&](const TextToken& t) { w.waitTime = to_int32(t, w.line); })
        .add({"status", "returnValue"},
             [&](const TextToken& t) { w.returnValue = to_int32(t, w.line); })
        .add({"flags", "readWriteFlags"},
             [&](const TextToken& t) { w.readWriteFlags = to_flags(t, w.line); })
        .add({"ignoreFlags"}, [&](const TextToken& t) { w.ignoreFlags = to_bool(t, w.line); }, true)
        .add({"written", "actualWritten"},
             [&](const TextToken& t) { w.actualWritten = to_flags(t, w.line); });
    options_only(scan, o);
  }

  void scripted_write_line(LineScanner& scan) {
    TextPair& p = pair_for_write();
    TextWrite& w = p.write;
    w.line = line_number();
    w.scripted = true;
    std::optional<std::string> block;
    std::string_view rest = scan.rest();
    if (!rest.empty() && (rest.front() == '"' || rest.front() == '\'')) {
      w.pattern = scan.next().text;
      Options o;
      o.add({"flags", "readWriteFlags"},
            [&](const TextToken& t) { w.readWriteFlags = to_flags(t, w.line); })
          .add({"ignoreFlags"}, [&](const TextToken& t) { w.ignoreFlags = to_bool(t, w.line); }, true)
          .add({"ignoreCase"}, [&](const TextToken& t) { w.ignoreCase = to_bool(t, w.line); }, true)
          .add({"timeout", "scriptTimeout"},
               [&](const TextToken& t) { w.scriptTimeout = to_int32(t, w.line); })
          .add({"script", "scriptString"}, [&](const TextToken& t) { w.script = t.text; });
      while (!scan.at_end()) {
        TextToken t = scan.next();
        if (t.kind == TextToken::block && !block) {
          block = t.text;
        } else if (!o.apply(t, w.line)) {
          throw error("\"" + t.text + "\" is not an option here (this line takes " + o.list() +
                      " and a <<WORD block)");
        }
      }
    } else {
      // A bare pattern runs to the end of the line; a final <<WORD opens the script.
      std::size_t open = rest.rfind("<<");
      if (open != std::string_view::npos && (open == 0 || is_blank(rest[open - 1]))) {
        LineScanner tail(rest.substr(open), w.line);
        TextToken t = tail.next();
        if (t.kind == TextToken::block && tail.at_end()) {
          block = t.text;
          rest = trim_blanks(rest.substr(0, open));
        }
      }
      w.pattern = std::string(rest);
    }
    if (block) {
      if (w.script) throw error("give the script as script= or as a block, not both");
      w.script = read_block(*block);
    }
    check_text(w.pattern, w.line, "the pattern");
    if (w.script) check_text(*w.script, w.line, "the script");
  }

  TextPair& pair_for_response() {
    TextPair* p = out_.streams.empty() ? nullptr : last_pair();
    if (!p || p->write.line == 0)
      throw error("a response (< or <~) needs a write (> or ~) before it");
    return *p;
  }

  void exact_response_line(LineScanner& scan) {
    TextPair& p = pair_for_response();
    TextResponse r;
    r.line = line_number();
    r.bytes = written_text(scan);
    Options o;
    o.add({"wait", "waitTime"}, [&](const TextToken& t) { r.waitTime = to_int32(t, r.line); })
        .add({"status", "returnValue"},
             [&](const TextToken& t) { r.returnValue = to_int32(t, r.line); })
        .add({"stop", "stopReason"}, [&](const TextToken& t) { r.stopReason = to_int32(t, r.line); });
    options_only(scan, o);
    p.responses.push_back(std::move(r));
  }

  void scripted_response_line(LineScanner& scan) {
    TextPair& p = pair_for_response();
    TextResponse r;
    r.line = line_number();
    r.scripted = true;
    std::string_view rest = scan.rest();
    const bool quoted = !rest.empty() && (rest.front() == '"' || rest.front() == '\'');
    if (quoted || rest.substr(0, 2) == "<<") {
      TextToken body = scan.next();
      Options o;
      o.add({"timeout", "scriptTimeout"},
            [&](const TextToken& t) { r.scriptTimeout = to_int32(t, r.line); });
      options_only(scan, o);
      r.script = body.kind == TextToken::block ? read_block(body.text) : body.text;
    } else {
      r.script = std::string(rest);
    }
    check_text(r.script, r.line, "the script", true);
    p.responses.push_back(std::move(r));
  }

  // Data: hexadecimal byte pairs and quoted text, joined in order.
  bool data_token(const TextToken& t, std::string& data) {
    if (t.kind == TextToken::word) data += hex_bytes(t, line_number());
    else if (t.kind == TextToken::quoted || t.kind == TextToken::raw) data += t.text;
    else return false;
    return true;
  }

  void docmd_line(LineScanner& scan) {
    TextStream& s = stream("docmd");
    finish_entry();
    TextDoCommand d;
    d.line = line_number();
    if (scan.at_end()) throw error("docmd takes the command number, then the data");
    d.command = to_loadable_unsigned(scan.next(), d.line);
    Options o;
    o.add({"flags", "doCmdFlags"},
          [&](const TextToken& t) { d.flags = to_loadable_unsigned(t, d.line); })
        .add({"ignoreFlags"}, [&](const TextToken& t) { d.ignoreFlags = to_bool(t, d.line); }, true)
        .add({"name"}, [&](const TextToken& t) { d.name = t.text; })
        .add({"version"}, [&](const TextToken& t) { d.version = to_version(t, d.line); });
    while (!scan.at_end()) {
      TextToken t = scan.next();
      if (!o.apply(t, d.line) && !data_token(t, d.data))
        throw error("docmd takes hexadecimal or quoted data and " + o.list());
    }
    check_text(d.name, d.line, "the name");
    s.entries.emplace_back(std::move(d));
  }

  void answer_line(LineScanner& scan) {
    TextDoCommand* d = nullptr;
    if (!out_.streams.empty() && !out_.streams.back().entries.empty())
      d = std::get_if<TextDoCommand>(&out_.streams.back().entries.back());
    if (!d) throw error("an answer (=) needs a docmd line before it");
    TextDoCommandAnswer a;
    a.line = line_number();
    Options o;
    o.add({"status", "returnValue"}, [&](const TextToken& t) { a.returnValue = to_int32(t, a.line); })
        .add({"wait", "waitTime"}, [&](const TextToken& t) { a.waitTime = to_int32(t, a.line); });
    while (!scan.at_end()) {
      TextToken t = scan.next();
      if (!o.apply(t, a.line) && !data_token(t, a.data))
        throw error("an answer takes hexadecimal or quoted data and " + o.list());
    }
    d->answers.push_back(std::move(a));
  }

  std::vector<std::string_view> lines_;
  std::size_t index_ = 0;
  ConversationText out_;
};

}  // namespace

ConversationText parse_conversation_text(std::string_view text) { return Parser(text).parse(); }

}  // namespace srplay
