#!/usr/bin/env bash
# Fuzzes each loader for a while: fuzz/run.sh BUILD SECONDS [TARGET...]
# Each target starts from its seed corpus and the regression files; what it learns is kept in
# BUILD/fuzz-corpus/, and any input that makes it fail in BUILD/fuzz-crashes/ (copy those into
# fuzz/regressions/ once the fault is mended). Prints the runs each target made.
set -uo pipefail
build=${1:?build folder}
seconds=${2:-180}
shift 2 || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(jpeg bmp cursor wave catalogue settings record)
here=$(cd "$(dirname "$0")" && pwd)
failed=0
summary=()
for t in "${targets[@]}"; do
  corpus=$build/fuzz-corpus/$t
  crashes=$build/fuzz-crashes/$t
  log=$build/fuzz-$t.log
  mkdir -p "$corpus" "$crashes"
  # No loader may ask for more than a few of the largest pictures the game can use at once.
  "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=128 \
    -artifact_prefix="$crashes/" -print_final_stats=1 \
    "$corpus" "$here/corpus/$t" "$here/regressions/$t" >"$log" 2>&1
  status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n1)
  if [ $status -eq 0 ]; then
    summary+=("$t: ${runs:-?} runs in ${seconds} s, no fault")
  else
    failed=1
    summary+=("$t: FAULT after ${runs:-?} runs (exit $status); see $log and $crashes/")
  fi
done
printf '%s\n' "${summary[@]}"
exit $failed
