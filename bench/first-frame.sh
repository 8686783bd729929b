#!/usr/bin/env bash
# Launch to the first board frame, timed by hyperfine: each run starts the game and stops it as
# soon as start-up has drawn the board screen. On a quiet machine in Russian, in English and with
# speech asked for but no daemon to answer; then with one core kept busy by a spinning process of
# this script's own. Needs an X display (an Xvfb is started here).
set -euo pipefail
build=${1:-build}
exe=$(realpath "$build/kravelon")
here=$(realpath "$(dirname "$0")")
source "$here/xvfb.sh"
spinners=()
start_xvfb
trap 'kill $xvfb "${spinners[@]}" 2>/dev/null' EXIT
# launch WHAT [LANGUAGE [OPTION...]]: in Russian by default; English reads its catalogue and
# pictures too.
launch() {
  local what=$1 language=${2:-ru}
  shift 2 2>/dev/null || shift $#
  hyperfine -N --warmup 2 --runs 20 --style basic \
    "bash $here/launch-once.sh $exe $display $language $*" 2>&1 |
    awk -v what="$what" '/Time \(mean/ { printf "launch to the first board frame, %s: %s %s ± %s %s\n", what, $5, $6, $8, $9 }'
}
launch quiet
launch "quiet, in English" en
# Speech asked for with no daemon to answer: the connection is tried off the game's thread.
SPEECHD_ADDRESS=unix_socket:$(mktemp -u) launch "quiet, --speak with no daemon" ru --speak
for _ in 1; do
  bash -c 'while :; do :; done' &
  spinners+=($!)
done
launch "busy (one core kept spinning)"
