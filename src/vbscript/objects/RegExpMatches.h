#pragma once
// The result of RegExp.Execute (IMatchCollection2): Item (default,
// 0-based), Count and For Each over Match objects.
#include <vector>

#include "platform/com/DispatchTable.h"
#include "vbscript/objects/RegExpMatch.h"

namespace tap::vbs {

class RegExpMatches final : public com::DispatchObject<RegExpMatches> {
 public:
  explicit RegExpMatches(std::vector<com::Ref<RegExpMatch>> matches) : matches_(std::move(matches)) {}
  static const com::DispatchTable<RegExpMatches>& dispatch_table();

  const std::vector<com::Ref<RegExpMatch>>& matches() const { return matches_; }

 private:
  com::HRESULT get_item(com::DispatchCall& call);
  com::HRESULT get_count(com::DispatchCall& call);
  com::HRESULT new_enum(com::DispatchCall& call);

  std::vector<com::Ref<RegExpMatch>> matches_;
};

}  // namespace tap::vbs
