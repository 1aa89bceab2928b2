#!/usr/bin/env bash
# Builds the libFuzzer targets and runs each one briefly over its corpus folder.
# Usage: scripts/fuzz.sh [seconds per target]   (default 20)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
cmake --preset fuzz >/dev/null
cmake --build build/fuzz
status=0
for target in build/fuzz/bin/fuzz_*; do
  name=$(basename "$target")
  corpus=tests/fuzz/corpus/$name
  mkdir -p "$corpus"
  work=$(mktemp -d)
  echo "fuzz: $name for ${seconds}s"
  # New inputs go to a scratch folder; crashes land in build/fuzz/crashes to be kept as regressions.
  mkdir -p build/fuzz/crashes
  if ! "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=0 \
      -artifact_prefix=build/fuzz/crashes/"$name"- "$work" "$corpus" >build/fuzz/"$name".log 2>&1; then
    echo "fuzz: $name FAILED; see build/fuzz/$name.log"
    tail -30 build/fuzz/"$name".log
    status=1
  fi
  rm -rf "$work"
done
exit $status
