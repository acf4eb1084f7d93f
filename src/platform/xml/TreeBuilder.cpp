#include "platform/xml/TreeBuilder.h"

#include <libxml/parserInternals.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstring>

#include "platform/os/pages.h"
#include "platform/xml/XmlErrors.h"
#include "platform/xml/XmlNodes.h"
#include "platform/xml/XmlText.h"

namespace tap::xml {

namespace {

// Texts up to this size are gathered in one reused buffer and copied into
// the tree's arena; longer ones move to pages of their own, which the tree
// keeps.
constexpr std::size_t kSmallText = std::size_t{64} << 10;
// How often the clock is read: every so many elements or text pieces.
constexpr std::size_t kClockEvery = 1024;

TreeBuilder& state_of(void* ctx) { return *static_cast<TreeBuilder*>(static_cast<xmlParserCtxtPtr>(ctx)->_private); }

// A name or namespace from the parser: its dictionary outlives the parse,
// anything else is copied.
std::string_view keep(TreeBuilder& s, const xmlChar* text) {
  if (!text) return {};
  std::string_view v(reinterpret_cast<const char*>(text));
  return xmlDictOwns(s.ctxt->dict, text) == 1 ? v : s.tree->copy(v);
}

// Pending text becomes one node; whitespace-only text is dropped unless
// xml:space="preserve" was in force.
void flush_text(TreeBuilder& s) {
  if (s.length == 0) return;
  bool keep_text = (!s.all_space || s.preserve) && s.current != nullptr && !s.too_long;
  if (keep_text) {
    TreeNode* node = s.tree->new_node(NodeKind::Text, s.current);
    if (s.large_text) {
      node->text = {s.large_text, s.length};
      s.tree->adopt_pages(s.large_text, s.large_capacity);
      s.large_text = nullptr;
      s.large_capacity = 0;
    } else {
      node->text = s.tree->copy(s.small_text);
    }
  }
  os::release_pages(s.large_text, s.large_capacity);
  s.large_text = nullptr;
  s.large_capacity = 0;
  s.small_text.clear();
  s.length = 0;
  s.all_space = true;
  s.preserve = false;
}

void on_characters(void* ctx, const xmlChar* chars, int len) {
  auto ctxt = static_cast<xmlParserCtxtPtr>(ctx);
  TreeBuilder& s = state_of(ctx);
  if (len <= 0 || s.too_long || s.past_deadline()) return;
  auto n = static_cast<std::size_t>(len);
  if (s.length + n > s.limits.text_bytes) {
    s.too_long = true;
    s.stop();
    return;
  }
  if (s.length == 0) s.preserve = ctxt->space != nullptr && *ctxt->space == 1;
  if (!s.large_text && s.length + n <= kSmallText) {
    s.small_text.append(reinterpret_cast<const char*>(chars), n);
  } else {
    if (!s.large_text || s.length + n > s.large_capacity) {
      std::size_t cap = s.large_capacity ? s.large_capacity : 4 * kSmallText;
      while (cap < s.length + n) cap *= 2;
      char* grown = static_cast<char*>(s.large_text ? os::grow_pages(s.large_text, s.large_capacity, cap)
                                                    : os::allocate_pages(cap));
      if (!grown) {
        s.out_of_memory = true;
        s.stop();
        return;
      }
      if (!s.large_text) std::memcpy(grown, s.small_text.data(), s.length);
      s.large_text = grown;
      s.large_capacity = cap;
    }
    std::memcpy(s.large_text + s.length, chars, n);
  }
  if (s.all_space) {
    for (std::size_t i = 0; i < n && s.all_space; ++i) s.all_space = is_xml_space(static_cast<char>(chars[i]));
  }
  s.length += n;
}

// Line and column of the '<' of the start tag just read, found by looking
// back from the parser's position (libxml2 keeps only the tag's end line).
std::pair<int, int> start_tag_position(xmlParserCtxtPtr ctxt) {
  xmlParserInputPtr in = ctxt->input;
  if (!in || !in->cur || !in->base) return {0, 0};
  const int end_line = in->line;
  const xmlChar* p = in->cur;
  long newlines = 0;
  while (p > in->base && *(p - 1) != '<') {
    --p;
    if (*p == '\n') ++newlines;
  }
  if (p == in->base) return {end_line, 0};
  const xmlChar* lt = p - 1;
  long column = 0;
  if (newlines == 0) {
    long cps = 0;
    for (const xmlChar* q = lt; q < in->cur; ++q) cps += (*q & 0xC0) != 0x80;
    column = in->col - cps;
  } else {
    const xmlChar* b = lt;
    while (b > in->base && *(b - 1) != '\n') --b;
    if (b == in->base && in->consumed != 0) return {end_line, 0};
    for (const xmlChar* q = b; q <= lt; ++q) column += (*q & 0xC0) != 0x80;
  }
  long line = in->line - newlines;
  if (line <= 0 || column <= 0 || line > INT_MAX || column > INT_MAX) return {end_line, 0};
  return {static_cast<int>(line), static_cast<int>(column)};
}

// The tree's arena throws when the system has no pages left; nothing may
// unwind through the parser, so the callbacks that build nodes stop it.
template <typename Build>
void building(void* ctx, Build build) {
  TreeBuilder& s = state_of(ctx);
  try {
    build(s);
  } catch (const std::bad_alloc&) {
    s.out_of_memory = true;
    s.stop();
  }
}

void start_element(TreeBuilder& s, const xmlChar* localname, const xmlChar* prefix, const xmlChar* uri,
                   int nb_namespaces, const xmlChar** namespaces, int nb_attributes, const xmlChar** attributes) {
  flush_text(s);
  if (++s.elements > s.limits.elements) {
    s.too_many = true;
    s.stop();
    return;
  }
  if (s.past_deadline()) return;
  TreeNode* node = s.tree->new_node(NodeKind::Element, s.current);
  node->name = keep(s, localname);
  node->prefix = keep(s, prefix);
  node->ns = keep(s, uri);
  std::tie(node->line, node->column) = start_tag_position(s.ctxt);
  if (nb_namespaces > 0) {
    node->namespace_count = static_cast<std::uint32_t>(nb_namespaces);
    node->namespaces = s.tree->arena().allocate_array<TreeNamespace>(node->namespace_count);
    for (int i = 0; i < nb_namespaces; ++i) {
      node->namespaces[i].prefix = keep(s, namespaces[2 * i]);
      node->namespaces[i].uri = keep(s, namespaces[2 * i + 1]);
    }
  }
  if (nb_attributes > 0) {
    node->attribute_count = static_cast<std::uint32_t>(nb_attributes);
    node->attributes = s.tree->arena().allocate_array<TreeAttribute>(node->attribute_count);
    for (int i = 0; i < nb_attributes; ++i) {
      const xmlChar* const* a = attributes + 5 * i;  // local, prefix, URI, value, end
      TreeAttribute& out = node->attributes[i];
      out.local = keep(s, a[0]);
      out.prefix = keep(s, a[1]);
      out.ns = keep(s, a[2]);
      out.value = s.tree->copy({reinterpret_cast<const char*>(a[3]), static_cast<std::size_t>(a[4] - a[3])});
    }
  }
  s.current = node;
}

void on_start(void* ctx, const xmlChar* localname, const xmlChar* prefix, const xmlChar* uri, int nb_namespaces,
              const xmlChar** namespaces, int nb_attributes, int, const xmlChar** attributes) {
  building(ctx, [&](TreeBuilder& s) {
    start_element(s, localname, prefix, uri, nb_namespaces, namespaces, nb_attributes, attributes);
  });
}

void on_end(void* ctx, const xmlChar*, const xmlChar*, const xmlChar*) {
  building(ctx, [](TreeBuilder& s) {
    flush_text(s);
    if (s.current) s.current = s.current->parent;
  });
}

std::string_view text_of(const xmlChar* value) {
  return value ? std::string_view(reinterpret_cast<const char*>(value)) : std::string_view();
}

void on_comment(void* ctx, const xmlChar* value) {
  building(ctx, [&](TreeBuilder& s) {
    flush_text(s);
    s.tree->new_node(NodeKind::Comment, s.current)->text = s.tree->copy(text_of(value));
  });
}

void on_pi(void* ctx, const xmlChar* target, const xmlChar* data) {
  building(ctx, [&](TreeBuilder& s) {
    flush_text(s);
    TreeNode* node = s.tree->new_node(NodeKind::ProcessingInstruction, s.current);
    node->name = s.tree->copy(text_of(target));
    node->text = s.tree->copy(text_of(data));
  });
}

void on_cdata(void* ctx, const xmlChar* value, int len) {
  building(ctx, [&](TreeBuilder& s) {
    flush_text(s);
    if (!s.current || len < 0) return;
    s.tree->new_node(NodeKind::CData, s.current)->text =
        s.tree->copy({reinterpret_cast<const char*>(value), static_cast<std::size_t>(len)});
  });
}

void on_dtd(void* ctx, const xmlChar*, const xmlChar*, const xmlChar*) {
  state_of(ctx).dtd = true;
  state_of(ctx).stop();
}

void on_entity_decl(void* ctx, const xmlChar*, int, const xmlChar*, const xmlChar*, xmlChar*) {
  state_of(ctx).dtd = true;
  state_of(ctx).stop();
}

void silent(void*, const char*, ...) {}

// libxml2's text on one line, without its trailing newline.
std::string one_line(const char* message) {
  std::string text = message ? message : "the document is not well-formed";
  while (!text.empty() && is_xml_space(text.back())) text.pop_back();
  for (char& c : text)
    if (c == '\n' || c == '\r') c = ' ';
  return text;
}

// Where the document really breaks. An element left open is only noticed
// at the end of the input or at a foreign end tag; the open element's own
// start tag is what the author has to look at.
ParseResult describe(const TreeBuilder& s, const xmlError& error) {
  const TreeNode* open = s.current;
  ParseResult r;
  if (error.code == XML_ERR_TAG_NOT_FINISHED && open) {
    r = make_error(XmlError::NotWellFormed, node_line(open), node_column(open),
                   {"element '" + qualified_name(open) + "' opened at line " +
                    std::to_string(node_line(open)) + " is not closed"});
  } else if (error.code == XML_ERR_TAG_NAME_MISMATCH && open && error.str2) {
    // The parser stands just past the end tag: point at its '<'.
    auto [line, column] = start_tag_position(s.ctxt);
    if (column == 0) std::tie(line, column) = std::pair(error.line, error.int2);
    r = make_error(XmlError::NotWellFormed, line, column,
                   {"the end tag '</" + std::string(error.str2) + ">' does not close element '" +
                    qualified_name(open) + "' opened at line " + std::to_string(node_line(open))});
  } else {
    std::string text = one_line(error.message);
    if (error.domain == XML_FROM_PARSER && text.rfind("Input is not proper UTF-8", 0) == 0)
      text += " (bytes are UTF-8 unless the XML declaration names an encoding, such as "
              "encoding=\"windows-1252\")";
    r = make_error(XmlError::NotWellFormed, error.line, error.int2, {text});
    if (!open) return r;
  }
  r.element = std::string(node_name(open));
  return r;
}

// The first fatal error decides the document, so the parse ends there.
// libxml2 would go on, reporting each further error at a cost that grows
// with what it has read (a long comment of dashes takes minutes).
void on_error(void* ctx, xmlErrorPtr error) {
  if (!error || error->level < XML_ERR_ERROR) return;
  TreeBuilder& s = state_of(ctx);
  if (error->level != XML_ERR_FATAL) {
    // Some of these still make the document not well-formed; the first
    // is where that happened.
    if (s.first_other_error.code == 0) s.first_other_error = describe(s, *error);
    return;
  }
  if (s.first_error.code == 0) s.first_error = describe(s, *error);
  s.stop();
}

// NOENT: with no DTD there are no entities to substitute, but it makes the
// parser resolve "&#38;" in attribute values itself.
constexpr int kOptions = XML_PARSE_NONET | XML_PARSE_NOENT | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

xmlSAXHandler handlers() {
  xmlSAXHandler h{};
  h.initialized = XML_SAX2_MAGIC;
  h.characters = on_characters;
  h.ignorableWhitespace = on_characters;
  h.startElementNs = on_start;
  h.endElementNs = on_end;
  h.comment = on_comment;
  h.processingInstruction = on_pi;
  h.cdataBlock = on_cdata;
  h.internalSubset = on_dtd;
  h.externalSubset = on_dtd;
  h.entityDecl = on_entity_decl;
  h.warning = silent;
  h.error = silent;
  h.fatalError = silent;
  h.serror = on_error;
  return h;
}


}  // namespace

TreeBuilder::TreeBuilder(xmlParserCtxtPtr parser, Tree& into, const ParseLimits& bounds)
    : ctxt(parser), tree(&into), limits(bounds) {
  // Encoding and I/O errors bypass the context's handlers; they belong in
  // the result, not on stderr. The handler is per thread.
  xmlSetGenericErrorFunc(nullptr, silent);
  xmlCtxtUseOptions(ctxt, kOptions);
  *ctxt->sax = handlers();
  ctxt->_private = this;
  ctxt->linenumbers = 1;
}

TreeBuilder::~TreeBuilder() {
  ctxt->_private = nullptr;
  os::release_pages(large_text, large_capacity);
}

bool TreeBuilder::past_deadline() {
  if (events++ % kClockEvery != 0 || std::chrono::steady_clock::now() < limits.deadline) return false;
  late = true;
  stop();
  return true;
}

}  // namespace tap::xml
