#!/usr/bin/env bash
# Runs every test: host unit tests, the same under address and undefined-behaviour sanitizers,
# short libFuzzer runs, the win64 suite under Wine, and the win32 release build.
# Installs missing Debian packages first (scripts/setup-deps.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${KORVANE_JOBS:-$(nproc)}

started=$SECONDS
step() { printf '\n=== %s (at %dm%02ds) ===\n' "$*" $(((SECONDS - started) / 60)) $(((SECONDS - started) % 60)); }

step "dependencies"
scripts/setup-deps.sh

for preset in host host-asan; do
  step "$preset: build and test"
  cmake --preset "$preset" >/dev/null
  cmake --build "build/$preset" -j "$jobs"
  ctest --preset "$preset"
done

step "fuzz: short runs"
scripts/fuzz.sh "${KORVANE_FUZZ_SECONDS:-15}"

step "win64: build and test under Wine"
cmake --preset win64 >/dev/null
cmake --build build/win64 -j "$jobs"
scripts/wine-session.sh ctest --preset win64

step "win32: release build"
cmake --preset win32 >/dev/null
cmake --build build/win32 -j "$jobs"
for binary in build/win32/bin/*.exe build/win32/bin/*.lib; do
  [[ -e "$binary" ]] || continue
  format=$(i686-w64-mingw32-objdump -f "$binary" | sed -n 's/.*file format //p')
  [[ "$format" == pei-i386 ]] || { echo "$binary is $format, not a PE32 i386 image"; exit 1; }
  echo "$binary: PE32 (i386)"
done

step "all tests passed"
