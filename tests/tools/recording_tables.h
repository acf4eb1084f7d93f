#pragma once
// Compares what the driver's loader builds from two recordings, field by
// field, with the place of each difference in the failure message.
#include <gtest/gtest.h>

#include <string>

#include "model/ExactStringStimulus.h"
#include "model/VBScriptStimulus.h"
#include "playfile/PlaybackLoader.h"

namespace srplay_test {

inline void expect_same_stimulus(const tap::Stimulus* a, const tap::Stimulus* b) {
  ASSERT_EQ(a == nullptr, b == nullptr);
  if (!a) return;
  auto* ea = dynamic_cast<const tap::ExactStringStimulus*>(a);
  auto* eb = dynamic_cast<const tap::ExactStringStimulus*>(b);
  ASSERT_EQ(ea == nullptr, eb == nullptr) << "one write is exact, the other scripted";
  if (ea) {
    const auto &x = ea->fields(), &y = eb->fields();
    EXPECT_EQ(x.bytes, y.bytes);
    EXPECT_EQ(x.actualWritten, y.actualWritten);
    EXPECT_EQ(x.waitTime, y.waitTime);
    EXPECT_EQ(x.returnValue, y.returnValue);
    EXPECT_EQ(x.readWriteFlags, y.readWriteFlags);
    EXPECT_EQ(x.ignoreFlags, y.ignoreFlags);
    return;
  }
  const auto& x = dynamic_cast<const tap::VBScriptStimulus&>(*a).fields();
  const auto& y = dynamic_cast<const tap::VBScriptStimulus&>(*b).fields();
  EXPECT_EQ(x.patternString, y.patternString);
  EXPECT_EQ(x.script, y.script);
  EXPECT_EQ(x.ignoreCase, y.ignoreCase);
  EXPECT_EQ(x.ignoreFlags, y.ignoreFlags);
  EXPECT_EQ(x.readWriteFlags, y.readWriteFlags);
  EXPECT_EQ(x.scriptTimeout, y.scriptTimeout);
}

inline void expect_same_pair(const tap::SRPair& a, const tap::SRPair& b) {
  EXPECT_EQ(a.name(), b.name());
  EXPECT_EQ(a.version(), b.version());
  EXPECT_EQ(a.unusable(), b.unusable());
  expect_same_stimulus(a.stimulus(), b.stimulus());
  ASSERT_EQ(a.responses().size(), b.responses().size());
  for (std::size_t i = 0; i < a.responses().size(); ++i) {
    SCOPED_TRACE("response " + std::to_string(i));
    const auto &x = a.responses()[i], &y = b.responses()[i];
    EXPECT_EQ(x.responseType(), y.responseType());
    EXPECT_EQ(x.responseKind(), y.responseKind());
    EXPECT_EQ(x.bytes(), y.bytes());
    EXPECT_EQ(x.script(), y.script());
    EXPECT_EQ(x.waitTime(), y.waitTime());
    EXPECT_EQ(x.returnValue(), y.returnValue());
    EXPECT_EQ(x.stopReason(), y.stopReason());
    EXPECT_EQ(x.scriptTimeout(), y.scriptTimeout());
  }
}

inline void expect_same_docommand(const tap::DoCommandSR& a, const tap::DoCommandSR& b) {
  EXPECT_EQ(a.command, b.command);
  EXPECT_EQ(a.doCmdFlags, b.doCmdFlags);
  EXPECT_EQ(a.data, b.data);
  EXPECT_EQ(a.version, b.version);
  EXPECT_EQ(a.unusable, b.unusable);
  EXPECT_EQ(a.ignoreFlags, b.ignoreFlags);
  EXPECT_EQ(a.name, b.name);
  EXPECT_EQ(a.doCmdType, b.doCmdType);
  EXPECT_EQ(a.matchKind, b.matchKind);
  ASSERT_EQ(a.responses.size(), b.responses.size());
  for (std::size_t i = 0; i < a.responses.size(); ++i) {
    SCOPED_TRACE("answer " + std::to_string(i));
    EXPECT_EQ(a.responses[i].returnValue, b.responses[i].returnValue);
    EXPECT_EQ(a.responses[i].waitTime, b.responses[i].waitTime);
    EXPECT_EQ(a.responses[i].data, b.responses[i].data);
  }
}

inline void expect_same_tables(const tap::RecordingLoad& a, const tap::RecordingLoad& b) {
  ASSERT_TRUE(a.result) << a.result.message;
  ASSERT_TRUE(b.result) << b.result.message;
  ASSERT_EQ(a.streams.size(), b.streams.size());
  for (std::size_t s = 0; s < a.streams.size(); ++s) {
    SCOPED_TRACE("stream " + std::to_string(s));
    const auto &x = a.streams[s], &y = b.streams[s];
    EXPECT_EQ(x.intfaddr, y.intfaddr);
    EXPECT_EQ(std::stol(x.prim), std::stol(y.prim));
    EXPECT_EQ(std::stol(x.sec), std::stol(y.sec));
    EXPECT_EQ(std::stol(x.devprot), std::stol(y.devprot));
    EXPECT_EQ(x.bracket, y.bracket);
    EXPECT_EQ(x.colon, y.colon);
    EXPECT_EQ(x.load.status, y.load.status);
    const auto &xp = x.load.tables.pairs(), &yp = y.load.tables.pairs();
    ASSERT_EQ(xp.size(), yp.size());
    for (std::size_t i = 0; i < xp.size(); ++i) {
      SCOPED_TRACE("pair " + std::to_string(i));
      expect_same_pair(xp[i], yp[i]);
    }
    const auto &xd = x.load.tables.docommands(), &yd = y.load.tables.docommands();
    ASSERT_EQ(xd.size(), yd.size());
    for (std::size_t i = 0; i < xd.size(); ++i) {
      SCOPED_TRACE("DoCommand " + std::to_string(i));
      expect_same_docommand(xd[i], yd[i]);
    }
  }
  ASSERT_EQ(a.initial_values.size(), b.initial_values.size());
  for (const auto& [key, value] : a.initial_values) {
    auto it = b.initial_values.find(key);
    ASSERT_NE(it, b.initial_values.end()) << key;
    EXPECT_EQ(value.vt(), it->second.vt()) << key;
    EXPECT_TRUE(value.bstr() == it->second.bstr()) << key;
  }
}

}  // namespace srplay_test
