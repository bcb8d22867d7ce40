#!/usr/bin/env bash
# Times the Tile gallery of pictorva-cli against other thumbnailers on the same
# photographs: Debian's wallpaper packages give about 40 JPEG and PNG pictures of
# 2 to 20 megapixels. Each round runs every tool once, in turn, on the same files:
# pictorva-cli with --jobs 1 and with all cores, and each other tool on one thread
# and in its default threaded form (vipsthumbnail as it runs by default, ImageMagick
# and GraphicsMagick with their OpenMP threads). The medians of the wall-clock times
# and of the peak memories (/usr/bin/time -f %M) over the rounds are printed with
# each one's time ratio to pictorva-cli --jobs 1, then the load of the machine.
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
          graphicsmagick libvips-tools libjpeg-turbo-progs imagemagick time)
missing=()
for package in "${packages[@]}"; do
  dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}" >/dev/null
fi
for tool in mogrify gm vipsthumbnail djpeg identify /usr/bin/time; do
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
load() { cut -d' ' -f1-3 /proc/loadavg; }
# Fresh copies for the tools that replace their input.
copies() {
  rm -rf "$work/copy"
  cp -r "$work/src" "$work/copy"
}

declare -A times memory
# Runs the command as tool $1: its wall-clock time (ns) and peak memory (KB) are
# recorded when it succeeds.
timed() {
  local tool=$1 start status; shift
  start=$(now)
  /usr/bin/time -f %M -o "$work/peak" "$@" >/dev/null 2>&1
  status=$?
  [ $status = 0 ] || return $status
  times[$tool]="${times[$tool]:-} $(( $(now) - start ))"
  memory[$tool]="${memory[$tool]:-} $(tail -n 1 "$work/peak")"
}

cores=$(nproc)
gallery=(gallery --style tile --width 150 --height 150)
mogrify_args=(-define jpeg:size=300x300 -filter Triangle -thumbnail '150x150>' -quality 75)
gm_args=(-size 300x300 -filter Triangle -thumbnail '150x150>' -quality 75)
# Both lists of vipsthumbnail in one process tree, so its peak is the larger one:
# bash -c "$vips_lists" vips OUT FILE...
vips_lists='
  out=$1; shift; jpegs=(); pngs=()
  for f in "$@"; do case $f in *.jpg) jpegs+=("$f") ;; *) pngs+=("$f") ;; esac; done
  if [ ${#jpegs[@]} -gt 0 ]; then vipsthumbnail -s "150x150>" -o "$out/%s.jpg[Q=75]" "${jpegs[@]}" || exit 1; fi
  if [ ${#pngs[@]} -gt 0 ]; then vipsthumbnail -s "150x150>" -o "$out/%s.png" "${pngs[@]}" || exit 1; fi'
load_before=$(load)

for ((round = 1; round <= rounds; round++)); do
  if [ -x "$cli" ]; then
    for jobs in 1 "$cores"; do
      rm -rf "$work/src/thumbnail"*
      tool=pictorva-jobs-1
      [ "$jobs" = 1 ] || tool=pictorva-all-cores
      if ! timed "$tool" "$cli" "${gallery[@]}" --jobs "$jobs" "${jpegs[@]}" "${pngs[@]}"; then
        echo "peers.sh: $cli failed; it is left out" >&2
        cli=""
        break
      fi
    done
    rm -rf "$work/src/thumbnail"*
  fi

  if [ -n "$exe" ]; then
    windows_files=()
    for file in "${jpegs[@]}" "${pngs[@]}"; do windows_files+=("Z:${file//\//\\}"); done
    timed wine-startup wine "$exe" --version
    if ! timed pictorva-windows wine "$exe" "${gallery[@]}" "${windows_files[@]}"; then
      echo "peers.sh: $exe failed; it is left out" >&2
      exe=""
    fi
    rm -rf "$work/src/thumbnail"*
  fi
  [ "$peers" = 1 ] || continue

  copies
  timed imagemagick-1-thread mogrify -limit thread 1 "${mogrify_args[@]}" "$work"/copy/*
  copies
  timed imagemagick-threads mogrify "${mogrify_args[@]}" "$work"/copy/*
  copies
  timed graphicsmagick-1-thread gm mogrify -limit threads 1 "${gm_args[@]}" "$work"/copy/*
  copies
  timed graphicsmagick-threads gm mogrify "${gm_args[@]}" "$work"/copy/*
  rm -rf "$work/vips" && mkdir -p "$work/vips"
  timed vips-1-thread env VIPS_CONCURRENCY=1 bash -c "$vips_lists" vips "$work/vips" "${jpegs[@]}" "${pngs[@]}"
  rm -rf "$work/vips" && mkdir -p "$work/vips"
  timed vips-threads bash -c "$vips_lists" vips "$work/vips" "${jpegs[@]}" "${pngs[@]}"
  timed djpeg bash -c 'for file in "$@"; do djpeg -outfile /dev/null "$file" || exit 1; done' djpeg "${jpegs[@]}"
done
load_after=$(load)

median() { tr ' ' '\n' | grep -v '^$' | sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : int((a[NR/2]+a[NR/2+1])/2)}'; }
medianTime() { [ -n "${times[$1]:-}" ] && echo "${times[$1]}" | median; }
medianMemory() { [ -n "${memory[$1]:-}" ] && echo "${memory[$1]}" | median; }
base=$(medianTime pictorva-jobs-1 || true)
printf '%-24s %10s %8s %10s\n' tool "median ms" ratio "peak MB"
for tool in pictorva-jobs-1 pictorva-all-cores pictorva-windows wine-startup imagemagick-1-thread imagemagick-threads \
            graphicsmagick-1-thread graphicsmagick-threads vips-1-thread vips-threads djpeg; do
  [ -n "${times[$tool]:-}" ] || continue
  m=$(medianTime "$tool")
  ratio="-"
  [ -n "$base" ] && ratio=$(awk -v a="$m" -v b="$base" 'BEGIN {printf "%.2f", a / b}')
  printf '%-24s %10d %8s %10d\n' "$tool" $((m / 1000000)) "$ratio" $(( $(medianMemory "$tool") / 1024 ))
done
echo "(all cores: --jobs $cores; djpeg: full-size decoding of the JPEGs only, the floor for any JPEG"
echo " thumbnailer; peak memory of the Wine runs is Wine's own process)"
echo "load average (1, 5, 15 min) before: $load_before; after: $load_after; $cores cores"
if [ -n "$base" ] && [ -n "${times[pictorva-all-cores]:-}" ]; then
  all=$(medianTime pictorva-all-cores)
  awk -v a="$all" -v b="$base" 'BEGIN { printf "all cores / --jobs 1: %.2f (goal: at most 0.60)\n", a / b }'
  for peer in imagemagick-threads graphicsmagick-threads vips-threads; do
    [ -n "${times[$peer]:-}" ] || continue
    awk -v a="$all" -v p="$(medianTime $peer)" -v name="$peer" \
      'BEGIN { printf "all cores / %s: %.2f (goal: below 1)\n", name, a / p }'
  done
  if [ -n "${memory[graphicsmagick-1-thread]:-}" ]; then
    awk -v a="$(medianMemory pictorva-jobs-1)" -v g="$(medianMemory graphicsmagick-1-thread)" \
      'BEGIN { printf "peak memory, --jobs 1 / GraphicsMagick on one thread: %.2f (goal: at most 1.5)\n", a / g }'
  fi
fi
if [ -n "$base" ] && [ -n "${times[pictorva-windows]:-}" ] && [ -n "${times[wine-startup]:-}" ]; then
  windows=$(medianTime pictorva-windows)
  startup=$(medianTime wine-startup)
  all=$(medianTime pictorva-all-cores || echo "$base")
  awk -v w="$windows" -v s="$startup" -v b="$all" 'BEGIN {
    printf "Windows build (all cores) less Wine start-up: %d ms, %.2f times the Linux build\n", (w - s) / 1e6, (w - s) / b }'
fi

[ "${PROFILE:-0}" = 1 ] && [ -x "$cli" ] || exit 0
command -v perf >/dev/null || { echo "peers.sh: perf is missing; no profile" >&2; exit 0; }
rm -rf "$work/src/thumbnail"*
perf record -q -F 500 --call-graph dwarf,16384 -o "$work/perf.data" \
  "$cli" "${gallery[@]}" --jobs 1 "${jpegs[@]}" "${pngs[@]}" >/dev/null 2>&1
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
