#!/usr/bin/env bash
# Runs the benchmarks that measure us against an outside reference in the
# same run (xmllint --noout on the same file, a bare sleep of the same
# length) and prints each comparison as a ratio, ours over the reference;
# then what sessions keep in memory and what closing them costs.
# scripts/bench.sh [benchmark options...], e.g. --benchmark_repetitions=3
set -euo pipefail
cd "$(dirname "$0")/.."
# Debian's Python has python3-pyvisa, whatever else comes first on the PATH.
python=/usr/bin/python3
[ -x "$python" ] || python=python3
scripts/deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target bench_playback bench_xml bench_session_memory \
  bench_host_api taphost -j2
bench=build/default/bench
out=$(mktemp)
trap 'rm -f "$out"' EXIT

run() {
  "$@" --benchmark_counters_tabular=false | tee -a "$out"
}
run "$bench/bench_xml" --benchmark_filter='BM_LoadValidate' "${@:1}"
run "$bench/bench_playback" --benchmark_filter='BM_OpenClose|BM_WaitAgainstSleep' "${@:1}"
# Its own process, so that the resident sizes are its own.
run "$bench/bench_session_memory" "${@:1}"

echo
echo "Ratios, ours over the reference measured in the same run:"
grep -E '^BM_.* ratio=' "$out" | sed -E 's/^(BM_[^ ]+).* ratio=([0-9.]+).*/\1 \2/' |
  awk '{ printf "  %-58s %6.2f\n", $1, $2 }'
echo "Memory (MB) and close (ms):"
grep -E '^BM_(SixteenSessions|LargeResponseSession)' "$out" |
  while read -r name rest; do
    echo "  ${name%%/*}: $(grep -oE '[a-z0-9_]+=[0-9.]+[kM]?' <<<"$rest" | tr '\n' ' ')"
  done
echo "PyVISA through the backend, beside PyVISA alone and the C API alone:"
TAPLAYBACK_LIB_DIR="$PWD/build/default" "$python" python/bench/bench_pyvisa.py

# The Windows build's exact round trip under Wine beside the Linux one, when
# the windows preset has been built (scripts/test.sh windows): each run in
# turn, five times, then the ratio of the medians, Wine over Linux.
win_bench=build/windows/bench/bench_playback.exe
if [ -x build/windows/wine-run.sh ] && [ -f "$win_bench" ]; then
  cmake --build --preset windows --target bench_playback >/dev/null
  echo "Exact round trip (CPU ns), Windows build under Wine over the Linux build:"
  build/windows/wine-run.sh --persist
  trap 'rm -f "$out"; build/windows/wine-run.sh --stop 2>/dev/null || true' EXIT
  rounds=$(mktemp -d)
  for i in 1 2 3 4 5; do
    "$bench/bench_playback" --benchmark_filter='BM_QueryRoundTrip' --benchmark_format=json \
      >"$rounds/linux-$i.json"
    build/windows/wine-run.sh "$win_bench" --benchmark_filter='BM_QueryRoundTrip' \
      --benchmark_format=json >"$rounds/wine-$i.json"
  done
  "$python" - "$rounds" <<'PY'
import json, statistics, sys, pathlib
runs = {}
for f in sorted(pathlib.Path(sys.argv[1]).glob("*.json")):
    kind = f.stem.split("-")[0]
    for b in json.loads(f.read_text())["benchmarks"]:
        runs.setdefault(b["name"], {}).setdefault(kind, []).append(b["cpu_time"])
for name, kinds in runs.items():
    linux, wine = statistics.median(kinds["linux"]), statistics.median(kinds["wine"])
    print(f"  {name:<28} linux {linux:7.1f}  wine {wine:7.1f}  ratio {wine / linux:5.2f}")
PY
  rm -rf "$rounds"
fi
