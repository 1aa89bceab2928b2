#!/usr/bin/env bash
# Builds the host preset and runs every benchmark program (build/host/bin/bench_*).
# Usage: scripts/bench.sh [filter]   runs only the programs whose name contains filter.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset host >/dev/null
cmake --build build/host -j "${KORVANE_JOBS:-$(nproc)}"
for program in build/host/bin/bench_*; do
  [[ -x "$program" ]] || continue
  [[ -z "${1:-}" || "$program" == *"$1"* ]] || continue
  echo "=== $(basename "$program")"
  "$program"
done
