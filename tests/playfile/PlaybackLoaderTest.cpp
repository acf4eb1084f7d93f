// What the loader builds from a file, checked on the tables themselves.
// The fields the conversation-text tests read back from every kind of
// entry, and the seeds the driver tests read through scripts, are not
// repeated here.
#include "playfile/PlaybackLoader.h"

#include <gtest/gtest.h>

#include "playfile/test_region.h"
#include "model/ExactStringStimulus.h"
#include "model/SessionTables.h"
#include "model/VBScriptStimulus.h"
#include "playfile/RecordingText.h"

namespace tap {
namespace {

namespace rec = recording;

class PlaybackLoaderTest : public testing::Test {
 protected:
  static host::ProcessRegion& region() { return testing_region::region(); }
  LoadResult& load(const std::string& stream_body, const std::string& after_streams = "") {
    rec::TempFile file(rec::file(rec::stream(rec::address("gpib", "22"), stream_body) + after_streams));
    region().set_playback_path(file.path());
    region().set_interface("gpib", "instr");
    region().set_next_stream_index(0);
    SessionAddress address;
    address.primary = 22;
    address.secondary = 0xFFFFFFFF;
    result_ = load_playback_file(address);
    return result_;
  }
  const SessionTables& tables() const { return result_.tables; }
  LoadResult result_;
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
  const auto& pairs = tables().pairs();
  ASSERT_EQ(pairs.size(), 5u);
  const bool unusable[] = {false, true, true, false, true};
  for (std::size_t i = 0; i < pairs.size(); ++i) EXPECT_EQ(pairs[i].unusable(), unusable[i]) << i;
  EXPECT_DOUBLE_EQ(pairs[1].version(), 1.6);
  // The refused stimulus keeps what was read before the fault: nothing.
  EXPECT_EQ(pairs[4].stimulus(), nullptr);
  // A failed read carries no bytes, whatever the file says.
  EXPECT_TRUE(pairs[3].responses()[0].bytes().empty());
  EXPECT_EQ(pairs[3].responses()[0].returnValue(), 5);
  EXPECT_EQ(tables().docommands().size(), 1u);
  // Each unusable pair says which element broke which rule, and where.
  ASSERT_EQ(result_.refusals.size(), 3u);
  const struct {
    const char* element;
    const char* rule;
  } expected[] = {
      {"IOStimulusResponse", "its version 1.6 is newer than 1.5"},
      {"Stimulus", "its returnValue is missing or not a 32-bit integer"},
      {"Stimulus", "its stimulusType \"ExactString\" is neither \"exactString\" nor \"vbscript\" (the case counts)"},
  };
  for (std::size_t i = 0; i < 3; ++i) {
    const Refusal& r = result_.refusals[i];
    EXPECT_EQ(r.effect, Refusal::Effect::never_matches);
    EXPECT_EQ(r.entry, "IOStimulusResponse");
    EXPECT_EQ(r.element, expected[i].element) << i;
    EXPECT_EQ(r.rule, expected[i].rule) << i;
    EXPECT_GT(r.line, 0);
    EXPECT_GE(r.line, r.entry_line);
  }
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
  const auto& pairs = tables().pairs();
  ASSERT_EQ(pairs.size(), 2u);
  auto* s = dynamic_cast<const VBScriptStimulus*>(pairs[0].stimulus());
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->fields().readWriteFlags, 3u);
  EXPECT_FALSE(s->fields().ignoreFlags);
  EXPECT_EQ(pairs[0].responses()[0].responseKind(), SRPair::Response::kScriptPending);
  auto* bare = dynamic_cast<const VBScriptStimulus*>(pairs[1].stimulus());
  ASSERT_NE(bare, nullptr);
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
  const auto& e = tables().docommands();
  ASSERT_EQ(e.size(), 3u);
  EXPECT_FALSE(e[0].unusable);
  ASSERT_EQ(e[0].responses.size(), 2u);
  EXPECT_EQ(e[0].responses[1].data, "z");
  EXPECT_TRUE(e[1].unusable);
  EXPECT_EQ(e[1].command, 0xFFFFFFFFu);
  EXPECT_TRUE(e[2].unusable);
  EXPECT_EQ(e[2].doCmdType, "exactmatch");
  ASSERT_EQ(result_.refusals.size(), 2u);
  EXPECT_EQ(result_.refusals[0].rule, "its version 2 is newer than 1.5");
  EXPECT_EQ(result_.refusals[1].rule, "its doCmdType \"exactmatch\" is not \"exactMatch\" (the case counts)");
}

TEST_F(PlaybackLoaderTest, UnconvertibleDoCommandValueFailsTheOpenWithItsReason) {
  LoadResult& r = load(rec::docommand("4294967295", "", {rec::docommand_response("")}));
  EXPECT_EQ(r.status, VARNEL_BAD_PLAYBACK_FILE);
  ASSERT_EQ(r.refusals.size(), 1u);
  EXPECT_EQ(r.refusals[0].effect, Refusal::Effect::open_fails);
  EXPECT_EQ(r.refusals[0].element, "DoCommand");
  EXPECT_NE(r.refusals[0].rule.find("its command is missing or not a 32-bit integer"), std::string::npos);
}

TEST_F(PlaybackLoaderTest, SeededTextsPassThroughTheCodePage) {
  std::string init =
      "<ArrayInitValues><ArrayPair arrayKey=\"unit\"><StringArrayValue>\u00e9\u03a9</StringArrayValue>"
      "</ArrayPair></ArrayInitValues>";
  ASSERT_EQ(load(rec::pair("A", {}), init).status, 0);
  EXPECT_EQ(result_.initial_values.at("unit").bstr().str(), u"\u00e9?");
}

TEST_F(PlaybackLoaderTest, NoMatchingStreamSeedsNothing) {
  std::string init =
      "<ArrayInitValues><ArrayPair arrayKey=\"k\"><StringArrayValue>v</StringArrayValue>"
      "</ArrayPair></ArrayInitValues>";
  rec::TempFile file(rec::file(rec::stream(rec::address("gpib", "5"), "") + init));
  region().set_playback_path(file.path());
  SessionAddress address;
  address.primary = 22;
  LoadResult outcome = load_playback_file(address);
  EXPECT_TRUE(outcome.no_matching_stream);
  EXPECT_TRUE(outcome.initial_values.empty());
}

}  // namespace
}  // namespace tap
