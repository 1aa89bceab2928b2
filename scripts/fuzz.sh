#!/usr/bin/env bash
# Builds the libFuzzer targets and runs each one briefly over its corpus folder, as many at a
# time as there are processors.
# Usage: scripts/fuzz.sh [seconds per target]   (default 20)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
jobs=${KORVANE_JOBS:-$(nproc)}
cmake --preset fuzz >/dev/null
cmake --build build/fuzz --target fuzzers
# New inputs go to a scratch folder; crashes land in build/fuzz/crashes to be kept as regressions.
mkdir -p build/fuzz/crashes

run_one() {  # run_one TARGET: its log in build/fuzz/NAME.log; fails when the fuzzer found a fault
  local target=$1 name corpus work
  name=$(basename "$target")
  corpus=tests/fuzz/corpus/$name
  mkdir -p "$corpus"
  work=$(mktemp -d)
  echo "fuzz: $name for ${seconds}s"
  local rc=0
  "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=0 \
      -artifact_prefix=build/fuzz/crashes/"$name"- "$work" "$corpus" >build/fuzz/"$name".log 2>&1 || rc=$?
  rm -rf "$work"
  if ((rc != 0)); then
    echo "fuzz: $name FAILED; see build/fuzz/$name.log"
    tail -30 build/fuzz/"$name".log
  fi
  return $rc
}

status=0
pids=()
for target in build/fuzz/bin/fuzz_*; do
  if ((${#pids[@]} >= jobs)); then
    wait "${pids[0]}" || status=1
    pids=("${pids[@]:1}")
  fi
  run_one "$target" &
  pids+=($!)
done
for pid in "${pids[@]}"; do wait "$pid" || status=1; done
exit $status
