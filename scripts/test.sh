#!/usr/bin/env bash
# Builds and runs the whole test suite: scripts/test.sh [preset]
# (default, asan or tsan; tsan runs the concurrency tests only).
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"
scripts/deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset"
