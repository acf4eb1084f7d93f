#!/usr/bin/env bash
# Builds and runs the tests: scripts/test.sh [preset]
#   (none)   all of the below, in turn, as CI runs them;
#   default  the Linux build, then the PyVISA backend's tests;
#   asan     the suite under AddressSanitizer and UndefinedBehaviorSanitizer;
#   tsan     the concurrency tests under ThreadSanitizer;
#   windows  the DLL and the tests cross-built, the tests run under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -eq 0 ]; then
  for preset in default asan tsan windows; do
    echo "== scripts/test.sh $preset"
    "$0" "$preset"
  done
  exit 0
fi
# Debian's Python has python3-pyvisa, whatever else comes first on the PATH.
python=/usr/bin/python3
[ -x "$python" ] || python=python3
preset="$1"
scripts/deps.sh
configure_args=()
if [ "$preset" = windows ]; then
  # The cross-built libraries outlive the build tree: each is rebuilt only
  # when its Debian version or its build options change.
  export TAP_WINDOWS_DEPS_DIR="${TAP_WINDOWS_DEPS_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/taplayback/windows-deps}"
  scripts/deps-windows.sh
  scripts/build-windows-deps.sh
  configure_args+=("-DTAP_WINDOWS_DEPS_DIR=$TAP_WINDOWS_DEPS_DIR")
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
ctest_args=()
# Without its preloader (scripts/deps-windows.sh installs it) Wine failed
# about one program start in a thousand; with it none failed in 5,000. A
# test under Wine still fails only when it fails twice in a row, and a
# first failure stays in the log.
[ "$preset" = windows ] && ctest_args+=(--repeat until-pass:2)
ctest --preset "$preset" "${ctest_args[@]}"
# The PyVISA backend loads the build's libraries into an ordinary Python,
# which a sanitizer build's libraries cannot be loaded into.
if [ "$preset" = default ]; then
  TAPLAYBACK_LIB_DIR="$PWD/build/$preset" "$python" -m pytest -q -p no:cacheprovider python/tests
fi
