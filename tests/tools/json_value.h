#pragma once
// A small JSON reader for the JSON Lines srplay prints: enough to parse
// each line back and look at its fields. A malformed text is refused whole.
#include <cctype>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace srplay_test {

struct JsonValue {
  enum class Kind { null, boolean, number, string, object, array };
  Kind kind = Kind::null;
  bool boolean = false;
  double number = 0;
  std::string text;
  std::map<std::string, JsonValue> members;
  std::vector<JsonValue> items;

  bool has(const std::string& key) const { return members.count(key) != 0; }
  const JsonValue& operator[](const std::string& key) const { return members.at(key); }
};

class JsonReader {
 public:
  static std::optional<JsonValue> parse(std::string_view text) {
    JsonReader r(text);
    JsonValue v;
    if (!r.value(v)) return std::nullopt;
    r.space();
    if (r.at_ != text.size()) return std::nullopt;
    return v;
  }

 private:
  explicit JsonReader(std::string_view t) : t_(t) {}

  void space() {
    while (at_ < t_.size() && std::isspace(static_cast<unsigned char>(t_[at_]))) ++at_;
  }
  bool eat(char c) {
    space();
    if (at_ >= t_.size() || t_[at_] != c) return false;
    ++at_;
    return true;
  }
  bool word(std::string_view w) {
    if (t_.substr(at_, w.size()) != w) return false;
    at_ += w.size();
    return true;
  }
  bool string(std::string& out) {
    if (!eat('"')) return false;
    while (at_ < t_.size()) {
      char c = t_[at_++];
      if (c == '"') return true;
      if (static_cast<unsigned char>(c) < 0x20) return false;
      if (c != '\\') {
        out.push_back(c);
        continue;
      }
      if (at_ >= t_.size()) return false;
      switch (char e = t_[at_++]) {
        case '"': case '\\': case '/': out.push_back(e); break;
        case 'n': out.push_back('\n'); break;
        case 'r': out.push_back('\r'); break;
        case 't': out.push_back('\t'); break;
        case 'b': out.push_back('\b'); break;
        case 'f': out.push_back('\f'); break;
        case 'u': {
          if (at_ + 4 > t_.size()) return false;
          std::string hex(t_.substr(at_, 4));
          char* end = nullptr;
          long code = std::strtol(hex.c_str(), &end, 16);
          if (end != hex.c_str() + 4) return false;
          at_ += 4;
          out.push_back(code < 0x100 ? static_cast<char>(code) : '?');
          break;
        }
        default: return false;
      }
    }
    return false;
  }
  bool value(JsonValue& v) {
    space();
    if (at_ >= t_.size()) return false;
    char c = t_[at_];
    if (c == '{') {
      ++at_;
      v.kind = JsonValue::Kind::object;
      if (eat('}')) return true;
      do {
        std::string key;
        JsonValue member;
        if (!string(key) || !eat(':') || !value(member)) return false;
        if (!v.members.emplace(std::move(key), std::move(member)).second) return false;
      } while (eat(','));
      return eat('}');
    }
    if (c == '[') {
      ++at_;
      v.kind = JsonValue::Kind::array;
      if (eat(']')) return true;
      do {
        v.items.emplace_back();
        if (!value(v.items.back())) return false;
      } while (eat(','));
      return eat(']');
    }
    if (c == '"') {
      v.kind = JsonValue::Kind::string;
      return string(v.text);
    }
    if (word("true") || word("false")) {
      v.kind = JsonValue::Kind::boolean;
      v.boolean = t_[at_ - 1] == 'e' && t_[at_ - 2] == 'u';
      return true;
    }
    if (word("null")) return true;
    std::size_t b = at_;
    if (at_ < t_.size() && t_[at_] == '-') ++at_;
    while (at_ < t_.size() && (std::isdigit(static_cast<unsigned char>(t_[at_])) || t_[at_] == '.')) ++at_;
    if (at_ == b) return false;
    v.kind = JsonValue::Kind::number;
    v.number = std::strtod(std::string(t_.substr(b, at_ - b)).c_str(), nullptr);
    return true;
  }

  std::string_view t_;
  std::size_t at_ = 0;
};

}  // namespace srplay_test
