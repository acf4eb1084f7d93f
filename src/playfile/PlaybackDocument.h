#pragma once
#include <chrono>
#include <memory>
#include <string>

#include "platform/xml/XmlDocument.h"

namespace tap {

// A playback file loaded and checked as the driver checks it: parsed,
// validated against the embedded schema, and its root unprefixed
// IORecordStreamFile in the file's namespace. Tools use it to explain a
// refusal; the loader to refuse.
class PlaybackDocument {
 public:
  // One load holds the worker that every session of the process shares;
  // a file that takes longer than this to parse and validate is refused.
  static constexpr std::chrono::seconds kTimeLimit{30};

  PlaybackDocument();

  // Code 0 when the file is a playback file; otherwise the parser's or the
  // validator's result, with its line and message.
  xml::ParseResult load(const std::string& path);
  xml::Element root() const { return document_.root(); }

 private:
  std::shared_ptr<const xml::SchemaCache> cache_;
  xml::Document document_;
};

}  // namespace tap
