#!/usr/bin/env bash
# The demo: builds the whole setup folder of examples/demo (setup program with its script
# package, support archive, vok.lib, a real installer database made with wixl, media folder),
# runs the setup silently under Wine with a timing log, and shows what happened.
# Installs missing Debian packages first and builds only what is missing or out of date.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
out="$root/build/demo"
folder="$out/setup"

step() { printf '\n=== %s ===\n' "$*"; }

# The part that runs inside the Wine session (a fresh prefix and one wineserver).
if [[ "${1:-}" == "--run-inside-session" ]]; then
  step "run it silently under Wine: korvane-demo.exe /s /l=...\\Timing.LOG"
  # Drive Z: is the file-system root inside a Wine prefix; the setup writes the log lower-cased.
  log_arg="/l=Z:${out//\//\\}\\Timing.LOG"
  rm -f "$out/timing.log" "$out/marker.txt"
  set +e
  KORVANE_ENGINE_MARKER="Z:${out//\//\\}\\marker.txt" cmake/wine-run.sh "$folder/korvane-demo.exe" /s "$log_arg"
  rc=$?
  set -e

  step "timing log ($out/timing.log, UTF-16LE converted to UTF-8)"
  if [[ -f "$out/timing.log" ]]; then
    iconv -f UTF-16LE -t UTF-8 "$out/timing.log" | tr -d '\r'
  else
    echo "(no timing log was written)"
  fi

  step "support directory"
  if [[ -f "$out/marker.txt" ]]; then
    dir=$(sed -n 's/^supportdir=//p' "$out/marker.txt" | tr -d '\r')
    unix=${dir//\\//}
    unix="$KORVANE_WINEPREFIX/drive_c/${unix:3}"
    echo "the run extracted its support files into $dir"
    if [[ -e "$unix" ]]; then echo "it is still there (unexpected)"; else echo "and removed it at shutdown"; fi
  else
    echo "(the run did not reach the engine call)"
  fi

  step "exit code"
  echo "korvane-demo.exe ended with exit code $rc (see docs/exit-codes.md)"
  exit "$rc"
fi

step "dependencies"
scripts/setup-deps.sh

step "builder (host preset)"
[[ -f build/host/build.ninja ]] || cmake --preset host >/dev/null
cmake --build build/host -j2 --target korvane-build

step "setup program and archive library (win64 preset)"
[[ -f build/win64/build.ninja ]] || cmake --preset win64 >/dev/null
cmake --build build/win64 -j2 --target korvane-stub vok

step "installer database of the demo product (wixl)"
mkdir -p "$out"
(cd examples/demo && wixl -o "$out/korvane-demo.msi" demo.wxs)
echo "wrote $out/korvane-demo.msi ($(stat -c %s "$out/korvane-demo.msi") bytes)"

step "build the setup folder"
build/host/bin/korvane-build folder examples/demo/demo.kvs --name korvane-demo \
  --stub build/win64/bin/korvane-stub.exe --archive-library build/win64/bin/vok.lib \
  --support examples/demo/support --msi "$out/korvane-demo.msi" --data examples/demo/data -o "$folder"

exec scripts/wine-session.sh "$0" --run-inside-session
