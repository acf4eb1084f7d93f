#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "model/SessionTables.h"
#include "platform/com/Variant.h"
#include "taplayback/varnel.h"

namespace tap {

// Why part of a recording will not play as written, or why an open fails:
// the rule, and the element that broke it. The driver acts on the status
// alone; tools show these to the user.
struct Refusal {
  enum class Effect {
    never_matches,  // the pair or DoCommand entry stays in its list but never answers
    reads_fail,     // the response answers every read with 128
    open_fails,     // the open returns the load's status
  };
  Effect effect = Effect::never_matches;
  std::string entry;        // the entry it concerns: "IOStimulusResponse", "DoCommand", ...
  std::string entry_name;   // that entry's name attribute, if any
  std::int32_t entry_line = 0;
  std::string element;      // the element whose rule was broken
  std::int32_t line = 0;
  std::string rule;         // in a user's words
};

// The value store's initial values: keys are ANSI bytes compared as
// unsigned, so case counts; the first pair of a key in the file wins.
using InitialValues = std::map<std::string, com::Variant>;

// Where a stream and its entries stand in the file, in table order, so
// that diagnostics can point at the element that answered.
struct EntryLines {
  std::int32_t stream = 0;
  std::vector<std::int32_t> pairs;
  std::vector<std::int32_t> docommands;
};

// What one load gives the session, by value.
struct LoadResult {
  std::int32_t status = VARNEL_BAD_PLAYBACK_FILE;
  // No stream has the session's address: the session asks the default
  // handler's open for the status.
  bool no_matching_stream = false;
  SessionTables tables;
  InitialValues initial_values;
  std::vector<Refusal> refusals;
  EntryLines lines;
};

}  // namespace tap
