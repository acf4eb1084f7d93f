// srplay convert and dump: recordings written from conversation text, and
// text written from recordings, as the driver loads and plays them.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "recording_tables.h"
#include "srplay_process.h"

namespace srplay_test {
namespace {

std::string example(const std::string& name) {
  return std::string(TAP_SOURCE_DIR) + "/examples/" + name;
}

// The calls a conversation makes, without their timings, and without the
// lines of the entries that answered (a converted copy lays them out anew).
std::string played(const std::string& recording, const std::string& conversation,
                   const ScratchDir& dir) {
  Output run = srplay("run " + recording + " --json < " + conversation, dir);
  EXPECT_EQ(run.exit_code, 0) << run.err;
  std::string calls = std::regex_replace(run.out, std::regex(",\"elapsed_ms\":[0-9.]+"), "");
  calls = std::regex_replace(calls, std::regex("\"line\":[0-9]+"), "\"line\":0");
  return calls;
}

std::string without_heading(const std::string& text) { return text.substr(text.find('\n') + 1); }

class ExampleRoundTrip : public testing::TestWithParam<const char*> {};

TEST_P(ExampleRoundTrip, DumpThenConvertKeepsTablesAndPlayback) {
  ScratchDir dir;
  const std::string original = example(std::string(GetParam()) + ".xml");
  Output dumped = srplay("dump " + original + " -o " + dir.file("text.txt"), dir);
  ASSERT_EQ(dumped.exit_code, 0) << dumped.err;
  Output converted = srplay("convert " + dir.file("text.txt") + " -o " + dir.file("copy.xml"), dir);
  ASSERT_EQ(converted.exit_code, 0) << converted.err;
  EXPECT_EQ(converted.err, "");

  expect_same_tables(tap::load_recording(original), tap::load_recording(dir.file("copy.xml")));

  // The text of the copy is the text of the original: nothing drifts.
  Output again = srplay("dump " + dir.file("copy.xml"), dir);
  EXPECT_EQ(without_heading(again.out), without_heading(read_file(dir.file("text.txt"))));

  const std::string conversation = example(std::string(GetParam()) + ".conv");
  const std::string expected = played(original, conversation, dir);
  EXPECT_NE(expected.find("\"call\":\"close\""), std::string::npos) << expected;
  EXPECT_EQ(played(dir.file("copy.xml"), conversation, dir), expected);
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleRoundTrip,
                         testing::Values("bench-multimeter", "bench-power-supply", "bench-supply-and-dmm",
                                         "function-generator", "lan-oscilloscope", "temperature-controller",
                                         "usb-daq-docommand"),
                         [](const auto& info) {
                           std::string name = info.param;
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

const char* const kEveryFeature = R"TEXT(# every line kind and option
stream gpib 5 sec=3 devprot=1
stream tcpip 0 bracket="192.168.0.40" colon="inst0" status=0

pair "identify"
> *IDN?\n
< ACME,PSU-1\n

> "ABC\n" flags=0x1 ignoreFlags=0 written=3 wait=2 status=7
< "\x01\x02\xFF" stop=1 wait=10
< "dropped" status=-1073807339 stop=0

pair "set voltage" version=1.4
~ '^VOLT(?:AGE)?\s+(\S+)\s*$' ignoreCase timeout=500 <<END
v = "it's"
  PlaybackEngine.StoreValue "volt", v
END

~ ^VOLT\?$
<~ PlaybackEngine.ReadText = "1" & vbLf
<~ <<END timeout=100
PlaybackEngine.ReadText = "done"
END

~ "^a\tb$" script="x = 1\r\ny = 2"

pair version=2.0
> OLD\n

docmd 0x2001 0000 "\x10\x00" name="configure" flags=1 ignoreFlags=0
= status=5 wait=5
docmd 8195
= 01000000 wait=20
= 03000000

value volt "0"
value greeting "Grüße\n"
value raw "\x41\xE9" binary
)TEXT";

const tap::ExactStringStimulus::Fields& exact(const tap::SRPair& p) {
  return dynamic_cast<const tap::ExactStringStimulus&>(*p.stimulus()).fields();
}
const tap::VBScriptStimulus::Fields& scripted(const tap::SRPair& p) {
  return dynamic_cast<const tap::VBScriptStimulus&>(*p.stimulus()).fields();
}

TEST(ConversationText, EveryFeatureLoadsAsWrittenAndSurvivesDump) {
  ScratchDir dir;
  Output converted = srplay("convert " + dir.write("all.txt", kEveryFeature) + " -o " +
                                dir.file("all.xml"), dir);
  ASSERT_EQ(converted.exit_code, 0) << converted.err;
  // The pair above the engine's version is kept, and its line is named.
  EXPECT_NE(converted.err.find("all.txt:27: note: this entry never matches"), std::string::npos)
      << converted.err;

  tap::RecordingLoad load = tap::load_recording(dir.file("all.xml"));
  ASSERT_TRUE(load.result) << load.result.message;
  ASSERT_EQ(load.streams.size(), 2u);
  EXPECT_EQ(load.streams[0].sec + load.streams[0].devprot, "31");
  EXPECT_TRUE(load.streams[0].load.tables.pairs().empty());
  const auto& s = load.streams[1];
  EXPECT_EQ(s.intfaddr + " " + s.bracket + " " + s.colon, "tcpip 192.168.0.40 inst0");
  const auto& pairs = s.load.tables.pairs();
  ASSERT_EQ(pairs.size(), 6u);

  EXPECT_EQ(pairs[0].name(), "identify");
  EXPECT_EQ(pairs[0].version(), 1.5);
  EXPECT_EQ(exact(pairs[0]).bytes, "*IDN?\n");
  EXPECT_EQ(exact(pairs[0]).actualWritten, 6u);
  EXPECT_EQ(pairs[0].responses().at(0).bytes(), "ACME,PSU-1\n");
  EXPECT_EQ(pairs[0].responses()[0].stopReason(), 2);

  const auto& w = exact(pairs[1]);
  EXPECT_EQ(w.bytes, "ABC\n");
  EXPECT_EQ(w.actualWritten, 3u);
  EXPECT_EQ(w.readWriteFlags, 1u);
  EXPECT_FALSE(w.ignoreFlags);
  EXPECT_EQ(w.waitTime, 2);
  EXPECT_EQ(w.returnValue, 7);
  ASSERT_EQ(pairs[1].responses().size(), 2u);
  EXPECT_EQ(pairs[1].responses()[0].bytes(), "\x01\x02\xFF");
  EXPECT_EQ(pairs[1].responses()[0].stopReason(), 1);
  EXPECT_EQ(pairs[1].responses()[0].waitTime(), 10);
  EXPECT_EQ(pairs[1].responses()[1].returnValue(), -1073807339);

  EXPECT_EQ(pairs[2].version(), 1.4);
  EXPECT_TRUE(scripted(pairs[2]).ignoreCase);
  EXPECT_EQ(scripted(pairs[2]).scriptTimeout, 500);
  EXPECT_EQ(scripted(pairs[2]).patternString, R"(^VOLT(?:AGE)?\s+(\S+)\s*$)");
  EXPECT_EQ(scripted(pairs[2]).script,
            "Sub ExecuteWrite(ByVal PlaybackEngine)\nv = \"it's\"\n"
            "  PlaybackEngine.StoreValue \"volt\", v\nEnd Sub");

  EXPECT_EQ(scripted(pairs[3]).patternString, R"(^VOLT\?$)");
  EXPECT_FALSE(scripted(pairs[3]).ignoreCase);
  EXPECT_EQ(scripted(pairs[3]).script, "Sub ExecuteWrite(ByVal PlaybackEngine)\nEnd Sub");
  ASSERT_EQ(pairs[3].responses().size(), 2u);
  EXPECT_EQ(pairs[3].responses()[0].script(),
            "Sub ExecuteRead(ByVal PlaybackEngine)\nPlaybackEngine.ReadText = \"1\" & vbLf\nEnd Sub");
  EXPECT_EQ(pairs[3].responses()[0].scriptTimeout(), -1);
  EXPECT_EQ(pairs[3].responses()[1].scriptTimeout(), 100);

  EXPECT_EQ(scripted(pairs[4]).patternString, "^a\tb$");
  EXPECT_EQ(scripted(pairs[4]).script, "Sub ExecuteWrite(ByVal PlaybackEngine)\nx = 1\r\ny = 2\nEnd Sub");
  EXPECT_TRUE(pairs[5].unusable());

  const auto& docs = s.load.tables.docommands();
  ASSERT_EQ(docs.size(), 2u);
  EXPECT_EQ(docs[0].command, 0x2001u);
  EXPECT_EQ(docs[0].data, std::string("\0\0\x10\0", 4));
  EXPECT_EQ(docs[0].doCmdFlags, 1u);
  EXPECT_FALSE(docs[0].ignoreFlags);
  EXPECT_EQ(docs[0].name, "configure");
  EXPECT_EQ(docs[0].responses.at(0).returnValue, 5);
  ASSERT_EQ(docs[1].responses.size(), 2u);
  EXPECT_EQ(docs[1].responses[1].data, std::string("\x03\0\0\0", 4));

  ASSERT_EQ(load.initial_values.size(), 3u);
  EXPECT_EQ(load.initial_values.at("greeting").bstr().str(), u"Grüße\n");
  EXPECT_EQ(load.initial_values.at("raw").bstr().str(), u"A\u00E9");

  Output dumped = srplay("dump " + dir.file("all.xml") + " -o " + dir.file("again.txt"), dir);
  ASSERT_EQ(dumped.exit_code, 0) << dumped.err;
  Output back = srplay("convert " + dir.file("again.txt") + " -o " + dir.file("again.xml"), dir);
  ASSERT_EQ(back.exit_code, 0) << back.err << read_file(dir.file("again.txt"));
  expect_same_tables(load, tap::load_recording(dir.file("again.xml")));
}

// Entries the driver keeps but never matches, and a stream whose open fails.
const char* const kRefusedEntries = R"XML(<?xml version="1.0"?>
<IORecordStreamFile xmlns="urn:Tarvena/Lantorix/StimulusResponseFile/1.0" version="1.0">
<IORecordStream returnValue="0"><InstrumentAddress intfaddr="gpib" prim="1" sec="-1" devprot="0" bracket="" colon=""/>
<IOStimulusResponse name="typo" version="1.5"><Stimulus stimulusType="ExactString" readWriteFlags="0"/></IOStimulusResponse>
<IOStimulusResponse name="newer" version="2.0"><Stimulus stimulusType="exactString" readWriteFlags="0"/></IOStimulusResponse>
<DoCommand name="newer" doCmdType="exactMatch" version="2" command="1" doCmdFlags="0"><DataStruct/><DoCommandResponse returnValue="0"/></DoCommand>
</IORecordStream>
<IORecordStream returnValue="0"><InstrumentAddress intfaddr="com" prim="2" sec="-1" devprot="0" bracket="" colon=""/>
<DoCommand doCmdType="exactMatch" version="1.5" command="4294967295" doCmdFlags="0"><DataStruct/><DoCommandResponse returnValue="0"/></DoCommand>
</IORecordStream>
</IORecordStreamFile>
)XML";

TEST(ConversationText, DumpKeepsWhatNeverMatchesAsFarAsTheTextCanSayIt) {
  ScratchDir dir;
  Output dumped = srplay("dump " + dir.write("refused.xml", kRefusedEntries), dir);
  ASSERT_EQ(dumped.exit_code, 0) << dumped.err;
  EXPECT_NE(dumped.out.find("# pair \"typo\" (line 4) left out: it never matches: its stimulusType"),
            std::string::npos) << dumped.out;
  EXPECT_NE(dumped.out.find("stream com 2 status=24\n# opening this stream fails"),
            std::string::npos) << dumped.out;
  Output converted = srplay("convert " + dir.write("refused.txt", dumped.out) + " -o " +
                                dir.file("copy.xml"), dir);
  ASSERT_EQ(converted.exit_code, 0) << converted.err;
  tap::RecordingLoad copy = tap::load_recording(dir.file("copy.xml"));
  ASSERT_TRUE(copy.result) << copy.result.message;
  ASSERT_EQ(copy.streams.size(), 2u);
  // The newer pair and DoCommand stay, as unusable as they were; the open still fails.
  const auto& tables = copy.streams[0].load.tables;
  ASSERT_EQ(tables.pairs().size(), 1u);
  EXPECT_TRUE(tables.pairs()[0].unusable());
  EXPECT_EQ(tables.pairs()[0].version(), 2.0);
  ASSERT_EQ(tables.docommands().size(), 1u);
  EXPECT_TRUE(tables.docommands()[0].unusable);
  EXPECT_EQ(copy.streams[1].load.status, 24);
}

struct BadText {
  const char* text;
  int line;
  const char* says;
};

class ConvertError : public testing::TestWithParam<BadText> {};

TEST_P(ConvertError, NamesTheLineAndWritesNothing) {
  ScratchDir dir;
  const BadText& bad = GetParam();
  Output o = srplay("convert " + dir.write("bad.txt", bad.text) + " -o " + dir.file("bad.xml"), dir);
  EXPECT_EQ(o.exit_code, 1);
  const std::string at = "bad.txt:" + std::to_string(bad.line) + ": ";
  EXPECT_NE(o.err.find(at), std::string::npos) << o.err;
  EXPECT_NE(o.err.find(bad.says), std::string::npos) << o.err;
  EXPECT_FALSE(std::filesystem::exists(dir.file("bad.xml")));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.file("")),
                          std::filesystem::directory_iterator()),
            2) << "only the text and the captured stderr remain";
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ConvertError,
    testing::Values(
        BadText{"stream gpib 1\n> AB\\qC\n", 2, "bad escape \"\\q\""},
        BadText{"stream gpib 1\n> \"\\x4\"\n", 2, "\\x takes two hexadecimal digits"},
        BadText{"stream gpib 1\n\n< hello\n", 3, "needs a write (> or ~) before it"},
        BadText{"stream gpib 1\ndocmd 1\n=\n< x\n", 4, "needs a write"},
        BadText{"stream gpib 1\npair \"a\"\n< x\n", 3, "needs a write"},
        BadText{"> x\n", 1, "needs a stream line"},
        BadText{"stream gpib 1\n> \"x\" wait=abc\n", 2, "\"wait=abc\" is not a number"},
        BadText{"stream gpib 1\n< \"x\"\n", 2, "needs a write"},
        BadText{"stream gpib x\n", 1, "\"x\" is not a number"},
        BadText{"stream gpib 1\ndocmd 4294967295\n=\n", 2, "out of range"},
        BadText{"stream gpib 1\n> \"x\" wiat=1\n", 2, "unknown option \"wiat\""},
        BadText{"stream gpib 1\n\n~ x <<END\nfoo\n", 3, "has no END line"},
        BadText{"stream gpib 1\ndocmd 1\n> x\n", 2, "needs at least one answer"},
        BadText{"stream gpib 1\n# a\ndocmd 1 0A0\n=\n", 3, "not hexadecimal byte pairs"}));

}  // namespace
}  // namespace srplay_test
