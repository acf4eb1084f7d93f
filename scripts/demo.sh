#!/usr/bin/env bash
# Builds the driver and srplay, then plays a recorded bench multimeter
# through the driver and prints the conversation, call by call.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target srplay taplayback
./build/default/srplay info examples/bench-multimeter.xml
echo
./build/default/srplay run examples/bench-multimeter.xml < examples/bench-multimeter.conv
