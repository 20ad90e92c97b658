#!/usr/bin/env bash
# Measures, in one run and alternating, the CPU time per sample of reading the process
# table with 500 extra idle processes: Gaugery's TPerfData::Refresh of the live block, two
# floors (minimal C readers of the same files: "floor" by the best plain method known,
# "floor-listing" with whole paths and the fd directory listed), ps and psutil; the CPU time of one `gaugery read` of
# Brindle's eight Process counters against one ps run; and that of one `gaugery read` of
# a Memory counter against one of a Process counter, since a one-shot command reads only
# the objects it names. Prints one line per ratio:
#   ratio gaugery/<peer> <value> [(target <= <value>)]
#   ratio gaugery-read/ps <value>
#   ratio gaugery-read-memory/gaugery-read-process <value>
# Usage: bench/peers.sh [BUILD_DIR] (default: build)
#
# THREADS=N gives every extra process N threads and compares the Thread object ("232")
# with the floor readers extended to the task files; ps and psutil sit that one out.
# BASELINE=DIR adds Gaugery's sample (of "Global", or of the Thread object) by the build
# in DIR (an older commit built on its own) as the peer "baseline", to see what a change
# costs; without THREADS, also that build's reads of a Memory and a Process counter, with
# their ratio.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
samples=${SAMPLES:-40}
rounds=${ROUNDS:-5}
children=${CHILDREN:-500}
threads=${THREADS:-1}
baseline=${BASELINE:-}
# psutil comes from the Debian package, which the system's interpreter sees.
python=${PYTHON:-/usr/bin/python3}

source bench/common.sh
trap stop_idle_children EXIT
check_process_room "$children"
start_idle_children "$children" "$threads" "$build"

runs_per_round=$((samples / 4 + 1))
read_counters=("ID Process" "Elapsed Time" "Thread Count" "Handle Count" "Page File Bytes"
  "Page File Bytes Peak" "Pool Nonpaged Bytes" "Working Set")
declare -A runs
if [ "$threads" -gt 1 ]; then
  runs=(
    [gaugery]="$build/bin/refresh_sample $samples 232"
    [floor]="$build/bin/floor_reader $samples threads"
    [floor-listing]="$build/bin/floor_reader $samples threads listing"
  )
  order=(gaugery floor floor-listing)
else
  runs=(
    [gaugery]="$build/bin/refresh_sample $samples"
    [floor]="$build/bin/floor_reader $samples"
    [floor-listing]="$build/bin/floor_reader $samples listing"
    [ps]="$python bench/command_reader.py $runs_per_round ps -eo comm,pid,etimes,nlwp,vsz,rss"
    [psutil]="$python bench/psutil_reader.py $runs_per_round"
  )
  order=(gaugery floor floor-listing ps psutil gaugery-read gaugery-read-memory gaugery-read-process)
fi
if [ -n "$baseline" ]; then
  runs[baseline]="${runs[gaugery]/#$build/$baseline}"
  order+=(baseline)
  [ "$threads" -gt 1 ] || order+=(baseline-read-memory baseline-read-process)
fi

# The peers that run a whole `gaugery` command, the program they run, and the operands of
# its `read`.
is_command() { [[ $1 == *-read* ]]; }
command_program() {
  if [[ $1 == baseline-* ]]; then echo "$baseline/bin/gaugery"; else echo "$build/bin/gaugery"; fi
}
read_operands() {
  case ${1#*-read} in
    "") echo Process; printf '%s\n' "${read_counters[@]}" ;;
    -memory) printf '%s\n' Memory "Available Bytes" ;;
    -process) printf '%s\n' Process "ID Process" ;;
  esac
}

declare -A results
for round in $(seq "$rounds"); do
  for peer in "${order[@]}"; do
    if is_command "$peer"; then
      mapfile -t operands < <(read_operands "$peer")
      output=$("$python" bench/command_reader.py "$runs_per_round" "$(command_program "$peer")" \
        read "${operands[@]}")
    else
      output=$(${runs[$peer]})
    fi
    results[$peer]+="$(echo "$output" | awk '/cpu_us_per_sample/ {print $2}') "
  done
done

declare -A med
for peer in "${order[@]}"; do
  med[$peer]=$(echo "${results[$peer]}" | median)
  printf 'cpu_us_per_sample %-20s %s  (rounds: %s)\n' "$peer" "${med[$peer]}" "${results[$peer]}"
done
# The most each ratio may be; a ratio without a target is only reported.
declare -A targets=([gaugery/floor]=1.05 [gaugery/floor-listing]=0.80 [gaugery/psutil]=0.40
  [gaugery-read-memory/gaugery-read-process]=0.10)
ratio() {
  local name="$1/$2"
  print_ratio "$name" "${med[$1]}" "${med[$2]}" "${targets[$name]:-}"
}
for peer in "${order[@]:1}"; do
  is_command "$peer" || ratio gaugery "$peer"
done
if [ -n "${med[gaugery-read]:-}" ]; then
  ratio gaugery-read ps
  ratio gaugery-read-memory gaugery-read-process
fi
if [ -n "${med[baseline-read-memory]:-}" ]; then
  ratio baseline-read-memory baseline-read-process
fi
