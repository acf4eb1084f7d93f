#!/usr/bin/env bash
# Installs the Debian packages the build needs, when any is missing.
# As root it runs apt-get; otherwise it prints the line to run and stops.
set -euo pipefail
packages=(cmake ninja-build g++ pkg-config libxml2-dev libxml2-utils libpcre2-dev
          libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev libyaml-cpp-dev
          python3-pyvisa python3-pytest)
[ "${TAP_WITH_CLANG:-0}" = 1 ] && packages+=(clang libclang-rt-14-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages. Run as root:" >&2
  echo "  apt-get update && apt-get install -y ${missing[*]}" >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq "${missing[@]}" >/dev/null
