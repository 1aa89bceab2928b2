#!/usr/bin/env bash
# A run-time error outside a silent run: the setup shows one error box, captioned with the
# standard caption, and waits on it. The box is photographed (build folder, for a look) and the
# setup is ended with the throw-away Wine prefix it runs in. Needs an X display (wine-session.sh
# starts Xvfb). Usage: runtime_error_box.sh PATH/korvane-stub.exe SCREENSHOT.png
set -uo pipefail
source "$(dirname "$0")/test_helpers.sh"
stub=$1
screenshot=$2
require_builder
make_work_dir
if [[ -z "${DISPLAY:-}" ]] || ! command -v xwininfo >/dev/null || ! command -v import >/dev/null; then
  echo "no X display, xwininfo or import: run under scripts/wine-session.sh" >&2
  exit 1
fi

cat >"$work/errors.kvs" <<'SCRIPT'
[package]
Title = Errors Demo
ProductCode = {6F1C2A3B-4D5E-4F60-8A7B-9C0D1E2F3A4B}
RevisionCode = {0A1B2C3D-4E5F-4A6B-8C7D-8E9F0A1B2C3D}
[script]
# The version has a part that is not a number.
Set Variable: V | 1.x.3
If: V | 6 | 1.2 | FALSE
End
SCRIPT
build_setup "$work/errors.kvs" "$stub" "$work" errors --source-path 'C:\Projects\Demo\setup-script.kvs' ||
  fail "building errors.exe"

# A prefix of its own, so that ending the waiting setup ends nothing else.
prefix=$(mktemp -d "${TMPDIR:-/tmp}/korvane-wine-box.XXXXXX")
trap 'WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1; rm -rf "$prefix" "$work"' EXIT
KORVANE_WINEPREFIX="$prefix" "$KORVANE_WINE_RUN" "$work/errors.exe" >/dev/null 2>&1 &
setup=$!

caption='"Errors Demo - Korvane Wizard"'
geometry=""
for _ in $(seq 1 120); do
  sleep 1
  line=$(xwininfo -root -tree | grep -F "$caption" | head -1)
  if [[ -n "$line" ]]; then
    geometry=$(printf '%s\n' "$line" | grep -oE '[0-9]+x[0-9]+\+[0-9]+\+[0-9]+' | head -1)
    break
  fi
  kill -0 "$setup" 2>/dev/null || break
done
[[ -n "$geometry" ]] || fail "no error box captioned $caption appeared"
if [[ -n "$geometry" ]]; then
  sleep 1  # let the box paint
  import -window root "$work/root.png" && convert "$work/root.png" -crop "$geometry" +repage -colors 32 "$screenshot" ||
    fail "taking the screenshot"
  echo "screenshot: $screenshot"
fi
kill -0 "$setup" 2>/dev/null && echo "ok: the setup waits on its error box" || fail "the setup did not wait on its box"
WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1
wait "$setup"
finish
