#pragma once
// One match of a RegExp search (IMatch2): Value (default), FirstIndex,
// Length, SubMatches. Read-only; it keeps the searched text alive.
#include <memory>
#include <string>

#include "platform/com/DispatchTable.h"
#include "platform/regex/RegexMatch.h"

namespace tap::vbs {

// A match and the text it was found in, shared by the match and its
// SubMatches collection.
struct RegExpMatchData {
  std::shared_ptr<const std::u16string> subject;
  regex::RegexMatch match;

  std::u16string value() const { return std::u16string(match.value(*subject)); }
};

class RegExpMatch final : public com::DispatchObject<RegExpMatch> {
 public:
  explicit RegExpMatch(std::shared_ptr<const RegExpMatchData> data) : data_(std::move(data)) {}
  static const com::DispatchTable<RegExpMatch>& dispatch_table();

  const RegExpMatchData& data() const { return *data_; }

 private:
  com::HRESULT get_value(com::DispatchCall& call);
  com::HRESULT get_first_index(com::DispatchCall& call);
  com::HRESULT get_length(com::DispatchCall& call);
  com::HRESULT get_sub_matches(com::DispatchCall& call);

  std::shared_ptr<const RegExpMatchData> data_;
};

}  // namespace tap::vbs
