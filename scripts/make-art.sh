#!/usr/bin/env bash
# Draws the program's pictures with ImageMagick and writes them into res/:
#   pictorva.ico        the program icon: stacked photo tiles, the front one a framed
#                       landscape, at 16, 32, 48 and 256 pixels, 32 bits with alpha
#                       (16 and 32 from a plainer drawing that stays legible)
#   about-wide.jpg      700 x 230, the About window's banner
#   about-tall.jpg      230 x 700, its upright form
# The colours are those of the program's "Classic LG" look: charcoal greys and a
# lime accent. Running it again gives the same files with the same ImageMagick; the
# results are committed, so a build never needs it.
#
#   scripts/make-art.sh [OUTPUT_FOLDER]     (default: res/)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/res}
font_bold=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
font=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
command -v convert >/dev/null || { echo "make-art: convert (ImageMagick) is missing" >&2; exit 1; }
[ -f "$font_bold" ] && [ -f "$font" ] || { echo "make-art: the DejaVu fonts (fonts-dejavu-core) are missing" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

charcoal='#111111' graphite='#313131' steel='#747474' silver='#bfbfbf'
lime='#c3ea00' paper='#f4f4f4'
# No time stamps or tool names in the files, so they come out the same every run.
png_out=(-define "png:exclude-chunks=date,time,tEXt,zTXt,iTXt")

# A landscape photograph of W x H: sky, sun, two ridges and a lime meadow.
landscape() {
  local w=$1 h=$2 file=$3
  convert -size "${w}x${h}" gradient:'#1f5f9e'-'#bfe4ff' \
    -fill '#ffe680' -stroke none -draw "circle $((w * 72 / 100)),$((h * 30 / 100)) $((w * 72 / 100 + h / 9)),$((h * 30 / 100))" \
    -fill "$steel" -draw "polygon 0,$((h * 78 / 100)) $((w * 30 / 100)),$((h * 32 / 100)) $((w * 62 / 100)),$((h * 80 / 100))" \
    -fill "$graphite" -draw "polygon $((w * 30 / 100)),$h $((w * 66 / 100)),$((h * 42 / 100)) $w,$((h * 74 / 100)) $w,$h" \
    -fill "$lime" -draw "polygon 0,$h 0,$((h * 80 / 100)) $((w * 45 / 100)),$((h * 88 / 100)) $w,$((h * 84 / 100)) $w,$h" \
    "${png_out[@]}" "$file"
}

# The landscape in a paper frame with a dark edge, rounded: a picture of W x H.
framed() {
  local w=$1 h=$2 file=$3 border=$(( $1 / 14 + 1 ))
  landscape $((w - 2 * border)) $((h - 2 * border)) "$work/photo.png"
  convert -size "${w}x${h}" xc:none \
    -fill "$paper" -stroke "$graphite" -strokewidth $(( w / 60 + 1 )) \
    -draw "roundrectangle 1,1 $((w - 2)),$((h - 2)) $((w / 16)),$((w / 16))" \
    "$work/photo.png" -geometry "+${border}+${border}" -composite \
    "${png_out[@]}" "$file"
}

# A plain tile of W x H in colour C (the photographs stacked behind the front one).
tile() {
  local w=$1 h=$2 colour=$3 file=$4
  convert -size "${w}x${h}" xc:none \
    -fill "$colour" -stroke "$graphite" -strokewidth $(( w / 60 + 1 )) \
    -draw "roundrectangle 1,1 $((w - 2)),$((h - 2)) $((w / 16)),$((w / 16))" \
    "${png_out[@]}" "$file"
}

# The gallery motif of S x S pixels: two tiles fanned out behind the framed landscape.
motif() {
  local s=$1 file=$2
  local w=$((s * 70 / 100)) h=$((s * 54 / 100))
  tile $w $h "$silver" "$work/back.png"
  tile $w $h "$lime" "$work/middle.png"
  framed $w $h "$work/front.png"
  convert -size "${s}x${s}" xc:none -background none \
    \( "$work/back.png" -rotate -16 \) -gravity center -geometry "-$((s / 12))-$((s / 9))" -composite \
    \( "$work/middle.png" -rotate 9 \) -gravity center -geometry "+$((s / 12))-$((s / 16))" -composite \
    \( "$work/front.png" -rotate -3 \) -gravity center -geometry "+0+$((s / 9))" -composite \
    "${png_out[@]}" "$file"
}

# The plainer drawing for small sizes: the framed landscape alone, filling the square,
# drawn at 8 times the size and reduced.
small_icon() {
  local s=$1 file=$2 big=$(( $1 * 8 ))
  framed $big $((big * 80 / 100)) "$work/small-front.png"
  convert -size "${big}x${big}" xc:none "$work/small-front.png" -gravity center -composite \
    -filter Box -resize "${s}x${s}" "${png_out[@]}" "$file"
}

motif 1024 "$work/motif-1024.png"
convert "$work/motif-1024.png" -filter Lanczos -resize 256x256 "${png_out[@]}" "$work/icon-256.png"
convert "$work/motif-1024.png" -filter Lanczos -resize 48x48 "${png_out[@]}" "$work/icon-48.png"
small_icon 32 "$work/icon-32.png"
small_icon 16 "$work/icon-16.png"
# Every size at 32 bits with alpha (ImageMagick writes the 256 one as PNG, as Windows
# Vista's icons are).
convert "$work/icon-16.png" "$work/icon-32.png" "$work/icon-48.png" "$work/icon-256.png" \
  -type TrueColorAlpha "${png_out[@]}" "$out/pictorva.ico"

# The banners: a charcoal ground with a lime rule, the motif and the product name.
jpeg_out=(-type TrueColor -strip -interlace none -sampling-factor 2x2 -quality 92)
convert "$work/motif-1024.png" -filter Lanczos -resize 210x210 "$work/motif-210.png"
convert -size 230x700 gradient:"$graphite"-"$charcoal" -rotate 90 -colorspace sRGB -type TrueColor "$work/ground-wide.png"
convert "$work/ground-wide.png" \
  "$work/motif-210.png" -geometry +14+10 -composite \
  -fill "$lime" -draw "rectangle 246,148 680,153" \
  -font "$font_bold" -pointsize 58 -fill white -annotate +244+128 'Tarn Pictorva' \
  -font "$font" -pointsize 20 -fill "$silver" -annotate +248+186 'thumbnail galleries from dropped pictures' \
  -background "$charcoal" -flatten "${jpeg_out[@]}" "$out/about-wide.jpg"

# A column of small framed landscapes below the name: the gallery it makes.
framed 150 112 "$work/thumb.png"
convert -size 230x700 gradient:"$graphite"-"$charcoal" \
  "$work/motif-210.png" -geometry +10+14 -composite \
  -font "$font_bold" -pointsize 44 -fill white -gravity north -annotate +0+236 'Tarn' \
  -annotate +0+288 'Pictorva' -gravity northwest \
  -fill "$lime" -draw "rectangle 40,354 190,358" \
  "$work/thumb.png" -geometry +40+392 -composite \
  "$work/thumb.png" -geometry +40+530 -composite \
  -background "$charcoal" -flatten "${jpeg_out[@]}" "$out/about-tall.jpg"

echo "make-art: wrote $out/pictorva.ico, $out/about-wide.jpg, $out/about-tall.jpg"
