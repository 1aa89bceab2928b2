#!/usr/bin/env bash
# Runs setups made by the builder under Wine, silently (/s, so no message box waits), and checks
# their exit codes, their timing logs and that the support directory is gone afterwards:
# no package 13, no support archive 14, a corrupt one 15, no installer database 16, a damaged
# package 17, a whole setup folder 0, and vok1 and vok2 taken make the run use vok3.
# Usage: stub_exit_codes.sh PATH/korvane-stub.exe PATH/vok.lib
set -uo pipefail
source "$(dirname "$0")/test_helpers.sh"
stub=$1
vok=$2
require_builder
make_work_dir
use_persistent_prefix
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

# A fresh setup folder: stub + package, .res of a few support files, vok.lib, .msi, data\.
make_folder() {
  local folder=$1
  rm -rf "$folder"
  mkdir -p "$work/support/forms" "$work/media"
  echo "welcome form" >"$work/support/forms/welcome.dfm"
  echo "licence text" >"$work/support/license.txt"
  echo "media" >"$work/media/file.txt"
  echo "installer database stand-in" >"$work/product.msi"
  "$KORVANE_BUILD" folder "$source_file" --stub "$stub" --archive-library "$vok" -o "$folder" --name Setup \
    --support "$work/support" --msi "$work/product.msi" --data "$work/media" >/dev/null || fail "building $folder"
}

# Runs a setup with the engine marker and a log; sets rc, support_dir (Unix path, from the
# marker) and log_file.
run_setup() {
  local exe=$1
  shift
  rm -f "$work/marker.txt"
  KORVANE_ENGINE_MARKER="$(windows_path "$work")\\marker.txt" run_windows "$exe" "$@" >/dev/null
  rc=$?
  support_dir=""
  if [[ -f "$work/marker.txt" ]]; then
    support_dir=$(unix_path_in_prefix "$(sed -n 's/^supportdir=//p' "$work/marker.txt" | tr -d '\r')")
  fi
}

# Every vokN folder left in the prefix's temporary folder (known from the first good run).
wine_temp=""
leftover_support_dirs() {
  [[ -d "$wine_temp" ]] || { fail "the temporary folder of the prefix is not known"; return; }
  (cd "$wine_temp" && ls -d vok[0-9]* 2>/dev/null | tr '\n' ' ')
}

# 1. The bare stub carries no package.
cp "$stub" "$work/bare.exe"
run_setup "$work/bare.exe" /s "/l=$(windows_path "$work")\\Bare.LOG"
expect_equal "bare stub exit code" 13 "$rc"
expect_equal "bare stub log stops inside StubSize" "<Korvane>
  <SetupSplash>
    <StubSize>" "$(read_log "$work/bare.log")"

# 2. A package cut off half way.
"$KORVANE_BUILD" package "$source_file" -o "$work/good.pkg" || fail "writing the package text"
head -c $(($(stat -c %s "$work/good.pkg") / 2)) "$work/good.pkg" >"$work/truncated.pkg"
"$KORVANE_BUILD" build --raw "$work/truncated.pkg" --stub "$stub" -o "$work/truncated.exe" >/dev/null 2>&1 ||
  fail "building truncated.exe"
run_setup "$work/truncated.exe" /s
expect_equal "truncated package exit code" 17 "$rc"

# 3. A whole setup folder, the log path given in mixed case: exit 0, the log written under the
# lower-cased name, byte for byte, and the support directory gone.
make_folder "$work/good"
run_setup "$work/good/Setup.exe" /s "/l=$(windows_path "$work")\\Timing-Log.TXT"
expect_equal "good setup exit code" 0 "$rc"
expect_equal "log written under the lower-cased name" "timing-log.txt" "$(cd "$work" && ls -- *.txt | grep -v marker)"
expected_log="<Korvane>
  <SetupSplash>
    <StubSize>
    </StubSize>
    <StubData>
    </StubData>
    <GlobalLists>
    </GlobalLists>
    <SupportDir>
    </SupportDir>
    <ExtractArchive>
    </ExtractArchive>
    <ExtractResource>
    </ExtractResource>
    <ResourcePath>
    </ResourcePath>
    <Dialogs>
    </Dialogs>
  </SetupSplash>
  <RunScript>
    <Variables>
    </Variables>
    <CompileScript>
    </CompileScript>
    <BootStrap>
    </BootStrap>
    <vrax>
    </vrax>
    <ExitScript>
    </ExitScript>
  </RunScript>
  <Free>
  </Free>
  <CachedSupportDir>
  </CachedSupportDir>
</Korvane>"
expected_bytes=$(printf '%s\n' "$expected_log" | sed 's/$/\r/' | iconv -f UTF-8 -t UTF-16LE | od -An -tx1 -v | tr -d ' \n')
actual_bytes=$(od -An -tx1 -v "$work/timing-log.txt" | tr -d ' \n')
expect_equal "timing log of a good run, byte for byte" "$expected_bytes" "$actual_bytes"
[[ -n "$support_dir" ]] || fail "the engine marker names no support directory"
wine_temp=$(dirname "$support_dir")
expect_equal "support directory of the first run" "vok1" "$(basename "$support_dir")"
[[ ! -e "$support_dir" ]] || fail "support directory $support_dir left behind"
expect_equal "no support directory left" "" "$(leftover_support_dirs)"

# 4. vok1 and vok2 taken: the run uses vok3 and leaves the others alone.
mkdir -p "$wine_temp/vok1" "$wine_temp/vok2"
run_setup "$work/good/Setup.exe" /s
expect_equal "exit code with vok1 and vok2 taken" 0 "$rc"
expect_equal "support directory with vok1 and vok2 taken" "vok3" "$(basename "$support_dir")"
expect_equal "only the folders made before are left" "vok1 vok2 " "$(leftover_support_dirs)"
rmdir "$wine_temp/vok1" "$wine_temp/vok2"

# 5. The files beside the program, each missing or damaged in turn.
check_failure() {  # WHAT EXPECTED_CODE LAST_LOG_ENTRY
  run_setup "$work/bad/Setup.exe" /s "/l=$(windows_path "$work")\\bad.log"
  expect_equal "$1: exit code" "$2" "$rc"
  expect_equal "$1: log stops at" "$3" "$(read_log "$work/bad.log" | tail -1)"
  expect_equal "$1: no support directory left" "" "$(leftover_support_dirs)"
}
make_folder "$work/bad"
rm "$work/bad/Setup.res"
check_failure "no support archive" 14 "    <ExtractArchive>"
make_folder "$work/bad"
head -c 40 "$work/good/Setup.res" >"$work/bad/Setup.res"
check_failure "corrupt support archive" 15 "    <ExtractArchive>"
make_folder "$work/bad"
rm "$work/bad/vok.lib"
check_failure "no archive library" 15 "    <ExtractArchive>"
make_folder "$work/bad"
rm "$work/bad/Setup.msi"
check_failure "no installer database" 16 "    <ExtractResource>"
make_folder "$work/bad"
mv "$work/bad/Setup.msi" "$work/bad/Setup.msp"
run_setup "$work/bad/Setup.exe" /s
expect_equal "a patch package instead of the database" 0 "$rc"

finish
