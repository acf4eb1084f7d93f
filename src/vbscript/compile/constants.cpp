#include "vbscript/compile/constants.h"

#include <string>
#include <unordered_map>

namespace tap::vbs {

namespace {

using com::Variant;

// X(name, value): the numeric constants. They are Integer, as on Windows,
// except the colours, vbObjectError and the MsgBox options from
// vbMsgBoxHelpButton on, which are Long there.
#define TAP_VBS_INTEGER_CONSTANTS(X)                                                         \
  X(vbempty, 0) X(vbnull, 1) X(vbinteger, 2) X(vblong, 3) X(vbsingle, 4) X(vbdouble, 5)      \
  X(vbcurrency, 6) X(vbdate, 7) X(vbstring, 8) X(vbobject, 9) X(vberror, 10) X(vbboolean, 11) \
  X(vbvariant, 12) X(vbdataobject, 13) X(vbdecimal, 14) X(vbbyte, 17) X(vbarray, 8192)        \
  X(vbokonly, 0) X(vbokcancel, 1) X(vbabortretryignore, 2) X(vbyesnocancel, 3) X(vbyesno, 4)  \
  X(vbretrycancel, 5) X(vbcritical, 16) X(vbquestion, 32) X(vbexclamation, 48)                \
  X(vbinformation, 64) X(vbdefaultbutton1, 0) X(vbdefaultbutton2, 256)                        \
  X(vbdefaultbutton3, 512) X(vbdefaultbutton4, 768) X(vbapplicationmodal, 0)                  \
  X(vbsystemmodal, 4096) X(vbok, 1) X(vbcancel, 2) X(vbabort, 3) X(vbretry, 4) X(vbignore, 5) \
  X(vbyes, 6) X(vbno, 7) X(vbbinarycompare, 0) X(vbtextcompare, 1) X(vbdatabasecompare, 2)    \
  X(vbsunday, 1) X(vbmonday, 2) X(vbtuesday, 3) X(vbwednesday, 4) X(vbthursday, 5)            \
  X(vbfriday, 6) X(vbsaturday, 7) X(vbusesystemdayofweek, 0) X(vbusesystem, 0)               \
  X(vbfirstjan1, 1) X(vbfirstfourdays, 2) X(vbfirstfullweek, 3) X(vbgeneraldate, 0)           \
  X(vblongdate, 1) X(vbshortdate, 2) X(vblongtime, 3) X(vbshorttime, 4) X(vbusedefault, -2)   \
  X(vbtrue, -1) X(vbfalse, 0)

#define TAP_VBS_LONG_CONSTANTS(X)                                                            \
  X(vbblack, 0x0) X(vbred, 0xFF) X(vbgreen, 0xFF00) X(vbyellow, 0xFFFF) X(vbblue, 0xFF0000)   \
  X(vbmagenta, 0xFF00FF) X(vbcyan, 0xFFFF00) X(vbwhite, 0xFFFFFF)                             \
  X(vbobjecterror, -2147221504) X(vbmsgboxhelpbutton, 16384) X(vbmsgboxsetforeground, 65536)  \
  X(vbmsgboxright, 524288) X(vbmsgboxrtlreading, 1048576)

std::unordered_map<std::u16string, Variant> build() {
  std::unordered_map<std::u16string, Variant> m;
#define TAP_VBS_INTEGER_ENTRY(name, value) m.emplace(u## #name, Variant(static_cast<std::int16_t>(value)));
#define TAP_VBS_LONG_ENTRY(name, value) m.emplace(u## #name, Variant(static_cast<std::int32_t>(value)));
  TAP_VBS_INTEGER_CONSTANTS(TAP_VBS_INTEGER_ENTRY)
  TAP_VBS_LONG_CONSTANTS(TAP_VBS_LONG_ENTRY)
#undef TAP_VBS_INTEGER_ENTRY
#undef TAP_VBS_LONG_ENTRY
  m.emplace(u"vbcr", Variant(u"\r"));
  m.emplace(u"vblf", Variant(u"\n"));
  m.emplace(u"vbcrlf", Variant(u"\r\n"));
  m.emplace(u"vbnewline", Variant(u"\r\n"));
  m.emplace(u"vbtab", Variant(u"\t"));
  m.emplace(u"vbformfeed", Variant(u"\f"));
  m.emplace(u"vbverticaltab", Variant(u"\v"));
  m.emplace(u"vbnullchar", Variant(std::u16string(1, u'\0')));
  m.emplace(u"vbnullstring", Variant(com::BStr()));
  return m;
}

}  // namespace

const Variant* find_constant(std::u16string_view lower_name) {
  static const std::unordered_map<std::u16string, Variant> table = build();
  auto it = table.find(std::u16string(lower_name));
  return it == table.end() ? nullptr : &it->second;
}

}  // namespace tap::vbs
