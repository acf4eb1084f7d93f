#pragma once
// libxml2's parse events turned into our Tree: element nodes with their
// attributes and namespace declarations, text gathered into one node per
// run, comments, CDATA and processing instructions. It also enforces the
// bounds libxml2 leaves to its caller (text length, element count, the
// deadline) and stops the parse at the first fatal error.
#include <libxml/parser.h>

#include <cstddef>
#include <string>

#include "platform/xml/XmlParser.h"
#include "platform/xml/XmlTree.h"

namespace tap::xml {

struct TreeBuilder {
  // Installs the callbacks and the parse options on `ctxt`, building into
  // `tree`; the builder must outlive the parse.
  TreeBuilder(xmlParserCtxtPtr ctxt, Tree& tree, const ParseLimits& limits);
  ~TreeBuilder();
  TreeBuilder(const TreeBuilder&) = delete;
  TreeBuilder& operator=(const TreeBuilder&) = delete;

  void stop() { xmlStopParser(ctxt); }
  bool past_deadline();

  xmlParserCtxtPtr ctxt;
  Tree* tree;
  ParseLimits limits;
  TreeNode* current = nullptr;  // the open element
  std::string small_text;
  char* large_text = nullptr;
  std::size_t large_capacity = 0;
  std::size_t length = 0;  // of the pending text
  bool all_space = true;
  bool preserve = false;
  std::size_t elements = 0;
  std::size_t events = 0;

  // Why the parse stopped early; none of them after a complete parse.
  bool dtd = false;
  bool too_long = false;
  bool too_many = false;
  bool late = false;
  bool out_of_memory = false;
  ParseResult first_error;  // the first fatal error libxml2 reported
  ParseResult first_other_error;  // the first error of a lower level
};

}  // namespace tap::xml
