#!/usr/bin/env bash
# Runs one Windows program under Wine and passes its exit code on.
# Wine's helper processes keep a pipe open for seconds after the program ends, so the
# program's output goes to a file that is printed afterwards. Inside scripts/wine-session.sh
# the session's prefix and persistent wineserver are used; alone, a throw-away prefix is made.
set -u
own_prefix=""
if [[ -z "${KORVANE_WINEPREFIX:-}" ]]; then
  own_prefix=$(mktemp -d "${TMPDIR:-/tmp}/korvane-wine.XXXXXX")
  export WINEPREFIX="$own_prefix"
else
  export WINEPREFIX="$KORVANE_WINEPREFIX"
fi
export WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
[[ -x "$wine" ]] || wine=$(command -v wine)
out=$(mktemp "${TMPDIR:-/tmp}/korvane-wine-out.XXXXXX")
"$wine" "$@" >"$out" 2>&1 </dev/null
rc=$?
# Wine prints its own noise about the 32-bit half of the prefix on first use; drop it.
grep -v -E '^wine: (created the configuration directory|configuration in .* has been updated|failed to open .*syswow64)' "$out"
rm -f "$out"
if [[ -n "$own_prefix" ]]; then
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$own_prefix"
fi
exit $rc
