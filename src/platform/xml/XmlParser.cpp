#include "platform/xml/XmlParser.h"

#include <libxml/parser.h>
#include <libxml/parserInternals.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "platform/xml/XmlErrors.h"
#include "platform/xml/XmlText.h"

namespace tap::xml {

namespace {

struct ParseState {
  xmlSAXHandler base;  // libxml2's own tree-building handlers
  char* text = nullptr;
  std::size_t length = 0;
  std::size_t capacity = 0;
  bool all_space = true;
  bool preserve = false;
  bool dtd = false;
  bool too_long = false;
  bool too_many = false;
  std::size_t elements = 0;
  ParseLimits limits;

  ~ParseState() { xmlFree(text); }
};

ParseState& state_of(void* ctx) { return *static_cast<ParseState*>(static_cast<xmlParserCtxtPtr>(ctx)->_private); }

// Pending text becomes one node, handed over without a copy; whitespace
// only text is dropped unless xml:space="preserve" was in force.
void flush_text(xmlParserCtxtPtr ctxt) {
  ParseState& s = *static_cast<ParseState*>(ctxt->_private);
  if (s.length == 0) return;
  bool keep = (!s.all_space || s.preserve) && ctxt->node != nullptr && !s.too_long;
  if (keep) {
    xmlNodePtr node = xmlNewDocText(ctxt->myDoc, nullptr);
    if (node) {
      s.text[s.length] = '\0';
      node->content = reinterpret_cast<xmlChar*>(s.text);
      node->_private = reinterpret_cast<void*>(static_cast<std::uintptr_t>(s.length));
      s.text = nullptr;
      s.capacity = 0;
      xmlNodePtr added = xmlAddChild(ctxt->node, node);
      if (!added) {
        xmlFreeNode(node);
      } else if (added != node) {
        added->_private = nullptr;  // merged into a neighbour: its length is no longer known
      }
    }
  }
  s.length = 0;
  s.all_space = true;
  s.preserve = false;
}

void on_characters(void* ctx, const xmlChar* chars, int len) {
  auto ctxt = static_cast<xmlParserCtxtPtr>(ctx);
  ParseState& s = state_of(ctx);
  if (len <= 0 || s.too_long) return;
  auto n = static_cast<std::size_t>(len);
  if (s.length + n > s.limits.text_bytes) {
    s.too_long = true;
    xmlStopParser(ctxt);
    return;
  }
  if (s.length == 0) s.preserve = ctxt->space != nullptr && *ctxt->space == 1;
  if (s.length + n + 1 > s.capacity) {
    std::size_t cap = s.capacity ? s.capacity : 64;
    while (cap < s.length + n + 1) cap *= 2;
    cap = std::min(cap, s.limits.text_bytes + 1);
    auto grown = static_cast<char*>(xmlRealloc(s.text, cap));
    if (!grown) {
      s.too_long = true;
      xmlStopParser(ctxt);
      return;
    }
    s.text = grown;
    s.capacity = cap;
  }
  std::memcpy(s.text + s.length, chars, n);
  if (s.all_space) {
    for (std::size_t i = 0; i < n && s.all_space; ++i) {
      s.all_space = is_xml_space(static_cast<char>(chars[i]));
    }
  }
  s.length += n;
}

// Line and column of the '<' of the start tag just read, found by looking
// back from the parser's position (libxml2 keeps only the tag's end line).
std::uintptr_t start_tag_position(xmlParserCtxtPtr ctxt) {
  xmlParserInputPtr in = ctxt->input;
  if (!in || !in->cur || !in->base) return 0;
  const xmlChar* p = in->cur;
  long newlines = 0;
  while (p > in->base && *(p - 1) != '<') {
    --p;
    if (*p == '\n') ++newlines;
  }
  if (p == in->base) return 0;
  const xmlChar* lt = p - 1;
  long column = 0;
  if (newlines == 0) {
    long cps = 0;
    for (const xmlChar* q = lt; q < in->cur; ++q) cps += (*q & 0xC0) != 0x80;
    column = in->col - cps;
  } else {
    const xmlChar* b = lt;
    while (b > in->base && *(b - 1) != '\n') --b;
    if (b == in->base && in->consumed != 0) return 0;
    for (const xmlChar* q = b; q <= lt; ++q) column += (*q & 0xC0) != 0x80;
  }
  long line = in->line - newlines;
  if (line <= 0 || column <= 0) return 0;
  return (static_cast<std::uintptr_t>(line) << 32) | static_cast<std::uint32_t>(column);
}

void on_start(void* ctx, const xmlChar* localname, const xmlChar* prefix, const xmlChar* uri, int nb_namespaces,
              const xmlChar** namespaces, int nb_attributes, int nb_defaulted, const xmlChar** attributes) {
  auto ctxt = static_cast<xmlParserCtxtPtr>(ctx);
  flush_text(ctxt);
  ParseState& s = state_of(ctx);
  if (++s.elements > s.limits.elements) {
    s.too_many = true;
    xmlStopParser(ctxt);
    return;
  }
  xmlNodePtr parent = ctxt->node;
  state_of(ctx).base.startElementNs(ctx, localname, prefix, uri, nb_namespaces, namespaces, nb_attributes,
                                    nb_defaulted, attributes);
  if (ctxt->node && ctxt->node != parent) ctxt->node->_private = reinterpret_cast<void*>(start_tag_position(ctxt));
}

void on_end(void* ctx, const xmlChar* localname, const xmlChar* prefix, const xmlChar* uri) {
  flush_text(static_cast<xmlParserCtxtPtr>(ctx));
  state_of(ctx).base.endElementNs(ctx, localname, prefix, uri);
}

void on_comment(void* ctx, const xmlChar* value) {
  flush_text(static_cast<xmlParserCtxtPtr>(ctx));
  state_of(ctx).base.comment(ctx, value);
}

void on_pi(void* ctx, const xmlChar* target, const xmlChar* data) {
  flush_text(static_cast<xmlParserCtxtPtr>(ctx));
  state_of(ctx).base.processingInstruction(ctx, target, data);
}

void on_cdata(void* ctx, const xmlChar* value, int len) {
  flush_text(static_cast<xmlParserCtxtPtr>(ctx));
  state_of(ctx).base.cdataBlock(ctx, value, len);
}

void on_dtd(void* ctx, const xmlChar*, const xmlChar*, const xmlChar*) {
  state_of(ctx).dtd = true;
  xmlStopParser(static_cast<xmlParserCtxtPtr>(ctx));
}

void on_entity_decl(void* ctx, const xmlChar*, int, const xmlChar*, const xmlChar*, xmlChar*) {
  state_of(ctx).dtd = true;
  xmlStopParser(static_cast<xmlParserCtxtPtr>(ctx));
}

void silent(void*, const char*, ...) {}

constexpr int kOptions = XML_PARSE_NONET | XML_PARSE_BIG_LINES | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

static_assert(sizeof(void*) == 8, "line and column are packed into a node pointer");

struct InitOnce {
  InitOnce() { xmlInitParser(); }
};

struct FileInput {
  std::FILE* file = nullptr;
  std::size_t read = 0;
  std::size_t limit = 0;
  bool too_large = false;
};

ParseResult run(xmlParserCtxtPtr ctxt, xmlDocPtr* out, const ParseLimits& limits, const FileInput* input) {
  *out = nullptr;
  if (!ctxt) return make_error(XmlError::NotWellFormed, 0, 0, {"out of memory"});
  ParseState state;
  state.limits = limits;
  // Encoding and I/O errors bypass the context's handlers; they belong in
  // the result, not on stderr. The handler is per thread.
  xmlSetGenericErrorFunc(nullptr, silent);
  xmlCtxtUseOptions(ctxt, kOptions);
  state.base = *ctxt->sax;
  ctxt->sax->characters = on_characters;
  ctxt->sax->ignorableWhitespace = on_characters;
  ctxt->sax->startElementNs = on_start;
  ctxt->sax->endElementNs = on_end;
  ctxt->sax->comment = on_comment;
  ctxt->sax->processingInstruction = on_pi;
  ctxt->sax->cdataBlock = on_cdata;
  ctxt->sax->internalSubset = on_dtd;
  ctxt->sax->externalSubset = on_dtd;
  ctxt->sax->entityDecl = on_entity_decl;
  ctxt->sax->warning = silent;
  ctxt->sax->error = silent;
  ctxt->_private = &state;
  ctxt->linenumbers = 1;

  xmlParseDocument(ctxt);
  xmlDocPtr doc = ctxt->myDoc;
  ctxt->myDoc = nullptr;
  ParseResult result;
  int line = ctxt->input ? ctxt->input->line : 0;
  if (input && input->too_large) {
    result = make_error(XmlError::DocumentTooLarge, 0, 0, {std::to_string(limits.document_bytes)});
  } else if (state.too_many) {
    result = make_error(XmlError::TooManyElements, line, 0, {std::to_string(limits.elements)});
  } else if (state.dtd) {
    result = make_error(XmlError::DtdProhibited, line, 0);
  } else if (state.too_long) {
    result = make_error(XmlError::TextTooLong, line, 0, {std::to_string(limits.text_bytes)});
  } else if (!ctxt->wellFormed || !doc) {
    const xmlError* e = xmlCtxtGetLastError(ctxt);
    std::string text = e && e->message ? e->message : "the document is not well-formed";
    while (!text.empty() && is_xml_space(text.back())) text.pop_back();
    result = make_error(XmlError::NotWellFormed, e ? e->line : 0, e ? e->int2 : 0, {text});
  } else if (!xmlDocGetRootElement(doc)) {
    result = make_error(XmlError::EmptyDocument, 0, 0);
  }
  if (result.code != 0) {
    if (doc) xmlFreeDoc(doc);
  } else {
    *out = doc;
  }
  ctxt->_private = nullptr;
  xmlFreeParserCtxt(ctxt);
  return result;
}

int read_file(void* context, char* buffer, int len) {
  auto in = static_cast<FileInput*>(context);
  std::size_t n = std::fread(buffer, 1, static_cast<std::size_t>(len), in->file);
  if (n == 0 && std::ferror(in->file)) return -1;
  in->read += n;
  if (in->read > in->limit) {
    in->too_large = true;
    return -1;
  }
  return static_cast<int>(n);
}

// libxml2 closes the input when it frees the context; the FileInput stays
// ours, so that its verdict can still be read.
int close_file(void* context) {
  auto in = static_cast<FileInput*>(context);
  int rc = in->file ? std::fclose(in->file) : 0;
  in->file = nullptr;
  return rc;
}

}  // namespace

ParseResult parse_memory(std::string_view bytes, xmlDocPtr* out, const ParseLimits& limits) {
  static InitOnce init;
  if (bytes.size() > limits.document_bytes || bytes.size() > static_cast<std::size_t>(INT_MAX)) {
    *out = nullptr;
    std::size_t bound = std::min(limits.document_bytes, static_cast<std::size_t>(INT_MAX));
    return make_error(XmlError::DocumentTooLarge, 0, 0, {std::to_string(bound)});
  }
  if (bytes.empty()) {
    *out = nullptr;
    return make_error(XmlError::EmptyDocument, 0, 0);
  }
  return run(xmlCreateMemoryParserCtxt(bytes.data(), static_cast<int>(bytes.size())), out, limits, nullptr);
}

ParseResult parse_file(const std::string& path, xmlDocPtr* out, const ParseLimits& limits) {
  static InitOnce init;
  *out = nullptr;
  xmlSetGenericErrorFunc(nullptr, silent);
  // A plain path only: no URL schemes, no catalogs.
  FileInput input;
  input.file = std::fopen(path.c_str(), "rb");
  input.limit = limits.document_bytes;
  if (!input.file) return make_error(XmlError::FileUnreadable, 0, 0, {path});
  xmlParserCtxtPtr ctxt =
      xmlCreateIOParserCtxt(nullptr, nullptr, read_file, close_file, &input, XML_CHAR_ENCODING_NONE);
  if (!ctxt) {
    close_file(&input);
    return make_error(XmlError::FileUnreadable, 0, 0, {path});
  }
  return run(ctxt, out, limits, &input);
}

}  // namespace tap::xml
