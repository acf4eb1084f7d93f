#include "platform/xml/MarkupScanner.h"

#include <gtest/gtest.h>

#include "support/case_name.h"

#include <string>

namespace tap::xml {
namespace {

using Verdict = MarkupScanner::Verdict;

constexpr MarkupScanner::Bounds kBounds{3, 2};

std::string utf16be(const std::string& ascii) {
  std::string out = "\xFE\xFF";
  for (char c : ascii) {
    out.push_back('\0');
    out.push_back(c);
  }
  return out;
}

struct ScanCase {
  const char* name;
  std::string text;
  Verdict verdict;
  int line;  // where a refusal is reported
};

const ScanCase kCases[] = {
    {"ThreeAttributes", "<r a='1' b=\"2\" c = '3'/>", Verdict::ok, 1},
    {"FourAttributes", "<r>\n<e a='1' b='2'\n c='3' d='4'/></r>", Verdict::too_many_attributes, 3},
    {"QuotedMarkupIsText", "<r a='<x y=\"1\" z=\"2\">' b=\"'/>'\"/>", Verdict::ok, 1},
    {"CommentAndCdataAreText", "<r><!-- <e a='' b='' c='' d=''> --><![CDATA[<e a='' b='' c='' d=''>]]></r>",
     Verdict::ok, 1},
    {"PiIsText", "<?pi <e a='' b='' c='' d=''>?><r/>", Verdict::ok, 1},
    {"DeclarationsNest", "<r xmlns='urn:a'><e xmlns:p='urn:b'><f xmlns:q='urn:c'/></e></r>",
     Verdict::too_many_namespaces, 1},
    {"DeclarationsLeaveWithTheirElement", "<r xmlns='urn:a'><e xmlns:p='urn:b'/><e xmlns:q='urn:c'></e></r>",
     Verdict::ok, 1},
    {"XmlnsLookalikesAreNotDeclarations", "<r xmlnsx='1' xmln='2' a:xmlns='3'><e xmlns:p='u'/></r>", Verdict::ok, 1},
    {"DeclaredCodePage", "<?xml version='1.0' encoding='Windows-1252'?><r/>", Verdict::ok, 1},
    {"DeclaredStatefulEncoding", "<?xml version='1.0' encoding=\"ISO-2022-KR\"?><r/>",
     Verdict::unsupported_encoding, 1},
    {"Utf16Counts", utf16be("<r a='1' b='2' c='3' d='4'/>"), Verdict::too_many_attributes, 1},
    {"DoctypeEndsTheScan", "<!DOCTYPE r><r a='' b='' c='' d=''/>", Verdict::ok, 1},
};

class Scan : public testing::TestWithParam<ScanCase> {};

// However the bytes arrive, one at a time or all at once, the verdict and
// its line are the same.
TEST_P(Scan, VerdictDoesNotDependOnHowTheBytesArrive) {
  const ScanCase& c = GetParam();
  for (std::size_t piece : {c.text.size(), std::size_t{1}, std::size_t{3}}) {
    MarkupScanner scanner(kBounds);
    for (std::size_t at = 0; at < c.text.size(); at += piece) scanner.feed(std::string_view(c.text).substr(at, piece));
    EXPECT_EQ(scanner.finish(), c.verdict) << "pieces of " << piece;
    if (c.verdict != Verdict::ok) {
      EXPECT_EQ(scanner.line(), c.line) << "pieces of " << piece;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Documents, Scan, testing::ValuesIn(kCases), rows::by_name);

}  // namespace
}  // namespace tap::xml
