#!/usr/bin/env bash
# Takes screenshots of the toolkit's demonstration window, one per skin, and of the
# gallery window (compact, expanded in Tile and Flat, the About window, a run in
# progress, Japanese), from the Windows build under Wine on a private X server
# (started and stopped here, on a free display; never the user's).
#
#   scripts/screenshots.sh [BUILD_DIR] [OUTPUT_DIR]
#
# BUILD_DIR is the Windows build (default build/windows); OUTPUT_DIR receives the PNG
# files (default docs/screenshots). The demo runs inside a Wine virtual desktop, which
# draws the window's frame and caption, and tells this script when each skin is on
# screen (see apps/toolkit-demo/Main_win.cpp).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/windows}
out=${2:-$root/docs/screenshots}
demo="$build/apps/toolkit-demo.exe"
[ -x "$demo" ] || { echo "screenshots: $demo is missing (build the Windows target toolkit-demo)"; exit 1; }
mkdir -p "$out"

# The skins to show, and the file each one becomes.
skins=("ThinWindow/Classic LG" "Thin/Sky Blue")
names=("toolkit-demo-classic-lg" "toolkit-demo-thin-sky-blue")

export WINEPREFIX=${WINEPREFIX:-$HOME/.cache/pictorva/wineprefix} WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
source "$root/scripts/wine-gui.sh"
work=$(mktemp -d)
demo_pid=
cleanup() {
  [ -n "$demo_pid" ] && kill "$demo_pid" 2>/dev/null
  stop_private_display
  rm -rf "$work"
}
trap cleanup EXIT

start_private_display "$work/xvfb.log" || { echo "screenshots: Xvfb did not start"; exit 1; }
prepare_wine_gui_prefix

wine explorer /desktop=shots,700x560 "$demo" --at 20,20 --shots "Z:${work//\//\\}" "${skins[@]}" \
  >"$work/demo.log" 2>&1 &
demo_pid=$!
for i in "${!skins[@]}"; do
  for _ in $(seq 1 300); do
    [ -s "$work/ready-$i" ] && break
    sleep 0.2
  done
  [ -s "$work/ready-$i" ] || { echo "screenshots: the demo did not show ${skins[$i]}"; cat "$work/demo.log"; exit 1; }
  read -r x y width height < "$work/ready-$i"
  # The virtual desktop sits at the screen's top left; the window's rectangle is in its
  # coordinates.
  import -window root "$work/screen-$i.png"
  convert "$work/screen-$i.png" -crop "${width}x${height}+${x}+${y}" +repage "$out/${names[$i]}.png"
  echo "screenshots: $out/${names[$i]}.png (${skins[$i]})"
  touch "$work/done-$i"
done
wait "$demo_pid" || true
demo_pid=
wineserver -w 2>/dev/null || true

# --- The gallery window (pictorva.exe), driven by the program probe ----------------------
program="$build/apps/pictorva.exe"
probe_exe="$build/tests/program-probe.exe"
if [ ! -x "$program" ] || [ ! -x "$probe_exe" ]; then
  echo "screenshots: pictorva.exe or program-probe.exe is missing"; exit 1
fi
probe() { wine "$probe_exe" "$@" 2>/dev/null | tr -d '\r'; }
for exe in pictorva.exe program-probe.exe; do
  wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$exe\\X11 Driver" /v Managed /d N /f >/dev/null 2>&1
done
# Wine's Tahoma has no Japanese letters: the CJK font of the system (fonts-wqy-microhei)
# stands in for them.
wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v Tahoma \
  /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f >/dev/null 2>&1
wine reg delete 'HKCU\Software\Tarn' /f >/dev/null 2>&1 || true

# shoot NAME [TITLE]: the window (or the one titled TITLE) as NAME.png.
shoot() {
  local rect
  sleep 1
  rect=$(if [ $# -gt 1 ]; then probe rect "$2"; else probe rect; fi)
  read -r x y width height <<<"$rect"
  import -window root "$work/screen.png"
  convert "$work/screen.png" -crop "${width}x${height}+${x}+${y}" +repage "$out/$1.png"
  echo "screenshots: $out/$1.png"
}
program_stopped() {
  probe close >/dev/null
  probe gone 20 >/dev/null || true
  wineserver -w 2>/dev/null || true
}

mkdir -p "$work/pictures"
convert -size 2400x1800 plasma:fractal -quality 95 "$work/pictures/big.jpg" 2>/dev/null
big=()
for i in $(seq 16); do cp "$work/pictures/big.jpg" "$work/pictures/picture $i.jpg"; big+=("$work/pictures/picture $i.jpg"); done
rm "$work/pictures/big.jpg"

(wine "$program" >/dev/null 2>&1 &)
probe wait 30 >/dev/null || { echo "screenshots: the gallery window did not open"; exit 1; }
# The parts have their texts and places once the status reads Ready.
for _ in $(seq 100); do probe texts | grep -qx Ready && break; sleep 0.2; done
shoot program-compact
probe click "Advanced Options >>" >/dev/null
shoot program-expanded-tile
probe choose 1 >/dev/null
shoot program-expanded-flat
probe choose 0 >/dev/null
probe command 10000 >/dev/null
shoot program-about "Version Information"
probe close-titled "Version Information" >/dev/null
read -r wx wy _ <<<"$(probe rect)"
read -r bx by bw bh <<<"$(probe drop-rect)"
python3 "$root/../shared/tools/xdnd-drop.py" --window-name "Tarn Pictorva v1.23" \
  --x $((bx - wx + bw / 2)) --y $((by - wy + bh / 2)) "${big[@]}" >/dev/null
sleep 1
shoot program-run
for _ in $(seq 300); do probe texts | grep -qx Ready && break; sleep 0.2; done
japanese=$(( 2 + $(grep -o 'engName="[^"]*"' "$root/res/lang.xml" | grep -n '"Japanese"' | cut -d: -f1) - 1 ))
probe command "$japanese" >/dev/null
shoot program-japanese
program_stopped
wine reg delete 'HKCU\Software\Tarn' /f >/dev/null 2>&1 || true
