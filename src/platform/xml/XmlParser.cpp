#include "platform/xml/XmlParser.h"

#include <libxml/parser.h>
#include <libxml/parserInternals.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>

#include "platform/os/RegularFile.h"
#include "platform/xml/MarkupScanner.h"
#include "platform/xml/TreeBuilder.h"
#include "platform/xml/XmlErrors.h"
#include "platform/xml/XmlText.h"
#include "platform/xml/system_encodings.h"

namespace tap::xml {

namespace {

void silent(void*, const char*, ...) {}

struct InitOnce {
  InitOnce() {
    xmlInitParser();
    register_system_encodings();
  }
};

constexpr std::size_t kReadChunk = std::size_t{256} << 10;

// The file as libxml2 reads it: in large chunks, each scanned before the
// parser sees it, with the size bound and the deadline checked per chunk.
struct FileInput {
  std::unique_ptr<os::RegularFile> file;
  std::unique_ptr<char[]> chunk;
  std::size_t at = 0;
  std::size_t filled = 0;
  std::size_t read = 0;
  std::size_t limit = 0;
  Deadline deadline;
  MarkupScanner* scanner = nullptr;
  bool too_large = false;
  bool late = false;
  bool ended = false;
};

ParseResult scanner_refusal(const MarkupScanner& scanner, const ParseLimits& limits) {
  switch (scanner.verdict()) {
    case MarkupScanner::Verdict::too_many_attributes:
      return make_error(XmlError::TooManyAttributes, scanner.line(), 0, {std::to_string(limits.attributes)});
    case MarkupScanner::Verdict::too_many_namespaces:
      return make_error(XmlError::TooManyNamespaces, scanner.line(), 0, {std::to_string(limits.namespaces)});
    case MarkupScanner::Verdict::unsupported_encoding:
      return make_error(XmlError::UnsupportedEncoding, scanner.line(), 0, {scanner.encoding()});
    case MarkupScanner::Verdict::ok:
      break;
  }
  return {};
}

// What a finished parse amounts to; the first reason to refuse wins.
ParseResult verdict(xmlParserCtxtPtr ctxt, const TreeBuilder& built, const ParseLimits& limits,
                    const MarkupScanner& scanner, const FileInput* input) {
  int line = ctxt->input ? ctxt->input->line : 0;
  if (built.out_of_memory) return make_error(XmlError::NotWellFormed, line, 0, {"out of memory"});
  if (input && input->too_large)
    return make_error(XmlError::DocumentTooLarge, 0, 0, {std::to_string(limits.document_bytes)});
  if (scanner.verdict() != MarkupScanner::Verdict::ok) return scanner_refusal(scanner, limits);
  if (built.late || (input && input->late)) return make_error(XmlError::TimeLimit, line, 0);
  if (built.too_many) return make_error(XmlError::TooManyElements, line, 0, {std::to_string(limits.elements)});
  if (built.dtd) return make_error(XmlError::DtdProhibited, line, 0);
  if (built.too_long) return make_error(XmlError::TextTooLong, line, 0, {std::to_string(limits.text_bytes)});
  if (built.first_error.code != 0) return built.first_error;
  if (!ctxt->wellFormed) {
    if (built.first_other_error.code != 0) return built.first_other_error;
    const xmlError* e = xmlCtxtGetLastError(ctxt);
    std::string text = e && e->message ? e->message : "the document is not well-formed";
    while (!text.empty() && is_xml_space(text.back())) text.pop_back();
    return make_error(XmlError::NotWellFormed, e ? e->line : 0, e ? e->int2 : 0, {text});
  }
  if (!built.tree->root()) return make_error(XmlError::EmptyDocument, 0, 0);
  return {};
}

ParseResult run(xmlParserCtxtPtr ctxt, std::unique_ptr<Tree>& out, const ParseLimits& limits,
                const MarkupScanner& scanner, const FileInput* input) {
  out.reset();
  if (!ctxt) return make_error(XmlError::NotWellFormed, 0, 0, {"out of memory"});
  auto tree = std::make_unique<Tree>();
  ParseResult result;
  {
    TreeBuilder builder(ctxt, *tree, limits);
    xmlParseDocument(ctxt);
    result = verdict(ctxt, builder, limits, scanner, input);
  }
  if (result.code == 0) {
    tree->hold_names(ctxt->dict);
    out = std::move(tree);
  }
  xmlFreeParserCtxt(ctxt);
  return result;
}

int read_file(void* context, char* buffer, int len) {
  auto in = static_cast<FileInput*>(context);
  if (in->at == in->filled) {
    if (in->ended) return 0;
    std::ptrdiff_t n = in->file->read(in->chunk.get(), kReadChunk);
    if (n < 0) return -1;
    if (n == 0) {
      in->ended = true;
      return in->scanner->finish() == MarkupScanner::Verdict::ok ? 0 : -1;
    }
    in->read += static_cast<std::size_t>(n);
    if (in->read > in->limit) {
      in->too_large = true;
      return -1;
    }
    if (std::chrono::steady_clock::now() >= in->deadline) {
      in->late = true;
      return -1;
    }
    in->at = 0;
    in->filled = static_cast<std::size_t>(n);
    if (in->scanner->feed({in->chunk.get(), in->filled}) != MarkupScanner::Verdict::ok) return -1;
  }
  std::size_t n = std::min(static_cast<std::size_t>(len), in->filled - in->at);
  std::memcpy(buffer, in->chunk.get() + in->at, n);
  in->at += n;
  return static_cast<int>(n);
}

// libxml2 calls this when it frees the context; the file stays ours.
int close_file(void*) { return 0; }

MarkupScanner::Bounds scan_bounds(const ParseLimits& limits) { return {limits.attributes, limits.namespaces}; }

}  // namespace

ParseResult parse_memory(std::string_view bytes, std::unique_ptr<Tree>& out, const ParseLimits& limits) {
  static InitOnce init;
  out.reset();
  if (bytes.size() > limits.document_bytes || bytes.size() > static_cast<std::size_t>(INT_MAX)) {
    std::size_t bound = std::min(limits.document_bytes, static_cast<std::size_t>(INT_MAX));
    return make_error(XmlError::DocumentTooLarge, 0, 0, {std::to_string(bound)});
  }
  if (bytes.empty()) return make_error(XmlError::EmptyDocument, 0, 0);
  MarkupScanner scanner(scan_bounds(limits));
  scanner.feed(bytes);
  if (scanner.finish() != MarkupScanner::Verdict::ok) return scanner_refusal(scanner, limits);
  return run(xmlCreateMemoryParserCtxt(bytes.data(), static_cast<int>(bytes.size())), out, limits, scanner,
             nullptr);
}

ParseResult parse_file(const std::string& path, std::unique_ptr<Tree>& out, const ParseLimits& limits) {
  static InitOnce init;
  out.reset();
  xmlSetGenericErrorFunc(nullptr, silent);
  // A plain path only: no URL schemes, no catalogs.
  FileInput input;
  os::RegularFile::Status status{};
  input.file = os::RegularFile::open(path, &status);
  if (!input.file) {
    return make_error(status == os::RegularFile::Status::not_regular ? XmlError::NotRegularFile
                                                                      : XmlError::FileUnreadable,
                      0, 0, {path});
  }
  MarkupScanner scanner(scan_bounds(limits));
  input.chunk = std::make_unique<char[]>(kReadChunk);
  input.limit = limits.document_bytes;
  input.deadline = limits.deadline;
  input.scanner = &scanner;
  xmlParserCtxtPtr ctxt =
      xmlCreateIOParserCtxt(nullptr, nullptr, read_file, close_file, &input, XML_CHAR_ENCODING_NONE);
  if (!ctxt) return make_error(XmlError::FileUnreadable, 0, 0, {path});
  return run(ctxt, out, limits, scanner, &input);
}

}  // namespace tap::xml
