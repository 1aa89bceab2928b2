#!/usr/bin/env bash
# The demo: builds the setup of examples/demo/demo.kvs with the builder onto the Windows stub,
# runs it silently under Wine with a timing log, and shows what happened.
# Installs missing Debian packages first and builds only what is missing or out of date.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

step() { printf '\n=== %s ===\n' "$*"; }

step "dependencies"
scripts/setup-deps.sh

step "builder (host preset)"
[[ -f build/host/build.ninja ]] || cmake --preset host >/dev/null
cmake --build build/host -j2 --target korvane-build

step "stub (win64 preset)"
[[ -f build/win64/build.ninja ]] || cmake --preset win64 >/dev/null
cmake --build build/win64 -j2 --target korvane-stub

step "build the demo setup"
out="$root/build/demo"
mkdir -p "$out"
rm -f "$out/timing.log"
build/host/bin/korvane-build build examples/demo/demo.kvs --stub build/win64/bin/korvane-stub.exe \
  -o "$out/korvane-demo-setup.exe"

step "run it silently under Wine: korvane-demo-setup.exe /s /l=...\\Timing.LOG"
# Drive Z: is the file-system root inside a Wine prefix; the stub writes the log lower-cased.
log_arg="/l=Z:${out//\//\\}\\Timing.LOG"
set +e
scripts/wine-session.sh cmake/wine-run.sh "$out/korvane-demo-setup.exe" /s "$log_arg"
rc=$?
set -e

step "timing log ($out/timing.log, UTF-16LE converted to UTF-8)"
if [[ -f "$out/timing.log" ]]; then
  iconv -f UTF-16LE -t UTF-8 "$out/timing.log" | tr -d '\r'
else
  echo "(no timing log was written)"
fi

step "exit code"
echo "korvane-demo-setup.exe ended with exit code $rc (see docs/exit-codes.md)"
exit "$rc"
