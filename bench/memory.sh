#!/usr/bin/env bash
# The game's resident memory once the board screen is up.
set -euo pipefail
build=${1:-build}
source "$(dirname "$0")/game.sh"
start_game_on_xvfb "$(realpath "$build/kravelon")"
sleep 1
awk -v kb="$(rss_kb)" 'BEGIN { printf "memory after start: %.1f MB RSS\n", kb / 1024 }'
