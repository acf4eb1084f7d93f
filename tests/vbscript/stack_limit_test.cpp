// Recursion ends with "Out of stack space" on whatever stack the thread
// running the script has, however small, instead of overflowing it.
#include <gtest/gtest.h>

#include <string>

#include "platform/os/Thread.h"
#include "vbscript/ScriptError.h"
#include "vbscript/host/ScriptHost.h"

namespace {

using tap::vbs::ScriptHost;
using tap::vbs::ScriptResult;

constexpr std::int32_t kOutOfStack = static_cast<std::int32_t>(tap::vbs::RuntimeError::out_of_stack_space);

// F nests its recursive call inside `depth` parenthesized operations, so
// each level of script recursion takes more native stack.
std::u16string nested_recursion(int depth) {
  std::u16string expr = u"F(n + 1)";
  for (int i = 0; i < depth; ++i) expr = u"(1 + " + expr + u")";
  return u"Function F(n) : F = " + expr + u" : End Function\nx = F(1)";
}

struct Case {
  const char* name;
  std::u16string text;
};

const Case recursions[] = {
    {"a function calling itself", u"Function F(n) : F = F(n + 1) : End Function\nF 1"},
    {"calls nested in expressions", nested_recursion(60)},
    {"a class property reading itself",
     u"Class C\n  Property Get P : P = Me.P + 1 : End Property\nEnd Class\nSet o = New C : x = o.P"},
    {"Execute running the procedure that runs it", u"Sub S : Execute \"S\" : End Sub\nS"},
    {"a default member calling the object", u"Class C\n  Public Default Function V : V = Me() : End Function\nEnd Class\nx = (New C)()"},
};

ScriptResult run_on_thread(std::size_t stack_bytes, const std::u16string& text) {
  ScriptResult r;
  tap::os::Thread t(stack_bytes, [&] {
    ScriptHost host;
    r = host.add_code(text);
  });
  t.join();
  return r;
}

TEST(StackLimit, DeepRecursionOnSmallThreadStacksRaisesOutOfStackSpace) {
  // The parser's nesting bound also follows the real stack, so even the
  // smallest of these holds with ASan's several times larger frames.
  for (std::size_t kib : {256, 512, 1024}) {
    for (const Case& c : recursions) {
      ScriptResult r = run_on_thread(kib * 1024, c.text);
      EXPECT_EQ(r.number, kOutOfStack) << c.name << " on " << kib << " KB";
    }
  }
}

TEST(StackLimit, DeepRecursionOnTheCallingThreadRaisesOutOfStackSpace) {
  for (const Case& c : recursions) {
    ScriptHost host;
    EXPECT_EQ(host.add_code(c.text).number, kOutOfStack) << c.name;
  }
}

// The bound leaves ordinary recursion its depth on a small stack.
TEST(StackLimit, ModerateRecursionRunsOnASmallThreadStack) {
  ScriptResult r = run_on_thread(1024 * 1024,
                                 u"Function D(n) : If n = 0 Then D = 0 Else D = 1 + D(n - 1)\nEnd Function\n"
                                 u"If D(100) <> 100 Then Err.Raise 5");
  EXPECT_TRUE(r.ok()) << r.number;
}

}  // namespace
