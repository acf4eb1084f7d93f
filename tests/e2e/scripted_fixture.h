#pragma once
// Sessions on recordings with scripted pairs, and a probe that shows the
// session's value store as its scripts see it.
#include <utility>

#include "e2e/playback_fixture.h"

namespace tap::e2e {

class ScriptedPlaybackTest : public PlaybackTest {
 protected:
  // "GET key" answers "TypeName=value" of the key, as GetValue gives it
  // ("Null=" for a missing key, "TypeName=" for an object). It comes first in the file so that no
  // pattern of a test shadows it; it leaves the key name under "probe:key".
  static std::string probe_pair() {
    return recording::script_pair(
        "^GET (.+)$", "PlaybackEngine.StoreValue \"probe:key\", PlaybackEngine.WriteRegExpMatches.Item(1)",
        {recording::script_response(
            "k = PlaybackEngine.GetValue(\"probe:key\")\n"
            "If IsObject(PlaybackEngine.GetValue(k)) Then\n"
            "  PlaybackEngine.ReadText = TypeName(PlaybackEngine.GetValue(k)) & \"=\"\n"
            "Else\n"
            "  v = PlaybackEngine.GetValue(k)\n"
            "  PlaybackEngine.ReadText = TypeName(v) & \"=\" & v\n"
            "End If\n"
            "PlaybackEngine.ReadStopReason = 2\n"
            "PlaybackEngine.ReadReturnValue = 0")});
  }

  static std::string scripted_file(const std::string& pairs, const std::string& init_values = "") {
    return recording::file(
        recording::stream(recording::address("gpib", "22"), probe_pair() + pairs) + init_values);
  }

  // Opens GPIB 22 on a stream holding the probe and `pairs`.
  void open_scripted(const std::string& pairs, const std::string& init_values = "") {
    ASSERT_EQ(open_recording(scripted_file(pairs, init_values)), 0);
  }

  std::string stored(const std::string& key) { return query("GET " + key); }

  // The same calls on another session of the test.
  std::string stored_in(VarnelSession other, const std::string& key) {
    std::swap(session_, other);
    std::string value = stored(key);
    std::swap(session_, other);
    return value;
  }
  Result write_in(VarnelSession other, const std::string& bytes) {
    std::swap(session_, other);
    Result r = write(bytes);
    std::swap(session_, other);
    return r;
  }
};

}  // namespace tap::e2e
