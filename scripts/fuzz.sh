#!/usr/bin/env bash
# Runs one libFuzzer target:   scripts/fuzz.sh TARGET SECONDS
# Lists the targets:           scripts/fuzz.sh list
#
# Builds the fuzz preset (clang, AddressSanitizer and UBSan), then fuzzes
# from a working corpus fuzz/corpus-TARGET/ (git-ignored; it keeps what
# earlier runs found) plus the seeds in fuzz/corpus/TARGET/, which it only
# reads. Crashes, hangs, leaks and out-of-memory inputs land in
# fuzz/crashes/TARGET/ (git-ignored). Ends with a summary; the status is 1
# when the run found something. Run it under `nice` on a shared machine.
set -euo pipefail
cd "$(dirname "$0")/.."

targets() { for f in fuzz/fuzz_*.cpp; do basename "$f" .cpp; done; }

usage() {
  echo "usage: scripts/fuzz.sh TARGET SECONDS | scripts/fuzz.sh list" >&2
  echo "targets: $(targets | tr '\n' ' ')" >&2
  exit 2
}

[ $# -ge 1 ] || usage
if [ "$1" = list ]; then
  targets
  exit 0
fi
[ $# -eq 2 ] || usage
target="$1"
seconds="$2"
targets | grep -x "$target" >/dev/null || { echo "unknown target: $target" >&2; usage; }
[[ "$seconds" =~ ^[0-9]+$ ]] || usage

# Per-input time limit: the script and regex layers stop hostile input
# within tens of milliseconds, so seconds mean a hang.
case "$target" in
  fuzz_regex) per_input=5 ;;
  *) per_input=10 ;;
esac

# With tens of thousands of coverage features per input (the interpreter,
# the driver), libFuzzer 14's entropic schedule spends most of its time
# updating feature frequencies: the plain schedule runs 5 times faster.
# FUZZ_FLAGS adds libFuzzer options.
flags=(-entropic=0 ${FUZZ_FLAGS:-})

TAP_WITH_CLANG=1 scripts/deps.sh
cmake --preset fuzz >/dev/null
cmake --build build/fuzz --target "$target" -j2

work="fuzz/corpus-$target"
crashes="fuzz/crashes/$target"
seeds="fuzz/corpus/$target"
mkdir -p "$work" "$crashes" "$seeds"
log="$crashes/last-run.log"
before=$(find "$crashes" -type f ! -name '*.log' | wc -l)
marker=$(mktemp)
trap 'rm -f "$marker"' EXIT

# The fuzzer's own status is read from its log below.
set +e
ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}" \
  "build/fuzz/fuzz/$target" "$work" "$seeds" \
  -max_total_time="$seconds" -timeout="$per_input" -rss_limit_mb=2048 \
  -artifact_prefix="$crashes/" -print_final_stats=1 "${flags[@]}" >"$log" 2>&1
status=$?
set -e

after=$(find "$crashes" -type f ! -name '*.log' | wc -l)
runs=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | tail -1 | awk '{print $2}')
cov=$(grep -oE 'cov: [0-9]+ ft: [0-9]+ corp: [0-9]+/[0-9]+[a-zA-Z]*' "$log" | tail -1)
echo "== $target: ${seconds}s, exit status $status"
echo "runs:     ${runs:-unknown}"
echo "coverage: ${cov:-unknown}"
echo "corpus:   $(find "$work" -type f | wc -l) inputs in $work"
echo "crashes:  $((after - before)) new in $crashes (log: $log)"
if [ "$status" -ne 0 ] || [ "$after" -gt "$before" ]; then
  grep -m1 -E 'ERROR: (AddressSanitizer|LeakSanitizer|UndefinedBehaviorSanitizer|libFuzzer)|runtime error:|SUMMARY' "$log" || true
  find "$crashes" -type f ! -name '*.log' -newer "$marker" -printf '  %p\n' 2>/dev/null || true
  exit 1
fi
