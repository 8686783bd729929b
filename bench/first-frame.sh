#!/usr/bin/env bash
# Launch to the first board frame, timed by hyperfine: each run starts the game and stops it as
# soon as start-up has drawn the board screen, in Russian and in English. Once on a quiet machine, once with one core
# kept busy by a spinning process of this script's own. Needs an X display (an Xvfb is
# started here).
set -euo pipefail
build=${1:-build}
exe=$(realpath "$build/kravelon")
here=$(realpath "$(dirname "$0")")
source "$here/xvfb.sh"
spinners=()
start_xvfb
trap 'kill $xvfb "${spinners[@]}" 2>/dev/null' EXIT
# launch WHAT [LANGUAGE]: in Russian by default; English reads its catalogue and pictures too.
launch() {
  hyperfine -N --warmup 2 --runs 20 --style basic \
    "bash $here/launch-once.sh $exe $display ${2:-ru}" 2>&1 |
    awk -v what="$1" '/Time \(mean/ { printf "launch to the first board frame, %s: %s %s ± %s %s\n", what, $5, $6, $8, $9 }'
}
launch quiet
launch "quiet, in English" en
for _ in 1; do
  bash -c 'while :; do :; done' &
  spinners+=($!)
done
launch "busy (one core kept spinning)"
