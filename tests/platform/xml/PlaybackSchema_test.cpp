// The embedded playback schema on whole files.
#include <gtest/gtest.h>

#include <string>

#include "platform/os/module_resources.h"
#include "platform/xml/XmlDocument.h"
#include "platform/xml/XmlErrors.h"
#include "support/case_name.h"

namespace tap::xml {
namespace {

constexpr char16_t kNs[] = u"urn:Tarvena/Lantorix/StimulusResponseFile/1.0";

std::shared_ptr<SchemaCache> playback_cache() {
  auto text = os::find_resource("XMLSCHEMA", 101);
  if (!text) return nullptr;
  Document schema;
  if (!schema.load_from_memory(*text)) return nullptr;
  auto cache = std::make_shared<SchemaCache>();
  if (!cache->add(kNs, schema)) return nullptr;
  return cache;
}

const std::string kAddress =
    "<InstrumentAddress intfaddr='gpib' prim='7' sec='0' devprot='0' bracket='' colon=''/>";

// A file whose root holds `body`.
std::string file(const std::string& body) {
  return "<IORecordStreamFile xmlns='urn:Tarvena/Lantorix/StimulusResponseFile/1.0' "
         "xmlns:dt='urn:schemas-microsoft-com:datatypes' version='1'>" +
         body + "</IORecordStreamFile>";
}
// A file with one stream holding `content` after its address.
std::string stream(const std::string& content) {
  return file("<IORecordStream returnValue='0'>" + kAddress + content + "</IORecordStream>");
}
std::string pair(const std::string& stimulus_attrs, const std::string& exact = "<ExactString>00</ExactString>") {
  return stream("<IOStimulusResponse version='1.5'><Stimulus stimulusType='exactString' readWriteFlags='0' " +
                stimulus_attrs + ">" + exact + "</Stimulus></IOStimulusResponse>");
}
std::string docmd(const std::string& command, const std::string& responses = "<DoCommandResponse returnValue='0'/>") {
  return stream("<DoCommand doCmdType='exactMatch' version='1' doCmdFlags='0' command='" + command +
                "'><DataStruct/>" + responses + "</DoCommand>");
}

class PlaybackSchema : public testing::Test {
 protected:
  void SetUp() override {
    cache_ = playback_cache();
    ASSERT_TRUE(cache_) << "the embedded schema must load and be accepted";
  }
  ParseResult check(const std::string& text) {
    Document doc;
    doc.set_schemas(cache_);
    ParseResult r = doc.load_from_memory(text);
    return r ? doc.validate() : r;
  }
  std::shared_ptr<SchemaCache> cache_;
};

TEST_F(PlaybackSchema, RichFileWithEveryElementValidates) {
  Document doc;
  doc.set_schemas(cache_);
  ASSERT_TRUE(doc.load_from_file(TAP_TEST_DATA_DIR "/data/rich.xml"));
  ParseResult r = doc.validate();
  EXPECT_TRUE(r) << r.message << " at " << r.line << ":" << r.column;

  Element root = doc.root();
  EXPECT_EQ(root.tag_name(), u"IORecordStreamFile");
  EXPECT_EQ(root.namespace_uri(), kNs);
  auto streams = root.children(u"IORecordStream");
  ASSERT_EQ(streams.size(), 2u);
  Node first = streams[0].first_child_node();
  ASSERT_TRUE(first.is_element());
  EXPECT_EQ(first.as_element().attribute(u"intfaddr"), u"gpib");
  EXPECT_EQ(first.as_element().attribute(u"bracket"), u"");

  auto pairs = streams[0].children(u"IOStimulusResponse");
  ASSERT_EQ(pairs.size(), 2u);
  Element stimulus = pairs[0].first_child(u"Stimulus");
  EXPECT_EQ(stimulus.first_child(u"ExactString").typed_value(), TypedValue(std::string("*IDN?\n")));
  EXPECT_EQ(stimulus.attribute_node(u"ignoreFlags").typed_value(), TypedValue(true));
  EXPECT_EQ(stimulus.attribute_node(u"waitTime").typed_value(), TypedValue(std::u16string(u"10")));
  EXPECT_FALSE(pairs[0].attribute(u"scriptTimeout"));
  auto responses = pairs[0].children(u"Response");
  ASSERT_EQ(responses.size(), 2u);
  EXPECT_EQ(responses[1].first_child(u"ExactString").typed_value(), TypedValue(std::string("\n")));

  Element vb = pairs[1].first_child(u"Stimulus");
  EXPECT_EQ(vb.attribute(u"patternString"), u"^MEAS\\?(\\d+)$");
  EXPECT_EQ(vb.attribute_node(u"ignoreFlags").typed_value(), TypedValue(false));

  Element docmd = streams[0].first_child(u"DoCommand");
  auto params = docmd.first_child(u"DataStruct").children(u"DataParameter");
  ASSERT_EQ(params.size(), 2u);
  EXPECT_EQ(params[0].typed_value(), TypedValue(std::string("\x01\x02", 2)));
  EXPECT_EQ(params[1].typed_value(), TypedValue(std::string()));

  auto values = root.first_child(u"ArrayInitValues").children(u"ArrayPair");
  ASSERT_EQ(values.size(), 2u);
  EXPECT_EQ(values[0].first_child(u"StringArrayValue").text(), u"  12 ");
  EXPECT_EQ(values[1].first_child(u"BinaryArrayValue").typed_value(), TypedValue(std::string("abc")));
}

struct FileCase {
  const char* name;
  std::string text;
  XmlError error;  // NotLoaded stands for "valid"
};

class PlaybackFile : public PlaybackSchema, public testing::WithParamInterface<FileCase> {};

TEST_P(PlaybackFile, ValidatesAsExpected) {
  const FileCase& c = GetParam();
  ParseResult r = check(c.text);
  if (c.error == XmlError::NotLoaded) {
    EXPECT_TRUE(r) << r.message;
  } else {
    EXPECT_EQ(r.code, static_cast<int>(c.error)) << r.message;
  }
}

const XmlError kValid = XmlError::NotLoaded;

const FileCase kFiles[] = {
    {"Minimal", stream(""), kValid},
    {"RootInOtherNamespace",
     "<IORecordStreamFile xmlns='urn:other' version='1'><IORecordStream returnValue='0'>" + kAddress +
         "</IORecordStream></IORecordStreamFile>",
     XmlError::NoSchema},
    {"MissingRequiredAttribute",
     file("<IORecordStream returnValue='0'><InstrumentAddress intfaddr='gpib' prim='7' sec='0' devprot='0' "
          "bracket=''/></IORecordStream>"),
     XmlError::MissingAttribute},
    {"MissingRootVersion",
     "<IORecordStreamFile xmlns='urn:Tarvena/Lantorix/StimulusResponseFile/1.0'><IORecordStream returnValue='0'>" +
         kAddress + "</IORecordStream></IORecordStreamFile>",
     XmlError::MissingAttribute},
    {"Bracket255",
     file("<IORecordStream returnValue='0'><InstrumentAddress intfaddr='gpib' prim='7' sec='0' devprot='0' bracket='" +
          std::string(255, 'b') + "' colon=''/></IORecordStream>"),
     kValid},
    {"Bracket256",
     file("<IORecordStream returnValue='0'><InstrumentAddress intfaddr='gpib' prim='7' sec='0' devprot='0' bracket='" +
          std::string(256, 'b') + "' colon=''/></IORecordStream>"),
     XmlError::TooLong},
    {"OddBinHex", pair("", "<ExactString>abc</ExactString>"), XmlError::BadValue},
    {"BinHexWithDtDt", pair("", "<ExactString dt:dt='BIN.HEX'>0a0B</ExactString>"), kValid},
    {"UnknownDtDt", pair("", "<ExactString dt:dt='binhex'>0a</ExactString>"), XmlError::BadDataTypeName},
    {"Ui4Max", docmd("4294967295"), kValid},
    {"Ui4Overflow", docmd("4294967296"), XmlError::BadValue},
    {"DoCommandWithoutResponse", docmd("1", ""), XmlError::IncompleteContent},
    // order="many" ignores the items' minOccurs, so a root without a stream
    // passes; the loader then finds no stream.
    {"ArrayInitValuesWithoutStream",
     file("<ArrayInitValues><ArrayPair arrayKey='k'><StringArrayValue>v</StringArrayValue></ArrayPair></ArrayInitValues>"),
     kValid},
    {"EmptyRoot", file(""), kValid},
    {"StreamWithoutAddress", file("<IORecordStream returnValue='0'/>"), XmlError::IncompleteContent},
    {"AddressNotFirst",
     file("<IORecordStream returnValue='0'><IOStimulusResponse version='1'><Stimulus stimulusType='x' "
          "readWriteFlags='0'/></IOStimulusResponse>" +
          kAddress + "</IORecordStream>"),
     XmlError::UnexpectedElement},
    {"CommentBeforeAddress", file("<IORecordStream returnValue='0'><!-- c -->" + kAddress + "</IORecordStream>"),
     kValid},
    {"ReturnValueNotI4", file("<IORecordStream returnValue='zero'>" + kAddress + "</IORecordStream>"),
     XmlError::BadValue},
    {"IgnoreFlagsTrueWord", pair("ignoreFlags='true'"), XmlError::BadValue},
    {"UndeclaredAttribute", pair("flags='1'"), XmlError::UndeclaredAttribute},
    {"ResponseWithoutExactString",
     stream("<IOStimulusResponse version='1'><Stimulus stimulusType='exactString' readWriteFlags='0'/>"
            "<Response responseType='exactString' returnValue='0' stopReason='0'/></IOStimulusResponse>"),
     XmlError::IncompleteContent},
    {"TwoExactStrings", pair("", "<ExactString>00</ExactString><ExactString>01</ExactString>"), kValid},
    {"TextInStimulus", pair("", "oops<ExactString>00</ExactString>"), XmlError::TextNotAllowed},
    {"UndeclaredElementAfterAddress", stream("<Extra/>"), XmlError::UndeclaredElement},
    {"ForeignElementAfterAddress", stream("<x:Note xmlns:x='urn:notes'><any/></x:Note>"), kValid},
    {"ChildInExactString", pair("", "<ExactString><ExactString/></ExactString>"), XmlError::ChildNotAllowed},
    {"BothArrayValues",
     file("<ArrayInitValues><ArrayPair arrayKey='k'><StringArrayValue>v</StringArrayValue>"
          "<BinaryArrayValue>00</BinaryArrayValue></ArrayPair></ArrayInitValues>"),
     kValid},
    {"ArrayPairWithoutValue", file("<ArrayInitValues><ArrayPair arrayKey='k'/></ArrayInitValues>"),
     XmlError::IncompleteContent},
    {"DataParameterInsideResponse",
     docmd("1", "<DoCommandResponse returnValue='0'><DataParameter>00</DataParameter></DoCommandResponse>"), kValid},
    // The open model is satisfied before any DataParameter, so a declared
    // DataStruct may follow as an extra: where the loader reads the data.
    {"DataStructInsideResponse",
     docmd("1", "<DoCommandResponse returnValue='0'><DataStruct><DataParameter>01</DataParameter></DataStruct>"
                "</DoCommandResponse>"),
     kValid},
    {"BadDataStructInsideResponse",
     docmd("1", "<DoCommandResponse returnValue='0'><DataStruct><DataParameter>1</DataParameter></DataStruct>"
                "</DoCommandResponse>"),
     XmlError::BadValue},
};
INSTANTIATE_TEST_SUITE_P(EdgeCases, PlaybackFile, testing::ValuesIn(kFiles), rows::by_name);

// A prefixed root in the right namespace is valid XDR; the loader refuses
// it by its tag name, which keeps the prefix.
TEST_F(PlaybackSchema, PrefixedRootValidatesButKeepsItsPrefix) {
  std::string text = "<p:IORecordStreamFile xmlns:p='urn:Tarvena/Lantorix/StimulusResponseFile/1.0' version='1'>"
                     "<p:IORecordStream returnValue='0'><p:InstrumentAddress intfaddr='gpib' prim='7' sec='0' "
                     "devprot='0' bracket='' colon=''/></p:IORecordStream></p:IORecordStreamFile>";
  Document doc;
  doc.set_schemas(cache_);
  ASSERT_TRUE(doc.load_from_memory(text));
  EXPECT_TRUE(doc.validate());
  EXPECT_EQ(doc.root().tag_name(), u"p:IORecordStreamFile");
  EXPECT_EQ(doc.root().local_name(), u"IORecordStreamFile");
  EXPECT_EQ(doc.root().namespace_uri(), kNs);
}

TEST_F(PlaybackSchema, FailureReportsLineAndColumnOfTheElement) {
  ParseResult r = check(file("\n<IORecordStream returnValue='0'>\n  " + kAddress +
                             "\n  <IOStimulusResponse version='1'>\n    <Stimulus stimulusType='exactString'/>"
                             "\n  </IOStimulusResponse>\n</IORecordStream>"));
  EXPECT_EQ(r.code, static_cast<int>(XmlError::MissingAttribute));
  EXPECT_EQ(r.line, 5);
  EXPECT_EQ(r.column, 5);
  EXPECT_NE(r.message.find("Stimulus"), std::string::npos);
  EXPECT_NE(r.message.find("readWriteFlags"), std::string::npos);
}

}  // namespace
}  // namespace tap::xml
