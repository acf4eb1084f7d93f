#!/usr/bin/env bash
# Cross-builds libxml2 and PCRE2 for 64-bit Windows from Debian's own source
# packages (apt-get source checks them against the signed archive metadata),
# as static libraries with only what the driver uses, into one prefix:
#   ${TAP_WINDOWS_DEPS_DIR:-build/windows-deps}/libxml2-<version>_pcre2-<version>
# A prefix that is already complete is reused. The prefix is written to
# <deps dir>/prefix.txt, where the windows preset reads it.
# Needs what scripts/deps-windows.sh installs.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
deps_dir="${TAP_WINDOWS_DEPS_DIR:-$root/build/windows-deps}"
toolchain="$root/cmake/toolchain-mingw64.cmake"
jobs="${TAP_JOBS:-2}"

# The version of the Linux build's own -dev package first; should the archive
# no longer serve that source, the newest source it serves instead.
source_versions() {
  local src="$1" dev="$2"
  dpkg-query -W -f='${source:Version}\n' "$dev" 2>/dev/null || true
  apt-cache showsrc "$src" 2>/dev/null | sed -n 's/^Version: //p' | sort -ruV
}

# Fetches and unpacks the source of $1 into $2; prints the version it got.
fetch_source() {
  local src="$1" dev="$2" into="$3" v
  mkdir -p "$into"
  for v in $(source_versions "$src" "$dev" | awk '!seen[$0]++'); do
    if (cd "$into" && apt-get source -qq "$src=$v" >/dev/null 2>"$into/apt-$src.log"); then
      echo "$v"
      return 0
    fi
  done
  echo "cannot fetch the source of $src (deb-src entries missing? see scripts/deps-windows.sh)" >&2
  cat "$into/apt-$src.log" >&2 || true
  return 1
}

upstream() { local v="${1#*:}"; echo "${v%-*}"; }

work="$deps_dir/src"
rm -rf "$work"
mkdir -p "$work"

# A prefix built before from any version apt would fetch is reused, found
# without downloading anything.
for xv in $(source_versions libxml2 libxml2-dev | awk '!seen[$0]++'); do
  for pv in $(source_versions pcre2 libpcre2-dev | awk '!seen[$0]++'); do
    prefix="$deps_dir/libxml2-${xv}_pcre2-${pv}"
    if [ -f "$prefix/.complete" ]; then
      echo "$prefix" > "$deps_dir/prefix.txt"
      rm -rf "$work"
      echo "Windows libraries: cached in $prefix"
      exit 0
    fi
  done
done

xml_v="$(fetch_source libxml2 libxml2-dev "$work")"
pcre_v="$(fetch_source pcre2 libpcre2-dev "$work")"
prefix="$deps_dir/libxml2-${xml_v}_pcre2-${pcre_v}"
if [ ! -f "$prefix/.complete" ]; then
  rm -rf "$prefix"
  common=(-G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release
          -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF)

  xml_src="$work/libxml2-$(upstream "$xml_v")"
  # SAX parsing and the dictionary are all the driver uses.
  off=(C14N CATALOG DEBUG DOCB FTP HTML HTTP ICONV ICU LEGACY LZMA MODULES OUTPUT PATTERN
       PROGRAMS PYTHON READER REGEXPS SCHEMAS SCHEMATRON TESTS VALID WRITER XINCLUDE XPATH
       XPTR ZLIB)
  xml_opts=()
  for o in "${off[@]}"; do xml_opts+=("-DLIBXML2_WITH_$o=OFF"); done
  cmake -S "$xml_src" -B "$work/build-libxml2" "${common[@]}" "${xml_opts[@]}" >"$work/libxml2.log"
  cmake --build "$work/build-libxml2" -j "$jobs" >>"$work/libxml2.log"
  cmake --install "$work/build-libxml2" >>"$work/libxml2.log"

  pcre_src="$work/pcre2-$(upstream "$pcre_v")"
  cmake -S "$pcre_src" -B "$work/build-pcre2" "${common[@]}" -DBUILD_STATIC_LIBS=ON \
    -DPCRE2_BUILD_PCRE2_8=ON -DPCRE2_BUILD_PCRE2_16=ON -DPCRE2_SUPPORT_JIT=OFF \
    -DPCRE2_BUILD_PCRE2GREP=OFF -DPCRE2_BUILD_TESTS=OFF -DPCRE2_SUPPORT_LIBBZ2=OFF \
    -DPCRE2_SUPPORT_LIBZ=OFF -DPCRE2_SUPPORT_LIBEDIT=OFF -DPCRE2_SUPPORT_LIBREADLINE=OFF \
    -DPCRE2_SHOW_REPORT=OFF >"$work/pcre2.log"
  cmake --build "$work/build-pcre2" -j "$jobs" >>"$work/pcre2.log"
  cmake --install "$work/build-pcre2" >>"$work/pcre2.log"
  printf 'libxml2 %s\npcre2 %s\n' "$xml_v" "$pcre_v" > "$prefix/.complete"
fi
echo "$prefix" > "$deps_dir/prefix.txt"
rm -rf "$work"
echo "Windows libraries: built in $prefix"
