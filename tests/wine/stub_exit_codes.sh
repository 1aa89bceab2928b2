#!/usr/bin/env bash
# Runs the setup stub under Wine, silently (/s, so no message box waits), and checks its exit
# codes and its timing log: no package 13, a truncated package 17, a good package 0.
# Usage: stub_exit_codes.sh PATH/korvane-stub.exe
set -uo pipefail
source "$(dirname "$0")/test_helpers.sh"
stub=$1
require_builder
make_work_dir
source_file="$KORVANE_TEST_DATA/round_trip.kvs"

# The log as UTF-8 lines, after checking its form: UTF-16LE without byte-order mark, CR LF.
read_log() {
  local file=$1
  [[ -f "$file" ]] || { fail "no timing log at $file"; return; }
  [[ "$(head -c 2 "$file" | od -An -tx1 | tr -d ' ')" != "fffe" ]] || fail "$file starts with a byte-order mark"
  local text
  text=$(iconv -f UTF-16LE -t UTF-8 "$file") || { fail "$file is not UTF-16LE"; return; }
  [[ -z "$(printf '%s\n' "$text" | grep -v $'\r$')" ]] || fail "$file has lines not ended by CR LF"
  printf '%s\n' "$text" | tr -d '\r'
}

# 1. The bare stub carries no package.
cp "$stub" "$work/bare.exe"
run_windows "$work/bare.exe" /s "/l=$(windows_path "$work")\\Bare.LOG" >/dev/null
expect_equal "bare stub exit code" 13 $?
expect_equal "bare stub log stops inside StubSize" "<Korvane>
  <SetupSplash>
    <StubSize>" "$(read_log "$work/bare.log")"

# 2. A package cut off half way.
"$KORVANE_BUILD" package "$source_file" -o "$work/good.pkg" || fail "writing the package text"
head -c $(($(stat -c %s "$work/good.pkg") / 2)) "$work/good.pkg" >"$work/truncated.pkg"
"$KORVANE_BUILD" build --raw "$work/truncated.pkg" --stub "$stub" -o "$work/truncated.exe" >/dev/null 2>&1 ||
  fail "building truncated.exe"
run_windows "$work/truncated.exe" /s >/dev/null
expect_equal "truncated package exit code" 17 $?

# 3. A good package, with the log path given in mixed case: the file is written lower-cased.
"$KORVANE_BUILD" build "$source_file" --stub "$stub" -o "$work/good.exe" >/dev/null || fail "building good.exe"
run_windows "$work/good.exe" /s "/l=$(windows_path "$work")\\Timing-Log.TXT" >/dev/null
expect_equal "good package exit code" 0 $?
expect_equal "log written under the lower-cased name" "timing-log.txt" "$(cd "$work" && ls -- *.txt)"
log=$(read_log "$work/timing-log.txt")
expected_start="<Korvane>
  <SetupSplash>
    <StubSize>
    </StubSize>
    <StubData>
    </StubData>
    <GlobalLists>
    </GlobalLists>"
expect_equal "log entries in order" "$expected_start" "$(printf '%s\n' "$log" | head -8)"

finish
