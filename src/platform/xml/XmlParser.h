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

// One text node may hold this many bytes; libxml2's own 10 MB cap is
// lifted for text so that large bin.hex recordings load.
inline constexpr std::size_t kMaxTextBytes = std::size_t{64} << 20;

ParseResult parse_memory(std::string_view bytes, xmlDocPtr* out);
ParseResult parse_file(const std::string& path, xmlDocPtr* out);

}  // namespace tap::xml
