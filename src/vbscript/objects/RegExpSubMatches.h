#pragma once
// The capture groups of one match (ISubMatches): Item (default, 0-based),
// Count and For Each. A group that took no part in the match is Empty.
#include <memory>

#include "platform/com/DispatchTable.h"
#include "vbscript/objects/RegExpMatch.h"

namespace tap::vbs {

class RegExpSubMatches final : public com::DispatchObject<RegExpSubMatches> {
 public:
  explicit RegExpSubMatches(std::shared_ptr<const RegExpMatchData> data) : data_(std::move(data)) {}
  static const com::DispatchTable<RegExpSubMatches>& dispatch_table();

  std::size_t count() const { return data_->match.groups.size(); }
  com::Variant item(std::size_t i) const;

 private:
  com::HRESULT get_item(com::DispatchCall& call);
  com::HRESULT get_count(com::DispatchCall& call);
  com::HRESULT new_enum(com::DispatchCall& call);

  std::shared_ptr<const RegExpMatchData> data_;
};

}  // namespace tap::vbs
