#!/usr/bin/env bash
# The builder's command line on the host: exit codes, fault reports and that a failed build
# writes nothing. Usage: korvane_build_cli_test.sh PATH/korvane-build SOURCE-DIR
set -uo pipefail
build=$1
root=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
check() {  # check WHAT EXPECTED ACTUAL
  if [[ "$2" == "$3" ]]; then echo "ok: $1"; else echo "FAIL: $1: expected [$2], got [$3]"; failures=$((failures + 1)); fi
}

printf '[package]\nTitle = x\nProductCode = {11111111-2222-3333-4444-555555555555}\n' >"$work/bad.kvs"
printf 'RevisionCode = {66666666-7777-8888-9999-AAAAAAAAAAAA}\n[script]\nIf: "A | 0\nEnd @key=1\n' >>"$work/bad.kvs"
echo "previous" >"$work/out.exe"

"$build" build "$work/bad.kvs" --stub "$work/bad.kvs" -o "$work/out.exe" >"$work/stdout" 2>"$work/stderr"
check "bad source exit code" 1 $?
check "faults reported with file and line" \
  "$work/bad.kvs:6: the quoted value \"A | 0 has no closing quote
$work/bad.kvs:7: @key needs a GUID in braces such as {01234567-89AB-CDEF-0123-456789ABCDEF}, not \"1\"" \
  "$(cat "$work/stderr")"
check "output untouched after a bad source" previous "$(cat "$work/out.exe")"

"$build" build "$root/examples/demo/demo.kvs" --stub "$work/missing.exe" -o "$work/out.exe" >/dev/null 2>&1
check "missing stub exit code" 1 $?
check "output untouched after a missing stub" previous "$(cat "$work/out.exe")"
check "no temporary files left" "bad.kvs out.exe stderr stdout" "$(cd "$work" && ls -A | tr '\n' ' ' | sed 's/ $//')"

"$build" build "$root/examples/demo/demo.kvs" >/dev/null 2>&1
check "build without --stub is a usage fault" 2 $?
"$build" frobnicate >/dev/null 2>&1
check "unknown command exit code" 2 $?
"$build" dump-source --colour >/dev/null 2>&1
check "unknown option exit code" 2 $?

"$build" folder "$root/examples/demo/demo.kvs" --stub "$work/out.exe" -o "$work/folder" >/dev/null 2>&1
check "folder without --archive-library is a usage fault" 2 $?
"$build" folder "$root/examples/demo/demo.kvs" --stub "$work/out.exe" --archive-library "$work/out.exe" \
  --name "sub/x" -o "$work/folder" >/dev/null 2>&1
check "folder with a path as --name is a usage fault" 2 $?
check "no folder written after usage faults" "" "$(cd "$work" && ls -d folder 2>/dev/null)"

"$build" package "$root/examples/demo/demo.kvs" -o "$work/demo.pkg"
check "package exit code" 0 $?
check "package ends with the source position list" '$' "$(tail -n 1 "$work/demo.pkg" | tr -d '\r')"
"$build" dump-source "$root/examples/demo/demo.kvs" --source-path 'C:\src\demo.kvs' >"$work/dump.txt"
check "dump-source exit code" 0 $?
check "dump-source uses the given source path and counts lines from 0" '  |C:\src\demo.kvs*26' "$(grep -m1 'demo.kvs\*' "$work/dump.txt")"

# The engine's preparation pass runs at build time: a script it rejects is refused with the
# line to blame, unless --no-check asks for the package as written.
printf '[package]\nTitle = x\nProductCode = {11111111-2222-3333-4444-555555555555}\n' >"$work/label.kvs"
printf 'RevisionCode = {66666666-7777-8888-9999-AAAAAAAAAAAA}\n[script]\nSet Variable: A | 1\nGoTo Label: NOWHERE\n' >>"$work/label.kvs"
"$build" package "$work/label.kvs" -o "$work/label.pkg" 2>"$work/stderr"
check "rejected script exit code" 1 $?
check "rejected script names its line" "$work/label.kvs:7: LABEL undefined: NOWHERE" "$(cat "$work/stderr")"
check "no package written for a rejected script" no "$([[ -e "$work/label.pkg" ]] && echo yes || echo no)"
"$build" package "$work/label.kvs" -o "$work/label.pkg" --no-check
check "--no-check writes the package" 0 $?

((failures == 0)) || { echo "$failures check(s) failed"; exit 1; }
