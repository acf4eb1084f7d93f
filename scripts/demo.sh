#!/usr/bin/env bash
# Builds the driver and srplay, then plays a recorded bench multimeter and
# a scripted bench power supply through the driver and prints the
# conversations, call by call.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target srplay taplayback
./build/default/srplay info examples/bench-multimeter.xml
echo
./build/default/srplay run examples/bench-multimeter.xml < examples/bench-multimeter.conv
echo
./build/default/srplay info examples/bench-power-supply.xml
echo
./build/default/srplay run examples/bench-power-supply.xml < examples/bench-power-supply.conv
