#!/usr/bin/env bash
# Installs what the windows preset needs beyond scripts/deps.sh: the MinGW-w64
# cross compiler (POSIX threads variant, for std::thread), Wine to run the
# cross-built tests, and apt's source entries so scripts/build-windows-deps.sh
# can fetch Debian's own libxml2 and PCRE2 sources.
# Wine's preloader reserves the addresses Windows programs expect before
# Linux maps anything there; without it, about one start in a thousand fails
# ("failed to map the shared user data") or dies in ld.so at exit.
# As root it runs apt-get; otherwise it prints what to run and stops.
set -euo pipefail
packages=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64 wine64-preloader dpkg-dev zip)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

# deb-src beside each deb entry of the system's own sources; signed by the
# same archive keys, so apt-get source checks what it fetches.
src_list=/etc/apt/sources.list.d/tap-debian-src.sources
need_src=0
if ! grep -rqs '^Types:.*deb-src\|^deb-src ' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  need_src=1
fi

[ ${#missing[@]} -eq 0 ] && [ $need_src -eq 0 ] && exit 0
if [ "$(id -u)" -ne 0 ]; then
  echo "Missing for the windows preset. Run as root:" >&2
  [ $need_src -eq 1 ] && echo "  add deb-src entries for bookworm to apt's sources" >&2
  [ ${#missing[@]} -gt 0 ] && echo "  apt-get update && apt-get install -y ${missing[*]}" >&2
  exit 1
fi
if [ $need_src -eq 1 ]; then
  cat > "$src_list" <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
fi
export DEBIAN_FRONTEND=noninteractive
apt-get -o DPkg::Lock::Timeout=900 update -qq
[ ${#missing[@]} -gt 0 ] && apt-get -o DPkg::Lock::Timeout=900 install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
exit 0
