#!/usr/bin/env bash
# Measures, in one run with 500 extra idle processes, what one scrape of every process's
# series costs `gaugery serve` against the exporters that users would pick instead:
# prometheus-process-exporter with one group per process, and prometheus-node-exporter
# (machine-level series only). Each listens on its own loopback port and is scraped once
# a second for 15 seconds per round, one after the other; its CPU per scrape is the
# growth of utime + stime in its /proc/PID/stat over the round, divided by the scrapes.
# Prints, per exporter, the median CPU per scrape over the rounds, the series and the
# bytes of one answer, then:
#   ratio gaugery-serve/process-exporter <value>  (target <= 0.06)
#   ratio gaugery-serve/node-exporter <value>
# Usage: bench/exporters.sh [BUILD_DIR] (default: build)
# ROUNDS (5), SCRAPES (15) and CHILDREN (500) change the run. The exporters' services are
# never enabled or started: the script runs the binaries itself and stops them.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
rounds=${ROUNDS:-5}
scrapes=${SCRAPES:-15}
children=${CHILDREN:-500}
python=${PYTHON:-/usr/bin/python3}

for program in prometheus-process-exporter prometheus-node-exporter curl; do
  command -v "$program" >/dev/null || { echo "$program is missing: run scripts/install-deps.sh" >&2; exit 1; }
done

work=$(mktemp -d)
exporters=()
stop_exporters() {
  for pid in "${exporters[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${exporters[@]}"; do wait "$pid" 2>/dev/null || true; done
}
source bench/common.sh
trap 'stop_exporters; stop_idle_children; rm -rf "$work"' EXIT

# One group per process: every process matches, and its group is named by its command
# and its pid.
cat >"$work/process-exporter.yml" <<'YAML'
process_names:
  - name: "{{.Comm}}:{{.PID}}"
    cmdline:
      - '.*'
YAML

declare -A port pid
port[gaugery-serve]=$(free_port)
"$build/bin/gaugery" serve --listen "127.0.0.1:${port[gaugery-serve]}" --interval 1 \
  >"$work/gaugery-serve.log" 2>&1 &
pid[gaugery-serve]=$!
port[process-exporter]=$(free_port)
prometheus-process-exporter -config.path "$work/process-exporter.yml" \
  -web.listen-address "127.0.0.1:${port[process-exporter]}" >"$work/process-exporter.log" 2>&1 &
pid[process-exporter]=$!
port[node-exporter]=$(free_port)
prometheus-node-exporter --web.listen-address="127.0.0.1:${port[node-exporter]}" \
  >"$work/node-exporter.log" 2>&1 &
pid[node-exporter]=$!
order=(gaugery-serve process-exporter node-exporter)
for name in "${order[@]}"; do exporters+=("${pid[$name]}"); done

check_process_room "$children"
start_idle_children "$children" 1 "$build"

url() { echo "http://127.0.0.1:${port[$1]}/metrics"; }
for name in "${order[@]}"; do
  for _ in $(seq 50); do
    curl -sf -o /dev/null "$(url "$name")" && continue 2
    sleep 0.2
  done
  echo "$name does not answer on port ${port[$name]}:" >&2
  cat "$work/$name.log" >&2
  exit 1
done

ticks_per_second=$(getconf CLK_TCK)

declare -A results series bytes
for round in $(seq "$rounds"); do
  declare -A before=()
  for name in "${order[@]}"; do before[$name]=$(cpu_ticks "${pid[$name]}"); done
  for _ in $(seq "$scrapes"); do
    started=$(date +%s.%N)
    for name in "${order[@]}"; do
      curl -sf -o "$work/$name.metrics" "$(url "$name")"
    done
    sleep "$(awk -v s="$started" -v n="$(date +%s.%N)" 'BEGIN { w = 1 - (n - s); print (w > 0 ? w : 0) }')"
  done
  for name in "${order[@]}"; do
    used=$(($(cpu_ticks "${pid[$name]}") - before[$name]))
    results[$name]+="$(awk -v t="$used" -v hz="$ticks_per_second" -v n="$scrapes" \
      'BEGIN { printf "%.2f", t * 1000 / hz / n }') "
  done
done
for name in "${order[@]}"; do
  series[$name]=$(grep -cv '^#' "$work/$name.metrics")
  bytes[$name]=$(wc -c <"$work/$name.metrics")
done

declare -A med
for name in "${order[@]}"; do
  med[$name]=$(echo "${results[$name]}" | median)
  printf 'cpu_ms_per_scrape %-17s %8s  series %7s  bytes %9s  (rounds: %s)\n' "$name" \
    "${med[$name]}" "${series[$name]}" "${bytes[$name]}" "${results[$name]}"
done
ratio() { print_ratio "$1/$2" "${med[$1]}" "${med[$2]}" "${3:-}"; }
ratio gaugery-serve process-exporter 0.06
ratio gaugery-serve node-exporter
