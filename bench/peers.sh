#!/usr/bin/env bash
# Times the Tile gallery of pictorva-cli against other thumbnailers on the same
# photographs: Debian's wallpaper packages give about 40 JPEG and PNG pictures of
# 2 to 20 megapixels. Each round runs every tool once, in turn, on the same files;
# the medians over the rounds are printed with each one's ratio to pictorva-cli.
#
# The Windows build runs under Wine in the same rounds, on the same files, and so
# does "pictorva-cli.exe --version", which measures Wine's own start-up: the
# Windows build's own time is its time less that start-up.
#
#   bench/peers.sh [path/to/pictorva-cli [path/to/pictorva-cli.exe]]
#                                             (or PICTORVA_CLI=..., PICTORVA_CLI_EXE=...;
#                                             by default the release build
#                                             scripts/run.sh makes and build/windows)
#   WINEPREFIX=...                            the Wine prefix (default: the test prefix)
#   PEERS=0 bench/peers.sh                    the two builds and Wine's start-up only
#   ROUNDS=5 MAX_FILES=40 bench/peers.sh
#   PROFILE=1 bench/peers.sh                  (then one profiled pictorva-cli run:
#                                             where its time goes, by stage and library)
#
# Installs packages with apt-get (run as root). Not part of the test suite.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cli=${1:-${PICTORVA_CLI:-$root/build/release/apps/pictorva-cli}}
exe=${2:-${PICTORVA_CLI_EXE:-$root/build/windows/apps/pictorva-cli.exe}}
rounds=${ROUNDS:-5}
max_files=${MAX_FILES:-40}
peers=${PEERS:-1}

packages=(lomiri-wallpapers-16.04 lomiri-wallpapers-20.04 mate-backgrounds plasma-workspace-wallpapers
          graphicsmagick libvips-tools libjpeg-turbo-progs imagemagick)
missing=()
for package in "${packages[@]}"; do
  dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}" >/dev/null
fi
for tool in mogrify gm vipsthumbnail djpeg identify; do
  command -v "$tool" >/dev/null || { echo "peers.sh: $tool is missing" >&2; exit 1; }
done
[ -x "$cli" ] || echo "peers.sh: no pictorva-cli at $cli; timing the other tools only" >&2
if [ -f "$exe" ] && command -v wine >/dev/null; then
  export WINEPREFIX=${WINEPREFIX:-$HOME/.cache/pictorva/wineprefix} WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  # The Wine server stays up between the runs, as it does for a user who runs the
  # program twice in a row (a server that runs already answers 2 and is kept).
  wineserver -p 30 </dev/null >/dev/null 2>&1 || true
  wine "$exe" --version >/dev/null 2>&1 || { echo "peers.sh: $exe does not start under Wine" >&2; exe=""; }
else
  echo "peers.sh: no pictorva-cli.exe at $exe (or no wine); not timing the Windows build" >&2
  exe=""
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/src"

# JPEG and PNG photographs of 2 to 20 megapixels, JPEGs and PNGs taken in turn so
# both formats are timed; names made unique by a counter.
shopt -s nullglob
list() {
  find /usr/share/backgrounds /usr/share/wallpapers -type f \( "$@" \) 2>/dev/null | sort
}
mapfile -t jpeg_candidates < <(list -iname '*.jpg' -o -iname '*.jpeg')
mapfile -t png_candidates < <(list -iname '*.png')
candidates=()
for ((i = 0; i < ${#jpeg_candidates[@]} || i < ${#png_candidates[@]}; i++)); do
  [ $i -lt ${#jpeg_candidates[@]} ] && candidates+=("${jpeg_candidates[$i]}")
  [ $i -lt ${#png_candidates[@]} ] && candidates+=("${png_candidates[$i]}")
done
count=0
for file in "${candidates[@]}"; do
  [ $count -ge "$max_files" ] && break
  size=$(identify -ping -format '%w %h' "$file[0]" 2>/dev/null) || continue
  read -r width height <<<"$size"
  pixels=$((width * height))
  [ $pixels -ge 2000000 ] && [ $pixels -le 20000000 ] || continue
  extension=${file##*.}
  extension=${extension,,}
  [ "$extension" = jpeg ] && extension=jpg
  count=$((count + 1))
  cp "$file" "$work/src/$(printf 'p%03d' $count).$extension"
done
[ $count -gt 0 ] || { echo "peers.sh: no photographs found" >&2; exit 1; }
jpegs=("$work"/src/*.jpg)
pngs=("$work"/src/*.png)
echo "$count pictures ($(ls "$work"/src/*.jpg 2>/dev/null | wc -l) JPEG, $(ls "$work"/src/*.png 2>/dev/null | wc -l) PNG)," \
     "$(du -sh "$work/src" | cut -f1), $rounds rounds"

now() { date +%s%N; }
# Fresh copies for the tools that replace their input.
copies() {
  rm -rf "$work/copy"
  cp -r "$work/src" "$work/copy"
}

declare -A times
record() { times[$1]="${times[$1]:-} $2"; }

for ((round = 1; round <= rounds; round++)); do
  if [ -x "$cli" ]; then
    rm -rf "$work/src/thumbnail"*
    start=$(now)
    if "$cli" gallery --style tile --width 150 --height 150 "${jpegs[@]}" "${pngs[@]}" >/dev/null 2>&1; then
      record pictorva $(( $(now) - start ))
    else
      echo "peers.sh: $cli failed; it is left out" >&2
      cli=""
    fi
    rm -rf "$work/src/thumbnail"*
  fi

  if [ -n "$exe" ]; then
    windows_files=()
    for file in "${jpegs[@]}" "${pngs[@]}"; do windows_files+=("Z:${file//\//\\}"); done
    start=$(now)
    wine "$exe" --version >/dev/null 2>&1
    record wine-startup $(( $(now) - start ))
    start=$(now)
    if wine "$exe" gallery --style tile --width 150 --height 150 "${windows_files[@]}" >/dev/null 2>&1; then
      record pictorva-windows $(( $(now) - start ))
    else
      echo "peers.sh: $exe failed; it is left out" >&2
      exe=""
    fi
    rm -rf "$work/src/thumbnail"*
  fi
  [ "$peers" = 1 ] || continue

  copies
  start=$(now)
  mogrify -limit thread 1 -define jpeg:size=300x300 -filter Triangle -thumbnail '150x150>' -quality 75 \
    "$work"/copy/*
  record imagemagick $(( $(now) - start ))

  copies
  start=$(now)
  gm mogrify -limit threads 1 -size 300x300 -filter Triangle -thumbnail '150x150>' -quality 75 \
    "$work"/copy/*
  record graphicsmagick $(( $(now) - start ))

  rm -rf "$work/vips" && mkdir -p "$work/vips"
  start=$(now)
  [ ${#jpegs[@]} -gt 0 ] && VIPS_CONCURRENCY=1 vipsthumbnail -s '150x150>' -o "$work/vips/%s.jpg[Q=75]" "${jpegs[@]}"
  [ ${#pngs[@]} -gt 0 ] && VIPS_CONCURRENCY=1 vipsthumbnail -s '150x150>' -o "$work/vips/%s.png" "${pngs[@]}"
  record vips $(( $(now) - start ))

  start=$(now)
  for file in "${jpegs[@]}"; do djpeg -outfile /dev/null "$file"; done
  record djpeg $(( $(now) - start ))
done

median() { tr ' ' '\n' | grep -v '^$' | sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : int((a[NR/2]+a[NR/2+1])/2)}'; }
base=""
[ -n "${times[pictorva]:-}" ] && base=$(echo "${times[pictorva]}" | median)
printf '%-16s %10s %10s\n' tool "median ms" "ratio"
for tool in pictorva pictorva-windows wine-startup imagemagick graphicsmagick vips djpeg; do
  [ -n "${times[$tool]:-}" ] || continue
  m=$(echo "${times[$tool]}" | median)
  ratio="-"
  [ -n "$base" ] && ratio=$(awk -v a="$m" -v b="$base" 'BEGIN {printf "%.2f", a / b}')
  printf '%-16s %10d %10s\n' "$tool" $((m / 1000000)) "$ratio"
done
echo "(djpeg: full-size decoding of the JPEGs only, the floor for any JPEG thumbnailer)"
if [ -n "$base" ] && [ -n "${times[pictorva-windows]:-}" ] && [ -n "${times[wine-startup]:-}" ]; then
  windows=$(echo "${times[pictorva-windows]}" | median)
  startup=$(echo "${times[wine-startup]}" | median)
  awk -v w="$windows" -v s="$startup" -v b="$base" 'BEGIN {
    printf "Windows build less Wine start-up: %d ms, %.2f times the Linux build\n", (w - s) / 1e6, (w - s) / b }'
fi

[ "${PROFILE:-0}" = 1 ] && [ -x "$cli" ] || exit 0
command -v perf >/dev/null || { echo "peers.sh: perf is missing; no profile" >&2; exit 0; }
rm -rf "$work/src/thumbnail"*
perf record -q -F 500 --call-graph dwarf,16384 -o "$work/perf.data" \
  "$cli" gallery --style tile --width 150 --height 150 "${jpegs[@]}" "${pngs[@]}" >/dev/null 2>&1
echo
echo "pictorva-cli profile: share of all samples, callees included"
report=$(perf report -i "$work/perf.data" --children --sort symbol -g none 2>/dev/null | grep '%')
stage() {
  local share
  share=$(grep -F "] $2" <<<"$report" | head -1 | awk '{print $1}' || true)
  printf '  %-56s %8s\n' "$1" "${share:-0%}"
}
stage "JPEG decoding (libjpeg, into the raster)" "s::image::jpg::win::JpegReader::decode"
stage "PNG decoding (libpng and zlib)" "s::image::png::win::PngReader::decode"
stage "codec raster to pixel image (JPEG)" "s::image::jpg::win::Jpeg::toImageSet"
stage "codec raster to pixel image (PNG)" "s::image::png::win::Png::toImageSet"
stage "scale filter (run for the size, then again to encode)" "s::image::filters::scale::ScaleFilter::apply"
stage "small copy encoding (JPEG)" "s::image::jpg::win::JpegWriter::encode"
stage "small copy encoding (PNG)" "s::image::png::win::PngWriter::encode"
stage "copies of the originals" "s::image::gui::dialogs::pictorva::GalleryRun::copyPass"
stage "page" "s::image::gui::dialogs::pictorva::GalleryRun::pagePass"
stage "page faults (system)" "asm_exc_page_fault"
echo "by library, own time:"
perf report -i "$work/perf.data" --no-children --sort dso -g none 2>/dev/null | grep '%' | head -8 |
  awk '{printf "  %-56s %8s\n", $2, $1}'
