#!/usr/bin/env bash
# What the game costs at rest (the board screen up, no input) over 10 s: CPU time and wake-ups
# (context switches of all its threads), first before any sound, then after a ship is placed
# with its sound, then with the main menu open.
set -euo pipefail
build=${1:-build}
source "$(dirname "$0")/game.sh"
start_game_on_xvfb "$(realpath "$build/kravelon")"
hz=$(getconf CLK_TCK)
measure() {
  local ticks wakes
  ticks=$(cpu_ticks)
  wakes=$(wakeups)
  sleep 10
  awk -v t=$(($(cpu_ticks) - ticks)) -v w=$(($(wakeups) - wakes)) -v hz="$hz" -v what="$1" \
    'BEGIN { printf "idle %s: %.0f ms CPU per 10 s, %.1f wake-ups per second\n", what, 1000 * t / hz, w / 10 }'
}
sleep 1
measure "before any sound"
# The main window stands in the middle of the 1024 × 768 screen; its first cell is 4, 36 in.
DISPLAY=$display xdotool mousemove $((164 + 4 + 16)) $((140 + 36 + 16)) click 1
sleep 3  # the placing sound is well under a second
measure "after a sound"
# The main menu open over the board screen: its loop waits on events like the main loop.
DISPLAY=$display xdotool key Escape
sleep 1
measure "with the main menu open"
