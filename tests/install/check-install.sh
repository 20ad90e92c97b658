#!/usr/bin/env bash
# Installs a build into a temporary prefix and uses it as a depending project would:
# every public header compiles on its own as <gaugery/NAME.h> with only include/ on the
# path, the program needs none of our shared libraries, a consumer project builds and
# runs once through find_package(Gaugery) and once through pkg-config, and the Debian
# packages hold what they should, stripped with their debug information apart, and run
# from an unpacked root.
#
#   tests/install/check-install.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
fail() { echo "check-install: $*" >&2; exit 1; }
step() { printf -- '--- %s\n' "$1"; }

step "install into $prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || fail "no project version in $build/CMakeCache.txt"

step "every public header compiles on its own"
headers=0
while IFS= read -r header; do
  echo "#include <${header#"$prefix/include/"}>" |
    g++ -std=c++20 -fsyntax-only -Wall -Wextra -I "$prefix/include" -x c++ - ||
    fail "$header does not compile on its own with only include/ on the path"
  headers=$((headers + 1))
done < <(find "$prefix/include/gaugery" -name '*.h' | sort)
[ "$headers" -gt 0 ] || fail "no headers installed"
echo "$headers headers"

step "the libraries export their interface only"
# The symbol lists are read whole: grep -q would close the pipe early and, under
# pipefail, turn nm's SIGPIPE into a failure.
runtime_symbols=$(nm -DC --defined-only "$prefix/lib/libGaugeryRuntime.so")
platform_symbols=$(nm -DC --defined-only "$prefix/lib/libGaugeryPlatform.so")
grep -q 'gaugery::GetGlobalPerfData' <<<"$runtime_symbols" || fail "GetGlobalPerfData not exported"
grep -q 'gaugery::RegQueryValueExW' <<<"$platform_symbols" || fail "RegQueryValueExW not exported"
if grep -E 'gaugery::(Virtual|ProcRoot|QueryPerfDataBlock|HttpFetch)' <<<"$platform_symbols"; then
  fail "GaugeryPlatform exports units of its own"
fi

step "the program carries the run-time units and the C++ library itself"
# A second copy of the run-time units, from the shared libraries, would split the state
# of the virtual registry in two; loading libraries is most of a one-shot command's time.
needed=$(readelf -d "$prefix/bin/gaugery" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
echo "needs: ${needed//$'\n'/ }"
if grep -E '^lib(Gaugery|stdc\+\+|gcc_s)' <<<"$needed"; then
  fail "gaugery loads shared libraries it should carry"
fi

consume() {  # consume NAME CMAKE_ARGS...: configure, build and run the consumer project
  local name=$1; shift
  step "consumer through $name"
  cmake -S tests/install/consumer -B "$work/$name" "$@" >/dev/null
  cmake --build "$work/$name" >/dev/null
  local output
  output=$("$work/$name/consumer") || fail "consumer through $name failed: $output"
  echo "$output"
  [[ $output =~ ^objects:\ [1-9] ]] || fail "unexpected consumer output: $output"
}
consume package -DCMAKE_PREFIX_PATH="$prefix"
pc_path=$(dirname "$(find "$prefix" -name gaugery.pc)")
# Only the include/ folder: no language standard, no folder inside it.
read -r -a cflags <<<"$(PKG_CONFIG_PATH=$pc_path pkg-config --cflags gaugery)"
[ "${#cflags[@]}" -eq 1 ] && [ "$(realpath "${cflags[0]#-I}")" = "$(realpath "$prefix/include")" ] ||
  fail "gaugery.pc gives the Cflags \"${cflags[*]}\", not -I for $prefix/include"
PKG_CONFIG_PATH=$pc_path consume pkg-config -DGAUGERY_CONSUMER_USE=pkg-config

step "Debian packages"
(cd "$build" && cpack >/dev/null)
root=$work/root
for package in "$build"/packages/*.deb; do
  echo "$(basename "$package"): $(dpkg-deb -f "$package" Depends)"
  dpkg -x "$package" "$root"
done
for name in gaugery libgaugery1 libgaugery-dev; do
  ls "$build"/packages/"${name}_${version}"*_*.deb >/dev/null 2>&1 || fail "no package $name $version"
done
dpkg-deb -f "$build"/packages/gaugery_"$version"*.deb Depends | grep -q libgaugery1 ||
  fail "the gaugery package does not depend on libgaugery1"
[ -f "$root/usr/lib/cmake/Gaugery/GaugeryConfig.cmake" ] || fail "libgaugery-dev lacks the CMake package"
# Each package with programs or libraries has a debug package beside it, and what it
# ships carries no debug information of its own.
for name in gaugery libgaugery1; do
  ls "$build"/packages/"${name}-dbgsym_${version}"*.ddeb >/dev/null 2>&1 ||
    fail "no debug package ${name}-dbgsym"
done
for binary in "$root"/usr/bin/gaugery "$root"/usr/lib/libGaugery*.so.*.*; do
  sections=$(readelf -S "$binary")
  if grep -q '\.debug_info' <<<"$sections"; then fail "$binary is not stripped"; fi
done
reported=$("$root/usr/bin/gaugery" --version)
echo "$reported"
[ "$reported" = "gaugery $version" ] || fail "gaugery --version says \"$reported\", not \"gaugery $version\""
echo "check-install: all good"
