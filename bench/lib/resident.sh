# Shared by the resident benchmarks: a private home for each run, the program under a
# virtual X server, its main window, and per-thread CPU time and wake-ups read from /proc.

BENCH_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"

# The release program named on the command line, or the one scripts/run builds.
bench_program() {
  local exe="${1:-$BENCH_ROOT/build/release/velkaro}"
  if [ ! -x "$exe" ]; then
    echo "no program at $exe (build it with scripts/run or cmake, or pass its path)" >&2
    return 2
  fi
  (cd "$(dirname "$exe")" && echo "$(pwd)/$(basename "$exe")")
}

# Runs "$@" inside a virtual X server with a fresh per-user runtime, data and config
# folder, so the run never touches the user's lock, socket, settings or profiles.
bench_in_xvfb() {
  local scratch
  scratch="$(mktemp -d)"
  mkdir -p "$scratch/run" "$scratch/data" "$scratch/config"
  chmod 700 "$scratch/run"
  local status=0
  XDG_RUNTIME_DIR="$scratch/run" XDG_DATA_HOME="$scratch/data" XDG_CONFIG_HOME="$scratch/config" \
    xvfb-run -a -s "-screen 0 1280x800x24" "$@" || status=$?
  rm -rf "$scratch"
  return "$status"
}

# Fresh per-user folders for one more run inside the same X server.
bench_fresh_home() {
  rm -rf "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "${XDG_RUNTIME_DIR:?}"/*
  mkdir -p "$XDG_DATA_HOME" "$XDG_CONFIG_HOME"
}

# The visible main window of process $1 (titled "Velkaro" like the tray's small stand-in,
# but far wider); prints its id, or nothing.
bench_main_window() {
  local pid="$1" id
  for id in $(xdotool search --onlyvisible --pid "$pid" --name '^Velkaro$' 2>/dev/null || true); do
    eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null || echo WIDTH=0)"
    if [ "${WIDTH:-0}" -gt 200 ]; then
      echo "$id"
      return 0
    fi
  done
}

# Waits up to $2 seconds for the main window of process $1; prints its id.
bench_wait_window() {
  local pid="$1" limit="${2:-20}" id=""
  local deadline=$((SECONDS + limit))
  while [ $SECONDS -lt "$deadline" ]; do
    id="$(bench_main_window "$pid")"
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.05
  done
  return 1
}

# Gives window $1 the keyboard focus and waits (up to 5 s) until it has it.
bench_focus() {
  local window="$1" tries
  for tries in $(seq 50); do
    xdotool windowfocus "$window" 2>/dev/null || true
    sleep 0.1
    if [ "$(xdotool getwindowfocus 2>/dev/null)" = "$window" ]; then
      return 0
    fi
  done
  return 1
}

# One line per thread of process $1: tid, CPU nanoseconds, context switches, name.
bench_thread_sample() {
  local pid="$1" task tid
  for task in /proc/"$pid"/task/*; do
    tid="${task##*/}"
    [ -r "$task/schedstat" ] || continue
    awk -v tid="$tid" -v ns="$(cut -d' ' -f1 "$task/schedstat")" -v name="$(cat "$task/comm")" \
      '/^voluntary_ctxt_switches|^nonvoluntary_ctxt_switches/ { n += $2 }
       END { printf "%s %s %d %s\n", tid, ns, n, name }' "$task/status" 2>/dev/null || true
  done
}

# Prints the CPU share of one core and wake-ups per second of the process and of each
# thread between two samples ($1, $2: files of bench_thread_sample) over $3 seconds. $4 is
# the process id (its own thread is the UI thread); $5 labels the block.
bench_report() {
  local before="$1" after="$2" seconds="$3" pid="$4" label="$5"
  awk -v secs="$seconds" -v pid="$pid" -v label="$label" '
    FNR == NR { ns0[$1] = $2; sw0[$1] = $3; next }
    {
      d = $2 - ns0[$1]; w = $3 - sw0[$1]
      if (!($1 in ns0)) { d = $2; w = $3 }
      total += d; wakes += w
      name = $4; for (i = 5; i <= NF; ++i) name = name " " $i
      if ($1 == pid) name = name " (UI)"
      line[$1] = sprintf("    %-8s %-22s %6.2f %%  %7.1f wake-ups/s", $1, name, 100 * d / 1e9 / secs, w / secs)
      order[++n] = $1
    }
    END {
      printf "%s: %.2f %% of one core, %.1f wake-ups/s over %d s\n", label, 100 * total / 1e9 / secs, wakes / secs, secs
      for (i = 1; i <= n; ++i) print line[order[i]]
    }' "$before" "$after"
}

# Samples process $1 over $2 seconds and reports it under label $3.
bench_measure() {
  local pid="$1" seconds="$2" label="$3" before after
  before="$(mktemp)"
  after="$(mktemp)"
  bench_thread_sample "$pid" >"$before"
  sleep "$seconds"
  bench_thread_sample "$pid" >"$after"
  bench_report "$before" "$after" "$seconds" "$pid" "$label"
  rm -f "$before" "$after"
}

# Asks the program to close (SIGTERM closes the main window cleanly) and waits for it.
bench_stop() {
  local pid="$1"
  kill -TERM "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}
