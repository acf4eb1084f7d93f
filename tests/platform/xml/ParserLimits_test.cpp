// Input the parser would spend super-linear time on is refused before it
// is parsed, and no load outlives its deadline.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "XmlTestSupport.h"
#include "platform/xml/XmlDocument.h"
#include "platform/xml/XmlErrors.h"
#include "platform/xml/XmlParser.h"
#include "support/case_name.h"

namespace tap::xml {
namespace {

std::string attributes(std::size_t n, const std::string& prefix = "a") {
  std::string out;
  for (std::size_t i = 0; i < n; ++i) out += " " + prefix + std::to_string(i) + "='" + std::to_string(i) + "'";
  return out;
}

// `depth` nested elements, each declaring `each` namespaces.
std::string nested_declarations(std::size_t depth, std::size_t each) {
  std::string open, close;
  for (std::size_t d = 0; d < depth; ++d) {
    open += "<e";
    for (std::size_t i = 0; i < each; ++i) open += " xmlns:p" + std::to_string(d) + "_" + std::to_string(i) + "='urn:x'";
    open += ">";
    close += "</e>";
  }
  return open + close;
}

// Each case loads from memory and from a file the same way.
struct LimitCase {
  const char* name;
  std::string text;
  int code;  // 0: loads
};

const int kAttributes = static_cast<int>(XmlError::TooManyAttributes);
const int kNamespaces = static_cast<int>(XmlError::TooManyNamespaces);
const int kEncoding = static_cast<int>(XmlError::UnsupportedEncoding);

std::string utf16le(const std::string& ascii) {
  std::string out = "\xFF\xFE";
  for (char c : ascii) {
    out.push_back(c);
    out.push_back('\0');
  }
  return out;
}

const LimitCase kCases[] = {
    {"AttributesAtTheBound", "<r" + attributes(kMaxAttributes) + "/>", 0},
    {"AttributesOverTheBound", "<r><e" + attributes(kMaxAttributes + 1) + "></e></r>", kAttributes},
    {"DeclarationsCountAsAttributes", "<r" + attributes(kMaxAttributes, "xmlns:p") + " b='1'/>", kAttributes},
    // The scan counts what the parser will see, not what merely looks like it.
    {"AttributesInACommentAreText", "<r><!-- <e" + attributes(300) + "> --></r>", 0},
    {"AttributesInCdataAreText", "<r><![CDATA[<e" + attributes(300) + ">]]></r>", 0},
    {"AttributesInAProcessingInstructionAreText", "<r><?pi <e" + attributes(300) + "> ?></r>", 0},
    {"AttributesInsideAValueAreText", "<r a=\"" + attributes(300) + "\" b=\"'>\" c='\">'/>", 0},
    {"QuotedGreaterThanDoesNotEndTheTag", "<r a='>'" + attributes(kMaxAttributes) + "/>", kAttributes},
    {"CommentOpenerDoesNotCloseIt", "<r><!--> <e" + attributes(300) + "/> --></r>", 0},
    {"DeclarationsInScopeAtTheBound", nested_declarations(kMaxNamespacesInScope / 4, 4), 0},
    {"DeclarationsInScopeOverTheBound", nested_declarations(kMaxNamespacesInScope / 4 + 1, 4), kNamespaces},
    {"DeclarationsOnAnEmptyElementCount",
     "<r" + attributes(kMaxNamespacesInScope, "xmlns:p") + "><e xmlns:q='urn:x'/></r>", kNamespaces},
    // Siblings' declarations leave scope with them.
    {"SiblingsDeclarationsDoNotAddUp",
     "<r>" + std::string(100, ' ') + [] {
       std::string s;
       for (int i = 0; i < 10; ++i) s += "<e" + attributes(kMaxNamespacesInScope, "xmlns:p") + "><f/></e>";
       return s;
     }() + "</r>",
     0},
    {"Utf16AtTheBound", utf16le("<r" + attributes(kMaxAttributes) + "/>"), 0},
    {"Utf16OverTheBound", utf16le("<r" + attributes(kMaxAttributes + 1) + "/>"), kAttributes},
    {"Latin9Loads", "<?xml version=\"1.0\" encoding = \"ISO-8859-15\" ?><r/>", 0},
    {"StatefulEncodingIsRefused", "<?xml version='1.0' encoding='ISO-2022-JP'?><r/>", kEncoding},
    {"Utf7IsRefused", "<?xml version='1.0' encoding='UTF-7'?><r/>", kEncoding},
    {"EbcdicIsRefused", "<?xml version='1.0' encoding='IBM037'?><r/>", kEncoding},
    {"Ucs4IsRefused", std::string("\0\0\0<\0\0\0r\0\0\0/\0\0\0>", 16), kEncoding},
    {"Utf16DeclaringAnotherEncodingIsRefused", utf16le("<?xml version='1.0' encoding='ISO-8859-1'?><r/>"), kEncoding},
};

class Bounds : public testing::TestWithParam<LimitCase> {};

TEST_P(Bounds, HoldForMemoryAndFile) {
  const LimitCase& c = GetParam();
  Document doc;
  ParseResult r = doc.load_from_memory(c.text);
  EXPECT_EQ(r.code, c.code) << "memory: " << r.message;
  std::string path = test::write_temp(c.name, c.text);
  r = doc.load_from_file(path);
  std::remove(path.c_str());
  EXPECT_EQ(r.code, c.code) << "file: " << r.message;
  EXPECT_EQ(static_cast<bool>(doc.root()), c.code == 0);
}

INSTANTIATE_TEST_SUITE_P(Markup, Bounds, testing::ValuesIn(kCases), rows::by_name);

// The case that took minutes: 100,000 attributes on one element, 1.3 MB,
// read in several chunks.
TEST(ParserLimits, HugeAttributeListIsRefusedWithItsLine) {
  std::string text = "<r>\n\n<e" + attributes(100000) + "/></r>";
  std::string path = test::write_temp("huge", text);
  Document doc;
  ParseResult r = doc.load_from_file(path);
  std::remove(path.c_str());
  EXPECT_EQ(r.code, kAttributes) << r.message;
  EXPECT_EQ(r.line, 3);
  EXPECT_NE(r.message.find(std::to_string(kMaxAttributes)), std::string::npos) << r.message;
}

// The read chunks are 256 KiB: the tag straddles the first boundary.
TEST(ParserLimits, TagAcrossReadChunksIsCountedWhole) {
  std::string text = "<r><!--" + std::string((256 << 10) - 200, 'x') + "-->";
  for (std::size_t limit : {kMaxAttributes, kMaxAttributes + 1}) {
    std::string doc_text = text + "<e" + attributes(limit) + "/></r>";
    std::string path = test::write_temp("chunks", doc_text);
    Document doc;
    ParseResult r = doc.load_from_file(path);
    std::remove(path.c_str());
    EXPECT_EQ(r.code, limit > kMaxAttributes ? kAttributes : 0) << limit << ": " << r.message;
  }
}

// libxml2 reports every further "--" of a comment, each report costing
// more than the last; the parse ends at the first.
TEST(ParserLimits, MalformedCommentEndsTheParseAtItsFirstError) {
  std::string path = test::write_temp("dashes", "<r><!--" + std::string(300000, '-') + "--></r>");
  Document doc;
  ParseResult r = doc.load_from_file(path);
  std::remove(path.c_str());
  EXPECT_EQ(r.code, static_cast<int>(XmlError::NotWellFormed));
  EXPECT_NE(r.message.find("Double hyphen"), std::string::npos) << r.message;
  EXPECT_LT(r.column, 20);  // the first "--", not the last
}

TEST(ParserLimits, LoadOrValidationPastItsDeadlineStops) {
  const auto past = std::chrono::steady_clock::now() - std::chrono::milliseconds(1);
  const std::string text = "<r><e/></r>";
  std::string path = test::write_temp("deadline", text);
  Document doc;
  ASSERT_TRUE(doc.load_from_file(path));
  doc.set_deadline(past);
  EXPECT_EQ(doc.validate().code, static_cast<int>(XmlError::TimeLimit));
  EXPECT_EQ(doc.load_from_file(path).code, static_cast<int>(XmlError::TimeLimit));
  EXPECT_EQ(doc.load_from_memory(text).code, static_cast<int>(XmlError::TimeLimit));
  std::remove(path.c_str());
}

}  // namespace
}  // namespace tap::xml
