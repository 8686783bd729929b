#!/usr/bin/env bash
# Every benchmark: the Google Benchmark programs, then the whole-program measurements.
set -euo pipefail
build=${1:-build}
here=$(dirname "$0")
for b in $(find "$build/bench" -mindepth 2 -maxdepth 2 -type f -executable | sort); do
  [ -x "$b" ] && "$b"
done
bash "$here/idle-cpu.sh" "$build"
bash "$here/menu-idle-cpu.sh" "$build"
bash "$here/first-frame.sh" "$build"
bash "$here/giant-files.sh" "$build"
