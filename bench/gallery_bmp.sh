#!/usr/bin/env bash
# Times a Tile gallery (150 x 150) of 50 BMP pictures of 3000 x 2000 pixels made by
# pictorva-cli, and prints the time per picture. The pictures (24-bit, about 18 MB
# each) are made once under $PICTORVA_BENCH_DIR (default /tmp/pictorva-bench-bmp).
#   bench/gallery_bmp.sh [path/to/pictorva-cli]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cli=${1:-$root/build/release/apps/pictorva-cli}
work=${PICTORVA_BENCH_DIR:-/tmp/pictorva-bench-bmp}
count=50
if [ ! -x "$cli" ]; then
  cmake -S "$root" -B "$root/build/release" -DCMAKE_BUILD_TYPE=Release -DPICTORVA_TESTS=OFF >/dev/null
  cmake --build "$root/build/release" -j"$(nproc)" >/dev/null
fi
mkdir -p "$work/source"
if [ ! -f "$work/source/picture-$count.bmp" ]; then
  # A photo-like picture: smooth colour plus fine noise, so nothing is uniform.
  convert -size 3000x2000 gradient:navy-orange \( -size 3000x2000 xc:gray50 +noise Gaussian \) \
    -compose overlay -composite -type TrueColor BMP3:"$work/picture.bmp"
  for i in $(seq 1 $count); do cp "$work/picture.bmp" "$work/source/picture-$i.bmp"; done
fi
rm -rf "$work/source/thumbnail"*
start=$(date +%s.%N)
"$cli" gallery "$work/source"/picture-*.bmp >/dev/null 2>&1
end=$(date +%s.%N)
awk -v s="$start" -v e="$end" -v n=$count \
  'BEGIN { t = e - s; printf "%d pictures of 3000 x 2000: %.2f s in all, %.0f ms per picture\n", n, t, 1000 * t / n }'
