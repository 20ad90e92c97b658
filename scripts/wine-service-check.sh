#!/usr/bin/env bash
# gaugery.exe serve as a Windows service under Wine, for each preset: installed with a
# port it is listed by `sc query`; `sc start` makes /metrics answer there with the test
# provider's objects, which a real Prometheus scrapes (skipped without one); `sc stop`
# closes the port; and once uninstalled the service is gone. The server in a console
# stops as cleanly at Ctrl+C, typed on its terminal in tmux (skipped without tmux). Run
# by test-windows.sh once the Wine prefix is up with the test provider registered.
#
# Wine's manager keeps a service that has run, marked for deletion, until the manager
# itself ends, and its registry key for good (Windows removes both once it has stopped):
# after the uninstall the service is gone or marked, and the check removes the key itself
# before the next preset.
set -uo pipefail
cd "$(dirname "$0")/.."

work=$(mktemp -d)
scraper=
trap '[ -n "$scraper" ] && kill "$scraper" 2>/dev/null; rm -rf "$work"' EXIT
status=0

# The service's state as `sc query` names it (RUNNING, STOPPED, ...), empty when unknown.
state() { wine sc query gaugery </dev/null 2>/dev/null | tr -d '\r' | awk '$1 == "STATE" {print $4}'; }
# Runs a check until it passes, for 10 s at most.
within_10s() {
  for _ in $(seq 50); do "$@" && return 0; sleep 0.2; done
  return 1
}
answers() { curl -sf -m 2 "http://127.0.0.1:$port/metrics" >"$work/metrics"; }
closed() { ! curl -s -m 1 -o /dev/null "http://127.0.0.1:$port/metrics"; }
stopped() { [ "$(state)" = STOPPED ]; }
refused() {  # refused WHAT MESSAGE OPTION: serve OPTION fails with exit 1 and MESSAGE
  local message code
  message=$(wine "$program" serve "$3" </dev/null 2>&1 >/dev/null)
  code=$?
  local expected=false
  [ "$code" = 1 ] && [[ $message == *"$2"* ]] && expected=true
  check "$1 gave exit $code and \"$message\"" "$expected"
}
removed() {
  ! wine sc query gaugery </dev/null >/dev/null 2>&1 && return 0
  local message
  message=$(wine "$program" serve --uninstall-service </dev/null 2>&1)
  [[ $message == *"is being removed"* ]]
}
check() {  # check WHAT COMMAND...: says WHAT when COMMAND fails
  local what=$1
  shift
  if "$@"; then return 0; fi
  echo "$preset: $what" >&2
  status=1
  return 1
}

# A real Prometheus scrapes the port until it has the series of the test provider's
# object 9000.
scraped_by_prometheus() {
  local api_port=$((port + 1)) query='count({__name__=~"gaugery_object_9000.*"})'
  printf 'global:\n  scrape_interval: 1s\n  scrape_timeout: 1s\nscrape_configs:\n  - job_name: windows\n    static_configs:\n      - targets: ["127.0.0.1:%s"]\n' \
    "$port" >"$work/prometheus.yml"
  prometheus --config.file="$work/prometheus.yml" --storage.tsdb.path="$work/data-$preset" \
    --web.listen-address="127.0.0.1:$api_port" --log.level=warn >"$work/prometheus.log" 2>&1 &
  scraper=$!
  local count=
  for _ in $(seq 100); do
    count=$(curl -s -m 1 "http://127.0.0.1:$api_port/api/v1/query" --data-urlencode "query=$query" |
            python3 -c 'import json, sys; r = json.load(sys.stdin)["data"]["result"]; print(r[0]["value"][1] if r else "")' \
            2>/dev/null || true)
    [ -n "$count" ] && break
    sleep 0.2
  done
  kill "$scraper"
  wait "$scraper" 2>/dev/null || true
  scraper=
  [ -n "$count" ] && echo "$preset: Prometheus has $count series of the provider's object"
}

# The prefix's setup can leave two service managers running, each with a database of its
# own, which would answer `sc` in turn: one Wine server, started anew, starts one.
# The first program starts the manager: it gets no terminal or pipe of ours, which it
# would keep open as long as it runs.
restart_wine() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -p </dev/null >/dev/null 2>&1
  wineboot </dev/null >/dev/null 2>&1
}

for preset in mingw64 mingw32; do
  program="build/$preset/bin/gaugery.exe"
  restart_wine
  failures_before=$status
  port=$((20000 + RANDOM % 20000))
  refused "removing what is not installed" "is not installed" --uninstall-service
  wine "$program" serve --install-service --listen "127.0.0.1:$port" --interval 0.5 </dev/null >/dev/null
  if ! check "sc query does not list the installed service" within_10s stopped; then continue; fi
  refused "installing twice" "is already installed" --install-service
  wine sc start gaugery </dev/null >/dev/null 2>&1 || true
  if check "the started service does not answer on port $port" within_10s answers; then
    check "the service is not reported running" [ "$(state)" = RUNNING ]
    check "its /metrics lacks the test provider" grep -q '^gaugery_object_9000' "$work/metrics"
    if command -v prometheus >/dev/null; then
      check "Prometheus got no series of the test provider" scraped_by_prometheus
    fi
  fi
  wine sc stop gaugery </dev/null >/dev/null 2>&1 || true
  check "sc stop did not stop the service" within_10s stopped
  check "port $port is still open after sc stop" closed
  wine "$program" serve --uninstall-service </dev/null >/dev/null
  check "the uninstalled service is still there" removed
  wine reg delete 'HKLM\System\CurrentControlSet\Services\gaugery' /f </dev/null >/dev/null 2>&1 || true
  [ "$status" = "$failures_before" ] &&
    echo "$preset: installed, listed, started, answered, stopped, uninstalled"
done
# Ctrl+C on the terminal of the console server: it ends with 0 and closes its port. A
# tmux server of its own, started here, hands the Wine prefix on to it.
interrupted_cleanly() {
  local tmux=(tmux -L "gaugery-ctrl-c-$$")
  "${tmux[@]}" new-session -d -x 100 -y 10 \
    "wine '$program' serve --listen 127.0.0.1:$port; echo \"exit \$?\" >'$work/ctrl-c'"
  if within_10s answers; then
    "${tmux[@]}" send-keys C-c
    within_10s test -s "$work/ctrl-c"
  fi
  "${tmux[@]}" kill-server 2>/dev/null
  [ "$(cat "$work/ctrl-c" 2>/dev/null)" = "exit 0" ] && closed
}

if command -v tmux >/dev/null; then
  for preset in mingw64 mingw32; do
    program="build/$preset/bin/gaugery.exe"
    port=$((20000 + RANDOM % 20000))
    rm -f "$work/ctrl-c"
    check "Ctrl+C did not stop the console server cleanly" interrupted_cleanly &&
      echo "$preset: Ctrl+C stops the console server, exit 0, port closed"
  done
fi
exit $status
