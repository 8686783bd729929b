#!/usr/bin/env bash
# The game's resident memory once the board screen is up.
set -euo pipefail
build=${1:-build}
exe=$(realpath "$build/kravelon")
here=$(dirname "$0")
source "$here/xvfb.sh"
source "$here/game.sh"
start_xvfb
trap 'kill $game $xvfb 2>/dev/null; rm -f "$out"' EXIT
start_game "$exe"
sleep 1
awk -v kb="$(rss_kb)" 'BEGIN { printf "memory after start: %.1f MB RSS\n", kb / 1024 }'
