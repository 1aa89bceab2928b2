#!/usr/bin/env bash
# Screenshot of the start-up windows under Xvfb: the preparing window over a splash picture,
# saved small as docs/images/startup-windows.png. Needs build/win64 (korvane-startup-windows.exe).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
out=${1:-docs/images/startup-windows.png}
if [[ -z "${KORVANE_WINEPREFIX:-}" ]]; then
  # A display of our own, so the shot holds nothing else.
  unset DISPLAY
  exec scripts/wine-session.sh "$0" "$@"
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/korvane-shot.XXXXXX")
trap 'rm -rf "$work"' EXIT
# A 420 x 260 splash picture, centred on the 1024 x 768 screen.
convert -size 420x260 gradient:'#1f4e79-#8fb8de' -gravity center -fill white -pointsize 34 \
  -font /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf \
  -annotate 0 'Korvane Demo' BMP3:"$work/setup.bmp"
# Xvfb runs no window manager: let Wine draw the window frames and captions itself.
cmake/wine-run.sh reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null
cmake/wine-run.sh build/win64/bin/korvane-startup-windows.exe "Z:${work//\//\\}\\setup.bmp" 12000 &
shown=$!
sleep 8
import -window root "$work/screen.png"
wait "$shown"
mkdir -p "$(dirname "$out")"
# The splash stands at 302,254; the preparing window below and right of its centre.
convert "$work/screen.png" -crop 680x450+280+230 +repage -colors 64 "$out"
echo "wrote $out ($(stat -c %s "$out") bytes)"
