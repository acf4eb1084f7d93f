// srplay check as a CI job runs it: findings as JSON Lines, the exit status
// under --strict, the first XML error where the document breaks, warnings
// about what loads but cannot mean what was meant, and hints in refusals.
#include <gtest/gtest.h>

#include <sstream>

#include "json_value.h"
#include "srplay_process.h"

namespace srplay_test {
namespace {

constexpr const char* kNamespace = "urn:Tarvena/Lantorix/StimulusResponseFile/1.0";

// Line 1 the declaration, 2 the root, 3 the stream, 4 its address: the
// body starts on line 5, one element per line.
std::string recording(const std::string& body, const std::string& intfaddr = "gpib") {
  return std::string("<?xml version=\"1.0\"?>\n") + "<IORecordStreamFile xmlns=\"" + kNamespace +
         "\" xmlns:dt=\"urn:schemas-microsoft-com:datatypes\" version=\"1.0\">\n" +
         "<IORecordStream returnValue=\"0\">\n" + "<InstrumentAddress intfaddr=\"" + intfaddr +
         "\" prim=\"1\" sec=\"-1\" devprot=\"0\" bracket=\"\" colon=\"\"/>\n" + body +
         "</IORecordStream>\n</IORecordStreamFile>\n";
}

// An exact-string pair on one line.
std::string pair(const std::string& name, const std::string& hex, const std::string& attrs = "",
                 const std::string& exact_attrs = "") {
  std::string a = attrs.empty() ? "returnValue=\"0\" actualWritten=\"" + std::to_string(hex.size() / 2) +
                                      "\" readWriteFlags=\"0\""
                                : attrs;
  return "<IOStimulusResponse version=\"1.5\" name=\"" + name +
         "\"><Stimulus stimulusType=\"exactString\" " + a + "><ExactString" + exact_attrs + ">" + hex +
         "</ExactString></Stimulus></IOStimulusResponse>\n";
}

std::string script_pair(const std::string& pattern, const std::string& attrs = "") {
  return "<IOStimulusResponse version=\"1.5\"><Stimulus stimulusType=\"vbscript\" readWriteFlags=\"0\" "
         "patternString=\"" + pattern + "\" " + attrs + "/></IOStimulusResponse>\n";
}

std::string docommand(const std::string& command, const std::string& hex, const std::string& attrs = "") {
  return "<DoCommand doCmdType=\"exactMatch\" version=\"1.5\" command=\"" + command +
         "\" doCmdFlags=\"0\" " + attrs + "><DataStruct>" +
         (hex.empty() ? "" : "<DataParameter>" + hex + "</DataParameter>") +
         "</DataStruct><DoCommandResponse returnValue=\"0\"/></DoCommand>\n";
}

struct Checked {
  int exit_code = -1;
  std::vector<JsonValue> findings;
  JsonValue summary;
  std::string out;
  std::string err;
};

// Runs check --json and parses every line back; a line that does not parse
// fails the test.
Checked check_json(const std::string& args, const ScratchDir& dir) {
  Output o = srplay("check --json " + args, dir);
  Checked c;
  c.exit_code = o.exit_code;
  c.out = o.out;
  c.err = o.err;
  std::istringstream lines(o.out);
  for (std::string line; std::getline(lines, line);) {
    std::optional<JsonValue> v = JsonReader::parse(line);
    EXPECT_TRUE(v && v->kind == JsonValue::Kind::object) << line;
    if (!v) continue;
    if (v->has("summary")) c.summary = (*v)["summary"];
    else c.findings.push_back(std::move(*v));
  }
  EXPECT_EQ(c.summary.kind, JsonValue::Kind::object) << "no summary:\n" << o.out;
  return c;
}

Checked check_text(const std::string& text, const ScratchDir& dir, const std::string& options = "") {
  return check_json(options + " " + dir.write("rec.xml", text), dir);
}

std::vector<const JsonValue*> with_rule(const Checked& c, const std::string& rule) {
  std::vector<const JsonValue*> out;
  for (const JsonValue& f : c.findings)
    if (f["rule"].text == rule) out.push_back(&f);
  return out;
}

// --- the first XML error -------------------------------------------------

struct XmlErrorCase {
  const char* name;
  std::string text;
  int line;
  int column;  // 0: not checked
  const char* message;
  const char* element;
};

const std::string kPairLine4 =
    "<?xml version=\"1.0\"?>\n<IORecordStreamFile xmlns=\"" + std::string(kNamespace) +
    "\" version=\"1.0\">\n<IORecordStream returnValue=\"0\"><InstrumentAddress intfaddr=\"gpib\" "
    "prim=\"1\" sec=\"-1\" devprot=\"0\" bracket=\"\" colon=\"\"/>\n"
    "  <IOStimulusResponse version=\"1.5\">\n"
    "<Stimulus stimulusType=\"exactString\" returnValue=\"0\" actualWritten=\"2\" readWriteFlags=\"0\">"
    "<ExactString>4142</ExactString></Stimulus>\n";

class CheckFirstXmlError : public testing::TestWithParam<XmlErrorCase> {};

TEST_P(CheckFirstXmlError, IsReportedWhereTheDocumentBreaks) {
  const XmlErrorCase& c = GetParam();
  ScratchDir dir;
  Checked r = check_text(c.text, dir);
  EXPECT_EQ(r.exit_code, 1);
  ASSERT_EQ(r.findings.size(), 1u) << r.out;
  const JsonValue& f = r.findings[0];
  EXPECT_EQ(f["severity"].text, "error");
  EXPECT_EQ(f["rule"].text, "xml");
  EXPECT_EQ(f["line"].number, c.line) << f["message"].text;
  if (c.column) {
    ASSERT_TRUE(f.has("column")) << r.out;
    EXPECT_EQ(f["column"].number, c.column) << f["message"].text;
  }
  EXPECT_NE(f["message"].text.find(c.message), std::string::npos) << f["message"].text;
  EXPECT_EQ(f["element"].text, c.element);
  EXPECT_EQ(f["message"].text.find('\n'), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CheckFirstXmlError,
    testing::Values(
        // Noticed only at the end of the file, four lines further on.
        XmlErrorCase{"Unclosed", kPairLine4 + "<!-- -->\n\n\n", 4, 3,
                     "element 'IOStimulusResponse' opened at line 4 is not closed", "IOStimulusResponse"},
        XmlErrorCase{"Mismatched", kPairLine4 + "\n  </IORecordStream>\n</IORecordStreamFile>\n", 7, 3,
                     "the end tag '</IORecordStream>' does not close element 'IOStimulusResponse' "
                     "opened at line 4",
                     "IOStimulusResponse"},
        XmlErrorCase{"UnquotedAttribute",
                     kPairLine4 + "<Response responseType=exactString returnValue=\"0\"/>\n", 6, 0,
                     "AttValue", "IOStimulusResponse"},
        XmlErrorCase{"BadEncoding", kPairLine4 + "</IOStimulusResponse>\n<!-- caf\xE9 -->\n", 7, 0,
                     "not proper UTF-8", "IORecordStream"},
        // Cut inside a start tag and after a complete element.
        XmlErrorCase{"TruncatedInTag", kPairLine4 + "<Response responseType=\"exa", 6, 0, "", "IOStimulusResponse"},
        XmlErrorCase{"TruncatedAfterElement", kPairLine4 + "</IOStimulusResponse>\n", 3, 1,
                     "element 'IORecordStream' opened at line 3 is not closed", "IORecordStream"}),
    [](const auto& info) { return std::string(info.param.name); });

// --- hints in refusals ---------------------------------------------------

struct HintCase {
  const char* name;
  std::string text;
  const char* rule;
  int line;
  std::string hint;
};

class CheckHint : public testing::TestWithParam<HintCase> {};

TEST_P(CheckHint, SaysWhatTheValueMustLookLike) {
  const HintCase& c = GetParam();
  ScratchDir dir;
  Checked r = check_text(c.text, dir);
  EXPECT_EQ(r.exit_code, 1) << r.out;
  std::vector<const JsonValue*> found = with_rule(r, c.rule);
  ASSERT_EQ(found.size(), 1u) << r.out;
  EXPECT_EQ((*found[0])["severity"].text, "error");
  EXPECT_EQ((*found[0])["line"].number, c.line) << r.out;
  EXPECT_NE((*found[0])["message"].text.find(c.hint), std::string::npos) << (*found[0])["message"].text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CheckHint,
    testing::Values(
        HintCase{"HexCommand", recording(docommand("0x2001", "")), "schema", 5,
                 "write a decimal integer from 0 to 4294967295 (0x2001 is 8193)"},
        HintCase{"CommandAboveSignedRange", recording(pair("A", "41") + docommand("4294967295", "")),
                 "open-fails", 6, "\"4294967295\" is above 2147483647"},
        HintCase{"BadHexDigit", recording(pair("A", "41 42G3")), "schema", 5,
                 "the first other character is white space, at position 3"},
        HintCase{"BadHexLetter", recording(pair("A", "4142G3")), "schema", 5,
                 "the first other character is 'G', at position 5"},
        HintCase{"OddHexDigits", recording(pair("A", "41423")), "schema", 5, "an odd number (5)"},
        HintCase{"BooleanWord",
                 recording(pair("A", "41", "returnValue=\"0\" actualWritten=\"1\" readWriteFlags=\"0\" ignoreFlags=\"true\"")),
                 "schema", 5, "write \"1\" for true or \"0\" for false"},
        HintCase{"NoNamespace",
                 "<?xml version=\"1.0\"?>\n\n<IORecordStreamFile version=\"1.0\"/>\n", "schema", 3,
                 std::string("xmlns=\"") + kNamespace + "\""},
        HintCase{"OtherNamespace",
                 "<IORecordStreamFile xmlns=\"urn:Tarvena/Lantorix/StimulusResponseFile/1.1\" version=\"1.0\"/>",
                 "schema", 1, std::string("in the namespace ") + kNamespace},
        // Elements the schema expects here, but in no namespace or another.
        HintCase{"AddressInNoNamespace", recording("", "gpib\" xmlns=\""), "schema", 4,
                 std::string("this 'InstrumentAddress' is in no namespace, and a playback file's elements are in ") +
                     kNamespace},
        HintCase{"StimulusInOtherNamespace",
                 recording("<IOStimulusResponse version=\"1.5\">\n<Stimulus xmlns=\"urn:x\" stimulusType=\"vbscript\" "
                           "readWriteFlags=\"0\"/></IOStimulusResponse>\n"),
                 "schema", 6, "this 'Stimulus' is in the namespace urn:x"}),
    [](const auto& info) { return std::string(info.param.name); });

// --- warnings ------------------------------------------------------------

struct WarningCase {
  const char* name;
  std::string text;
  const char* rule;  // "": no warning at all
  int line;
  int related_line;
  const char* message;
};

class CheckWarning : public testing::TestWithParam<WarningCase> {};

TEST_P(CheckWarning, LoadsButSaysWhatCannotWork) {
  const WarningCase& c = GetParam();
  ScratchDir dir;
  Checked r = check_text(c.text, dir);
  EXPECT_EQ(r.exit_code, 0) << r.out;
  if (!*c.rule) {
    EXPECT_TRUE(r.findings.empty()) << r.out;
    return;
  }
  ASSERT_EQ(r.findings.size(), 1u) << r.out;
  const JsonValue& f = r.findings[0];
  EXPECT_EQ(f["severity"].text, "warning");
  EXPECT_EQ(f["rule"].text, c.rule);
  EXPECT_EQ(f["line"].number, c.line);
  EXPECT_EQ(f.has("related_line") ? f["related_line"].number : 0, c.related_line);
  EXPECT_NE(f["message"].text.find(c.message), std::string::npos) << f["message"].text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CheckWarning,
    testing::Values(
        WarningCase{"InterfaceCase", recording("", "GPIB"), "unknown-interface", 4, 0, "write \"gpib\""},
        WarningCase{"InterfaceRegionName", recording("", "asrl"), "unknown-interface", 4, 0,
                    "a serial interface is written \"com\""},
        WarningCase{"InterfaceUnknown", recording("", "gpib0"), "unknown-interface", 4, 0,
                    "is none of \"gpib\", \"tcpip\", \"com\", \"usb\""},
        WarningCase{"InterfaceKnown", recording("", "com"), "", 0, 0, ""},
        WarningCase{"SameStimulus", recording(pair("A", "4142") + pair("x", "43") + pair("B", "4142")),
                    "shadowed-pair", 7, 5, "pair \"B\" never answers: pair \"A\" at line 5"},
        // Flags differing only in bits the driver never compares.
        WarningCase{"SameMaskedFlags",
                    recording(pair("A", "41", "returnValue=\"0\" actualWritten=\"1\" readWriteFlags=\"1\" ignoreFlags=\"0\"") +
                              pair("B", "41", "returnValue=\"0\" actualWritten=\"1\" readWriteFlags=\"3\" ignoreFlags=\"0\"")),
                    "shadowed-pair", 6, 5, "same stimulus and flags"},
        WarningCase{"EarlierIgnoresFlags",
                    recording(pair("A", "41") +
                              pair("B", "41", "returnValue=\"0\" actualWritten=\"1\" readWriteFlags=\"1\" ignoreFlags=\"0\"")),
                    "shadowed-pair", 6, 5, "pair \"B\" never answers"},
        WarningCase{"DifferentFlags",
                    recording(pair("A", "41", "returnValue=\"0\" actualWritten=\"1\" readWriteFlags=\"1\" ignoreFlags=\"0\"") +
                              pair("B", "41", "returnValue=\"0\" actualWritten=\"1\" readWriteFlags=\"0\" ignoreFlags=\"0\"")),
                    "", 0, 0, ""},
        WarningCase{"LaterIgnoresFlags",
                    recording(pair("A", "41", "returnValue=\"0\" actualWritten=\"1\" readWriteFlags=\"1\" ignoreFlags=\"0\"") +
                              pair("B", "41")),
                    "", 0, 0, ""},
        WarningCase{"EarlierNeverMatches",
                    recording("<IOStimulusResponse version=\"1.6\"><Stimulus stimulusType=\"exactString\" "
                              "returnValue=\"0\" actualWritten=\"1\" readWriteFlags=\"0\"><ExactString>41</ExactString>"
                              "</Stimulus></IOStimulusResponse>\n" + pair("B", "41")),
                    "never-matches", 5, 0, "version 1.6"},
        // Points at the pair, as the text form does; the message names the element.
        WarningCase{"StimulusValueMissing",
                    recording("<IOStimulusResponse version=\"1.5\" name=\"A\">\n<Stimulus stimulusType=\"exactString\" "
                              "actualWritten=\"1\" readWriteFlags=\"0\"/></IOStimulusResponse>\n"),
                    "never-matches", 5, 0, "pair \"A\" will never match: the Stimulus (line 6): its returnValue is missing"},
        WarningCase{"SamePattern", recording(script_pair("VOLT\\?") + script_pair("VOLT\\?")), "shadowed-pair", 6, 5,
                    "pair 1 never answers: pair 0 at line 5"},
        WarningCase{"PatternCaseDiffers",
                    recording(script_pair("VOLT") + script_pair("VOLT", "ignoreCase=\"1\"")), "", 0, 0, ""},
        WarningCase{"DoCommandPrefix", recording(docommand("7", "01") + docommand("7", "0102", "name=\"two\"")),
                    "shadowed-docommand", 6, 5, "DoCommand \"two\" never answers: DoCommand 0 at line 5"},
        WarningCase{"DoCommandOtherData", recording(docommand("7", "0102") + docommand("7", "01")), "", 0, 0, ""},
        WarningCase{"ActualWrittenLarger",
                    recording(pair("A", "4142", "returnValue=\"0\" actualWritten=\"3\" readWriteFlags=\"0\"")),
                    "actual-written", 5, 0, "its actualWritten 3 is more than the 2 bytes"},
        WarningCase{"ActualWrittenNegative",
                    recording(pair("A", "4142", "returnValue=\"0\" actualWritten=\"-1\" readWriteFlags=\"0\"")),
                    "actual-written", 5, 0, "reports 4294967295 bytes written of its 2"},
        WarningCase{"ActualWrittenShorter",
                    recording(pair("A", "4142", "returnValue=\"0\" actualWritten=\"1\" readWriteFlags=\"0\"")), "", 0,
                    0, ""},
        // A read script's status starts at 128 and nothing else sets it.
        WarningCase{"ReadScriptWithoutStatus",
                    recording("<IOStimulusResponse version=\"1.5\"><Stimulus stimulusType=\"exactString\" returnValue=\"0\" "
                              "actualWritten=\"1\" readWriteFlags=\"0\"><ExactString>41</ExactString></Stimulus>\n"
                              "<Response responseType=\"vbscript\" returnValue=\"0\" stopReason=\"2\"><ExactString>"
                              "506C61796261636B456E67696E652E5265616454657874203D20227822"
                              "</ExactString></Response></IOStimulusResponse>\n"),
                    "read-status", 6, 0, "never sets PlaybackEngine.ReadReturnValue"},
        WarningCase{"ReadScriptSettingStatus",
                    recording("<IOStimulusResponse version=\"1.5\"><Stimulus stimulusType=\"exactString\" returnValue=\"0\" "
                              "actualWritten=\"1\" readWriteFlags=\"0\"><ExactString>41</ExactString></Stimulus>\n"
                              "<Response responseType=\"vbscript\" returnValue=\"0\" stopReason=\"2\"><ExactString>"
                              "506C61796261636B456E67696E652E5265616454657874203D20227822203A20506C61796261636B456E67696E652E7265616472657475726E76616C7565203D2030"
                              "</ExactString></Response></IOStimulusResponse>\n"),
                    "", 0, 0, ""},
        WarningCase{"DataTypeString",
                    recording(pair("A", "", "returnValue=\"0\" actualWritten=\"0\" readWriteFlags=\"0\"",
                                   " dt:dt=\"string\"")),
                    "data-type", 5, 0, "ExactString's dt:dt \"string\""},
        WarningCase{"DataTypeBase64",
                    recording(docommand("7", "") + "<DoCommand doCmdType=\"exactMatch\" version=\"1.5\" command=\"8\" "
                              "doCmdFlags=\"0\"><DataStruct>\n<DataParameter dt:dt=\"bin.base64\">41424344</DataParameter>"
                              "</DataStruct><DoCommandResponse returnValue=\"0\"/></DoCommand>\n"),
                    "data-type", 7, 0, "it takes 6 bytes where the hexadecimal digits give 4"},
        WarningCase{"DataTypeRestated",
                    recording(pair("A", "41", "", " dt:dt=\" BIN.HEX \"")), "", 0, 0, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CheckWarnings, ElementsOutsideTheFileNamespaceAreNamed) {
  ScratchDir dir;
  std::string text = recording(
      "<IOStimulusResponse version=\"1.5\"><Stimulus stimulusType=\"exactString\" returnValue=\"0\" "
      "actualWritten=\"0\" readWriteFlags=\"0\">\n<ExactString xmlns=\"\">41</ExactString></Stimulus>"
      "</IOStimulusResponse>\n");
  text.insert(text.find("</IORecordStreamFile>"),
              "<IORecordStream xmlns=\"urn:other\" returnValue=\"0\"><InstrumentAddress/></IORecordStream>\n");
  Checked r = check_text(text, dir);
  EXPECT_EQ(r.exit_code, 0) << r.out;
  std::vector<const JsonValue*> found = with_rule(r, "foreign-namespace");
  ASSERT_EQ(found.size(), 2u) << r.out;
  EXPECT_EQ((*found[0])["line"].number, 6);
  EXPECT_EQ((*found[0])["element"].text, "ExactString");
  EXPECT_NE((*found[0])["message"].text.find("in no namespace"), std::string::npos);
  EXPECT_EQ((*found[1])["line"].number, 8);
  EXPECT_NE((*found[1])["message"].text.find("in the namespace urn:other"), std::string::npos);
}

// --- exit statuses and the report ----------------------------------------

struct ExitCase {
  const char* name;
  std::vector<std::string> files;  // "" names a file that does not exist
  int plain;
  int strict;
};

class CheckExitStatus : public testing::TestWithParam<ExitCase> {};

const std::string kClean = recording(pair("A", "41"));
const std::string kWarned = recording(pair("A", "41") + pair("B", "41"));
const std::string kRefused = "<IORecordStreamFile/>";
const std::string kOpenFails = recording(docommand("4294967295", ""));

TEST_P(CheckExitStatus, FollowsTheWorstFile) {
  const ExitCase& c = GetParam();
  ScratchDir dir;
  std::string args;
  for (std::size_t i = 0; i < c.files.size(); ++i)
    args += " " + (c.files[i].empty() ? dir.file("missing.xml")
                                      : dir.write("f" + std::to_string(i) + ".xml", c.files[i]));
  for (bool json : {false, true}) {
    const std::string mode = json ? "--json " : "";
    EXPECT_EQ(srplay("check " + mode + args, dir).exit_code, c.plain) << mode;
    Output strict = srplay("check --strict " + mode + args, dir);
    EXPECT_EQ(strict.exit_code, c.strict) << mode;
    if (json) {
      std::string last = strict.out.substr(strict.out.rfind('\n', strict.out.size() - 2) + 1);
      std::optional<JsonValue> summary = JsonReader::parse(last);
      ASSERT_TRUE(summary && summary->has("summary")) << strict.out;
      EXPECT_EQ((*summary)["summary"]["exit_code"].number, c.strict);
      EXPECT_EQ((*summary)["summary"]["files"].items.size(), c.files.size());
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CheckExitStatus,
    testing::Values(ExitCase{"Clean", {kClean}, 0, 0}, ExitCase{"Warnings", {kWarned}, 0, 3},
                    ExitCase{"Refused", {kRefused}, 1, 1}, ExitCase{"OpenFails", {kOpenFails}, 1, 1},
                    ExitCase{"Unreadable", {""}, 2, 2}, ExitCase{"CleanAndWarned", {kClean, kWarned}, 0, 3},
                    ExitCase{"WarnedAndRefused", {kWarned, kRefused}, 1, 1},
                    ExitCase{"RefusedAndUnreadable", {kRefused, "", kClean}, 2, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CheckJson, EveryFindingCarriesItsFieldsAndTheSummaryCountsThem) {
  ScratchDir dir;
  const std::string warned = dir.write("warned.xml", recording(pair("A", "41") + pair("B", "41"), "GPIB"));
  const std::string refused = dir.write("refused.xml", kPairLine4);
  Checked r = check_json(warned + " " + refused, dir);
  EXPECT_EQ(r.exit_code, 1);
  ASSERT_EQ(r.findings.size(), 3u) << r.out;
  for (const JsonValue& f : r.findings) {
    for (const char* key : {"severity", "rule", "message", "file", "element"})
      EXPECT_EQ(f.has(key) ? f[key].kind : JsonValue::Kind::null, JsonValue::Kind::string) << key;
    EXPECT_EQ(f["line"].kind, JsonValue::Kind::number);
  }
  EXPECT_EQ(r.findings[0]["file"].text, warned);
  EXPECT_EQ(r.findings[2]["file"].text, refused);
  const JsonValue& s = r.summary;
  EXPECT_EQ(s["errors"].number, 1);
  EXPECT_EQ(s["warnings"].number, 2);
  EXPECT_FALSE(s["strict"].boolean);
  ASSERT_EQ(s["files"].items.size(), 2u);
  EXPECT_EQ(s["files"].items[0]["result"].text, "loads");
  EXPECT_EQ(s["files"].items[0]["warnings"].number, 2);
  EXPECT_EQ(s["files"].items[1]["result"].text, "refused");
  // Nothing but JSON on standard output, and nothing on standard error.
  EXPECT_TRUE(r.err.empty()) << r.err;
}

TEST(CheckText, WarningsAreLinesWithFileAndLine) {
  ScratchDir dir;
  const std::string path = dir.write("rec.xml", recording(pair("A", "41") + pair("B", "41")));
  Output o = srplay("check " + path, dir);
  EXPECT_EQ(o.exit_code, 0);
  EXPECT_NE(o.out.find(path + ":6: warning: pair \"B\" never answers: pair \"A\" at line 5"),
            std::string::npos) << o.out;
  EXPECT_NE(o.out.find(path + ": the driver loads this file"), std::string::npos) << o.out;
  Output refused = srplay("check " + dir.write("bad.xml", kPairLine4), dir);
  EXPECT_NE(refused.out.find("bad.xml:4:3: refused: element 'IOStimulusResponse' opened at line 4"),
            std::string::npos) << refused.out;
}

}  // namespace
}  // namespace srplay_test
