#pragma once
// The libxml2 parse behind Document's loads, set up for hostile input: no
// network, no DTD (a document type declaration is refused, so no entity
// beyond the predefined ones can be declared or expanded), libxml2's depth
// and size limits on, a linear scan that refuses markup the parser would
// spend super-linear time on, and a deadline. The parser's events build
// our own Tree; whitespace-only text between elements is dropped as it is
// read.
#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "platform/xml/XmlDocument.h"
#include "platform/xml/XmlTree.h"

namespace tap::xml {

// Bounds on what one document may make us hold. libxml2's own 10 MB cap
// is lifted for text so that recorded waveforms load: a 100 MB block is
// 200 MB of bin.hex. The whole input is bounded too, and so is the element
// count, since a few bytes of markup become a node of over a hundred.
inline constexpr std::size_t kMaxTextBytes = std::size_t{256} << 20;
inline constexpr std::size_t kMaxDocumentBytes = std::size_t{1} << 30;
inline constexpr std::size_t kMaxElements = std::size_t{8} << 20;
// A recording's elements carry about ten attributes and its documents
// declare two or three namespaces; these are far above either.
inline constexpr std::size_t kMaxAttributes = 256;
inline constexpr std::size_t kMaxNamespacesInScope = 64;

using Deadline = std::chrono::steady_clock::time_point;

struct ParseLimits {
  std::size_t text_bytes = kMaxTextBytes;          // one text node
  std::size_t document_bytes = kMaxDocumentBytes;  // the input, as stored
  std::size_t elements = kMaxElements;
  std::size_t attributes = kMaxAttributes;  // on one element, namespace declarations included
  std::size_t namespaces = kMaxNamespacesInScope;
  Deadline deadline = Deadline::max();
};

// On success `out` holds the document; on failure it is empty.
ParseResult parse_memory(std::string_view bytes, std::unique_ptr<Tree>& out, const ParseLimits& limits = {});
// Only a regular file is read; a FIFO, a device or a directory is refused
// without blocking.
ParseResult parse_file(const std::string& path, std::unique_ptr<Tree>& out, const ParseLimits& limits = {});

}  // namespace tap::xml
