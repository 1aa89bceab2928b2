#!/usr/bin/env bash
# Scripts made with the builder, run by the setup stub under Wine: branches, skips, jumps,
# disabled and Ignore statements, exit codes from variables, a rejected script and a run-time
# error. Results come back as exit codes. Usage:
#   interpreter_scripts.sh PATH/korvane-stub.exe PATH/exit-code-probe.exe
set -uo pipefail
source "$(dirname "$0")/test_helpers.sh"
stub=$1
probe=$2
require_builder
make_work_dir

header() {
  printf '[package]\nTitle = %s\nProductCode = {6F1C2A3B-4D5E-4F60-8A7B-9C0D1E2F3A4B}\n' "$1"
  printf 'RevisionCode = {0A1B2C3D-4E5F-4A6B-8C7D-8E9F0A1B2C3D}\n[script]\n'
}

# build NAME [BUILDER-OPTION...]: the source on stdin becomes the setup NAME.exe in the work
# folder, with its support archive, vok.lib and an installer database beside it.
build() {
  local name=$1
  shift
  cat >"$work/$name.kvs"
  build_setup "$work/$name.kvs" "$stub" "$work" "$name" "$@" || fail "building $name"
}

# The timing log as UTF-8 lines.
read_log() { iconv -f UTF-16LE -t UTF-8 "$1" | tr -d '\r'; }

{
  header Branches
  cat <<'SCRIPT'
Set Variable: TRACE |
Set Variable: YES | 1
Set Variable: NO | 0
If: YES | 0 | 1 | FALSE
    Set Variable: TRACE | $TRACE$a
Else If: YES | 0 | 1 | FALSE
    Set Variable: TRACE | $TRACE$b
Else
    Set Variable: TRACE | $TRACE$c
End
If: NO | 0 | 1 | FALSE
    Set Variable: TRACE | $TRACE$d
    If: YES | 0 | 1 | FALSE
        Set Variable: TRACE | $TRACE$e
    Else
        Set Variable: TRACE | $TRACE$f
    End
Else If: NO | 0 | 1 | FALSE
    Set Variable: TRACE | $TRACE$g
Else
    If: YES | 0 | 1 | FALSE
        If: NO | 0 | 1 | FALSE
            Set Variable: TRACE | $TRACE$h
            !End
        Else If: YES | 0 | 1 | FALSE
            Set Variable: TRACE | $TRACE$i
            Ignore: End
            !Set Variable: TRACE | $TRACE$disabled
            Ignore: Set Variable
        Else
            Set Variable: TRACE | $TRACE$j
        End
        Set Variable: TRACE | $TRACE$k
    Else
        Set Variable: TRACE | $TRACE$l
    End
    !If: NO | 0 | 1 | FALSE
    Set Variable: TRACE | $TRACE$m
End
Set Variable: CODE | 1
If: TRACE | 0 | aikm | FALSE
    Set Variable: CODE | 42
End
Terminate with Exit Code: $CODE$
Terminate with Exit Code: 99
SCRIPT
} | build branches
run_windows "$work/branches.exe" /s >/dev/null
expect_equal "nested If / Else If / Else chains, disabled and Ignore statements" 42 $?

{
  header Jumps
  cat <<'SCRIPT'
Set Variable: N | 0
Set Variable: DONE | no
Label: Top
Mathematics: $N$ | 1 | 0 | N
If: N | 0 | 3 | TRUE
    If: N | 0 | 1 | FALSE
        If: N | 0 | 1 | FALSE
            GoTo Label: top
        End
    End
    GoTo Label: TOP
Else
    Set Variable: DONE | yes
End
If: DONE | 0 | yes | FALSE
    Terminate with Exit Code: 1$N$
End
Terminate with Exit Code: 99
SCRIPT
} | build jumps
run_windows "$work/jumps.exe" /s >/dev/null
expect_equal "GoTo Label out of nested blocks" 13 $?

{
  header Words
  cat <<'SCRIPT'
Set Variable: WORD | seven
Terminate with Exit Code: $WORD$
Terminate with Exit Code: 5
SCRIPT
} | build words
run_windows "$work/words.exe" /s >/dev/null
expect_equal "Terminate with Exit Code of a word gives 0" 0 $?

# A missing End: the preparation pass rejects the script; not silent, yet nothing is shown (a
# message box would keep the program from ending within the time limit).
{
  header Rejected
  printf 'If: TITLE | 0 | x | FALSE\nTerminate with Exit Code: 5\n'
} | build rejected --no-check  # the builder would refuse it
code=$(timeout 120 "$KORVANE_WINE_RUN" "$probe" "$(windows_path "$work")\\rejected.exe" \
  "/l=$(windows_path "$work")\\rejected.log" | tr -d '\r')
expect_equal "a rejected script ends with 314" 314 "$code"
expect_equal "the log stops at the preparation pass" "    <CompileScript>" "$(read_log "$work/rejected.log" | tail -1)"

# A run-time error, silently: no message, the script ends, the shutdown still runs.
{
  header Errors
  cat <<'SCRIPT'
Set Variable: V | 1.x.3
Set Variable: CODE | 7
If: V | 6 | 1.2 | FALSE
End
Terminate with Exit Code: $CODE$
SCRIPT
} | build errors
timeout 120 "$KORVANE_WINE_RUN" "$work/errors.exe" /s "/l=$(windows_path "$work")\\errors.log" >/dev/null
expect_equal "a run-time error ends the script (exit code in force: 0)" 0 $?
log=$(read_log "$work/errors.log")
expect_equal "the loop's end is not logged after an error, the shutdown still runs" \
  "    <vrax>|  </RunScript>|  <Free>|  </Free>|  <CachedSupportDir>|  </CachedSupportDir>|</Korvane>" \
  "$(printf '%s\n' "$log" | tail -7 | paste -sd '|')"

finish
