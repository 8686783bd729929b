#!/usr/bin/env bash
# The painter's frames as ratios against their baselines in the same run. Off-screen (the game's
# work alone): composition and the copy to the window against a plain copy of one frame's
# pixels. On an X display: the CPU a status-line update (a mouse move) and an explosion frame
# cost the game and the X server together, against a full redraw (compose, copy, send); and an
# arrow-key step while placing sent in one update, against the same step sent in four; a shot
# that sinks a ship (its cell and the fleet strip) and the fleet strip alone, against a shot on
# water (its cell); a network opponent's shot at the user's board against the computer's (each
# from the moment it is decided to its cell sent).
set -euo pipefail
build=${1:-build}
bin=$(realpath "$build/bench/paint/bench_paint")
here=$(dirname "$0")
source "$here/xvfb.sh"
xvfb=
trap 'kill $xvfb 2>/dev/null' EXIT

# One "name game_cpu_us server_us_per_frame frames_per_iteration" line a benchmark.
measure() {
  "$@" --benchmark_format=csv --benchmark_min_time=0.5 2>/dev/null | awk -F, '
    NR == 1 { for (i = 1; i <= NF; ++i) { gsub(/"/, "", $i); col[$i] = i }; next }
    /^"BM_/ { gsub(/"/, "", $1)
              server = ("server_us" in col) ? $col["server_us"] : 0
              frames = ("frames" in col && $col["frames"] != "") ? $col["frames"] / $2 : 1
              print $1, $4, server + 0, frames }'
}
field() { awk -v n="$2" -v f="$3" '$1 == n { print $f }' <<<"$1"; }
# The CPU of one frame: the game's share (per iteration / frames per iteration) and the server's.
frame_cpu() { awk -v g="$(field "$1" "$2" 2)" -v s="$(field "$1" "$2" 3)" -v n="$(field "$1" "$2" 4)" \
  'BEGIN { printf "%.2f", g / n + s }'; }
ratio() {  # what, its figure, the baseline's figure, the baseline's name
  awk -v what="$1" -v a="$2" -v b="$3" -v base="$4" \
    'BEGIN { printf "%-46s %8.1f us = %6.3f x %s\n", what, a, a / b, base }'
}

offscreen=$(SDL_VIDEODRIVER=dummy measure "$bin")
memcpy=$(field "$offscreen" BM_FrameMemcpy 2)
printf '%-46s %8.1f us\n' "frame memcpy (696 x 488)" "$memcpy"
ratio "board-screen composition" "$(field "$offscreen" BM_BoardScreenCompose 2)" "$memcpy" "frame memcpy"
ratio "copy of the finished frame to the window" "$(field "$offscreen" BM_CopyToWindow 2)" "$memcpy" "frame memcpy"
offfull=$(frame_cpu "$offscreen" BM_FullRedraw)
printf '%-46s %8.1f us\n' "full redraw off-screen" "$offfull"
ratio "status line off-screen (the game's work)" "$(frame_cpu "$offscreen" BM_StatusLine)" "$offfull" "full redraw"
ratio "explosion frame off-screen (the game's work)" "$(frame_cpu "$offscreen" BM_ExplosionFrame)" "$offfull" "full redraw"
ratio "arrow-key step off-screen (the game's work)" "$(frame_cpu "$offscreen" BM_ArrowKeyStep)" "$(frame_cpu "$offscreen" BM_StatusLine)" "mouse move"
ratio "placing: arrow-key step in one update" "$(frame_cpu "$offscreen" BM_PlacementStepOneUpdate)" "$(frame_cpu "$offscreen" BM_PlacementStepPieceByPiece)" "four updates"
offshot=$(frame_cpu "$offscreen" BM_ShotOnWater)
ratio "shot on water off-screen (its cell)" "$offshot" "$offfull" "full redraw"
ratio "shot sinking a ship off-screen (+ fleet strip)" "$(frame_cpu "$offscreen" BM_ShotSinkingAShip)" "$offshot" "shot on water"
ratio "fleet strip alone off-screen" "$(frame_cpu "$offscreen" BM_FleetStrip)" "$offshot" "shot on water"
ratio "network opponent's shot off-screen" "$(frame_cpu "$offscreen" BM_NetworkOpponentShotFrame)" "$(frame_cpu "$offscreen" BM_ComputerShotFrame)" "computer's shot"

start_xvfb
onscreen=$(KRAVELON_XSERVER_PID=$xvfb DISPLAY=$display SDL_VIDEODRIVER=x11 measure "$bin")
full=$(frame_cpu "$onscreen" BM_FullRedraw)
split() {  # one frame's CPU, the game's and the X server's shares
  awk -v g="$(field "$onscreen" "$1" 2)" -v s="$(field "$onscreen" "$1" 3)" -v n="$(field "$onscreen" "$1" 4)" \
    'BEGIN { printf "(game %.1f + X server %.1f)", g / n, s }'
}
printf '%-46s %8.1f us %s\n' "full redraw on X, CPU" "$full" "$(split BM_FullRedraw)"
echo "$(ratio "status line (a mouse move) on X, CPU" "$(frame_cpu "$onscreen" BM_StatusLine)" "$full" "full redraw") $(split BM_StatusLine)"
echo "$(ratio "explosion frame on X, CPU" "$(frame_cpu "$onscreen" BM_ExplosionFrame)" "$full" "full redraw") $(split BM_ExplosionFrame)"
echo "$(ratio "arrow-key step on X, CPU" "$(frame_cpu "$onscreen" BM_ArrowKeyStep)" "$(frame_cpu "$onscreen" BM_StatusLine)" "mouse move") $(split BM_ArrowKeyStep)"
echo "$(ratio "placing: arrow-key step in one update on X" "$(frame_cpu "$onscreen" BM_PlacementStepOneUpdate)" "$(frame_cpu "$onscreen" BM_PlacementStepPieceByPiece)" "four updates") $(split BM_PlacementStepOneUpdate)"
shot=$(frame_cpu "$onscreen" BM_ShotOnWater)
echo "$(ratio "shot on water on X, CPU" "$shot" "$full" "full redraw") $(split BM_ShotOnWater)"
echo "$(ratio "shot sinking a ship on X, CPU" "$(frame_cpu "$onscreen" BM_ShotSinkingAShip)" "$shot" "shot on water") $(split BM_ShotSinkingAShip)"
echo "$(ratio "fleet strip alone on X, CPU" "$(frame_cpu "$onscreen" BM_FleetStrip)" "$shot" "shot on water") $(split BM_FleetStrip)"
echo "$(ratio "network opponent's shot on X, CPU" "$(frame_cpu "$onscreen" BM_NetworkOpponentShotFrame)" "$(frame_cpu "$onscreen" BM_ComputerShotFrame)" "computer's shot") $(split BM_NetworkOpponentShotFrame)"
