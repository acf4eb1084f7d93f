// The DOM operations the loader uses, over documents loaded from memory and
// from files.
#include "platform/xml/XmlDocument.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "XmlTestSupport.h"
#include "platform/xml/XmlErrors.h"

namespace tap::xml {
namespace {

TEST(XmlDocument, ChildListsAreByLocalNameInOwnNamespaceInDocumentOrder) {
  Document doc;
  ASSERT_TRUE(doc.load_from_memory(
      "<r xmlns='urn:a' xmlns:o='urn:o'><c n='1'/><d/><o:c n='x'/><c n='2'/><!--k--><c n='3'><c n='inner'/></c></r>"));
  Element root = doc.root();
  auto cs = root.children(u"c");
  ASSERT_EQ(cs.size(), 3u);
  EXPECT_EQ(cs[0].attribute(u"n"), u"1");
  EXPECT_EQ(cs[1].attribute(u"n"), u"2");
  EXPECT_EQ(cs[2].attribute(u"n"), u"3");
  EXPECT_EQ(root.first_child(u"c").attribute(u"n"), u"1");
  EXPECT_FALSE(root.first_child(u"missing"));
  EXPECT_TRUE(root.children(u"missing").empty());
  auto nodes = root.child_nodes();
  ASSERT_EQ(nodes.size(), 6u);
  EXPECT_FALSE(nodes[4].is_element());
  EXPECT_FALSE(nodes[4].as_element());
  EXPECT_EQ(nodes[2].as_element().tag_name(), u"o:c");
  EXPECT_EQ(nodes[2].as_element().local_name(), u"c");
  EXPECT_EQ(nodes[2].as_element().namespace_uri(), u"urn:o");
}

TEST(XmlDocument, WhitespaceOnlyTextBetweenElementsIsDropped) {
  Document doc;
  ASSERT_TRUE(doc.load_from_memory("<r>\n  <a>  keep  </a>\r\n\t<b> </b><c xml:space='preserve'> </c>\n</r>"));
  Element root = doc.root();
  EXPECT_TRUE(root.first_child_node().is_element());
  EXPECT_EQ(root.child_nodes().size(), 3u);
  EXPECT_EQ(root.first_child(u"a").text(), u"  keep  ");
  EXPECT_FALSE(root.first_child(u"b").first_child_node());
  EXPECT_EQ(root.first_child(u"c").text(), u" ");
}

TEST(XmlDocument, TextJoinsTextCdataAndReferences) {
  Document doc;
  ASSERT_TRUE(doc.load_from_memory("<r>a&amp;b<![CDATA[<c>]]>&#x41;<i>d</i></r>"));
  EXPECT_EQ(doc.root().text(), u"a&b<c>Ad");
}

// References resolve and white space characters normalise to spaces, the
// ampersand's references included.
TEST(XmlDocument, AttributeValuesAreResolved) {
  Document doc;
  ASSERT_TRUE(doc.load_from_memory("<r a='x&amp;y&#38;z&#x26;&lt;&gt;&quot;&apos;&#65;' b='1\t2\n3'/>"));
  EXPECT_EQ(doc.root().attribute(u"a"), u"x&y&z&<>\"'A");
  EXPECT_EQ(doc.root().attribute(u"b"), u"1 2 3");
}

TEST(XmlDocument, AttributesTellAbsentFromEmpty) {
  Document doc;
  ASSERT_TRUE(doc.load_from_memory(
      "<r xmlns:dt='urn:schemas-microsoft-com:datatypes' e='' v='x &lt; y' dt:dt='bin.hex'/>"));
  Element r = doc.root();
  EXPECT_EQ(r.attribute(u"e"), u"");
  EXPECT_EQ(r.attribute(u"v"), u"x < y");
  EXPECT_FALSE(r.attribute(u"missing"));
  EXPECT_FALSE(r.attribute_node(u"missing"));
  EXPECT_EQ(r.attribute(u"dt:dt"), u"bin.hex");
  EXPECT_FALSE(r.attribute(u"dt"));
  EXPECT_FALSE(r.attribute(u"zz:dt"));
  Attribute v = r.attribute_node(u"v");
  ASSERT_TRUE(v);
  EXPECT_TRUE(v.specified());
  EXPECT_EQ(v.typed_value(), TypedValue(std::u16string(u"x < y")));
}

// Defaults come from the schemas set on the document, as after the
// platform's validation; the attribute is then not "specified".
TEST(XmlDocument, AbsentAttributeReportsSchemaDefault) {
  auto cache = test::cache_of(
      "<AttributeType name='on' dt:type='boolean' default='1'/>"
      "<ElementType name='r' content='empty'><AttributeType name='mode' default='fast'/>"
      "<attribute type='on'/><attribute type='mode'/><attribute type='none' /></ElementType>"
      "<AttributeType name='none'/>");
  ASSERT_TRUE(cache);
  Document doc;
  ASSERT_TRUE(doc.load_from_memory("<r mode='slow'/>"));
  EXPECT_FALSE(doc.root().attribute(u"on"));
  doc.set_schemas(cache);
  Element r = doc.root();
  EXPECT_EQ(r.attribute(u"on"), u"1");
  EXPECT_EQ(r.attribute(u"mode"), u"slow");
  EXPECT_FALSE(r.attribute(u"none"));
  Attribute on = r.attribute_node(u"on");
  ASSERT_TRUE(on);
  EXPECT_FALSE(on.specified());
  EXPECT_EQ(on.typed_value(), TypedValue(true));
}

// Validation decodes large bin.hex values once and hands the bytes to the
// first typed value; the values must be the same as without validation,
// however often they are asked for.
TEST(XmlDocument, LargeBinHexValuesAreTheSameAfterValidation) {
  auto cache = test::cache_of(
      "<ElementType name='h' dt:type='bin.hex'/><ElementType name='r' content='eltOnly'><element type='h'/>"
      "<attribute type='n'/></ElementType><AttributeType name='n'/>");
  ASSERT_TRUE(cache);
  std::string hex;
  std::string bytes;
  for (int i = 0; i < 70000; ++i) {
    hex += "0123456789ABCDEF"[i % 16];
    if (i % 2) bytes.push_back(static_cast<char>(((i - 1) % 16) * 16 + i % 16));
  }
  const std::string text = "<r xmlns:dt='urn:schemas-microsoft-com:datatypes'><h>\n " + hex + " \n</h><h>" +
                           hex.substr(0, 40000) + "<!-- split -->" + hex.substr(40000) + "</h>"
                           "<h dt:dt='string'>" + hex + "</h></r>";
  for (bool validated : {false, true}) {
    Document doc;
    doc.set_schemas(cache);
    ASSERT_TRUE(doc.load_from_memory(text));
    if (validated) {
      ASSERT_TRUE(doc.validate());
    }
    std::vector<Element> hs = doc.root().children(u"h");
    ASSERT_EQ(hs.size(), 3u);
    for (int round = 0; round < 2; ++round) {
      EXPECT_EQ(hs[0].typed_value(), TypedValue(bytes)) << validated << round;
      EXPECT_EQ(hs[1].typed_value(), TypedValue(bytes)) << validated << round;
      EXPECT_EQ(hs[2].typed_value(), TypedValue(std::u16string(hex.begin(), hex.end()))) << validated << round;
    }
  }
}

TEST(XmlDocument, LargeBadBinHexFailsValidation) {
  auto cache = test::cache_of("<ElementType name='h' dt:type='bin.hex'/>");
  ASSERT_TRUE(cache);
  const std::string hex(100000, 'a');
  for (std::string bad : {hex + "g0", hex + "0", hex.substr(0, 50000) + " " + hex.substr(50000)}) {
    ParseResult r = test::validate_with(cache, "<h>" + bad + "</h>");
    EXPECT_EQ(r.code, static_cast<int>(XmlError::BadValue)) << r.message;
    EXPECT_EQ(r.line, 1);
  }
}

TEST(XmlDocument, TypedValuesFollowSchemaThenDtDt) {
  auto cache = test::cache_of(
      "<ElementType name='h' dt:type='bin.hex'/><ElementType name='b' dt:type='boolean'/>"
      "<ElementType name='s' dt:type='string'/><ElementType name='n' dt:type='i4'/>"
      "<ElementType name='r' content='eltOnly'><attribute type='flag'/></ElementType>"
      "<AttributeType name='flag' dt:type='boolean'/>");
  ASSERT_TRUE(cache);
  Document doc;
  doc.set_schemas(cache);
  ASSERT_TRUE(doc.load_from_memory(
      "<r xmlns:dt='urn:schemas-microsoft-com:datatypes' flag='0'><h>deadbeef</h><h>abc</h><b>1</b><s> 7 </s>"
      "<n>7</n><u>x</u><u dt:dt='bin.hex'>4142</u><dt:boolean>0</dt:boolean><h dt:dt='string'>zz</h></r>"));
  auto nodes = doc.root().child_nodes();
  ASSERT_EQ(nodes.size(), 9u);
  EXPECT_EQ(nodes[0].as_element().typed_value(), TypedValue(std::string("\xDE\xAD\xBE\xEF")));
  EXPECT_EQ(nodes[1].as_element().typed_value(), TypedValue(std::monostate{}));
  EXPECT_EQ(nodes[2].as_element().typed_value(), TypedValue(true));
  EXPECT_EQ(nodes[3].as_element().typed_value(), TypedValue(std::u16string(u" 7 ")));
  EXPECT_EQ(nodes[4].as_element().typed_value(), TypedValue(std::u16string(u"7")));
  EXPECT_EQ(nodes[5].as_element().typed_value(), TypedValue(std::u16string(u"x")));
  EXPECT_EQ(nodes[6].as_element().typed_value(), TypedValue(std::string("AB")));
  EXPECT_EQ(nodes[7].as_element().typed_value(), TypedValue(false));
  EXPECT_EQ(nodes[8].as_element().typed_value(), TypedValue(std::u16string(u"zz")));
  EXPECT_EQ(doc.root().attribute_node(u"flag").typed_value(), TypedValue(false));
}

// Each declared encoding, with a character outside ASCII.
struct EncodingCase {
  const char* name;
  std::string bytes;
  std::u16string value;
};

std::string utf16(const std::u16string& s, bool big_endian) {
  std::string out = big_endian ? "\xFE\xFF" : "\xFF\xFE";
  for (char16_t c : s) {
    char hi = static_cast<char>(c >> 8);
    char lo = static_cast<char>(c & 0xFF);
    out += big_endian ? std::string{hi, lo} : std::string{lo, hi};
  }
  return out;
}

TEST(XmlDocument, ReadsTheDeclaredEncodings) {
  const std::u16string doc16 = u"<?xml version='1.0' encoding='UTF-16'?><r a='\u00E9\u20AC'/>";
  const EncodingCase cases[] = {
      {"utf-8", "<?xml version='1.0' encoding='UTF-8'?><r a='\xC3\xA9\xE2\x82\xAC'/>", u"\u00E9\u20AC"},
      {"utf-8 bom", "\xEF\xBB\xBF<r a='\xC3\xA9'/>", u"\u00E9"},
      {"utf-16le", utf16(doc16, false), u"\u00E9\u20AC"},
      {"utf-16be", utf16(doc16, true), u"\u00E9\u20AC"},
      {"iso-8859-1", "<?xml version='1.0' encoding='ISO-8859-1'?><r a='\xE9\x80'/>", u"\u00E9\u0080"},
      {"windows-1252", "<?xml version='1.0' encoding='Windows-1252'?><r a='\xE9\x80'/>", u"\u00E9\u20AC"},
  };
  for (const auto& c : cases) {
    Document doc;
    ParseResult r = doc.load_from_memory(c.bytes);
    ASSERT_TRUE(r) << c.name << ": " << r.message;
    EXPECT_EQ(doc.root().attribute(u"a"), c.value) << c.name;
  }
}

TEST(XmlDocument, MalformedInputGivesCodeAndPositionAndLeavesNoRoot) {
  Document doc;
  ASSERT_TRUE(doc.load_from_memory("<r/>"));
  ParseResult r = doc.load_from_memory("<r>\n  <a></b>\n</r>");
  EXPECT_EQ(r.code, static_cast<int>(XmlError::NotWellFormed));
  EXPECT_EQ(r.line, 2);
  EXPECT_GT(r.column, 0);
  EXPECT_FALSE(r.message.empty());
  EXPECT_EQ(doc.parse_error().code, r.code);
  EXPECT_FALSE(doc.root());
  EXPECT_EQ(doc.validate().code, static_cast<int>(XmlError::NotLoaded));
  EXPECT_EQ(doc.load_from_memory("").code, static_cast<int>(XmlError::EmptyDocument));
  EXPECT_EQ(doc.load_from_memory("<?xml version='1.0'?>").code, static_cast<int>(XmlError::NotWellFormed));
  EXPECT_EQ(doc.load_from_memory("<a/><b/>").code, static_cast<int>(XmlError::NotWellFormed));
}

TEST(XmlDocument, LoadsFromAPath) {
  std::string path = test::write_temp("document_path", "<r>\n<a/>\n  <b/></r>");
  Document doc;
  ASSERT_TRUE(doc.load_from_file(path));
  EXPECT_EQ(doc.root().first_child(u"b").line(), 3);
  EXPECT_EQ(doc.root().first_child(u"b").column(), 3);
  std::remove(path.c_str());
  EXPECT_EQ(doc.load_from_file(path).code, static_cast<int>(XmlError::FileUnreadable));
  EXPECT_FALSE(doc.root());
  EXPECT_EQ(doc.load_from_file(TAP_TEST_DATA_DIR).code, static_cast<int>(XmlError::NotRegularFile));
}

TEST(XmlDocument, ElementPositionsAreTheStartTag) {
  Document doc;
  ASSERT_TRUE(doc.load_from_memory("<r>\n \xC3\xA9<a\n  x='1'\n/><b/></r>"));
  Element a = doc.root().first_child(u"a");
  EXPECT_EQ(a.line(), 2);
  EXPECT_EQ(a.column(), 3);
  Element b = doc.root().first_child(u"b");
  EXPECT_EQ(b.line(), 4);
  EXPECT_EQ(b.column(), 3);
}

}  // namespace
}  // namespace tap::xml
