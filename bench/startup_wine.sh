#!/usr/bin/env bash
# Start-up time under Wine: a setup whose support archive holds 200 files (5 MB), run silently,
# timed from the moment Wine is started to the moment the engine is called (the engine marker
# the start-up sequence writes just before it), against `wine64 cmd /c exit` (start and end of
# a trivial program) as the floor. Prints both medians and their ratio.
# Needs build/host (the builder) and build/win64 (stub, vok.lib). Usage: bench/startup_wine.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
runs=${1:-11}
if [[ -z "${KORVANE_WINEPREFIX:-}" ]]; then
  exec scripts/wine-session.sh "$0" "$@"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/korvane-startup-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/support"
# 200 files of 25 KiB: half random bytes, half text, so that the archive holds about 5 MB that
# LZMA has to work through.
set +o pipefail  # head ends the text generator early on purpose
for i in $(seq 1 200); do
  {
    head -c 12800 /dev/urandom
    seq "$i" 2000000 | head -c 12800
  } >"$work/support/file$i.bin"
done
set -o pipefail
echo "installer database stand-in" >"$work/product.msi"
build/host/bin/korvane-build folder examples/demo/demo.kvs --stub build/win64/bin/korvane-stub.exe \
  --archive-library build/win64/bin/vok.lib --support "$work/support" --msi "$work/product.msi" \
  -o "$work/setup" --name Bench >/dev/null
build/host/bin/korvane-build folder examples/demo/demo.kvs --stub build/win64/bin/korvane-stub.exe \
  --archive-library build/win64/bin/vok.lib --msi "$work/product.msi" -o "$work/empty" --name Bench >/dev/null
printf 'support archive: %s bytes, %s files\n' "$(stat -c %s "$work/setup/Bench.res")" \
  "$(ls "$work/support" | wc -l)"

wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
export WINEPREFIX="$KORVANE_WINEPREFIX"
now() { date +%s%N; }
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

"$wine" cmd /c exit >/dev/null 2>&1 || true  # warm the prefix once
floor=()
setup=()
empty=()
# Runs a setup with the engine marker; prints microseconds from the start of Wine to the call.
time_to_engine() {
  local exe=$1 start reached rc=0
  rm -f "$work/marker.txt"
  start=$(now)
  KORVANE_ENGINE_MARKER="Z:${work//\//\\}\\marker.txt" "$wine" "$exe" /s >/dev/null 2>&1 </dev/null || rc=$?
  [[ $rc -eq 0 ]] || { echo "$exe ended with exit code $rc" >&2; exit 1; }
  reached=$(sed -n 's/^time=//p' "$work/marker.txt" | tr -d '\r')
  echo $(((reached - start) / 1000))
}
for _ in $(seq 1 "$runs"); do
  start=$(now)
  "$wine" cmd /c exit >/dev/null 2>&1 </dev/null || true
  floor+=($((($(now) - start) / 1000)))
  value=$(time_to_engine "$work/setup/Bench.exe")  # a failed run ends the script here
  setup+=("$value")
  value=$(time_to_engine "$work/empty/Bench.exe")
  empty+=("$value")
done
floor_median=$(printf '%s\n' "${floor[@]}" | median)
setup_median=$(printf '%s\n' "${setup[@]}" | median)
empty_median=$(printf '%s\n' "${empty[@]}" | median)
echo "runs: $runs"
echo "floor, wine64 cmd /c exit (start to end):       median $((floor_median / 1000)) ms"
echo "setup, start to the engine call (200 files, 5 MB): median $((setup_median / 1000)) ms"
echo "setup, start to the engine call (empty archive):    median $((empty_median / 1000)) ms"
awk -v s="$setup_median" -v f="$floor_median" 'BEGIN { printf "ratio setup / floor: %.2f\n", s / f }'
