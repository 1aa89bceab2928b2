#!/usr/bin/env bash
# GUI test of the form toolkit: shows the gallery dialog (every control kind) under Wine, reads
# each control back through the test driver, changes some of them and checks that the events
# reached the model's named handlers, then takes a screenshot of the dialog.
# Usage: form_gallery_test.sh FORM_VIEWER FORM_DRIVER EXAMPLES_DIR TEST_DATA_DIR OUTPUT_DIR
# Runs inside scripts/wine-session.sh (a Wine prefix and an X display are set up there).
set -uo pipefail
viewer=$1 driver=$2 examples=$3 data=$4 out=$5
mkdir -p "$out"
rm -f "$out"/*.log "$out"/*.txt
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
[[ -x "$wine" ]] || wine=$(command -v wine)
export WINEPREFIX="${KORVANE_WINEPREFIX:-${WINEPREFIX:-}}" WINEDEBUG=-all
failures=0
# Without a window manager on the test display, Wine draws the title bars itself.
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
# Wine's own Tahoma and Marlett (package fonts-wine) are not on this Wine's font path; in the
# prefix's font folder dialogs get the font they name and title bars their button glyphs.
if [[ -n "$WINEPREFIX" && -d /usr/share/wine/fonts ]]; then
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp -n /usr/share/wine/fonts/{tahoma,tahomabd,marlett}.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
fi
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
drive() { "$wine" "$driver" "$@" 2>/dev/null | tr -d '\r'; }
screenshot() {  # caption file
  local rect
  rect=$(drive rect "$1")
  read -r x y w h <<<"$rect"
  if [[ -n "${DISPLAY:-}" ]] && command -v import >/dev/null; then
    import -display "$DISPLAY" -window root -crop "${w}x${h}+${x}+${y}" +repage "$2" 2>/dev/null || fail "screenshot $2"
  fi
}

# --- gallery: every kind, read back and driven ---
log="$out/gallery.log"
"$wine" "$viewer" "$examples/gallery.dfm" --log "$(winepath -w "$log" 2>/dev/null || echo "$log")" \
  --set htmlLite1 Html '<html><head><title>x</title></head><body><h3>HTML viewer</h3><p>Plain &amp; simple</p></body></html>' \
  >/dev/null 2>&1 &
viewer_pid=$!
drive wait "Control gallery" 30 >/dev/null || { fail "gallery window did not appear"; cat "$log" 2>/dev/null; exit 1; }
sleep 1
drive list "Control gallery" >"$out/gallery-controls.txt"
expect() {  # name pattern
  grep -E "^$1 " "$out/gallery-controls.txt" | grep -qE -- "$2" || fail "$1: expected /$2/ in: $(grep -E "^$1 " "$out/gallery-controls.txt")"
}
expect Label1 "Static text=Label: &Name"
expect Edit1 "Edit text=Edit text "
expect MaskEdit1 "text=12/05/2026"
expect Memo1 "text=Memo line 1\\\\nMemo line 2"
expect RichEdit1 "text=Rich edit text"
expect Button1 "Button text=Button "
expect BitBtn1 "Button text=Bit button"
expect SpeedButton1 "Button text=Speed"
expect RzBmpButton1 "Button text=Bitmap"
expect CheckBox1 "text=Check box checked=1"
expect RadioButton1 "text=Radio one checked=1"
expect RadioButton2 "text=Radio two checked=0"
expect StaticText1 "text=Static text"
expect TrackBar1 "position=4 max=10"
expect Edit2 "text=5 "
expect UpDown1 "position=5"
expect ProgressBar1 "position=60"
expect Gauge1 "KorvaneCanvas"
expect ListBox1 "count=3 index=-1 items=Alpha;Beta;Gamma;"
expect CheckListBox1 "count=2 .*items=Feature A;Feature B;"
expect ComboBox1 "text=Green count=3"
expect FilterComboBox1 "text=Text files \\(\\*.txt\\) count=2"
expect DriveComboBox1 "ComboBox text=[a-z]: "
expect DirectoryListBox1 "ListBox count=[1-9]"
expect FileListBox1 "ListBox count="
expect TreeView1 "count=4"
expect GroupBox1 "KorvaneContainer text=Group box"
expect RadioButton3 "text=Radio in a group checked=0"
expect CheckBox2 "checked=0"
expect Panel1 "KorvaneContainer text="
expect Bevel1 "KorvaneCanvas"
expect Shape1 "KorvaneCanvas"
expect Image1 "KorvaneCanvas"
expect ShapedForm1 "KorvaneCanvas"
expect Animate1 "SysAnimate32"
expect PageControl1 "count=2 index=0"
expect TabSheet1 "KorvaneContainer .*visible=1"
expect TabSheet2 "KorvaneContainer .*visible=0"
expect Label2 "text=On the first tab sheet"
expect PTShellTree1 "SysTreeView32 count=[1-9]"
expect PTShellList1 "SysListView32 count="
expect PTShellCombo1 "ComboBox text=.:"
expect htmlLite1 "RichEdit20W text=HTML viewer\\\\n\\\\nPlain & simple "
expect FlashMovieFrame1 "KorvaneContainer"
expect ButtonOK "text=OK "
expect ButtonCancel "text=Cancel "
screenshot "Control gallery" "$out/gallery.png"

# Changes made through the real windows reach the named handlers with the new state.
drive set "Control gallery" Edit1 "Hello wizard" >/dev/null
drive click "Control gallery" Button1 >/dev/null
drive click "Control gallery" Label1 >/dev/null
sleep 1
grep -q "event Edit1Change Edit1 Text=Hello wizard" "$log" || fail "Edit1Change did not report the new text"
grep -q "event Button1Click Button1" "$log" || fail "Button1Click did not arrive"
grep -q "event Label1Click Label1" "$log" || fail "Label1Click did not arrive"
drive set "Control gallery" CheckBox1 0 >/dev/null
drive set "Control gallery" RadioButton2 1 >/dev/null
drive set "Control gallery" ListBox1 Gamma >/dev/null
drive set "Control gallery" ComboBox1 Blue >/dev/null
drive set "Control gallery" TrackBar1 7 >/dev/null
drive tick "Control gallery" CheckListBox1 1 >/dev/null
drive set "Control gallery" TreeView1 Samples >/dev/null
drive click "Control gallery" Shape1 >/dev/null
drive press "Control gallery" Memo1 a >/dev/null
sleep 1
event() {  # pattern: the handler ran with the sender's new state
  grep -qE "^event $1" "$log" || fail "no event /$1/ in: $(grep "^event" "$log" | tr '\n' '|')"
}
event "CheckBox1Click CheckBox1 .*Checked=False"
event "RadioButton1Click RadioButton2 .*Checked=True"
event "ListBox1Click ListBox1 .*ItemIndex=2"
event "ComboBox1Change ComboBox1 .*Text=Blue"
event "TrackBar1Change TrackBar1 .*Position=7"
event "CheckListBox1ClickCheck CheckListBox1 .*CheckedItems=Feature B;"
event "TreeView1Change TreeView1 .*Selected=Samples"
event "Shape1MouseUp Shape1"
event "Memo1KeyUp Memo1"
(($(grep -c "^event Shape1MouseUp" "$log") == 1)) || fail "one click on the shape raised $(grep -c "^event Shape1MouseUp" "$log") mouse-up events"
drive list "Control gallery" >"$out/gallery-after.txt"
after() { grep -E "^$1 " "$out/gallery-after.txt" | grep -qE -- "$2" || fail "after change $1: expected /$2/ in: $(grep -E "^$1 " "$out/gallery-after.txt")"; }
after CheckBox1 "checked=0"
after RadioButton1 "checked=0"
after RadioButton2 "checked=1"
after ListBox1 "index=2"
after ComboBox1 "text=Blue"
after TrackBar1 "position=7"
# The OK button has ModalResult 1: clicking it ends the modal show with that result.
drive click "Control gallery" ButtonOK >/dev/null
for _ in $(seq 1 50); do grep -q "^result" "$log" 2>/dev/null && break; sleep 0.2; done
grep -q "^result 1" "$log" || { fail "OK button did not end the dialog with result 1"; kill "$viewer_pid" 2>/dev/null; }
wait "$viewer_pid" 2>/dev/null
grep "^warning" "$log" >"$out/gallery-warnings.txt" || true

# --- the wizard page: shown, read back, ended by Escape ---
log="$out/wizard.log"
"$wine" "$viewer" "$examples/wizard_page.dfm" --log "$(winepath -w "$log" 2>/dev/null || echo "$log")" >/dev/null 2>&1 &
viewer_pid=$!
if drive wait "Korvane Setup" 30 >/dev/null; then
  sleep 1
  drive list "Korvane Setup" >"$out/wizard-controls.txt"
  grep -q "^EditFolder Edit text=C:\\\\Program Files\\\\Korvane Sample" "$out/wizard-controls.txt" || fail "wizard folder edit: $(grep EditFolder "$out/wizard-controls.txt")"
  grep -q "^ButtonNext Button text=&Next >" "$out/wizard-controls.txt" || fail "wizard Next button"
  screenshot "Korvane Setup" "$out/wizard-page.png"
  # Escape in the folder edit presses the Cancel button (Cancel = True, ModalResult 2).
  drive press "Korvane Setup" EditFolder escape >/dev/null
  for _ in $(seq 1 50); do grep -q "^result" "$log" 2>/dev/null && break; sleep 0.2; done
  grep -q "^result 2" "$log" || { fail "Escape did not end the wizard page with result 2"; kill "$viewer_pid" 2>/dev/null; }
else
  fail "wizard page did not appear"
  kill "$viewer_pid" 2>/dev/null
fi
wait "$viewer_pid" 2>/dev/null

# --- timing: 30 dialogs of 40 controls, and 30 galleries (every kind, the slowest to build) ---
"$wine" "$viewer" "$data/forms/forty_controls.dfm" --time 30 2>/dev/null | tr -d '\r' | tee "$out/timing.txt"
"$wine" "$viewer" "$examples/gallery.dfm" --time 30 2>/dev/null | tr -d '\r' | tee -a "$out/timing.txt"
grep -q "^30 dialogs of 40 components" "$out/timing.txt" || fail "timing of the 40-control dialog"

if ((failures)); then
  echo "form gallery: $failures failures"
  exit 1
fi
echo "form gallery: all checks passed"
