// The value store through the driver: seeded from the file, kept between
// script runs of one session, reset by scripts, never shared.
#include "e2e/scripted_fixture.h"

namespace tap::e2e {
namespace {

namespace rec = recording;

// "SET key value" stores the text, "RESET" and "RESET DEFAULTS" reset.
std::string store_commands() {
  return rec::script_pair("^SET (\\w+) (.*)$",
                          "Set m = PlaybackEngine.WriteRegExpMatches\n"
                          "PlaybackEngine.StoreValue m(1), m(2)") +
         rec::script_pair("^RESET$", "PlaybackEngine.ResetValues False") +
         rec::script_pair("^RESET DEFAULTS$", "PlaybackEngine.ResetValues True");
}

std::string seeds() {
  return rec::init_values(
      {rec::string_value("volt", "5"), rec::string_value("volt", "6"), rec::binary_value("raw", "abc")});
}

TEST_F(ScriptedPlaybackTest, ResetValuesEmptiesTheStoreOrRestoresTheSeeds) {
  open_scripted(store_commands(), seeds());
  ASSERT_EQ(write("SET volt 9").status, 0);
  ASSERT_EQ(write("SET extra x").status, 0);
  ASSERT_EQ(stored("volt"), "String=9");
  ASSERT_EQ(write("RESET").status, 0);
  EXPECT_EQ(stored("volt"), "Null=");
  EXPECT_EQ(stored("extra"), "Null=");
  EXPECT_EQ(stored("raw"), "Null=");

  ASSERT_EQ(write("SET volt 9").status, 0);
  ASSERT_EQ(write("SET extra x").status, 0);
  ASSERT_EQ(write("RESET DEFAULTS").status, 0);
  EXPECT_EQ(stored("volt"), "String=5");
  EXPECT_EQ(stored("raw"), "String=abc");
  EXPECT_EQ(stored("extra"), "Null=");
}

TEST_F(ScriptedPlaybackTest, WriteScriptValuesReachTheReadScript) {
  open_scripted(rec::script_pair("^MEAS (\\d+)$",
                                 "PlaybackEngine.StoreValue \"range\", CLng(PlaybackEngine.WriteRegExpMatches(1))",
                                 {rec::script_response(
                                     "PlaybackEngine.ReadText = \"+\" & PlaybackEngine.GetValue(\"range\") * 2\n"
                                     "PlaybackEngine.ReadReturnValue = 0")}));
  ASSERT_EQ(write("MEAS 21").status, 0);
  EXPECT_EQ(read(64).bytes, "+42");
  EXPECT_EQ(stored("range"), "Long=21");
}

TEST_F(ScriptedPlaybackTest, SessionsKeepStoresOfTheirOwn) {
  std::string content = scripted_file(store_commands(), seeds());
  ASSERT_EQ(open_recording(content), 0);
  VarnelSession other = nullptr;
  ASSERT_EQ(driver().open(host::OpenArgs{}, &other), 0);

  ASSERT_EQ(write("SET volt 9").status, 0);
  ASSERT_EQ(write("SET mine 1").status, 0);
  EXPECT_EQ(stored_in(other, "volt"), "String=5");
  EXPECT_EQ(stored_in(other, "mine"), "Null=");
  ASSERT_EQ(write_in(other, "RESET").status, 0);
  EXPECT_EQ(stored("volt"), "String=9");
  EXPECT_EQ(stored_in(other, "volt"), "Null=");
  driver().close(other);

  // Nothing outlives the session.
  ASSERT_EQ(open(), 0);
  EXPECT_EQ(stored("volt"), "String=5");
  EXPECT_EQ(stored("mine"), "Null=");
}

}  // namespace
}  // namespace tap::e2e
