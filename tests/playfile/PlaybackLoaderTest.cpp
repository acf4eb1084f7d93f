// What the loader builds from a file, checked on the tables themselves.
#include "playfile/PlaybackLoader.h"

#include <gtest/gtest.h>

#include "playfile/test_region.h"
#include "model/ExactStringStimulus.h"
#include "model/SessionTables.h"
#include "model/VBScriptStimulus.h"
#include "playfile/RecordingText.h"
#include "scripting/PlaybackServerData.h"

namespace tap {
namespace {

namespace rec = recording;

class PlaybackLoaderTest : public testing::Test {
 protected:
  static host::ProcessRegion& region() { return testing_region::region(); }
  LoadOutcome load(const std::string& stream_body, const std::string& after_streams = "") {
    rec::TempFile file(rec::file(rec::stream(rec::address("gpib", "22"), stream_body) + after_streams));
    region().set_playback_path(file.path());
    region().set_interface("gpib", "instr");
    region().set_next_stream_index(0);
    SessionAddress address;
    address.primary = 22;
    address.secondary = 0xFFFFFFFF;
    return load_playback_file(address, tables_, [this]() -> PlaybackServerData& { return data_; });
  }
  SessionTables tables_;
  PlaybackServerData data_;
};

TEST_F(PlaybackLoaderTest, PairsKeepFileOrderAndUnusableOnesStayInTheList) {
  std::string body =
      rec::pair("A", {rec::response("1")}) +
      rec::pair("B", {rec::response("2")}, 0, "1.6") +
      rec::pair("C", {rec::response("3")}, 0, "1.5",
                "actualWritten=\"1\" readWriteFlags=\"0\"") +  // no returnValue
      rec::docommand("1", "", {rec::docommand_response("")}) +
      rec::pair("D", {rec::response("4", 0, 2, 5)}) +
      "<IOStimulusResponse version=\"1.5\"><Stimulus stimulusType=\"ExactString\" "
      "readWriteFlags=\"0\"/></IOStimulusResponse>";
  ASSERT_EQ(load(body).status, 0);
  const auto& pairs = tables_.pairs();
  ASSERT_EQ(pairs.size(), 5u);
  const bool unusable[] = {false, true, true, false, true};
  for (std::size_t i = 0; i < pairs.size(); ++i) EXPECT_EQ(pairs[i].unusable(), unusable[i]) << i;
  EXPECT_DOUBLE_EQ(pairs[1].version(), 1.6);
  // The refused stimulus keeps what was read before the fault: nothing.
  EXPECT_EQ(pairs[4].stimulus(), nullptr);
  // A failed read carries no bytes, whatever the file says.
  EXPECT_TRUE(pairs[3].responses()[0].bytes().empty());
  EXPECT_EQ(pairs[3].responses()[0].returnValue(), 5);
  EXPECT_EQ(tables_.docommands().size(), 1u);
}

TEST_F(PlaybackLoaderTest, ScriptedStimuliAndResponsesAreBuiltAsData) {
  std::string body =
      "<IOStimulusResponse version=\"1.5\" name=\"scripted\">"
      "<Stimulus stimulusType=\"vbscript\" readWriteFlags=\"3\" ignoreFlags=\"0\" ignoreCase=\"1\" "
      "scriptTimeout=\"500\" patternString=\"MEAS:(\\w+)\\?\" "
      "scriptString=\"PlaybackEngine.WriteReturnValue = 0\"/>"
      "<Response responseType=\"vbscript\" returnValue=\"0\" stopReason=\"0\"><ExactString>" +
      rec::hex("PlaybackEngine.ReadText = \"1\"") +
      "</ExactString></Response></IOStimulusResponse>"
      "<IOStimulusResponse version=\"1.5\"><Stimulus stimulusType=\"vbscript\" readWriteFlags=\"0\"/>"
      "</IOStimulusResponse>";
  ASSERT_EQ(load(body).status, 0);
  const auto& pairs = tables_.pairs();
  ASSERT_EQ(pairs.size(), 2u);
  auto* s = dynamic_cast<const VBScriptStimulus*>(pairs[0].stimulus());
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->fields().script,
            "Sub ExecuteWrite(ByVal PlaybackEngine)\nPlaybackEngine.WriteReturnValue = 0\nEnd Sub");
  EXPECT_EQ(s->fields().patternString, "MEAS:(\\w+)\\?");
  EXPECT_EQ(s->fields().readWriteFlags, 3u);
  EXPECT_FALSE(s->fields().ignoreFlags);
  EXPECT_TRUE(s->fields().ignoreCase);
  EXPECT_EQ(s->fields().scriptTimeout, 500);
  const SRPair::Response& r = pairs[0].responses()[0];
  EXPECT_EQ(r.responseKind(), SRPair::Response::kScriptPending);
  EXPECT_EQ(r.script(), "Sub ExecuteRead(ByVal PlaybackEngine)\nPlaybackEngine.ReadText = \"1\"\nEnd Sub");
  EXPECT_EQ(r.scriptTimeout(), -1);
  auto* bare = dynamic_cast<const VBScriptStimulus*>(pairs[1].stimulus());
  ASSERT_NE(bare, nullptr);
  EXPECT_EQ(bare->fields().script, "Sub ExecuteWrite(ByVal PlaybackEngine)\nEnd Sub");
  EXPECT_EQ(bare->fields().patternString, "");
  EXPECT_TRUE(bare->fields().ignoreFlags);
  EXPECT_EQ(bare->fields().scriptTimeout, -1);
}

TEST_F(PlaybackLoaderTest, DoCommandEntriesAndTheirResponses) {
  std::string body =
      rec::docommand("7", "AB", {rec::docommand_response("xy", 300), rec::docommand_response("z", 0, 0, false)},
                     "ignoreFlags=\"0\"") +
      rec::docommand("8", "", {rec::docommand_response("")}, "", "2") +
      rec::docommand("9", "", {rec::docommand_response("")}, "", "1.5", "exactmatch");
  ASSERT_EQ(load(body).status, 0);
  const auto& e = tables_.docommands();
  ASSERT_EQ(e.size(), 3u);
  EXPECT_FALSE(e[0].unusable);
  EXPECT_EQ(e[0].command, 7u);
  EXPECT_EQ(e[0].data, "AB");
  EXPECT_FALSE(e[0].ignoreFlags);
  ASSERT_EQ(e[0].responses.size(), 2u);
  EXPECT_EQ(e[0].responses[0].waitTime, 300);
  EXPECT_EQ(e[0].responses[1].data, "z");
  EXPECT_TRUE(e[1].unusable);
  EXPECT_EQ(e[1].command, 0xFFFFFFFFu);
  EXPECT_TRUE(e[2].unusable);
  EXPECT_EQ(e[2].doCmdType, "exactmatch");
}

TEST_F(PlaybackLoaderTest, ValueStoreSeedFirstKeyWinsAndBinaryIsAnsiText) {
  std::string init =
      "<ArrayInitValues>"
      "<ArrayPair arrayKey=\"range\"><StringArrayValue>10</StringArrayValue></ArrayPair>"
      "<ArrayPair arrayKey=\"range\"><StringArrayValue>100</StringArrayValue></ArrayPair>"
      "<ArrayPair arrayKey=\"bin\"><BinaryArrayValue>616263E9</BinaryArrayValue></ArrayPair>"
      "</ArrayInitValues>";
  ASSERT_EQ(load(rec::pair("A", {}), init).status, 0);
  ASSERT_EQ(data_.current_values.size(), 2u);
  EXPECT_EQ(data_.current_values.at("range").bstr().str(), u"10");
  EXPECT_EQ(data_.current_values.at("bin").bstr().str(), u"abc\u00e9");
  EXPECT_EQ(data_.default_values.at("range").bstr().str(), u"10");
}

TEST_F(PlaybackLoaderTest, NoMatchingStreamSeedsNothing) {
  std::string init =
      "<ArrayInitValues><ArrayPair arrayKey=\"k\"><StringArrayValue>v</StringArrayValue>"
      "</ArrayPair></ArrayInitValues>";
  rec::TempFile file(rec::file(rec::stream(rec::address("gpib", "5"), "") + init));
  region().set_playback_path(file.path());
  SessionAddress address;
  address.primary = 22;
  LoadOutcome outcome = load_playback_file(address, tables_, [this]() -> PlaybackServerData& { return data_; });
  EXPECT_TRUE(outcome.no_matching_stream);
  EXPECT_TRUE(data_.current_values.empty());
}

}  // namespace
}  // namespace tap
