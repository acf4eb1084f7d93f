// GetLocale and SetLocale. The engine reads and writes numbers, dates and
// currency under the rules of locale 0x409 (English, United States) only.
// SetLocale still accepts any valid locale: GetLocale then reports it and a
// later SetLocale hands it back, so scripts that save and restore the
// locale keep working, but conversions and formats stay those of 0x409.
// 0 and the user and system default identifiers (1024, 2048) select 0x409;
// identifiers that are no locale and unknown short strings raise 5.
#include <string>
#include <string_view>

#include "platform/com/case_fold.h"
#include "platform/com/conversions.h"
#include "vbscript/builtins/Builtin.h"
#include "vbscript/builtins/builtin_args.h"

namespace tap::vbs {

namespace {

using namespace builtin;
using com::Variant;

constexpr std::int32_t kEngineLocale = 0x409;

struct LocaleName {
  std::u16string_view name;
  std::int32_t lcid;
};

// Short strings of the Locale ID chart for the common locales. A bare
// language ("de") selects its first entry here.
constexpr LocaleName kLocaleNames[] = {
    {u"en-us", 0x0409}, {u"en-gb", 0x0809}, {u"en-au", 0x0C09}, {u"en-ca", 0x1009},
    {u"en-nz", 0x1409}, {u"en-ie", 0x1809}, {u"en-za", 0x1C09}, {u"de-de", 0x0407},
    {u"de-ch", 0x0807}, {u"de-at", 0x0C07}, {u"fr-fr", 0x040C}, {u"fr-be", 0x080C},
    {u"fr-ca", 0x0C0C}, {u"fr-ch", 0x100C}, {u"it-it", 0x0410}, {u"it-ch", 0x0810},
    {u"es-es", 0x040A}, {u"es-mx", 0x080A}, {u"nl-nl", 0x0413}, {u"nl-be", 0x0813},
    {u"pt-br", 0x0416}, {u"pt-pt", 0x0816}, {u"sv-se", 0x041D}, {u"da", 0x0406},
    {u"fi", 0x040B},    {u"no-no", 0x0414}, {u"is", 0x040F},    {u"pl", 0x0415},
    {u"cs", 0x0405},    {u"sk", 0x041B},    {u"hu", 0x040E},    {u"ro", 0x0418},
    {u"hr", 0x041A},    {u"sl", 0x0424},    {u"el", 0x0408},    {u"tr", 0x041F},
    {u"ru", 0x0419},    {u"uk", 0x0422},    {u"he", 0x040D},    {u"ar-sa", 0x0401},
    {u"ja", 0x0411},    {u"ko", 0x0412},    {u"zh-cn", 0x0804}, {u"zh-tw", 0x0404},
    {u"zh-hk", 0x0C04}, {u"zh-sg", 0x1004}, {u"th", 0x041E},    {u"vi", 0x042A},
};

std::int32_t lcid_from_name(std::u16string_view name) {
  for (const LocaleName& l : kLocaleNames)
    if (com::compare_text(l.name, name, true) == 0) return l.lcid;
  if (name.size() == 2)
    for (const LocaleName& l : kLocaleNames)
      if (l.name.size() > 2 && l.name[2] == u'-' && com::compare_text(l.name.substr(0, 2), name, true) == 0)
        return l.lcid;
  return -1;
}

// A locale identifier: a language with a primary language (low ten bits)
// and at most a sort order above it.
std::int32_t checked_lcid(std::int32_t lcid) {
  if (lcid == 0 || lcid == 0x400 || lcid == 0x800) return kEngineLocale;
  if ((lcid & ~0xFFFFF) != 0 || (lcid & 0x3FF) == 0) raise(RuntimeError::invalid_procedure_call);
  return lcid;
}

Variant getlocale(BuiltinState& st, Args) { return Variant(st.locale); }

// SetLocale([lcid]): a number, or a short string such as "en-gb"; left out,
// the engine's own locale. Returns the locale in effect before.
Variant setlocale(BuiltinState& st, Args a) {
  std::int32_t lcid = kEngineLocale;
  if (given(a, 0)) {
    const Variant& v = a[0];
    std::int32_t named = v.vt() == com::VT_BSTR ? lcid_from_name(v.bstr().view()) : -1;
    if (named >= 0) {
      lcid = named;
    } else {
      if (v.vt() == com::VT_BSTR) {
        double d;
        if (com::failed(com::to_r8(v, &d))) raise(RuntimeError::invalid_procedure_call);
      }
      lcid = checked_lcid(to_long(v));
    }
  }
  std::int32_t previous = st.locale;
  st.locale = lcid;
  return Variant(previous);
}

constexpr Builtin kLocale[] = {
    {u"GetLocale", 0, 0, getlocale},
    {u"SetLocale", 0, 1, setlocale},
};

}  // namespace

std::span<const Builtin> locale_builtins() { return kLocale; }

}  // namespace tap::vbs
