#!/usr/bin/env bash
# Takes screenshots of the toolkit's demonstration window, one per skin, from the
# Windows build under Wine on a private X server (started and stopped here, on a free
# display; never the user's).
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
