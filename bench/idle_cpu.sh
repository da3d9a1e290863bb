#!/usr/bin/env bash
# Idle CPU of the running main window: starts the program under a virtual X server, lets
# it settle, then reads its user and system time from /proc over VELKARO_IDLE_SECONDS
# (default 10) and reports it as a share of one core. The goal is under 1%.
#   bench/idle_cpu.sh [path/to/velkaro]
set -euo pipefail

measure() {
  local exe="$1" seconds="$2" settle="$3"
  VELKARO_HID="${VELKARO_HID:-sim}" "$exe" &
  local pid=$!
  sleep "$settle"
  if ! kill -0 "$pid" 2>/dev/null; then
    echo "the program ended before the measurement" >&2
    return 1
  fi
  ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
  # The UI thread is the process's first thread; the rest are device and helper threads.
  ui_ticks() { awk '{print $14 + $15}' "/proc/$pid/task/$pid/stat"; }
  local start end hz ui_start ui_end
  start=$(ticks)
  ui_start=$(ui_ticks)
  sleep "$seconds"
  end=$(ticks)
  ui_end=$(ui_ticks)
  hz=$(getconf CLK_TCK)
  kill -TERM "$pid"
  wait "$pid" || true
  awk -v t=$((end - start)) -v u=$((ui_end - ui_start)) -v hz="$hz" -v s="$seconds" \
    'BEGIN { printf "idle CPU over %d s: %.2f%% of one core (%d ticks at %d Hz); UI thread %.2f%%\n", s, 100 * t / hz / s, t, hz, 100 * u / hz / s }'
}

# Inside the virtual X server (the script runs itself there).
if [ "${1:-}" = "--inside" ]; then
  shift
  measure "$@"
  exit $?
fi

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
exe="${1:-$root/build/release/velkaro}"
seconds="${VELKARO_IDLE_SECONDS:-10}"
settle="${VELKARO_IDLE_SETTLE:-3}"
if [ ! -x "$exe" ]; then
  echo "no program at $exe (build it first, or pass its path)" >&2
  exit 2
fi

# A private home for the run: its lock, socket, settings and profiles stay out of the user's.
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/run" "$scratch/data" "$scratch/config"
chmod 700 "$scratch/run"


XDG_RUNTIME_DIR="$scratch/run" XDG_DATA_HOME="$scratch/data" XDG_CONFIG_HOME="$scratch/config" \
  xvfb-run -a -s "-screen 0 1280x800x24" "$root/bench/idle_cpu.sh" --inside "$exe" "$seconds" "$settle"
