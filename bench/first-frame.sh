#!/usr/bin/env bash
# Launch to the first board frame, timed by hyperfine: each run starts the game and stops it as
# soon as start-up has drawn the board screen. Needs an X display (an Xvfb is started here).
set -euo pipefail
build=${1:-build}
exe=$(realpath "$build/kravelon")
source "$(dirname "$0")/xvfb.sh"
start_xvfb
trap 'kill $xvfb 2>/dev/null' EXIT
# Start-up logs the new game's lines right before it sets the graphics ready and draws the first
# screen in the same step.
hyperfine --warmup 2 --runs 20 "bash $(dirname "$0")/launch-once.sh $exe $display"
