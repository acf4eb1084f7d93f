#include "builtin_call.h"

namespace tap::vbs::test {
namespace {

TEST(LocaleBuiltins, SetLocaleReturnsThePreviousLocaleAndGetLocaleTheCurrent) {
  BuiltinState st;
  EXPECT_TRUE(same(call(st, u"GetLocale", {}).value, i4(0x409)));
  EXPECT_TRUE(same(call(st, u"SetLocale", {i4(1031)}).value, i4(0x409)));
  EXPECT_TRUE(same(call(st, u"SetLocale", {str(u"EN-GB")}).value, i4(1031)));
  EXPECT_TRUE(same(call(st, u"SetLocale", {str(u"fr")}).value, i4(2057)));
  EXPECT_TRUE(same(call(st, u"SetLocale", {str(u"1044")}).value, i4(0x40C)));
  EXPECT_TRUE(same(call(st, u"GetLocale", {}).value, i4(1044)));
  // The default identifiers, 0 and a call without argument select 0x409.
  for (std::vector<Variant> args : {std::vector<Variant>{i2(0)}, {i2(1024)}, {i2(2048)}, {}}) {
    call(st, u"SetLocale", {i4(1031)});
    call(st, u"SetLocale", args);
    EXPECT_TRUE(same(call(st, u"GetLocale", {}).value, i4(0x409)));
  }
}

TEST(LocaleBuiltins, SetLocaleRefusesWhatIsNoLocaleAndKeepsTheOldOne) {
  BuiltinState st;
  call(st, u"SetLocale", {i4(1031)});
  for (const Variant& bad : {str(u"xx"), str(u"en-xx"), str(u""), i4(0x100000), i4(0x10000), i4(-1)}) {
    EXPECT_EQ(call(st, u"SetLocale", {bad}).error.value_or(0), 5) << describe(bad);
  }
  EXPECT_EQ(call(st, u"SetLocale", {Variant::null()}).error.value_or(0), 94);
  EXPECT_TRUE(same(call(st, u"GetLocale", {}).value, i4(1031)));
}

}  // namespace
}  // namespace tap::vbs::test
