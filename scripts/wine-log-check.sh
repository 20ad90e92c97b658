#!/usr/bin/env bash
# Counter logs across Windows and Linux, for gaugery.exe of each preset under Wine: a log
# it records with the test provider registered replays on Linux with the provider's
# German names and relogs to CSV; a log recorded on Linux dumps under Wine as it does on
# Linux and relogs to the same CSV. Run by test-windows.sh once the Wine prefix is up,
# with the test provider registered; needs the Linux build in build/.
set -euo pipefail
cd "$(dirname "$0")/.."

linux=build/bin/gaugery
[ -x "$linux" ] || { echo "wine-log-check: no Linux build at $linux" >&2; exit 1; }
work=$(mktemp -d)
trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT

presets=${PRESETS:-mingw64 mingw32}
events='\Prüfgerät(*)\Ereignisse'
cpu='\Process(*)\% Processor Time'
status=0
pass() { echo "$1"; }
# Whether two CSV files hold the same cells, numbers equal to 12 digits: the 32-bit build
# computes in the x87 unit's longer doubles, which can change the last digit.
same_table() {
  python3 - "$1" "$2" <<'PY'
import csv, math, sys
def rows(name):
    with open(name, newline='') as f:
        return list(csv.reader(f))
def same(a, b):
    if a == b:
        return True
    try:
        return math.isclose(float(a), float(b), rel_tol=1e-12)
    except ValueError:
        return False
a, b = rows(sys.argv[1]), rows(sys.argv[2])
sys.exit(0 if len(a) == len(b) and all(len(x) == len(y) and all(map(same, x, y))
                                       for x, y in zip(a, b)) else 1)
PY
}
fail() { echo "$1" >&2; status=1; }

"$linux" record --count 3 --interval 1 "$work/linux.glog" 2>/dev/null
"$linux" --replay "$work/linux.glog" dump --locale 009 --json >"$work/linux.json"
"$linux" relog "$work/linux.glog" -o "$work/linux.csv" "$cpu" 2>/dev/null

for preset in $presets; do
  program="build/$preset/bin/gaugery.exe"
  log="$work/$preset.glog"
  wine "$program" record --count 3 --interval 1 "Z:$log" </dev/null >/dev/null 2>&1 || true
  if "$linux" --replay "$log" dump --locale 007 --json >"$work/$preset-dump.json" 2>"$work/err" &&
     grep -q '"Prüfgerät"' "$work/$preset-dump.json" && grep -q '"Gerät 1"' "$work/$preset-dump.json"; then
    pass "$preset: its log replays on Linux with the provider's German names"
  else
    fail "$preset: its log does not replay on Linux with the German names: $(head -c 300 "$work/err")"
  fi
  # A header and three rows, the first of them without a value: a delta needs two samples.
  if "$linux" relog "$log" --locale 007 -o "$work/$preset.csv" "$events" 2>"$work/err" &&
     [ "$(wc -l <"$work/$preset.csv")" -eq 4 ] &&
     head -1 "$work/$preset.csv" | grep -q 'Prüfgerät(Gerät 1)\\Ereignisse"'; then
    pass "$preset: its log relogs to CSV on Linux"
  else
    fail "$preset: its log does not relog to CSV on Linux: $(head -c 300 "$work/err")"
  fi

  wine "$program" --replay "Z:$work/linux.glog" dump --locale 009 --json </dev/null 2>/dev/null |
    tr -d '\r' >"$work/$preset-linux.json" || true
  wine "$program" relog "Z:$work/linux.glog" -o "Z:$work/$preset-linux.csv" "$cpu" \
    </dev/null >/dev/null 2>&1 || true
  if cmp -s "$work/$preset-linux.json" "$work/linux.json"; then
    pass "$preset: a Linux log dumps as on Linux"
  else
    fail "$preset: a Linux log dumps differently from Linux"
  fi
  if same_table "$work/$preset-linux.csv" "$work/linux.csv"; then
    pass "$preset: a Linux log relogs to the CSV Linux writes"
  else
    fail "$preset: a Linux log relogs to another CSV than on Linux"
  fi
done
exit $status
