// Hostile documents: each is refused, or loaded with bounded memory, and
// nothing outside the document is read.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <variant>

#include "XmlTestSupport.h"
#include "platform/xml/XmlDocument.h"
#include "support/case_name.h"
#include "platform/xml/XmlErrors.h"
#include "platform/xml/XmlParser.h"

namespace tap::xml {
namespace {

std::string billion_laughs() {
  std::string dtd = "<?xml version='1.0'?>\n<!DOCTYPE lolz [\n <!ENTITY lol 'lol'>\n";
  for (int i = 1; i <= 9; ++i) {
    dtd += " <!ENTITY lol" + std::to_string(i) + " '";
    for (int k = 0; k < 10; ++k) dtd += i == 1 ? "&lol;" : "&lol" + std::to_string(i - 1) + ";";
    dtd += "'>\n";
  }
  return dtd + "]>\n<lolz>&lol9;</lolz>";
}

std::string nested(int depth) {
  std::string out;
  for (int i = 0; i < depth; ++i) out += "<e>";
  for (int i = 0; i < depth; ++i) out += "</e>";
  return out;
}

struct HostileCase {
  const char* name;
  std::string text;
  int code;  // 0: loads
};

class Hostile : public testing::TestWithParam<HostileCase> {};

TEST_P(Hostile, IsRefusedWithoutReadingOutside) {
  const HostileCase& c = GetParam();
  Document doc;
  ParseResult r = doc.load_from_memory(c.text);
  EXPECT_EQ(r.code, c.code) << r.message;
  EXPECT_EQ(static_cast<bool>(doc.root()), c.code == 0);
}

const int kDtd = static_cast<int>(XmlError::DtdProhibited);
const int kNotWellFormed = static_cast<int>(XmlError::NotWellFormed);

INSTANTIATE_TEST_SUITE_P(Documents, Hostile, testing::Values(
    HostileCase{"BillionLaughs", billion_laughs(), kDtd},
    HostileCase{"ExternalEntity", "<!DOCTYPE r [<!ENTITY x SYSTEM 'file:///etc/passwd'>]><r>&x;</r>", kDtd},
    HostileCase{"ExternalDtd", "<!DOCTYPE r SYSTEM '/etc/passwd'><r/>", kDtd},
    HostileCase{"ParameterEntity", "<!DOCTYPE r [<!ENTITY % p SYSTEM 'http://127.0.0.1:1/x'> %p;]><r/>", kDtd},
    HostileCase{"UndeclaredEntity", "<r>&passwd;</r>", kNotWellFormed},
    HostileCase{"DeepNesting", nested(10000), kNotWellFormed},
    HostileCase{"NestingWithinTheLimit", nested(200), 0},
    HostileCase{"TruncatedUtf16", std::string("\xFF\xFE<\0r\0>\0a\0<\0", 13), kNotWellFormed},
    HostileCase{"Utf16CutInsideACharacter", std::string("\xFF\xFE<\0r\0/", 7), kNotWellFormed},
    HostileCase{"HugeAttribute", "<r a='" + std::string(11'000'000, 'a') + "'/>", kNotWellFormed}),
    rows::by_name);

TEST(HostileInput, XIncludeIsNotProcessed) {
  Document doc;
  ASSERT_TRUE(doc.load_from_memory(
      "<r xmlns:xi='http://www.w3.org/2001/XInclude'><xi:include href='/etc/passwd' parse='text'/></r>"));
  EXPECT_EQ(doc.root().text(), u"");
}

// Conversion errors surface in the result and nowhere else.
TEST(HostileInput, EncodingErrorIsReportedNotPrinted) {
  testing::internal::CaptureStderr();
  Document doc;
  ParseResult r = doc.load_from_memory("<?xml version='1.0' encoding='Shift_JIS'?><r a='\x81\x20\xFF\xFF'/>");
  EXPECT_EQ(r.code, kNotWellFormed);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

// Large text streams from the file: a node over the cap is refused as soon
// as the cap is passed; below it, the node loads whole.
void write_text_file(const std::string& path, std::size_t text_bytes) {
  std::ofstream out(path, std::ios::binary);
  out << "<r><big xmlns:dt='urn:schemas-microsoft-com:datatypes' dt:dt='bin.hex'>";
  std::string chunk;
  for (int i = 0; i < (1 << 20); ++i) chunk += "0123456789abcdef"[i % 16];
  for (std::size_t done = 0; done < text_bytes; done += chunk.size()) {
    out.write(chunk.data(), static_cast<std::streamsize>(std::min(chunk.size(), text_bytes - done)));
  }
  out << "</big></r>";
}

TEST(HostileInput, TextNodeOverTheCapIsRefused) {
  std::string path = testing::TempDir() + "xml_hostile_over_cap.xml";
  write_text_file(path, kMaxTextBytes + 2);
  Document doc;
  ParseResult r = doc.load_from_file(path);
  std::remove(path.c_str());
  EXPECT_EQ(r.code, static_cast<int>(XmlError::TextTooLong)) << r.message;
  EXPECT_FALSE(doc.root());
}

// A 50 MB recorded waveform is 100 MB of bin.hex.
TEST(HostileInput, WaveformBelowTheCapLoads) {
  constexpr std::size_t kHex = std::size_t{100} * 1000 * 1000;
  std::string path = testing::TempDir() + "xml_hostile_waveform.xml";
  write_text_file(path, kHex);
  Document doc;
  ParseResult r = doc.load_from_file(path);
  std::remove(path.c_str());
  ASSERT_TRUE(r) << r.message;
  TypedValue value = doc.root().first_child(u"big").typed_value();
  const std::string* bytes = std::get_if<std::string>(&value);
  ASSERT_NE(bytes, nullptr);
  ASSERT_EQ(bytes->size(), kHex / 2);
  EXPECT_EQ(bytes->substr(0, 8), "\x01\x23\x45\x67\x89\xab\xcd\xef");
  EXPECT_EQ(bytes->substr(bytes->size() - 2), "\xcd\xef");
}

// The bounds themselves, shrunk so that each case is small.
struct LimitCase {
  const char* name;
  ParseLimits limits;
  std::string text;
  int code;  // 0: loads
};

std::string elements(int n) {
  std::string out = "<r>";
  for (int i = 1; i < n; ++i) out += "<e/>";
  return out + "</r>";
}

const LimitCase kLimits[] = {
    {"TextAtTheBound", {8, 1000, 100}, "<r>abcdefgh</r>", 0},
    {"TextOverTheBound", {8, 1000, 100}, "<r>abcdefghi</r>", static_cast<int>(XmlError::TextTooLong)},
    {"ReferencesCountAsText", {8, 1000, 100}, "<r>abcdefgh&amp;</r>", static_cast<int>(XmlError::TextTooLong)},
    {"CdataEndsATextNode", {8, 1000, 100}, "<r>abcdefgh<![CDATA[x]]>abcdefgh</r>", 0},
    {"DocumentAtTheBound", {100, 30, 100}, "<r>" + std::string(23, 'x') + "</r>", 0},
    {"DocumentOverTheBound", {100, 30, 100}, "<r>" + std::string(24, 'x') + "</r>",
     static_cast<int>(XmlError::DocumentTooLarge)},
    {"ElementsAtTheBound", {100, 1000, 5}, elements(5), 0},
    {"ElementsOverTheBound", {100, 1000, 5}, elements(6), static_cast<int>(XmlError::TooManyElements)},
};

class Limit : public testing::TestWithParam<LimitCase> {};

TEST_P(Limit, HoldsForMemoryAndFile) {
  const LimitCase& c = GetParam();
  std::unique_ptr<Tree> doc;
  ParseResult r = parse_memory(c.text, doc, c.limits);
  EXPECT_EQ(r.code, c.code) << "memory: " << r.message;
  EXPECT_EQ(doc != nullptr, c.code == 0);

  std::string path = test::write_temp(std::string("limit_") + c.name, c.text);
  r = parse_file(path, doc, c.limits);
  std::remove(path.c_str());
  EXPECT_EQ(r.code, c.code) << "file: " << r.message;
  EXPECT_EQ(doc != nullptr, c.code == 0);
}

INSTANTIATE_TEST_SUITE_P(Bounds, Limit, testing::ValuesIn(kLimits), rows::by_name);

}  // namespace
}  // namespace tap::xml
