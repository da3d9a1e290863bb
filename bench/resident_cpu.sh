#!/usr/bin/env bash
# What the program costs while it stays resident: started under a virtual X server over
# the simulated keyboard (which animates its lighting at 20 frames a second), it is
# measured for VELKARO_RESIDENT_SECONDS (default 10) with its window shown, then its close
# button hides it to the tray and it is measured as long again; a second run with no
# device gives the idle figure. Each block prints the CPU share of one core and the
# wake-ups a second of the process and of each of its threads. VELKARO_RESIDENT_DEVICE
# names another simulated device to animate (mouse, mousepad, headset; as VELKARO_SIM).
#   bench/resident_cpu.sh [path/to/velkaro]
# Goals: shown <= 1 %, hidden <= 0.15 %, no device <= 0.05 %, no thread above 20
# wake-ups/s while hidden.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/resident.sh"

seconds="${VELKARO_RESIDENT_SECONDS:-10}"
settle="${VELKARO_RESIDENT_SETTLE:-3}"
device="${VELKARO_RESIDENT_DEVICE:-keyboard}"

animating_run() {
  local exe="$1" pid window
  VELKARO_HID=sim VELKARO_SIM="$device" "$exe" &
  pid=$!
  if ! window="$(bench_wait_window "$pid")"; then
    echo "the main window never appeared" >&2
    bench_stop "$pid"
    return 1
  fi
  # A person looking at the window: it has the focus, so its LED preview is drawn. The
  # tray's stand-in window (there is no tray under Xvfb) may take the focus as it comes up:
  # the focus is given once the program has settled, and checked.
  sleep "$settle"
  if ! bench_focus "$window"; then
    echo "the main window would not take the focus" >&2
    bench_stop "$pid"
    return 1
  fi
  sleep 1
  bench_measure "$pid" "$seconds" "$device animating, window shown"

  # The close button sits 25 pixels in from the right and top edges of the caption.
  eval "$(xdotool getwindowgeometry --shell "$window")"
  xdotool mousemove --window "$window" $((WIDTH - 25)) 25 click 1
  local deadline=$((SECONDS + 10))
  while [ -n "$(bench_main_window "$pid")" ]; do
    if [ $SECONDS -ge "$deadline" ]; then
      echo "the close button did not hide the window" >&2
      bench_stop "$pid"
      return 1
    fi
    sleep 0.1
  done
  xdotool mousemove 0 0
  sleep 1
  bench_measure "$pid" "$seconds" "$device animating, window hidden to the tray"
  bench_stop "$pid"
}

idle_run() {
  local exe="$1" pid
  bench_fresh_home
  VELKARO_HID=sim VELKARO_SIM=none "$exe" &
  pid=$!
  if ! bench_wait_window "$pid" >/dev/null; then
    echo "the main window never appeared" >&2
    bench_stop "$pid"
    return 1
  fi
  sleep "$settle"
  bench_measure "$pid" "$seconds" "no device, window shown"
  bench_stop "$pid"
}

if [ "${1:-}" = "--inside" ]; then
  animating_run "$2"
  echo
  idle_run "$2"
  exit 0
fi

exe="$(bench_program "${1:-}")"
bench_in_xvfb "$BENCH_ROOT/bench/resident_cpu.sh" --inside "$exe"
