#!/usr/bin/env bash
# The scale run: the same measures at 1,000 and at 10,000 idle processes, which the
# script starts and reaps itself (after checking that the machine's limits allow them).
#   cpu_us_per_process  the CPU time of one "Global" sample (TPerfData::Refresh) divided
#                       by the processes on the machine, median of the rounds
#   serve               `gaugery serve --interval 1` scraped once a second: the samples it
#                       took against the scrapes, the slowest /metrics answer, its RSS
# then:
#   ratio cpu-per-process-10000/1000 <value>  (target <= 1.3)
# Usage: bench/scale.sh [BUILD_DIR] (default: build)
# SMALL (1000), LARGE (10000), ROUNDS (5) and SCRAPES (10) change the run.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
small=${SMALL:-1000}
large=${LARGE:-10000}
rounds=${ROUNDS:-5}
scrapes=${SCRAPES:-10}

source bench/common.sh
serve_pid=""
stop_serve() {
  [ -z "$serve_pid" ] && return 0
  kill "$serve_pid" 2>/dev/null || true
  wait "$serve_pid" 2>/dev/null || true
  serve_pid=""
}
trap 'stop_serve; stop_idle_children' EXIT

running_processes() { ls /proc | grep -c '^[0-9]'; }

# The CPU time of one sample per process on the machine, median of the rounds.
cpu_per_process() {
  local results="" cpu
  for _ in $(seq "$rounds"); do
    cpu=$("$build/bin/refresh_sample" 5 | awk '/cpu_us_per_sample/ {print $2}')
    results+="$(awk -v c="$cpu" -v n="$(running_processes)" 'BEGIN { printf "%.2f", c / n }') "
  done
  echo "$results" | median
}

# Scrapes a server started for the purpose once a second; prints what it saw.
measure_serve() {
  local port samples_before samples_after slowest=0 took
  port=$(free_port)
  "$build/bin/gaugery" serve --listen "127.0.0.1:$port" --interval 1 >/dev/null 2>&1 &
  serve_pid=$!
  local url="http://127.0.0.1:$port/metrics"
  for _ in $(seq 100); do curl -sf -o /dev/null "$url" && break; sleep 0.2; done
  samples() { curl -sf "$url" | awk '/^gaugery_serve_samples_total/ {print $2}'; }
  sleep 1
  samples_before=$(samples)
  local ticks_before
  ticks_before=$(cpu_ticks "$serve_pid")
  for _ in $(seq "$scrapes"); do
    sleep 1
    took=$(curl -sf -o /dev/null -w '%{time_total}' "$url")
    slowest=$(awk -v a="$slowest" -v b="$took" 'BEGIN { print (b > a ? b : a) }')
  done
  samples_after=$(samples)
  local rss cpu
  rss=$(awk '/^VmRSS/ {print $2}' "/proc/$serve_pid/status")
  cpu=$(awk -v t="$(($(cpu_ticks "$serve_pid") - ticks_before))" -v hz="$(getconf CLK_TCK)" \
    -v n="$((scrapes + 1))" 'BEGIN { printf "%.0f", t * 1000 / hz / n }')
  stop_serve
  echo "samples $((samples_after - samples_before)) over $scrapes scrapes a second apart," \
    "slowest /metrics ${slowest} s, cpu_ms_per_scrape $cpu, rss_kib $rss"
}

check_process_room "$large" || exit 1
declare -A per_process
for count in "$small" "$large"; do
  start_idle_children $((count - ${#idle_children[@]})) 1 "$build"
  per_process[$count]=$(cpu_per_process)
  printf 'at %6d extra processes (%d running): cpu_us_per_process %s\n' "$count" \
    "$(running_processes)" "${per_process[$count]}"
  printf 'at %6d extra processes: serve %s\n' "$count" "$(measure_serve)"
done
print_ratio "cpu-per-process-$large/$small" "${per_process[$large]}" "${per_process[$small]}" 1.3
