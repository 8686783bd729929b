#!/usr/bin/env bash
# CPU seconds the game uses over 10 s with the main menu open and nothing happening.
set -euo pipefail
build=${1:-build}
exe=$(realpath "$build/kravelon")
source "$(dirname "$0")/xvfb.sh"
start_xvfb
out=$(mktemp)
DISPLAY=$display SDL_AUDIODRIVER=dummy KRAVELON_ECHO_CONSOLE=1 "$exe" >"$out" 2>/dev/null &
game=$!
trap 'kill $game $xvfb 2>/dev/null; rm -f "$out"' EXIT
for _ in $(seq 200); do grep -q 'Пользователь расставляет корабли' "$out" && break; sleep 0.05; done
DISPLAY=$display xdotool key Escape
sleep 0.5
ticks() { awk '{print $14 + $15}' "/proc/$game/stat"; }
before=$(ticks); sleep 10; after=$(ticks)
hz=$(getconf CLK_TCK)
awk -v t=$((after - before)) -v hz="$hz" 'BEGIN { printf "idle CPU with the menu open over 10 s: %.2f s\n", t / hz }'
