#pragma once
// The result of RegExp.Execute (IMatchCollection2): Item (default,
// 0-based), Count and For Each over Match objects.
#include <vector>

#include "platform/com/DispatchTable.h"
#include "platform/com/MemoryMeter.h"
#include "vbscript/objects/RegExpMatch.h"

namespace tap::vbs {

class RegExpMatches final : public com::DispatchObject<RegExpMatches> {
 public:
  // `charge` stands for the memory the matches take while they live.
  explicit RegExpMatches(std::vector<com::Ref<RegExpMatch>> matches, com::MeterCharge charge = {})
      : matches_(std::move(matches)), charge_(std::move(charge)) {}
  static const com::DispatchTable<RegExpMatches>& dispatch_table();

  const std::vector<com::Ref<RegExpMatch>>& matches() const { return matches_; }

 private:
  com::HRESULT get_item(com::DispatchCall& call);
  com::HRESULT get_count(com::DispatchCall& call);
  com::HRESULT new_enum(com::DispatchCall& call);

  std::vector<com::Ref<RegExpMatch>> matches_;
  com::MeterCharge charge_;
};

}  // namespace tap::vbs
