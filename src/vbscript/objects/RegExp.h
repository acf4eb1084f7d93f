#pragma once
// VBScript's `New RegExp` (IRegExp2): Pattern, IgnoreCase, Global,
// Multiline, Test, Execute and Replace. The pattern is compiled (through
// the shared cache) when it is used, so an invalid one raises 5017 "Syntax
// error in regular expression" from Test, Execute or Replace, not from the
// assignment. A search that exceeds the engine's limits raises 28 "Out of
// stack space", where the original would have run out of stack or hung.
#include <string>
#include <vector>

#include "platform/com/DispatchTable.h"
#include "platform/regex/Regex.h"

namespace tap::vbs {

class RegExp final : public com::DispatchObject<RegExp> {
 public:
  static const com::DispatchTable<RegExp>& dispatch_table();

 private:
  com::HRESULT get_pattern(com::DispatchCall& call);
  com::HRESULT put_pattern(com::DispatchCall& call);
  com::HRESULT get_ignore_case(com::DispatchCall& call);
  com::HRESULT put_ignore_case(com::DispatchCall& call);
  com::HRESULT get_global(com::DispatchCall& call);
  com::HRESULT put_global(com::DispatchCall& call);
  com::HRESULT get_multiline(com::DispatchCall& call);
  com::HRESULT put_multiline(com::DispatchCall& call);
  com::HRESULT test(com::DispatchCall& call);
  com::HRESULT execute(com::DispatchCall& call);
  com::HRESULT replace(com::DispatchCall& call);

  // The matches of text under the current switches; raises on failure.
  com::HRESULT search(com::DispatchCall& call, const std::u16string& text, std::vector<regex::RegexMatch>& out,
                      bool first_only);
  // Calls a replacement function with (match, groups..., index, text).
  com::HRESULT call_replacement(com::DispatchCall& call, com::IDispatch& fn, std::u16string_view text,
                                const regex::RegexMatch& m, std::u16string& out);

  std::u16string pattern_;
  regex::RegexOptions options_;
};

}  // namespace tap::vbs
