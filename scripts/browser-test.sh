#!/usr/bin/env bash
# Album pages in headless Chromium: albums made by pictorva-cli (natively, and by the
# Windows build under Wine when given), checked by tests/browser/album-test.mjs.
# Usage: scripts/browser-test.sh NATIVE_CLI [WINDOWS_CLI] [--screenshots DIR]
# Needs /usr/bin/chromium, node and ImageMagick; installs the pinned npm packages of
# tests/browser when missing (puppeteer-core never downloads a browser). Under Wine,
# WINEPREFIX must be set. Prints "browser: N passed, N failed".
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
native=$1; shift
windows=
if [ $# -gt 0 ] && [ "$1" != --screenshots ]; then windows=$1; shift; fi
screenshots=()
if [ "${1:-}" = --screenshots ]; then mkdir -p "$2"; screenshots=(--screenshots "$(realpath "$2")"); fi
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# The pages speak English and keep no settings of the user's.
unset LC_ALL LC_MESSAGES
export LANG=C.UTF-8 XDG_CONFIG_HOME
XDG_CONFIG_HOME=$(mktemp -d)
work=$(mktemp -d)
trap 'rm -rf "$work" "$XDG_CONFIG_HOME"' EXIT
passed=0 failed=0

tests="$root/tests/browser"
if [ ! -d "$tests/node_modules/puppeteer-core" ] || [ ! -d "$tests/node_modules/axe-core" ]; then
  (cd "$tests" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error) ||
    { echo "browser: npm ci failed"; echo "browser: 0 passed, 1 failed"; exit 1; }
fi

# Adds "browser: N passed, N failed" of a run of the checks to the totals.
run_checks() {
  local line
  line=$(node "$tests/album-test.mjs" "$@" | tee /dev/stderr | tail -n 1)
  passed=$((passed + $(sed -n 's/^browser: \([0-9]*\) passed, \([0-9]*\) failed$/\1/p' <<<"$line")))
  failed=$((failed + $(sed -n 's/^browser: \([0-9]*\) passed, \([0-9]*\) failed$/\2/p' <<<"$line" | grep . || echo 1)))
}

# A JPEG with an Exif block recording the day it was taken (DateTimeOriginal in the
# Exif directory that IFD0 points to, little-endian): source, target, "YYYY:MM:DD HH:MM:SS".
with_date() {
  python3 - "$1" "$2" "$3" <<'EOF'
import struct, sys
source, target, taken = sys.argv[1], sys.argv[2], sys.argv[3].encode() + b"\0"
tiff = b"II*\0" + struct.pack("<I", 8)
tiff += struct.pack("<H", 1) + struct.pack("<HHII", 0x8769, 4, 1, 26) + struct.pack("<I", 0)  # IFD0
tiff += struct.pack("<H", 1) + struct.pack("<HHII", 0x9003, 2, 20, 44) + struct.pack("<I", 0)  # Exif IFD
tiff += taken
payload = b"Exif\0\0" + tiff
jpeg = open(source, "rb").read()
open(target, "wb").write(jpeg[:2] + b"\xff\xe1" + struct.pack(">H", len(payload) + 2) + payload + jpeg[2:])
EOF
}

# The pictures of the samples album: photographs of several shapes, a panorama and a
# large picture that get display copies, transparency, an animation, BMP files.
samples="$work/pictures"
mkdir -p "$samples"
make_picture() {  # name, size, seed
  convert -size "$2" -seed "$3" plasma:fractal -blur 0x2 -quality 92 "$samples/$1"
}
make_picture "lake.jpg" 1200x800 1
make_picture "tower.jpg" 600x900 2
make_picture "field.jpg" 1000x750 3
make_picture "cliff.jpg" 640x960 4
make_picture "panorama.jpg" 2600x700 5
make_picture "large.jpg" 3000x2000 6
make_picture "street.png" 900x600 7
convert -size 500x500 xc:none -fill '#3a7bd5' -draw 'circle 250,250 250,40' "$samples/badge.png"
cp "$root/samples/dots.gif" "$root/samples/autumn.bmp" "$root/samples/meadow.jpg" "$samples/"
with_date "$samples/lake.jpg" "$samples/harbour.jpg" "2013:08:14 10:21:07"
# The file names of the names album: all that Linux allows natively, those that
# Windows allows under Wine. Each is a copy of one small picture.
names_title='Names <&> "quoted" #1 100% a?b'
native_names=("quote\"double.jpg" "it's.jpg" "<img src=x onerror=alert(1)>.jpg" "a&amp;b.jpg" "#hash.jpg" "100%.jpg" "%20.jpg"
  "why?.jpg" "back\\slash.jpg" $'line\nbreak.jpg' "emoji 😀🎉.jpg" "שלום עולם.jpg" "مرحبا.jpg" "a,b 2x.jpg"
  "dots...jpg" "semi;colon=1+2.jpg")
windows_names=("it's.jpg" "a&amp;b.jpg" "#hash.jpg" "100%.jpg" "%20.jpg" "emoji 😀🎉.jpg" "שלום עולם.jpg"
  "مرحبا.jpg" "a,b 2x.jpg" "semi;colon=1+2.jpg")
convert -size 300x200 -seed 9 plasma:fractal "$work/small.jpg"

# Makes an album of the files in folder with the program (and runner): prints the
# page's path. Arguments: folder, title, program and runner...
make_album() {
  local folder=$1 title=$2; shift 2
  local args=() file page
  for file in "$folder"/*; do
    [ -f "$file" ] || continue
    if [ "$1" = wine ]; then args+=("Z:${file//\//\\}"); else args+=("$file"); fi
  done
  page=$("$@" gallery --style album --title "$title" "${args[@]}" 2>"$work/album.log" | tail -n 1 | tr -d '\r')
  if [ "$1" = wine ]; then page=${page#Z:}; page=${page//\\//}; fi
  echo "$page"
}

run_albums() {  # label, program and runner...
  local label=$1; shift
  local names_folder="$work/$label-names" list="$work/$label-names.list" name page names_page
  cp -r "$samples" "$work/$label-samples"
  page=$(make_album "$work/$label-samples" "Holiday" "$@")
  if [ ! -f "$page" ]; then
    echo "browser: FAILED: $label: no samples album"; cat "$work/album.log"; failed=$((failed + 1)); return
  fi
  mkdir -p "$names_folder"
  : >"$list"
  if [ "$1" = wine ]; then names=("${windows_names[@]}"); else names=("${native_names[@]}"); fi
  for name in "${names[@]}"; do
    cp "$work/small.jpg" "$names_folder/$name"
    python3 -c 'import json, sys; print(json.dumps(sys.argv[1]))' "$name" >>"$list"
  done
  names_page=$(make_album "$names_folder" "$names_title" "$@")
  run_checks --label "$label" --samples "$page" --names "$names_page" --names-list "$list" \
    --names-title "$names_title" "${screenshots[@]}"
}

run_albums native "$native"
screenshots=()
[ -n "$windows" ] && run_albums windows wine "$windows"

# A mixed drop, as Tile and Flat galleries of both builds: the pictures people have
# today (a HEIC turned by irot, an AVIF with alpha, an animated WebP, a multi-page
# TIFF) beside the older formats, and equal names: IMG_0001.HEIC beside
# IMG_0001.JPG, and another IMG_0001.JPG from a second folder.
testdata=${PICTORVA_TESTDATA:-$root/../shared/testdata}
mixed="$work/mixed"
mkdir -p "$mixed/phone" "$mixed/camera"
cp "$testdata/heif/kimageformats/heic/orientation6.heic" "$mixed/turned.heic"
cp "$testdata/avif/mp4parse/valid-alpha.avif" "$mixed/alpha.avif"
cp "$testdata/webp/image-rs/images/webp/extended_images/anim.webp" "$mixed/moving.webp"
cp "$testdata/tiff/pillow/multipage.tiff" "$mixed/pages.tiff"
cp "$root"/samples/*.{bmp,gif,jpg,png} "$mixed/"
convert -size 48x48 xc:none -fill '#d53a3a' -draw 'circle 24,24 24,4' "$mixed/icon.ico"
cp "$testdata/heif/kimageformats/heic/orientation1.heic" "$mixed/phone/IMG_0001.HEIC"
convert -size 640x480 -seed 31 plasma:fractal "$mixed/phone/IMG_0001.JPG"
convert -size 480x640 -seed 32 plasma:fractal "$mixed/camera/IMG_0001.JPG"
mixed_files=("$mixed"/*.* "$mixed/phone/IMG_0001.HEIC" "$mixed/phone/IMG_0001.JPG" "$mixed/camera/IMG_0001.JPG")
mixed_rows=${#mixed_files[@]}

# Makes a gallery of the mixed drop in a fresh copy: label, style, program and runner...
# Prints the page's path.
make_mixed() {
  local label=$1 style=$2; shift 2
  local copy="$work/mixed-$label-$style" args=() file page
  cp -r "$mixed" "$copy"
  for file in "${mixed_files[@]}"; do
    file="$copy${file#"$mixed"}"
    if [ "$1" = wine ]; then args+=("Z:${file//\//\\}"); else args+=("$file"); fi
  done
  page=$("$@" gallery --style "$style" --title "Mixed" "${args[@]}" 2>"$work/mixed.log" | tail -n 1 | tr -d '\r')
  if [ "$1" = wine ]; then page=${page#Z:}; page=${page//\\//}; fi
  echo "$page"
}

# Adds the line of one gallery check run to the totals: label, page.
run_gallery_check() {
  local line
  line=$(node "$tests/gallery-test.mjs" --label "$1" --page "$2" --rows "$mixed_rows" | tee /dev/stderr | tail -n 1)
  passed=$((passed + $(sed -n 's/^browser: \([0-9]*\) passed, \([0-9]*\) failed$/\1/p' <<<"$line")))
  failed=$((failed + $(sed -n 's/^browser: \([0-9]*\) passed, \([0-9]*\) failed$/\2/p' <<<"$line" | grep . || echo 1)))
}

mixed_builds=(native)
[ -n "$windows" ] && mixed_builds+=(windows)
for build in "${mixed_builds[@]}"; do
  runner=("$native")
  [ "$build" = windows ] && runner=(wine "$windows")
  for style in tile flat; do
    page=$(make_mixed "$build" "$style" "${runner[@]}")
    if [ -f "$page" ]; then
      run_gallery_check "mixed $build $style" "$page"
    else
      echo "browser: FAILED: mixed $build $style: no page"; cat "$work/mixed.log"; failed=$((failed + 1))
    fi
  done
done
# The small copies of both builds are the same files, byte for byte.
if [ -n "$windows" ]; then
  if diff -r "$work/mixed-native-tile/thumbnail/simg" "$work/mixed-windows-tile/thumbnail/simg" >/dev/null; then
    passed=$((passed + 1))
  else
    echo "browser: FAILED: the small copies of the two builds differ"
    diff -rq "$work/mixed-native-tile/thumbnail/simg" "$work/mixed-windows-tile/thumbnail/simg" | head -5
    failed=$((failed + 1))
  fi
fi

# A drop of 2,000 pictures: six shapes, each copied under many names.
scale="$work/scale"
mkdir -p "$scale"
shapes=(480x320 320x480 480x360 400x400 600x300 360x480)
for i in "${!shapes[@]}"; do convert -size "${shapes[$i]}" -seed "$((20 + i))" plasma:fractal "$work/shape$i.jpg"; done
for i in $(seq 1 2000); do cp "$work/shape$((i % 6)).jpg" "$scale/$(printf 'IMG_%04d.jpg' "$i")"; done
page=$(make_album "$scale" "Two thousand" "$native")
run_checks --label scale --scale "$page"

echo "browser: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
