#!/usr/bin/env bash
# Builds and runs the whole test suite: scripts/test.sh [preset]
# (default, asan or tsan; tsan builds and runs the concurrency tests only).
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"
scripts/deps.sh
cmake --preset "$preset" >/dev/null
if [ "$preset" = tsan ]; then
  cmake --build --preset tsan --target taplayback test_e2e test_scripting
else
  cmake --build --preset "$preset"
fi
ctest --preset "$preset"
