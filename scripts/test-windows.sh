#!/usr/bin/env bash
# Cross-builds the 64- and 32-bit Windows presets and runs both test suites under Wine:
# the unit suite, the end-to-end suite against Wine's own registry with the test
# performance provider installed, and brindle.exe's windows on replayed captures. The
# Wine prefix is made fresh under build/ on every run; one Wine server serves the whole
# run.
set -euo pipefail
cd "$(dirname "$0")/.."

# brindle.exe's tests open windows: without a display the run goes onto a virtual one.
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

jobs=${JOBS:-$(nproc)}
presets=(mingw64 mingw32)

step() { printf '\n=== %s (%s)\n' "$1" "$(date +%T)"; }
fail() { printf 'test-windows: %s\n' "$1" >&2; exit 1; }

for preset in "${presets[@]}"; do
  step "cross build $preset"
  [ -f "build/$preset/CMakeCache.txt" ] || cmake --preset "$preset"
  cmake --build --preset "$preset" -j "$jobs"
done

step "fresh Wine prefix"
export WINEPREFIX="$PWD/build/wine" WINEARCH=win64 WINEDEBUG=-all TZ=UTC
export WINEDLLOVERRIDES="mscoree,mshtml="
wineserver -k >/dev/null 2>&1 || true  # left over from an interrupted run
rm -rf "$WINEPREFIX"
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
# Everything Wine starts for the prefix gets no terminal or pipe of ours: a service that
# inherited one would keep a reader waiting for its end.
mkdir -p "$WINEPREFIX"
wineserver -p </dev/null >/dev/null 2>&1 || fail "no Wine server for $WINEPREFIX"
wineboot -i </dev/null >/dev/null 2>&1 || fail "wineboot could not set up $WINEPREFIX"

for preset in "${presets[@]}"; do
  program="build/$preset/bin/gaugery.exe"
  set +e
  output=$(wine "$program" help 2>&1 </dev/null)
  code=$?
  set -e
  [ "$code" -eq 0 ] || fail "$program does not start under Wine (exit $code${output:+: $output}); \
exit 53 without output means a DLL it needs is not beside it in build/$preset/bin"
done

step "test performance provider"
cp build/mingw64/bin/GaugeryTestObjects.dll "$WINEPREFIX/drive_c/windows/system32/"
cp build/mingw32/bin/GaugeryTestObjects.dll "$WINEPREFIX/drive_c/windows/syswow64/"
wine regsvr32 /s GaugeryTestObjects.dll </dev/null >/dev/null 2>&1 ||
  fail "the test performance provider could not be registered"
echo "installed for both architectures and registered"

status=0
for preset in "${presets[@]}"; do
  step "tests of $preset under Wine"
  results="build/$preset/test-results"
  rm -rf "$results"
  mkdir -p "$results"
  # The programs see the results directory through Wine's drive Z:, the root.
  GTEST_OUTPUT="xml:Z:$PWD/$results/" ctest --test-dir "build/$preset" --output-on-failure \
    -j "$jobs" </dev/null || status=1
  cases=$(cat "$results"/*.xml 2>/dev/null | grep -o '<testsuites tests="[0-9]*" failures="[0-9]*"' |
          awk -F'"' '{ tests += $2; failures += $4 } END { printf "%d test cases, %d failed", tests, failures }')
  echo "$preset: $cases"
  # A program that ends before its last test writes no results, whatever its exit code.
  for program in "build/$preset/bin/"*_tests.exe; do
    name=$(basename "$program" .exe)
    if [ ! -s "$results/$name.xml" ]; then
      echo "$preset: $name left no results: it ended before its tests finished" >&2
      status=1
    fi
  done
done

step "reading a Linux gaugery serve"
scripts/wine-remote-check.sh || status=1
exit $status
