#!/usr/bin/env bash
# How soon the program shows something: the time from exec to the first frame of the
# main window on the (virtual) screen, and from the simulated keyboard's plug to the first
# frame that shows its page. Each is the median of VELKARO_LATENCY_RUNS (default 10) runs
# under a virtual X server; the program writes the moments to the file named by
# VELKARO_MILESTONES.
#   bench/start_latency.sh [path/to/velkaro]
# Goals: start <= 150 ms, plug to page <= 150 ms.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/resident.sh"

runs="${VELKARO_LATENCY_RUNS:-10}"
plug_at_ms=1500

now_us() { date +%s%6N; }

# Prints "start_ms plug_ms" for one run, or fails.
one_run() {
  local exe="$1" marks pid started deadline
  marks="$(mktemp)"
  bench_fresh_home
  started="$(now_us)"
  VELKARO_HID=sim VELKARO_SIM="keyboard@$plug_at_ms" VELKARO_MILESTONES="$marks" "$exe" &
  pid=$!
  deadline=$((SECONDS + 15))
  until awk '$1 == "entry-shown" { e = 1 } e && $1 == "present-MainWnd" { ok = 1 } END { exit !ok }' "$marks"; do
    if [ $SECONDS -ge "$deadline" ]; then
      echo "the keyboard's page was never shown" >&2
      bench_stop "$pid"
      rm -f "$marks"
      return 1
    fi
    sleep 0.05
  done
  bench_stop "$pid"
  awk -v t0="$started" '
    $1 == "present-MainWnd" && !first { first = $2 }
    $1 == "plug" { plug = $2 }
    $1 == "entry-shown" { entry = 1 }
    entry && $1 == "present-MainWnd" && !page { page = $2 }
    END { printf "%.1f %.1f\n", (first - t0) / 1000, (page - plug) / 1000 }' "$marks"
  rm -f "$marks"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

if [ "${1:-}" = "--inside" ]; then
  results="$(mktemp)"
  for _ in $(seq "$runs"); do
    one_run "$2" >>"$results"
  done
  echo "exec to first frame of the main window: median $(cut -d' ' -f1 "$results" | median) ms" \
    "(runs: $(cut -d' ' -f1 "$results" | tr '\n' ' '))"
  echo "keyboard plug to its page on screen:    median $(cut -d' ' -f2 "$results" | median) ms" \
    "(runs: $(cut -d' ' -f2 "$results" | tr '\n' ' '))"
  rm -f "$results"
  exit 0
fi

exe="$(bench_program "${1:-}")"
bench_in_xvfb "$BENCH_ROOT/bench/start_latency.sh" --inside "$exe"
