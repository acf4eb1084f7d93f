// Scripts written to hang or exhaust the host: each must end with an error
// within twice its time-out, or fail with "Out of memory" once what it
// holds passes the budget, and leave the engine usable.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "vbscript/ScriptError.h"
#include "vbscript/host/ScriptHost.h"

namespace {

// A hostile script stops within twice its time-out; the sanitizers slow
// the costly built-ins several times, so they get a wider (still failing
// when the deadline is ignored: those scripts ran for minutes) bound.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr long long kBoundFactor = 10;
#else
constexpr long long kBoundFactor = 2;
#endif

using tap::vbs::RuntimeError;
using tap::vbs::ScriptHost;
using tap::vbs::ScriptResult;

constexpr std::int32_t kTimedOut = static_cast<std::int32_t>(RuntimeError::script_timeout);
constexpr std::int32_t kOutOfMemory = static_cast<std::int32_t>(RuntimeError::out_of_memory);

struct Timed {
  ScriptResult result;
  long long ms;
};

Timed run_timed(ScriptHost& host, const std::u16string& text) {
  auto start = std::chrono::steady_clock::now();
  ScriptResult r = host.add_code(text);
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
  return {std::move(r), ms};
}

std::string narrow(const std::u16string& s) { return std::string(s.begin(), s.end()); }

// Each stays in one costly operation far longer than a statement: before
// the deadline was checked inside them, a time-out of 200 ms let these run
// for seconds or minutes.
TEST(HostileScripts, StopWithinTwiceTheirTimeOut) {
  struct Case {
    const char* name;
    std::u16string text;
  };
  const Case cases[] = {
      {"Replace over a long text", u"Do : x = Replace(Space(20000000), \" \", \"ab\") : Loop"},
      {"Space and String", u"Do : x = Space(10000000) : y = String(10000000, \"z\") : Loop"},
      {"Split and Join", u"s = Space(500000)\nDo : x = Join(Split(s), \"ab\") : Loop"},
      {"array copies", u"Dim a(300000)\nDo : b = a : Loop"},
      // The search itself gives up after a while, so subjects are kept
      // below what it can do in that time.
      {"RegExp Execute, many matches",
       u"Set r = New RegExp : r.Pattern = \" \" : r.Global = True\ns = Space(5000)\n"
       u"Do : Set m = r.Execute(s) : Loop"},
      {"RegExp Replace, many matches",
       u"Set r = New RegExp : r.Pattern = \" \" : r.Global = True\ns = Space(5000)\n"
       u"Do : x = r.Replace(s, \"ab\") : Loop"},
      // Takes a second or more to compile.
      {"ExecuteGlobal of a long text", u"ExecuteGlobal Replace(Space(420000), \" \", \"x = x + 1 : \")"},
      {"Class_Terminate that creates objects without end",
       u"Class C\n  Private o\n  Sub Class_Terminate\n    Do : Set o = New C : Set o = Nothing : Loop\n"
       u"  End Sub\nEnd Class\nDim x : Set x = New C : Set x = Nothing\nDo : Loop"},
  };
  constexpr std::int32_t timeout = 200;
  for (const Case& c : cases) {
    ScriptHost host;
    host.set_timeout(timeout);
    // Time, not memory, is what these run out of.
    host.set_memory_limit(std::size_t{1} << 30);
    Timed t = run_timed(host, c.text);
    EXPECT_EQ(t.result.number, kTimedOut) << c.name << ": " << narrow(t.result.description);
    EXPECT_GE(t.ms, timeout) << c.name;
    EXPECT_LT(t.ms, kBoundFactor * timeout) << c.name;
    // The engine serves the next call, with a fresh clock.
    host.reset();
    EXPECT_TRUE(host.add_code(u"Dim n : For n = 1 To 1000 : Next").ok()) << c.name;
  }
}

// Each holds, or builds in one operation, far more than the budget (a
// 64 MB one keeps the tests light); without the budget they took hundreds
// of megabytes, or gigabytes at the default size.
TEST(HostileScripts, HoldingMoreThanTheBudgetRaisesOutOfMemory) {
  struct Case {
    const char* name;
    std::u16string text;
  };
  const Case cases[] = {
      {"an array of long strings", u"Dim a(20)\nFor i = 0 To 20 : a(i) = Space(5000000) : Next"},
      {"Split into millions of pieces", u"x = Split(Space(3000000))"},
      {"strings grown in place", u"Dim a(20)\nFor i = 0 To 20 : a(i) = \"x\" : For j = 1 To 22 : a(i) = a(i) & a(i) : Next : Next"},
      {"arrays of arrays", u"Dim a(20)\nFor i = 0 To 20 : ReDim b(300000) : a(i) = b : Next"},
      {"RegExp Replace that copies the rest of the text at every match",
       u"Set r = New RegExp : r.Pattern = \"a\" : r.Global = True\n"
       u"x = r.Replace(String(1000, \"a\") & Space(10000), \"$'$'$'$'$'$'$'$'\")"},
      {"objects in a linked list",
       u"Class Node : Public Nxt : End Class\nSet head = Nothing\nFor i = 1 To 1000000\n"
       u"  Set n = New Node : Set n.Nxt = head : Set head = n\nNext"},
      {"a Dictionary of millions of entries",
       u"Set d = CreateObject(\"Scripting.Dictionary\")\nFor i = 1 To 1000000 : d.Add i, i : Next"},
      {"ExecuteGlobal of a long text", u"ExecuteGlobal Replace(Space(125000), \" \", \"x = 1 : \")"},
  };
  for (const Case& c : cases) {
    ScriptHost host;
    host.set_memory_limit(std::size_t{64} << 20);
    ScriptResult r = host.add_code(c.text);
    EXPECT_EQ(r.number, kOutOfMemory) << c.name << ": " << narrow(r.description);
    // What the failed run held is credited back once it is dropped.
    host.reset();
    EXPECT_LT(host.memory_used(), std::size_t{1} << 20) << c.name;
  }
}

TEST(HostileScripts, OutOfMemoryIsAnErrorScriptsCanHandle) {
  ScriptHost host;
  host.set_memory_limit(std::size_t{16} << 20);
  ScriptResult r = host.add_code(
      u"On Error Resume Next\nx = Space(10000000)\nn = Err.Number : Err.Clear\n"
      u"x = Space(1000)\nFunction Result() : Result = n & \":\" & Len(x) : End Function");
  ASSERT_TRUE(r.ok()) << r.number;
  EXPECT_EQ(host.run(u"Result", {}).value.bstr().str(), u"7:1000");
}

// Memory a run lets go of is credited back, so runs that each stay within
// the budget never add up to failing.
TEST(HostileScripts, BudgetCountsWhatIsHeldNotWhatWasEverAllocated) {
  ScriptHost host;
  host.set_memory_limit(std::size_t{64} << 20);
  const std::u16string text =
      u"Dim a(3)\nFor k = 1 To 10\n  For i = 0 To 3 : a(i) = Space(1000000) & k : Next\n"
      u"  s = Join(a, \",\") : x = Split(s, \",\") : s = Empty\n  Set d = CreateObject(\"Scripting.Dictionary\")\n"
      u"  For i = 1 To 1000 : d.Add i, a : Next\nNext";
  for (int run = 0; run < 5; ++run) {
    ScriptResult r = host.add_code(text);
    ASSERT_TRUE(r.ok()) << "run " << run << ": error " << r.number;
    host.reset();
  }
  EXPECT_LT(host.memory_used(), std::size_t{1} << 20);
}

}  // namespace
