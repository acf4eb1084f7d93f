#pragma once
// The libxml2 parse behind Document's loads, set up for hostile input: no
// network, no DTD (a document type declaration is refused, so no entity
// beyond the predefined ones can be declared or expanded), libxml2's depth
// and size limits on, and text nodes built by us so that whitespace-only
// text between elements is dropped as it is read.
#include <libxml/tree.h>

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/xml/XmlDocument.h"

namespace tap::xml {

// Bounds on what one document may make us hold. libxml2's own 10 MB cap
// is lifted for text so that recorded waveforms load: a 100 MB block is
// 200 MB of bin.hex. The whole input is bounded too, and so is the element
// count, since a few bytes of markup become a node of over a hundred.
inline constexpr std::size_t kMaxTextBytes = std::size_t{256} << 20;
inline constexpr std::size_t kMaxDocumentBytes = std::size_t{1} << 30;
inline constexpr std::size_t kMaxElements = std::size_t{8} << 20;

struct ParseLimits {
  std::size_t text_bytes = kMaxTextBytes;          // one text node
  std::size_t document_bytes = kMaxDocumentBytes;  // the input, as stored
  std::size_t elements = kMaxElements;
};

ParseResult parse_memory(std::string_view bytes, xmlDocPtr* out, const ParseLimits& limits = {});
ParseResult parse_file(const std::string& path, xmlDocPtr* out, const ParseLimits& limits = {});

}  // namespace tap::xml
