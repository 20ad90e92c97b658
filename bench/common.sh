# What the benchmark scripts share; sourced, not run.
#   check_process_room COUNT     fails with a plain message when the machine cannot
#                                start COUNT more processes
#   start_idle_children COUNT [THREADS] [BUILD_DIR]
#                                starts COUNT processes that sleep until stopped; with
#                                THREADS > 1 each one has that many threads
#   stop_idle_children           kills and reaps them
#   free_port                    a free TCP port of the loopback interface
#   cpu_ticks PID                utime + stime of a process, in clock ticks
#   median                       the median of the numbers on standard input
#   print_ratio NAME A B [TARGET]
#                                prints "ratio NAME A/B", and the target if there is one

idle_children=()

# The least of the limits on the number of processes: the user's (ulimit -u), the
# kernel's pid and thread maxima, and the pids cgroup's, each less what already runs.
process_room() {
  local running limit room
  running=$(ls /proc | grep -c '^[0-9]')
  room=$(( $(cat /proc/sys/kernel/pid_max) - running ))
  limit=$(ulimit -u)
  [ "$limit" != unlimited ] && [ $((limit - running)) -lt "$room" ] && room=$((limit - running))
  limit=$(cat /proc/sys/kernel/threads-max)
  [ $((limit - running)) -lt "$room" ] && room=$((limit - running))
  if [ -r /sys/fs/cgroup/pids/pids.max ]; then
    limit=$(cat /sys/fs/cgroup/pids/pids.max)
    [ "$limit" != max ] && [ $((limit - running)) -lt "$room" ] && room=$((limit - running))
  fi
  echo "$room"
}

check_process_room() {
  local room
  room=$(process_room)
  if [ "$1" -gt "$room" ]; then
    echo "this machine cannot start $1 more processes: its limits leave room for $room" \
      "(ulimit -u $(ulimit -u), pid_max $(cat /proc/sys/kernel/pid_max)," \
      "threads-max $(cat /proc/sys/kernel/threads-max))" >&2
    return 1
  fi
}

start_idle_children() {
  local count=$1 threads=${2:-1} build=${3:-build}
  for _ in $(seq "$count"); do
    if [ "$threads" -gt 1 ]; then
      "$build/bin/idle_threads" "$threads" &
    else
      sleep 100000 &
    fi
    idle_children+=($!)
  done
}

stop_idle_children() {
  [ ${#idle_children[@]} -eq 0 ] && return 0
  kill "${idle_children[@]}" 2>/dev/null || true
  wait "${idle_children[@]}" 2>/dev/null || true
  idle_children=()
}

median() { tr ' ' '\n' | grep -v '^$' | sort -g | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }

print_ratio() {
  awk -v n="$1" -v a="$2" -v b="$3" -v t="${4:-}" 'BEGIN {
    printf "ratio %s %.3f%s\n", n, (b > 0 ? a / b : 0), (t == "" ? "" : "  (target <= " t ")")
  }'
}

free_port() {
  "${python:-/usr/bin/python3}" -c \
    'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

cpu_ticks() { awk '{ sub(/.*\) /, ""); print $12 + $13 }' "/proc/$1/stat"; }
