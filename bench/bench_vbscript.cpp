// Interpreter speed: a tight loop, string building, and the per-request
// cost of reset + add + run of a typical playback script, with the
// compiled module cached and without.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "platform/os/code_page.h"
#include "vbscript/host/ScriptHost.h"

namespace {

using tap::vbs::ScriptHost;

void BM_ForLoop(benchmark::State& state) {
  ScriptHost host;
  const std::u16string text = u"Dim x, i\nFor i = 1 To 10000000: x = x + i: Next\n";
  for (auto _ : state) {
    host.reset();
    auto r = host.add_code(text);
    if (!r.ok()) state.SkipWithError("script failed");
  }
  state.SetItemsProcessed(state.iterations() * 10000000);
}
BENCHMARK(BM_ForLoop)->Unit(benchmark::kMillisecond);

void BM_StringBuilding(benchmark::State& state) {
  ScriptHost host;
  const std::u16string text =
      u"Dim s, i\nFor i = 1 To 20000\n  s = s & Chr(65 + i Mod 26) & \",\"\nNext\n"
      u"If Len(s) <> 40000 Then Err.Raise 5\n";
  for (auto _ : state) {
    host.reset();
    auto r = host.add_code(text);
    if (!r.ok()) state.SkipWithError("script failed");
  }
  state.SetItemsProcessed(state.iterations() * 20000);
}
BENCHMARK(BM_StringBuilding)->Unit(benchmark::kMillisecond);

// One character appended at a time: the variable is the only holder of
// its text, so each append must cost the character, not the length.
void BM_AppendCharacters(benchmark::State& state) {
  ScriptHost host;
  const std::u16string count = tap::os::utf8_to_wide(std::to_string(state.range(0)));
  const std::u16string text = u"Dim s, c, i\nc = \"x\"\nFor i = 1 To " + count +
                              u"\n  s = s & c\nNext\nIf Len(s) <> " + count + u" Then Err.Raise 5\n";
  for (auto _ : state) {
    host.reset();
    auto r = host.add_code(text);
    if (!r.ok()) state.SkipWithError("script failed");
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_AppendCharacters)->Arg(200000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// Fifteen lines as a playback response script looks: a few constants, a
// handler that inspects the request and builds a reply.
const char16_t* const playback_script =
    u"Option Explicit\n"
    u"Const Prefix = \"MEAS:\"\n"
    u"Dim count\n"
    u"Function OnRequest(engine, request)\n"
    u"  Dim parts, reply\n"
    u"  count = count + 1\n"
    u"  If Left(request, Len(Prefix)) = Prefix Then\n"
    u"    parts = Split(Mid(request, Len(Prefix) + 1), \",\")\n"
    u"    reply = UBound(parts) + 1 & \" values\"\n"
    u"  Else\n"
    u"    reply = UCase(request)\n"
    u"  End If\n"
    u"  OnRequest = reply & \";\" & count\n"
    u"End Function\n";

void run_request(benchmark::State& state, ScriptHost& host, const std::u16string& text) {
  host.reset();
  auto r = host.add_code(text);
  std::vector<tap::com::Variant> args{tap::com::Variant(tap::com::Ref<tap::com::IDispatch>()),
                                      tap::com::Variant(u"MEAS:1,2,3")};
  auto v = host.run(u"OnRequest", args);
  if (!r.ok() || !v.ok()) state.SkipWithError("script failed");
  benchmark::DoNotOptimize(v.value);
}

void BM_ResetAddRunCached(benchmark::State& state) {
  ScriptHost host;
  const std::u16string text = playback_script;
  for (auto _ : state) run_request(state, host, text);
}
BENCHMARK(BM_ResetAddRunCached)->Unit(benchmark::kMicrosecond);

void BM_ResetAddRunUncached(benchmark::State& state) {
  ScriptHost host;
  std::u16string base = playback_script;
  std::uint64_t n = 0;
  std::vector<std::u16string> texts;
  for (auto _ : state) {
    state.PauseTiming();
    // A new text each time (a changed comment), so nothing is cached.
    std::u16string text = base + u"' " + std::u16string(1, static_cast<char16_t>(u'a' + n % 26)) +
                          std::u16string(static_cast<std::size_t>(n / 26 % 50 + 1), u'x') + u"\n";
    ++n;
    state.ResumeTiming();
    run_request(state, host, text);
  }
}
BENCHMARK(BM_ResetAddRunUncached)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
