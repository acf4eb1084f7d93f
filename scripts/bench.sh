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
