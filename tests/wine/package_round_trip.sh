#!/usr/bin/env bash
# Builds setups onto korvane-package-dump.exe with the host builder, runs them under Wine and
# compares what the program reads from its own file with the builder's host dump.
# Usage: package_round_trip.sh PATH/korvane-package-dump.exe
set -uo pipefail
source "$(dirname "$0")/test_helpers.sh"
dump_exe=$1
require_builder
make_work_dir
source_file="$KORVANE_TEST_DATA/round_trip.kvs"

# 1. A setup from a source: the Windows dump equals both host dumps.
"$KORVANE_BUILD" build "$source_file" --source-path 'C:\src\round_trip.kvs' --stub "$dump_exe" \
  -o "$work/round_trip.exe" >/dev/null || { fail "building round_trip.exe"; finish; }
"$KORVANE_BUILD" dump "$work/round_trip.exe" >"$work/host.txt" || fail "host dump of the setup"
"$KORVANE_BUILD" dump-source "$source_file" --source-path 'C:\src\round_trip.kvs' >"$work/source.txt" ||
  fail "host dump of the source"
run_windows "$work/round_trip.exe" >"$work/windows.txt"
expect_equal "dump program exit code" 0 $?
if diff -u "$work/host.txt" "$work/windows.txt"; then echo "ok: Windows dump equals the host dump"
else fail "Windows dump differs from the host dump"; fi
if diff -u "$work/source.txt" "$work/windows.txt" >/dev/null; then echo "ok: Windows dump equals the source dump"
else fail "Windows dump differs from the dump of the source"; fi

# 2. Specific values, read through the parameter lookup on Windows.
lone='{AAAAAAAA-0000-4000-8000-000000000001}'
price='{AAAAAAAA-0000-4000-8000-000000000002}'
lower_upper='{AAAAAAAA-0000-4000-8000-00000000000A}'  # written in lower case in the source
if_key='{AAAAAAAA-0000-4000-8000-000000000003}'
spaced='{AAAAAAAA-0000-4000-8000-000000000004}'
else_key='{AAAAAAAA-0000-4000-8000-000000000005}'
lookups=$(run_windows "$work/round_trip.exe" "$lone" 2 "$price" 2 "$lower_upper" 2 "$lower_upper" 0 \
  "$else_key" 1 "$else_key" 0 "$if_key" 0 "$if_key" 3 "$spaced" 2 "$spaced" 3 "$spaced" 4)
expect_equal "lookup exit code" 0 $?
expected=$(printf '  |%s\n' '$' 'costs 5 $DOLLAR$ only' 'yes' '{aaaaaaaa-0000-4000-8000-00000000000a}' '' '' \
  "$if_key" '$' '  both ends  ' '' 'a|b')
expect_equal "parameters: lone dollar, dollar word in text, lower-case key, no block, parameter 0, blanks, bar" \
  "$expected" "$lookups"

# The package itself stores the lone dollar as the word, and keeps the word inside text.
"$KORVANE_BUILD" package "$source_file" -o "$work/round_trip.pkg" || fail "writing the package text"
expect_equal "lone \$ stored as a \$DOLLAR\$ line" 2 "$(grep -c -x $'\\$DOLLAR\\$\r' "$work/round_trip.pkg")"
expect_equal "empty lists" "field 7: plug-in statement list (0 lines)
field 14: web block password table (0 lines)
field 19: file map list (0 lines)
field 23: compiler constant table (0 lines)" "$(grep -E '^field (7|14|19|23):' "$work/windows.txt")"
expect_equal "disabled statement flag" "  |C" "$(sed -n '/^field 4:/,/^field 5:/p' "$work/windows.txt" | sed -n 8p)"
expect_equal "explicit command header" "  |15193751" "$(sed -n '/^field 22:/,/^field 23:/p' "$work/windows.txt" | sed -n 8p)"
expect_equal "source position of the If (line 20 counted from 0)" '  |C:\src\round_trip.kvs*20' \
  "$(sed -n '/^field 25:/,$p' "$work/windows.txt" | sed -n 5p)"

# 3. A raw package where one key has two blocks, the later one written in lower case: the
#    later block counts, whatever the letter case.
"$KORVANE_BUILD" build --raw "$KORVANE_TEST_DATA/duplicate_keys.pkg" --stub "$dump_exe" -o "$work/dup.exe" \
  >/dev/null || fail "building dup.exe"
"$KORVANE_BUILD" dump "$work/dup.exe" >"$work/dup_host.txt" || fail "host dump of dup.exe"
run_windows "$work/dup.exe" >"$work/dup_windows.txt"
expect_equal "duplicate-key dump exit code" 0 $?
if diff -u "$work/dup_host.txt" "$work/dup_windows.txt"; then echo "ok: duplicate-key dumps agree"
else fail "duplicate-key dumps differ"; fi
dup=$(run_windows "$work/dup.exe" '{BBBBBBBB-0000-4000-8000-000000000001}' 2 '{bbbbbbbb-0000-4000-8000-000000000002}' 2)
expect_equal "the later block of a duplicate key counts" "$(printf '  |%s\n' second value)" "$dup"

finish
