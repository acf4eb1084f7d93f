#!/usr/bin/env bash
# Builds and runs the whole test suite: scripts/test.sh [preset]
# (default, asan or tsan; tsan builds and runs the concurrency tests only).
set -euo pipefail
cd "$(dirname "$0")/.."
# Debian's Python has python3-pyvisa, whatever else comes first on the PATH.
python=/usr/bin/python3
[ -x "$python" ] || python=python3
preset="${1:-default}"
scripts/deps.sh
cmake --preset "$preset" >/dev/null
if [ "$preset" = tsan ]; then
  cmake --build --preset tsan --target taplayback test_e2e test_scripting
else
  cmake --build --preset "$preset"
fi
ctest --preset "$preset"
# The PyVISA backend loads the build's libraries into an ordinary Python,
# which a sanitizer build's libraries cannot be loaded into.
if [ "$preset" = default ]; then
  TAPLAYBACK_LIB_DIR="$PWD/build/$preset" "$python" -m pytest -q -p no:cacheprovider python/tests
fi
