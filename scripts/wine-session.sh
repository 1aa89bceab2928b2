#!/usr/bin/env bash
# Runs a command inside one Wine session: a fresh prefix in a temporary folder (never ~/.wine),
# one persistent wineserver for all programs it starts, and a virtual X display when none is set.
# Usage: scripts/wine-session.sh COMMAND [ARGS...]
set -euo pipefail
prefix=$(mktemp -d "${TMPDIR:-/tmp}/korvane-wine.XXXXXX")
export WINEPREFIX="$prefix" KORVANE_WINEPREFIX="$prefix" WINEDEBUG=-all WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml="
xvfb_pid=""
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" >/dev/null 2>&1 || true
  rm -rf "$prefix"
}
trap cleanup EXIT
if [[ -z "${DISPLAY:-}" ]] && command -v Xvfb >/dev/null; then
  for n in $(seq 90 140); do
    if [[ ! -e /tmp/.X$n-lock ]]; then
      Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
      xvfb_pid=$!
      export DISPLAY=":$n"
      break
    fi
  done
fi
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
[[ -x "$wine" ]] || wine=$(command -v wine)
"$wine" wineboot -i >/dev/null 2>&1 </dev/null || true
wineserver -p >/dev/null 2>&1 || true
"$@"
