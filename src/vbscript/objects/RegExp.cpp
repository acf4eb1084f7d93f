#include "vbscript/objects/RegExp.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/com/conversions.h"
#include "platform/regex/RegexCache.h"
#include "vbscript/objects/RegExpMatches.h"
#include "vbscript/objects/RegExpReplacement.h"
#include "vbscript/vm/RunLimits.h"
#include "vbscript/vm/calls.h"

namespace tap::vbs {

namespace {

// What one match of Execute costs: the Match object, its data and the
// search's record of it.
constexpr std::size_t bytes_per_match = 256;

}  // namespace

using com::DispatchCall;
using com::HRESULT;
using com::Variant;

const com::DispatchTable<RegExp>& RegExp::dispatch_table() {
  using namespace com;
  constexpr InvokeFlags get = DISPATCH_PROPERTYGET | DISPATCH_METHOD;
  static const DispatchTable<RegExp> table(u"IRegExp2", {
      {u"Pattern", 10001, get, &RegExp::get_pattern},
      {u"Pattern", 10001, DISPATCH_PROPERTYPUT, &RegExp::put_pattern, {VT_BSTR}},
      {u"IgnoreCase", 10002, get, &RegExp::get_ignore_case},
      {u"IgnoreCase", 10002, DISPATCH_PROPERTYPUT, &RegExp::put_ignore_case, {VT_BOOL}},
      {u"Global", 10003, get, &RegExp::get_global},
      {u"Global", 10003, DISPATCH_PROPERTYPUT, &RegExp::put_global, {VT_BOOL}},
      {u"Execute", 10004, DISPATCH_METHOD, &RegExp::execute, {VT_BSTR}},
      {u"Test", 10005, DISPATCH_METHOD, &RegExp::test, {VT_BSTR}},
      {u"Replace", 10006, DISPATCH_METHOD, &RegExp::replace, {VT_BSTR, VT_VARIANT}},
      {u"Multiline", 10007, get, &RegExp::get_multiline},
      {u"Multiline", 10007, DISPATCH_PROPERTYPUT, &RegExp::put_multiline, {VT_BOOL}},
  });
  return table;
}

HRESULT RegExp::get_pattern(DispatchCall& call) {
  call.result = Variant(pattern_);
  return com::S_OK;
}

HRESULT RegExp::put_pattern(DispatchCall& call) {
  pattern_ = call.args[0].bstr().str();
  return com::S_OK;
}

HRESULT RegExp::get_ignore_case(DispatchCall& call) {
  call.result = Variant(options_.ignore_case);
  return com::S_OK;
}

HRESULT RegExp::put_ignore_case(DispatchCall& call) {
  options_.ignore_case = call.args[0].boolean();
  return com::S_OK;
}

HRESULT RegExp::get_global(DispatchCall& call) {
  call.result = Variant(options_.global);
  return com::S_OK;
}

HRESULT RegExp::put_global(DispatchCall& call) {
  options_.global = call.args[0].boolean();
  return com::S_OK;
}

HRESULT RegExp::get_multiline(DispatchCall& call) {
  call.result = Variant(options_.multiline);
  return com::S_OK;
}

HRESULT RegExp::put_multiline(DispatchCall& call) {
  options_.multiline = call.args[0].boolean();
  return com::S_OK;
}

HRESULT RegExp::search(DispatchCall& call, const std::u16string& text, std::vector<regex::RegexMatch>& out,
                       bool first_only) {
  regex::RegexOptions options = options_;
  if (first_only) options.global = false;
  const regex::CompileResult compiled = regex::RegexCache::shared().get(pattern_, options);
  if (!compiled) return call.raise(com::control_error(5017), u"Syntax error in regular expression");
  // Within a run that has a time-out, a search may take what is left of
  // it: a long text with many matches is legitimate work, and the
  // time-out is the user's bound. The layer's own time limit stays for
  // runs without one.
  regex::RegexLimits limits;
  RunLimits* run = RunLimits::active();
  const std::int64_t left = run ? run->remaining_ms() : -1;
  // The layer reads a coarse clock (a few ms a tick): the margin keeps it
  // from calling time before the run's own deadline.
  constexpr std::int64_t coarse_clock_margin_ms = 10;
  if (left >= 0) limits.time_limit = std::chrono::milliseconds(left + coarse_clock_margin_ms);
  const regex::RegexStatus status = compiled.regex->search_all(text, out, limits);
  if (status == regex::RegexStatus::time_limit && left >= 0) run->time_out();
  if (status != regex::RegexStatus::ok) return call.raise(com::control_error(28), u"Out of stack space");
  return com::S_OK;
}

HRESULT RegExp::test(DispatchCall& call) {
  const std::u16string& text = call.args[0].bstr().str();
  std::vector<regex::RegexMatch> found;
  if (HRESULT hr = search(call, text, found, true); com::failed(hr)) return hr;
  call.result = Variant(!found.empty());
  return com::S_OK;
}

HRESULT RegExp::execute(DispatchCall& call) {
  auto text = std::make_shared<const std::u16string>(call.args[0].bstr().str());
  std::vector<regex::RegexMatch> found;
  if (HRESULT hr = search(call, *text, found, false); com::failed(hr)) return hr;
  // A long subject can give millions of matches, each an object or two.
  com::MeterCharge charge(text->capacity() * sizeof(char16_t) + found.size() * bytes_per_match);
  std::vector<com::Ref<RegExpMatch>> matches;
  matches.reserve(found.size());
  for (regex::RegexMatch& m : found) {
    RunLimits::poll(1);
    matches.push_back(com::make_ref<RegExpMatch>(std::make_shared<const RegExpMatchData>(RegExpMatchData{text, std::move(m)})));
  }
  call.result = Variant(com::Ref<com::IDispatch>(new RegExpMatches(std::move(matches), std::move(charge))));
  return com::S_OK;
}

HRESULT RegExp::call_replacement(DispatchCall& call, com::IDispatch& fn, std::u16string_view text,
                                 const regex::RegexMatch& m, std::u16string& out) {
  std::vector<Variant> args;
  args.reserve(m.groups.size() + 3);
  args.emplace_back(std::u16string(m.value(text)));
  for (const regex::RegexSpan& g : m.groups)
    args.push_back(g.matched ? Variant(std::u16string(g.in(text))) : Variant());
  args.emplace_back(static_cast<std::int32_t>(m.index));
  args.emplace_back(std::u16string(text));
  Variant result;
  if (HRESULT hr = fn.Invoke(com::DISPID_VALUE, com::DISPATCH_METHOD, args, &result, call.excep); com::failed(hr))
    return hr;
  if (result.is_empty()) return com::S_OK;
  com::BStr piece;
  if (HRESULT hr = com::to_bstr(result, &piece); com::failed(hr)) return hr;
  out += piece.view();
  return com::S_OK;
}

// Replace(text, replacement): the replacement is a template, or (as with
// GetRef) a function whose result replaces each match.
HRESULT RegExp::replace(DispatchCall& call) {
  const std::u16string& text = call.args[0].bstr().str();
  const Variant& with = call.args[1].deref();
  com::Ref<com::IDispatch> fn;
  com::BStr replacement;
  if (with.vt() == com::VT_DISPATCH && with.dispatch()) {
    fn = with.dispatch();
  } else if (HRESULT hr = com::to_bstr(with, &replacement); com::failed(hr)) {
    return hr;
  }
  std::vector<regex::RegexMatch> found;
  if (HRESULT hr = search(call, text, found, false); com::failed(hr)) return hr;
  std::u16string out;
  com::MeterCharge held;
  std::size_t copied = 0;
  for (const regex::RegexMatch& m : found) {
    out.append(text, copied, m.index - copied);
    if (fn) {
      if (HRESULT hr = call_replacement(call, *fn, text, m, out); com::failed(hr)) return hr;
    } else {
      expand_replacement(replacement.view(), text, m, out);
    }
    // "$'" and "$`" copy the rest of the subject each time: the result can
    // grow with the square of the subject.
    if (out.size() > max_string_length) return call.raise(com::control_error(7), u"Out of memory");
    RunLimits::poll(1 + (m.index - copied) / 64);
    if (out.capacity() * sizeof(char16_t) > held.bytes()) held.resize(out.capacity() * sizeof(char16_t));
    copied = m.end();
  }
  out.append(text, copied);
  held.clear();  // charged as the result from here on
  call.result = Variant(std::move(out));
  return com::S_OK;
}

}  // namespace tap::vbs
