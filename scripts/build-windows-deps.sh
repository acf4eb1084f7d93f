#!/usr/bin/env bash
# Cross-builds the libraries of the windows preset for 64-bit Windows, as
# static libraries with only what the project uses, each into its own prefix
#   ${TAP_WINDOWS_DEPS_DIR:-build/windows-deps}/<name>-<Debian version>
# which is reused while it is complete. The prefixes are listed in
# <deps dir>/prefixes.txt, where cmake/Windows.cmake reads them.
#   libxml2, PCRE2, yaml-cpp, Google Benchmark: Debian's source packages, fetched with
#     apt-get source (checked against the signed archive metadata);
#   GoogleTest: the source Debian's googletest package installs;
#   CLI11: header-only, copied from Debian's libcli11-dev.
# Needs what scripts/deps-windows.sh installs.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
deps_dir="${TAP_WINDOWS_DEPS_DIR:-$root/build/windows-deps}"
toolchain="$root/cmake/toolchain-mingw64.cmake"
jobs="${TAP_JOBS:-2}"
work="$deps_dir/src"
mkdir -p "$deps_dir"
: > "$deps_dir/prefixes.txt.new"

# The version of the Linux build's own package first; should the archive
# not serve that source, the newest source it does serve.
source_versions() {
  local src="$1" pkg="$2"
  { dpkg-query -W -f='${source:Version}\n' "$pkg" 2>/dev/null || true
    apt-cache showsrc "$src" 2>/dev/null | sed -n 's/^Version: //p' | sort -rV; } | awk 'NF && !seen[$0]++'
}

upstream() { local v="${1#*:}"; echo "${v%-*}"; }

cmake_build() {  # name source-dir prefix cmake-options...
  local name="$1" src="$2" prefix="$3"
  shift 3
  cmake -S "$src" -B "$work/build-$name" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF \
    "$@" >"$work/$name.log" 2>&1 &&
  cmake --build "$work/build-$name" -j "$jobs" >>"$work/$name.log" 2>&1 &&
  cmake --install "$work/build-$name" >>"$work/$name.log" 2>&1 || {
    echo "building $name failed; the end of $work/$name.log:" >&2
    tail -n 30 "$work/$name.log" >&2
    return 1
  }
}

# A prefix is complete when its stamp holds what it was built from and
# how; built another way, it is built again.
done_prefix() {  # prefix recipe
  echo "$2" > "$1/.complete"
  echo "$1" >> "$deps_dir/prefixes.txt.new"
}
is_complete() {  # prefix recipe
  [ -f "$1/.complete" ] && [ "$(cat "$1/.complete")" = "$2" ]
}

# A Debian source package built with CMake: reused when any version apt
# would fetch is already built, so nothing is downloaded then.
from_debian_source() {  # source-package binary-package cmake-options...
  local src="$1" pkg="$2" v prefix
  shift 2
  for v in $(source_versions "$src" "$pkg"); do
    prefix="$deps_dir/$src-$v"
    if is_complete "$prefix" "$src $v $*"; then
      echo "$prefix" >> "$deps_dir/prefixes.txt.new"
      echo "$src $v: cached"
      return 0
    fi
  done
  rm -rf "$work" && mkdir -p "$work"
  for v in $(source_versions "$src" "$pkg"); do
    if (cd "$work" && apt-get source -qq "$src=$v" >"$work/apt-$src.log" 2>&1); then
      prefix="$deps_dir/$src-$v"
      rm -rf "$prefix"
      # @UPSTREAM@ in an option stands for the upstream version.
      cmake_build "$src" "$work/$src-$(upstream "$v")" "$prefix" "${@//@UPSTREAM@/$(upstream "$v")}"
      done_prefix "$prefix" "$src $v $*"
      rm -rf "$work"
      echo "$src $v: built"
      return 0
    fi
  done
  echo "cannot fetch the source of $src (deb-src entries missing? see scripts/deps-windows.sh)" >&2
  cat "$work/apt-$src.log" >&2 || true
  return 1
}

# SAX parsing and the dictionary are all the driver uses of libxml2. Built
# with LIBXML_STATIC, its functions are not marked for export, or every
# one of them would be exported by the DLL that links it.
xml_opts=(-DCMAKE_C_FLAGS=-DLIBXML_STATIC)
for o in C14N CATALOG DEBUG DOCB FTP HTML HTTP ICONV ICU LEGACY LZMA MODULES OUTPUT PATTERN \
         PROGRAMS PYTHON READER REGEXPS SCHEMAS SCHEMATRON TESTS VALID WRITER XINCLUDE XPATH \
         XPTR ZLIB; do
  xml_opts+=("-DLIBXML2_WITH_$o=OFF")
done
from_debian_source libxml2 libxml2-dev "${xml_opts[@]}"

from_debian_source pcre2 libpcre2-dev -DBUILD_STATIC_LIBS=ON -DPCRE2_BUILD_PCRE2_8=ON \
  -DPCRE2_BUILD_PCRE2_16=ON -DPCRE2_SUPPORT_JIT=OFF -DPCRE2_BUILD_PCRE2GREP=OFF \
  -DPCRE2_BUILD_TESTS=OFF -DPCRE2_SUPPORT_LIBBZ2=OFF -DPCRE2_SUPPORT_LIBZ=OFF \
  -DPCRE2_SUPPORT_LIBEDIT=OFF -DPCRE2_SUPPORT_LIBREADLINE=OFF -DPCRE2_SHOW_REPORT=OFF

# Without its git history the version must be given, as Debian's rules do.
from_debian_source benchmark libbenchmark-dev -DGIT_VERSION=@UPSTREAM@ -DBENCHMARK_ENABLE_TESTING=OFF \
  -DBENCHMARK_ENABLE_GTEST_TESTS=OFF -DBENCHMARK_ENABLE_WERROR=OFF \
  -DBENCHMARK_ENABLE_LTO=OFF -DBENCHMARK_INSTALL_DOCS=OFF

from_debian_source yaml-cpp libyaml-cpp-dev -DYAML_BUILD_SHARED_LIBS=OFF -DYAML_CPP_BUILD_TESTS=OFF \
  -DYAML_CPP_BUILD_TOOLS=OFF -DYAML_CPP_BUILD_CONTRIB=OFF -DYAML_CPP_INSTALL=ON

gtest_v="$(dpkg-query -W -f='${Version}' googletest)"
prefix="$deps_dir/googletest-$gtest_v"
if is_complete "$prefix" "googletest $gtest_v"; then
  echo "$prefix" >> "$deps_dir/prefixes.txt.new"
  echo "googletest $gtest_v: cached"
else
  rm -rf "$work" "$prefix" && mkdir -p "$work"
  cmake_build googletest /usr/src/googletest "$prefix" -DINSTALL_GTEST=ON -DBUILD_GMOCK=ON
  done_prefix "$prefix" "googletest $gtest_v"
  rm -rf "$work"
  echo "googletest $gtest_v: built"
fi

cli_v="$(dpkg-query -W -f='${Version}' libcli11-dev)"
prefix="$deps_dir/cli11-$cli_v"
if ! is_complete "$prefix" "cli11 $cli_v"; then
  rm -rf "$prefix" && mkdir -p "$prefix/include" "$prefix/share/cmake"
  cp -r /usr/include/CLI "$prefix/include/"
  cp -r /usr/share/cmake/CLI11 "$prefix/share/cmake/"
  done_prefix "$prefix" "cli11 $cli_v"
else
  echo "$prefix" >> "$deps_dir/prefixes.txt.new"
fi

mv "$deps_dir/prefixes.txt.new" "$deps_dir/prefixes.txt"
