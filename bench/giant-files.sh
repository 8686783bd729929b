#!/usr/bin/env bash
# Peak memory (maximum resident set, GNU time) of start-up with each damaged file whose header
# claims a giant size, against a normal start. Each run lasts until the error box or the board
# screen is up, then the game is asked to quit. Needs an X display (an Xvfb is started here).
set -euo pipefail
# The game in its own language, whatever the machine's locale (the scripts wait for its lines).
unset LANGUAGE LC_ALL LC_MESSAGES LANG
build=$(realpath "${1:-build}")
here=$(cd "$(dirname "$0")" && pwd)
regressions=$here/../fuzz/regressions
source "$here/xvfb.sh"
start_xvfb
scratch=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null; rm -rf "$scratch"' EXIT

# name in Images/ or Sounds/, file put in its place ("" for a normal start)
cases=(
  "- -"
  "Images/About.jpg $regressions/jpeg/ship-60000x60000.jpg"
  "Images/Ship.jpg $regressions/jpeg/ship-60000x60000.jpg"
  "Images/Border.bmp $regressions/bmp/border-60000x60000.bmp"
  "Images/Report.bmp $regressions/bmp/report-60000x60000.bmp"
  "Images/Report.bmp $regressions/bmp/strip-150994992x48.bmp"
  "Images/CURSOR.CUR $regressions/cursor/bitmap-60000x60000.cur"
  "Sounds/Shot.wav $regressions/wave/data-4gb.wav"
)
printf '%-20s %-32s %10s %9s %s\n' "file" "replaced by" "peak (KB)" "time (s)" "outcome"
for c in "${cases[@]}"; do
  read -r target replacement <<<"$c"
  game=$scratch/game
  rm -rf "$game" && mkdir -p "$game"
  cp "$build/kravelon" "$game/"
  cp -r "$build/Images" "$build/Sounds" "$game/"
  [ "$target" != "-" ] && cp "$replacement" "$game/$target"
  DISPLAY=$display SDL_AUDIODRIVER=dummy KRAVELON_ECHO_CONSOLE=1 \
    /usr/bin/time -v -o "$scratch/time.txt" "$game/kravelon" >"$scratch/out.txt" 2>/dev/null &
  timer=$!
  outcome=timeout
  for _ in $(seq 600); do
    if grep -q 'Пользователь расставляет корабли' "$scratch/out.txt"; then outcome=board; break; fi
    if xwininfo -display "$display" -root -tree 2>/dev/null | grep -q '"Кравелон"'; then
      outcome=box; break
    fi
    sleep 0.05
  done
  # The game is the only child of GNU time (which itself ignores the quit signals).
  kill -TERM "$(pgrep -P "$timer")" 2>/dev/null || true
  wait "$timer" || true
  peak=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$scratch/time.txt")
  elapsed=$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$scratch/time.txt")
  printf '%-20s %-32s %10s %9s %s\n' "$target" "$(basename "$replacement")" "$peak" "$elapsed" "$outcome"
done
