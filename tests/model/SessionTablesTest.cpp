// First match in file order, a failed match clearing the current pair and
// the shadowed duplicates are checked end to end.
#include "model/SessionTables.h"

#include <gtest/gtest.h>

#include "model/ExactStringStimulus.h"
#include "model/ScriptSession.h"
#include "model/VBScriptStimulus.h"

namespace tap {
namespace {

SRPair pair_for(std::string stimulus, std::int32_t return_value) {
  ExactStringStimulus::Fields f;
  f.bytes = std::move(stimulus);
  f.returnValue = return_value;
  SRPair pair;
  pair.set_stimulus(std::make_unique<ExactStringStimulus>(f));
  return pair;
}

const std::uint8_t* bytes(const std::string& s) {
  return reinterpret_cast<const std::uint8_t*>(s.data());
}

TEST(SessionTablesTest, DoCommandSearchLeavesCurrentPairAlone) {
  SessionTables t;
  t.pairs().push_back(pair_for("A", 1));
  DoCommandSR first, second;
  for (DoCommandSR* e : {&first, &second}) {
    e->command = 5;
    e->unusable = false;
    e->matchKind = 1;
    e->responses.push_back({0, e == &first ? 10 : 20, ""});
  }
  t.docommands().push_back(first);
  t.docommands().push_back(second);
  const std::string a = "A";
  t.FindMatchingPair(nullptr, bytes(a), 1, 0);
  DoCommandSR* e = t.FindMatchingDoCommand(5, 0, 0, nullptr);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e, &t.docommands()[0]);
  EXPECT_EQ(t.current_pair_index(), 0);
  EXPECT_EQ(t.FindMatchingDoCommand(6, 0, 0, nullptr), nullptr);
}

// Answers a scripted stimulus's match by its pattern text and records the
// order in which patterns were asked.
class PatternSession : public ScriptSession {
 public:
  bool MatchRegExp(std::string_view, std::string_view pattern, bool) override {
    asked.emplace_back(pattern);
    return pattern.find("yes") != std::string_view::npos;
  }
  WriteResults RunWriteScript(const std::string&, std::int32_t, std::uint32_t, std::int32_t,
                              std::string_view) override {
    return {};
  }
  std::vector<std::string> asked;
};

SRPair scripted(std::string pattern) {
  VBScriptStimulus::Fields f;
  f.patternString = std::move(pattern);
  SRPair pair;
  pair.set_stimulus(std::make_unique<VBScriptStimulus>(f));
  return pair;
}

SRPair exact(std::string bytes, std::uint32_t flags, bool ignore_flags) {
  ExactStringStimulus::Fields f;
  f.bytes = std::move(bytes);
  f.readWriteFlags = flags;
  f.ignoreFlags = ignore_flags;
  SRPair pair;
  pair.set_stimulus(std::make_unique<ExactStringStimulus>(f));
  return pair;
}

// The first pair in file order wins, whatever the mix of stimuli before it.
TEST(SessionTablesTest, ScriptedStimuliBeforeTheExactMatchAreAskedInFileOrder) {
  struct Case {
    const char* name;
    std::vector<std::string> layout;  // "x:BYTES:FLAGS" exact, "u:BYTES" unusable exact, "s:PATTERN" scripted
    std::uint32_t flags;
    std::int32_t winner;
    std::vector<std::string> asked;
  };
  const Case cases[] = {
      {"exact refused by flags, scripted before the next exact wins",
       {"x:A:1", "s:yes1", "x:A:*", "s:yes2"}, 0, 1, {"yes1"}},
      {"scripted that does not match, then the exact",
       {"x:A:1", "s:no1", "x:A:*", "s:yes2"}, 0, 2, {"no1"}},
      {"exact first: later scripted never asked", {"x:A:0", "s:yes1"}, 0, 0, {}},
      {"unusable exact skipped", {"u:A", "x:A:0"}, 0, 1, {}},
      {"no exact with those bytes: every scripted asked", {"x:B:0", "s:no1", "s:no2"}, 0, -1, {"no1", "no2"}},
  };
  const std::string a = "A";
  for (const Case& c : cases) {
    SessionTables t;
    for (const std::string& entry : c.layout) {
      std::string bytes = entry.substr(2, entry.find(':', 2) - 2);
      if (entry[0] == 's') {
        t.pairs().push_back(scripted(entry.substr(2)));
      } else if (entry[0] == 'u') {
        t.pairs().push_back(exact(bytes, 0, true));
        t.pairs().back().set_unusable(true);
      } else {
        std::string flags = entry.substr(entry.rfind(':') + 1);
        t.pairs().push_back(exact(bytes, flags == "*" ? 0 : std::stoul(flags), flags == "*"));
      }
    }
    PatternSession session;
    t.FindMatchingPair(&session, bytes(a), 1, c.flags);
    EXPECT_EQ(t.current_pair_index(), c.winner) << c.name;
    EXPECT_EQ(session.asked, c.asked) << c.name;
  }
}

TEST(SessionTablesTest, PairsAddedAfterASearchAreFound) {
  SessionTables t;
  t.pairs().push_back(pair_for("A", 1));
  const std::string b = "B";
  EXPECT_EQ(t.FindMatchingPair(nullptr, bytes(b), 1, 0), nullptr);
  t.pairs().push_back(pair_for("B", 2));
  EXPECT_NE(t.FindMatchingPair(nullptr, bytes(b), 1, 0), nullptr);
  EXPECT_EQ(t.current_pair_index(), 1);
}

}  // namespace
}  // namespace tap
