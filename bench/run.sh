#!/usr/bin/env bash
# Every benchmark (`make bench`). First one line a figure for each cost the game keeps an eye on,
# each against its baseline measured in the same run where it has one; then the other Google
# Benchmark programs' own tables.
set -euo pipefail
# The game in its own language, whatever the machine's locale (the scripts wait for its lines).
unset LANGUAGE LC_ALL LC_MESSAGES LANG
# The game as it comes: its settings and record are read from an empty player folder, not the
# developer's own (a remembered window kind or scale would change the figures), and nothing the
# game writes lands in the real home.
bench_player=$(mktemp -d)
trap 'rm -rf "$bench_player"' EXIT
export XDG_CONFIG_HOME=$bench_player/config XDG_DATA_HOME=$bench_player/data
build=${1:-build}
here=$(dirname "$0")
echo "== frames"
bash "$here/frames.sh" "$build"
echo "== memory"
bash "$here/memory.sh" "$build"
"$build/bench/longrun/bench_longrun"
bash "$here/giant-files.sh" "$build"
echo "== at rest"
bash "$here/idle-cpu.sh" "$build"
echo "== launch"
bash "$here/first-frame.sh" "$build"
echo "== computer levels"
# Each level against 2000 random fleets, and the captain against the admiral's: shots to win and
# games per second on one core (bench_rules below has the admiral's cost of one shot).
for level in cabin-boy sailor captain admiral; do
  "$build/kravelon-sim" --games 2000 --seed 7 --level "$level" |
    awk -v l="$level" '/^shots_mean /{m=$2} /^games_per_second /{g=$2} END{printf "level %-9s shots_mean %6s  games_per_second %s\n", l, m, g}'
done
"$build/kravelon-sim" --games 2000 --seed 7 --fleets admiral |
  awk '/^shots_mean /{m=$2} /^games_per_second /{g=$2} END{printf "captain against the admiral'"'"'s fleets  shots_mean %6s  games_per_second %s\n", m, g}'
# The captain under each house rule alone and all three together: shots and turns to win.
for rules in --touching --salvo --extra-shot=no "--touching --salvo --extra-shot=no"; do
  # shellcheck disable=SC2086
  "$build/kravelon-sim" --games 2000 --seed 7 $rules |
    awk -v r="$rules" '/^shots_mean /{m=$2} /^turns_mean /{t=$2} /^games_per_second /{g=$2} END{printf "captain %-34s shots_mean %6s  turns_mean %6s  games_per_second %s\n", r, m, t, g}'
done
echo "== Google Benchmark tables"
for b in "$build/bench/rules/bench_rules" "$build/bench/menu/bench_menu" "$build/bench/speech/bench_speech" \
         "$build/bench/net/bench_net"; do
  [ -x "$b" ] && "$b"
done
