#include "Conversation.h"

#include <charconv>

#include "escape_text.h"

namespace srplay {
namespace {

std::optional<std::uint32_t> parse_number(std::string_view text) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    base = 16;
  }
  std::uint32_t value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

}  // namespace

std::optional<Command> parse_command(std::string_view line, std::string& error) {
  line = trim(line);
  Command c;
  if (line.empty() || line.front() == '#') return c;
  std::size_t space = line.find_first_of(" \t");
  std::string_view verb = line.substr(0, space);
  // The argument keeps inner and trailing escapes; only the separator goes.
  std::string_view arg = space == std::string_view::npos ? std::string_view() : line.substr(space + 1);
  while (!arg.empty() && (arg.front() == ' ' || arg.front() == '\t')) arg.remove_prefix(1);

  if (verb == "write" || verb == "query") {
    c.kind = verb == "write" ? Command::write : Command::query;
    std::optional<std::string> bytes = unescape(arg);
    if (!bytes) {
      error = "bad escape in \"" + std::string(arg) + "\"";
      return std::nullopt;
    }
    c.bytes = std::move(*bytes);
    return c;
  }
  if (verb == "docmd") {
    c.kind = Command::docmd;
    std::size_t sep = arg.find_first_of(" \t");
    c.number = parse_number(arg.substr(0, sep));
    std::optional<std::string> data =
        from_hex(sep == std::string_view::npos ? std::string_view() : trim(arg.substr(sep + 1)));
    if (!c.number || !data) {
      error = "docmd takes a command number and the data block in hex";
      return std::nullopt;
    }
    c.bytes = std::move(*data);
    return c;
  }
  struct Numbered {
    std::string_view verb;
    Command::Kind kind;
    bool optional;
  };
  static constexpr Numbered numbered[] = {{"read", Command::read, true},
                                          {"timeout", Command::timeout, false},
                                          {"flags", Command::flags, false},
                                          {"count", Command::count, false}};
  for (const Numbered& n : numbered) {
    if (verb != n.verb) continue;
    c.kind = n.kind;
    if (arg.empty() && n.optional) return c;
    c.number = parse_number(trim(arg));
    if (!c.number) {
      error = std::string(n.verb) + " takes a number";
      return std::nullopt;
    }
    return c;
  }
  error = "unknown command \"" + std::string(verb) + "\"";
  return std::nullopt;
}

}  // namespace srplay
