#!/usr/bin/env bash
# Every benchmark (`make bench`). First one line a figure for each cost the game keeps an eye on,
# each against its baseline measured in the same run where it has one; then the other Google
# Benchmark programs' own tables.
set -euo pipefail
# The game in its own language, whatever the machine's locale (the scripts wait for its lines).
unset LANGUAGE LC_ALL LC_MESSAGES LANG
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
echo "== Google Benchmark tables"
for b in "$build/bench/rules/bench_rules" "$build/bench/menu/bench_menu" "$build/bench/speech/bench_speech"; do
  [ -x "$b" ] && "$b"
done
