// Every built-in against combinations of awkward arguments: each call must
// return a value or raise a script error, never crash or throw anything
// else. Run under the asan preset this also checks for undefined behaviour.
#include <cmath>

#include "builtin_call.h"
#include "vbscript/objects/object_registry.h"

namespace tap::vbs::test {
namespace {

std::vector<Variant> awkward_values() {
  auto grid = std::make_shared<com::SafeArray>(std::vector<com::ArrayBound>{{1, 2}, {-1, 2}});
  return {
      Variant::null(),       Variant(),           str(u"abc"),          i2(-1),
      Variant(-1e300),       Variant::missing(),  Variant(0.5),         i4(2147483647),
      str(u""),              i2(0),               str(u"12"),           date(2958465.9),
      array_of({str(u"a"), Variant::null()}),     Variant(std::move(grid)),
      Variant(com::Ref<com::IDispatch>()),        Variant(create_object_by_progid(u"Scripting.Dictionary")),
      Variant(com::Currency{INT64_MIN}),          i4(-2147483647 - 1),  Variant(1e15),
      Variant::error(0),
  };
}

TEST(BuiltinRobustness, AwkwardArgumentsRaiseScriptErrorsOnly) {
  const std::vector<Variant> values = awkward_values();
  std::size_t calls = 0;
  for (auto table : {conversion_builtins(), string_builtins(), array_builtins(), inspection_builtins(),
                     math_builtins(), datetime_builtins(), format_builtins()}) {
    for (const Builtin& b : table) {
      std::size_t most = std::min<std::size_t>(b.max_args, 6);
      for (std::size_t n = b.min_args; n <= most; ++n) {
        // Keep each function to roughly 5,000 calls.
        auto root = static_cast<std::size_t>(std::pow(5000.0, 1.0 / static_cast<double>(n ? n : 1)));
        std::size_t per_arg = n == 0 ? 1 : std::min(values.size(), root);
        std::vector<std::size_t> pick(n, 0);
        for (;;) {
          std::vector<Variant> args;
          for (std::size_t i : pick) args.push_back(values[i]);
          BuiltinState state;
          try {
            Variant r = b.fn(state, args);
            if (r.vt() == com::VT_BSTR) {
              EXPECT_LE(r.bstr().size(), std::size_t{1} << 26);
            }
          } catch (const ScriptError& e) {
            EXPECT_NE(runtime_error_description(e.number()), u"")
                << std::string(b.name.begin(), b.name.end()) << " raised unknown error " << e.number();
          }
          ++calls;
          std::size_t i = 0;
          while (i < n && ++pick[i] == per_arg) pick[i++] = 0;
          if (i == n) break;
        }
      }
    }
  }
  EXPECT_GT(calls, 5000u);
}

}  // namespace
}  // namespace tap::vbs::test
