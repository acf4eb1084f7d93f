#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/com/DispatchTable.h"
#include "platform/com/ISupportErrorInfo.h"

namespace tap {

// The capture groups of a regular-expression match as a script reads them
// (_IStringCollection): Count, Item(1..Count) as the default member, and
// For Each.
class StringCollection : public com::DispatchObject<StringCollection>, public com::ISupportErrorInfo {
 public:
  static const com::DispatchTable<StringCollection>& dispatch_table();

  // One string item per entry, each converted from ANSI up to its first
  // zero byte.
  void Fill(const std::vector<std::string>& entries);

  com::HRESULT InterfaceSupportsErrorInfo(const com::Guid& iid) override;

 private:
  com::HRESULT get_count(com::DispatchCall& call);
  com::HRESULT get_item(com::DispatchCall& call);
  com::HRESULT new_enum(com::DispatchCall& call);

  std::vector<com::Variant> items_;
};

}  // namespace tap
