#!/usr/bin/env bash
# Builds and runs the whole test suite: scripts/test.sh [preset]
# (default, asan or tsan; tsan builds and runs the concurrency tests only;
# windows cross-builds the DLL and the tests and runs them under Wine).
set -euo pipefail
cd "$(dirname "$0")/.."
# Debian's Python has python3-pyvisa, whatever else comes first on the PATH.
python=/usr/bin/python3
[ -x "$python" ] || python=python3
preset="${1:-default}"
scripts/deps.sh
configure_args=()
if [ "$preset" = windows ]; then
  scripts/deps-windows.sh
  scripts/build-windows-deps.sh
  [ -n "${TAP_WINDOWS_DEPS_DIR:-}" ] && configure_args+=("-DTAP_WINDOWS_DEPS_DIR=$TAP_WINDOWS_DEPS_DIR")
fi
cmake --preset "$preset" "${configure_args[@]}" >/dev/null
if [ "$preset" = tsan ]; then
  cmake --build --preset tsan --target taplayback test_e2e test_scripting
else
  cmake --build --preset "$preset"
fi
if [ "$preset" = windows ]; then
  build/windows/wine-run.sh --persist
  trap 'build/windows/wine-run.sh --stop 2>/dev/null || true' EXIT
fi
ctest --preset "$preset"
# The PyVISA backend loads the build's libraries into an ordinary Python,
# which a sanitizer build's libraries cannot be loaded into.
if [ "$preset" = default ]; then
  TAPLAYBACK_LIB_DIR="$PWD/build/$preset" "$python" -m pytest -q -p no:cacheprovider python/tests
fi
