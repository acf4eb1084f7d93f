#!/usr/bin/env bash
# Builds the driver and srplay, then shows the driver as a host loads it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target srplay taplayback
./build/default/srplay driver
