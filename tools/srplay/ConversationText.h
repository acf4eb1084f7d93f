#pragma once
// A recording as the conversation text describes it: streams of exchanges
// and DoCommand entries, and the value store's initial values. Texts that
// the driver reads as text (names, addresses, patterns, scripts, values)
// are UTF-8 here; recorded bytes are bytes.
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace srplay {

inline constexpr const char* kDefaultEntryVersion = "1.5";

struct TextWrite {
  int line = 0;
  bool scripted = false;
  std::uint32_t readWriteFlags = 0;
  bool ignoreFlags = true;
  // Exact write.
  std::string bytes;
  std::int32_t waitTime = 0;
  std::int32_t returnValue = 0;
  std::optional<std::uint32_t> actualWritten;  // the length of `bytes` unless given
  // Scripted write.
  std::string pattern;
  bool ignoreCase = false;
  std::int32_t scriptTimeout = -1;
  std::optional<std::string> script;  // the ExecuteWrite body; none: an empty procedure
};

struct TextResponse {
  int line = 0;
  bool scripted = false;
  std::string bytes;
  std::int32_t waitTime = 0;
  std::int32_t returnValue = 0;
  std::int32_t stopReason = 2;
  std::int32_t scriptTimeout = -1;
  std::string script;  // the ExecuteRead body
};

struct TextPair {
  int line = 0;
  std::string name;
  std::string version = kDefaultEntryVersion;
  TextWrite write;
  std::vector<TextResponse> responses;
};

struct TextDoCommandAnswer {
  int line = 0;
  std::int32_t returnValue = 0;
  std::int32_t waitTime = 0;
  std::string data;
};

struct TextDoCommand {
  int line = 0;
  std::uint32_t command = 0;
  std::uint32_t flags = 0;
  bool ignoreFlags = true;
  std::string name;
  std::string version = kDefaultEntryVersion;
  std::string data;
  std::vector<TextDoCommandAnswer> answers;
};

// A remark that dump leaves where it could not write an entry.
struct TextComment {
  std::string text;
};

using TextEntry = std::variant<TextPair, TextDoCommand, TextComment>;

struct TextStream {
  int line = 0;
  std::string intfaddr;
  std::int32_t prim = 0;
  std::int32_t sec = -1;
  std::int32_t devprot = 0;
  std::string bracket;
  std::string colon;
  std::int32_t returnValue = 0;
  std::vector<std::string> comments;  // dump's remarks on the stream as a whole
  std::vector<TextEntry> entries;
};

struct TextValue {
  int line = 0;
  std::string key;
  std::string value;    // text, or bytes when `binary`
  bool binary = false;  // recorded as bytes that the driver reads as text
};

struct ConversationText {
  std::vector<TextStream> streams;
  std::vector<TextValue> values;
};

}  // namespace srplay
