#!/usr/bin/env bash
# gaugery.exe of each preset reads a Linux `gaugery serve` under Wine: its dump equals the
# Linux program's own dump of the same replayed sample, and a stopped server is reported
# with the code 53 (the network path is not found). The other way round, Linux reads
# `gaugery.exe serve` with the test provider registered: the same objects as the Windows
# program's own dump (apart from the times of two samples), /metrics carries them and / is the web page.
# Run by test-windows.sh once the Wine prefix is up; needs the Linux build in build/.
set -euo pipefail
cd "$(dirname "$0")/.."

linux=build/bin/gaugery
[ -x "$linux" ] || { echo "wine-remote-check: no Linux build at $linux" >&2; exit 1; }
work=$(mktemp -d)
server=
trap '[ -n "$server" ] && kill "$server" 2>/dev/null; rm -rf "$work"' EXIT

"$linux" capture "$work/sample.blk" >/dev/null
# English titles on both sides: the default locale is each program's own first one, and
# the Wine prefix lists the test provider's German locale first.
"$linux" --replay "$work/sample.blk" dump --locale 009 --json >"$work/linux.json"
port=$((20000 + RANDOM % 20000))
"$linux" --replay "$work/sample.blk" serve --listen "127.0.0.1:$port" >/dev/null 2>&1 &
server=$!
sleep 1

status=0
for preset in mingw64 mingw32; do
  program="build/$preset/bin/gaugery.exe"
  wine "$program" --computer "127.0.0.1:$port" dump --locale 009 --json </dev/null | tr -d '\r' >"$work/$preset.json"
  if cmp -s "$work/$preset.json" "$work/linux.json"; then
    echo "$preset: reads the Linux server, same blocks"
  else
    echo "$preset: its dump of the Linux server differs from Linux's own" >&2
    status=1
  fi
done

kill "$server"
wait "$server" 2>/dev/null || true
server=
for preset in mingw64 mingw32; do
  message=$(wine "build/$preset/bin/gaugery.exe" --computer "127.0.0.1:$port" dump --json \
            </dev/null 2>&1 >/dev/null || true)
  if [[ "$message" == *"(53)"* ]]; then echo "$preset: a stopped server gives 53"
  else echo "$preset: a stopped server gave \"$message\", not 53" >&2; status=1; fi
done
# The Windows program's blocks without the fields that differ between two samples.
without_times() {
  python3 -c 'import json, sys
def strip(node):
    if isinstance(node, dict):
        return {k: strip(v) for k, v in node.items() if not k.startswith(("perfTime", "systemTime"))}
    return [strip(v) for v in node] if isinstance(node, list) else node
print(json.dumps(strip(json.load(sys.stdin)), sort_keys=True))'
}

for preset in mingw64 mingw32; do
  program="build/$preset/bin/gaugery.exe"
  port=$((20000 + RANDOM % 20000))
  wine "$program" serve --listen "127.0.0.1:$port" </dev/null >/dev/null 2>&1 &
  for _ in $(seq 50); do curl -sf "http://127.0.0.1:$port/metrics" >"$work/metrics" && break; sleep 0.2; done
  curl -sf "http://127.0.0.1:$port/" >"$work/page" || true
  "$linux" --computer "127.0.0.1:$port" dump --locale 007 --json | without_times >"$work/remote.json"
  wine "$program" dump --locale 007 --json </dev/null 2>/dev/null | without_times >"$work/own.json"
  pkill -f "gaugery.exe serve --listen 127.0.0.1:$port" || true
  if cmp -s "$work/remote.json" "$work/own.json" && grep -q '^gaugery_object_9000' "$work/metrics" \
     && grep -qi '<html' "$work/page"; then
    echo "$preset: its server reads on Linux as its own dump; /metrics has the provider; / is the page"
  else
    echo "$preset: Linux reads its server differently from its own dump" >&2
    status=1
  fi
done
exit $status
