#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace srplay {

// One line of a conversation for `srplay run`:
//   write TEXT | read [COUNT] | query TEXT | docmd COMMAND HEX
//   | timeout MS | flags N | count N
// TEXT takes C escapes. Blank lines and lines starting with '#' are skipped.
struct Command {
  enum Kind { skip, write, read, query, docmd, timeout, flags, count } kind = skip;
  std::string bytes;             // write, query: the bytes; docmd: the data block
  std::optional<std::uint32_t> number;  // read count, docmd command, settings
};

// nullopt with `error` set for a line that is not a command.
std::optional<Command> parse_command(std::string_view line, std::string& error);

}  // namespace srplay
