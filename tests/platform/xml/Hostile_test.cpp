// Hostile documents: each is refused, or loaded with bounded memory, and
// nothing outside the document is read.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "platform/xml/XmlDocument.h"
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

struct HostileCase {
  const char* name;
  std::string text;
  XmlError error;
};

std::ostream& operator<<(std::ostream& os, const HostileCase& c) { return os << c.name; }

class Hostile : public testing::TestWithParam<HostileCase> {};

TEST_P(Hostile, IsRefusedWithoutReadingOutside) {
  const HostileCase& c = GetParam();
  Document doc;
  ParseResult r = doc.load_from_memory(c.text);
  EXPECT_EQ(r.code, static_cast<int>(c.error)) << r.message;
  EXPECT_FALSE(doc.root());
}

const HostileCase kRefused[] = {
    {"BillionLaughs", billion_laughs(), XmlError::DtdProhibited},
    {"ExternalEntity", "<!DOCTYPE r [<!ENTITY x SYSTEM 'file:///etc/passwd'>]><r>&x;</r>", XmlError::DtdProhibited},
    {"ExternalDtd", "<!DOCTYPE r SYSTEM '/etc/passwd'><r/>", XmlError::DtdProhibited},
    {"ParameterEntity", "<!DOCTYPE r [<!ENTITY % p SYSTEM 'http://127.0.0.1:1/x'> %p;]><r/>", XmlError::DtdProhibited},
    {"UndeclaredEntity", "<r>&passwd;</r>", XmlError::NotWellFormed},
    {"DeepNesting", "", XmlError::NotWellFormed},
    {"TruncatedUtf16", std::string("\xFF\xFE<\0r\0>\0a\0<\0", 13), XmlError::NotWellFormed},
    {"Utf16CutInsideACharacter", std::string("\xFF\xFE<\0r\0/", 7), XmlError::NotWellFormed},
    {"HugeAttribute", "<r a='" + std::string(11'000'000, 'a') + "'/>", XmlError::NotWellFormed},
};

std::vector<HostileCase> refused_cases() {
  std::vector<HostileCase> out(std::begin(kRefused), std::end(kRefused));
  std::string deep;
  for (int i = 0; i < 10000; ++i) deep += "<e>";
  for (int i = 0; i < 10000; ++i) deep += "</e>";
  for (auto& c : out) {
    if (std::string(c.name) == "DeepNesting") c.text = deep;
  }
  return out;
}

INSTANTIATE_TEST_SUITE_P(Documents, Hostile, testing::ValuesIn(refused_cases()),
                         [](const testing::TestParamInfo<HostileCase>& info) { return std::string(info.param.name); });

TEST(HostileInput, XIncludeIsNotProcessed) {
  Document doc;
  ASSERT_TRUE(doc.load_from_memory(
      "<r xmlns:xi='http://www.w3.org/2001/XInclude'><xi:include href='/etc/passwd' parse='text'/></r>"));
  EXPECT_EQ(doc.root().text(), u"");
}

TEST(HostileInput, NestingWithinTheLimitLoads) {
  std::string deep;
  for (int i = 0; i < 200; ++i) deep += "<e>";
  for (int i = 0; i < 200; ++i) deep += "</e>";
  Document doc;
  EXPECT_TRUE(doc.load_from_memory(deep));
}

// Large text streams from the file: a node over the cap is refused as soon
// as the cap is passed; below it, the node loads whole.
void write_text_file(const std::string& path, std::size_t text_bytes) {
  std::ofstream out(path, std::ios::binary);
  out << "<r><big>";
  std::string chunk(1 << 20, 'a');
  for (std::size_t done = 0; done < text_bytes; done += chunk.size()) {
    out.write(chunk.data(), static_cast<std::streamsize>(std::min(chunk.size(), text_bytes - done)));
  }
  out << "</big></r>";
}

TEST(HostileInput, TextNodeOver64MiBIsRefused) {
  std::string path = testing::TempDir() + "xml_hostile_200mb.xml";
  write_text_file(path, std::size_t{200} << 20);
  Document doc;
  ParseResult r = doc.load_from_file(path);
  std::remove(path.c_str());
  EXPECT_EQ(r.code, static_cast<int>(XmlError::TextTooLong)) << r.message;
  EXPECT_FALSE(doc.root());
}

TEST(HostileInput, TextNodeBelowTheCapLoads) {
  std::string path = testing::TempDir() + "xml_hostile_20mb.xml";
  write_text_file(path, std::size_t{20} << 20);
  Document doc;
  ParseResult r = doc.load_from_file(path);
  std::remove(path.c_str());
  ASSERT_TRUE(r) << r.message;
  EXPECT_EQ(doc.root().first_child(u"big").text().size(), std::size_t{20} << 20);
}

}  // namespace
}  // namespace tap::xml

namespace tap::xml {
namespace {

// Conversion errors surface in the result and nowhere else.
TEST(HostileInput, EncodingErrorIsReportedNotPrinted) {
  testing::internal::CaptureStderr();
  Document doc;
  ParseResult r = doc.load_from_memory("<?xml version='1.0' encoding='Shift_JIS'?><r a='\x81\x20\xFF\xFF'/>");
  std::string printed = testing::internal::GetCapturedStderr();
  EXPECT_EQ(r.code, static_cast<int>(XmlError::NotWellFormed));
  EXPECT_EQ(printed, "");
}

}  // namespace
}  // namespace tap::xml
