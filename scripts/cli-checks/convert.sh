# The convert command: every format into every other, the same format through
# createLike, sharpening, and the refusals.
mkdir -p "$work/in" "$work/out"
cp "$root"/samples/{autumn.bmp,dots.gif,ring.gif,meadow.jpg,sunset.png} "$work/in/"
convert "$root/samples/sunset.png" -define icon:auto-resize=16,32,48,256 "$work/in/logo.ico" 2>/dev/null
src() { native_path "$work/in/$1"; }
dst() { native_path "$work/out/$1"; }
# The width and height ImageMagick reads (of the first image), and its image count.
size_of() { identify -format '%wx%h\n' "$1" 2>/dev/null | head -n 1; }
count_of() { identify "$1" 2>/dev/null | wc -l; }
# An icon file's directory as "width/bits" per entry, read with od.
ico_entries() {
  local file=$1 count i
  count=$(od -An -tu2 -j4 -N2 "$file" | tr -d ' ')
  for ((i = 0; i < count; i++)); do
    printf '%s/%s ' "$(od -An -tu1 -j$((6 + 16 * i)) -N1 "$file" | tr -d ' ')" \
      "$(od -An -tu2 -j$((12 + 16 * i)) -N2 "$file" | tr -d ' ')"
  done
}

converted=0
for source in autumn.bmp ring.gif meadow.jpg sunset.png logo.ico; do
  for extension in bmp jpg jpeg gif png ico; do
    cli convert "$(src "$source")" "$(dst "${source%.*}-to.$extension")" >/dev/null 2>&1 &&
      [ -s "$work/out/${source%.*}-to.$extension" ] && converted=$((converted + 1))
  done
done
check "every format converts into every other (30 files)" test $converted -eq 30
check "BMP to PNG keeps the size" test "$(size_of "$work/out/autumn-to.png")" = 240x180
check "a .jpeg name writes JPEG" test "$(identify -format '%m' "$work/out/meadow-to.jpeg" 2>/dev/null)" = JPEG
check "PNG to ICO: the default sizes 16, 24, 32, 48 at 4, 8 and 32 bits" \
  test "$(ico_entries "$work/out/sunset-to.ico")" = "16/4 16/8 16/32 24/4 24/8 24/32 32/4 32/8 32/32 48/4 48/8 48/32 "
check "ImageMagick reads all twelve" test "$(count_of "$work/out/sunset-to.ico")" -eq 12
check "ICO to ICO keeps the sizes and depths" \
  test "$(ico_entries "$work/out/logo-to.ico")" = "32/32 16/32 48/32 0/32 "
check "a GIF keeps its depth" test "$(identify -format '%k' "$work/out/ring-to.gif" 2>/dev/null)" -le 8

cli convert "$(src dots.gif)" "$(dst dots.gif)" >/dev/null 2>&1
check "an animated GIF stays animated" test "$(count_of "$work/out/dots.gif")" -eq 3
cli convert "$(src dots.gif)" "$(dst dots.png)" >/dev/null 2>&1
check "an animation into PNG: its first picture" test "$(count_of "$work/out/dots.png")" -eq 1

cli convert "$(src autumn.bmp)" "$(dst sharp.bmp)" --sharpen 80 >/dev/null 2>&1
check "--sharpen writes the picture" test "$(size_of "$work/out/sharp.bmp")" = 240x180
check "--sharpen changes the pixels" test "$(cmp -s "$work/out/sharp.bmp" "$work/out/autumn-to.bmp"; echo $?)" -eq 1
cli convert "$(src autumn.bmp)" "$(dst soft.bmp)" --sharpen=-100 >/dev/null 2>&1
check "a negative strength blurs" test "$(compare -metric AE "$work/out/soft.bmp" "$work/out/sharp.bmp" null: 2>&1)" -gt 0

cp "$work/in/sunset.png" "$work/out/taken.png"
cli convert "$(src autumn.bmp)" "$(dst taken.png)" >/dev/null 2>"$work/err"
check "an existing OUT exits 1" test $? -eq 1
check "the refusal names OUT" grep -q "taken.png" "$work/err"
check "an existing OUT is left as it was" cmp -s "$work/in/sunset.png" "$work/out/taken.png"
cli convert "$(src autumn.bmp)" "$(dst picture.tif)" >/dev/null 2>&1
check "an unknown extension exits 1" test $? -eq 1
cli convert "$(src missing.bmp)" "$(dst missing.png)" >/dev/null 2>&1
check "an unreadable IN exits 1" test $? -eq 1 -a ! -e "$work/out/missing.png"
cli convert "$(src autumn.bmp)" >/dev/null 2>&1
check "convert without OUT is a usage error" test $? -eq 2
cli convert "$(src autumn.bmp)" "$(dst x.png)" --sharpen much >/dev/null 2>&1
check "a strength that is no number is a usage error" test $? -eq 2

# The formats read through other libraries (made here by ImageMagick) into every
# format, WebP written, and WebP into WebP.
convert "$root/samples/autumn.bmp" "$work/in/autumn.tif" 2>/dev/null
convert "$root/samples/meadow.jpg" "$work/in/meadow.heic" 2>/dev/null
convert "$root/samples/meadow.jpg" "$work/in/meadow.avif" 2>/dev/null
convert "$root/samples/sunset.png" -define webp:lossless=true "$work/in/sunset.webp" 2>/dev/null
convert "$root/samples/meadow.jpg" -quality 80 "$work/in/meadow.webp" 2>/dev/null
convert "$root/samples/dots.gif" "$work/in/dots.webp" 2>/dev/null
converted=0
for source in autumn.tif meadow.heic meadow.avif sunset.webp meadow.webp; do
  for extension in bmp jpg gif png ico webp; do
    cli convert "$(src "$source")" "$(dst "${source%.*}-${source##*.}-to.$extension")" >/dev/null 2>&1 &&
      [ -s "$work/out/${source%.*}-${source##*.}-to.$extension" ] && converted=$((converted + 1))
  done
done
check "TIFF, HEIC, AVIF and WebP convert into every format (30 files)" test $converted -eq 30
check "HEIC to PNG keeps the size" test "$(size_of "$work/out/meadow-heic-to.png")" = 800x600
check "ImageMagick reads the WebP written from a TIFF" test "$(size_of "$work/out/autumn-tif-to.webp")" = 240x180
for source in autumn.bmp ring.gif meadow.jpg sunset.png; do
  cli convert "$(src "$source")" "$(dst "${source%.*}.webp")" >/dev/null 2>&1
done
check "another format becomes a lossy WebP" \
  sh -c "grep -q 'VP8 ' '$work/out/autumn.webp' && ! grep -q VP8L '$work/out/autumn.webp'"
convert "$root/samples/sunset.png" -alpha set -channel A -evaluate set 50% +channel "$work/in/half.png" 2>/dev/null
cli convert "$(src half.png)" "$(dst half.webp)" >/dev/null 2>&1
check "a PNG's alpha stays in the WebP" test "$(identify -format '%[opaque]' "$work/out/half.webp" 2>/dev/null)" = false
check "an opaque one stays opaque" test "$(identify -format '%[opaque]' "$work/out/sunset.webp" 2>/dev/null)" = true
check "a lossless WebP stays lossless" grep -q VP8L "$work/out/sunset-webp-to.webp"
check "a lossy WebP stays lossy" sh -c "! grep -q VP8L '$work/out/meadow-webp-to.webp'"
cli convert "$(src dots.webp)" "$(dst dots.webp)" >/dev/null 2>&1
check "an animated WebP stays animated" test "$(count_of "$work/out/dots.webp")" -eq 3
check "with its frame timing" test "$(identify -format '%T ' "$work/out/dots.webp" 2>/dev/null)" = "20 20 20 "
cli convert "$(src dots.webp)" "$(dst dots-first.png)" >/dev/null 2>&1
check "an animated WebP into PNG: its first picture" test "$(count_of "$work/out/dots-first.png")" -eq 1

# A colour profile goes on into JPEG, PNG and WebP: a small RGB profile written
# here, given to a PNG by ImageMagick (which only attaches it).
python3 - "$work/in/made.icc" <<'PY'
import struct, sys
be = lambda v: struct.pack('>I', v)
noise, n = bytearray(), 7
for _ in range(256):
    n = (n * 1103515245 + 12345) & 0xffffffff
    noise.append(n >> 24)
profile = (be(432) + b'none' + be(0x02100000) + b'mntrRGB XYZ ' + bytes(12) + b'acspAPPL' + be(0) + bytes(16) +
           be(0) + be(0xF6D6) + be(0x10000) + be(0xD32D) + bytes(48) + be(2) + b'wtpt' + be(156) + be(20) +
           b'zzzz' + be(176) + be(256) + b'XYZ ' + bytes(4) + be(0xF6D6) + be(0x10000) + be(0xD32D) + bytes(noise))
open(sys.argv[1], 'wb').write(profile)
PY
convert "$root/samples/sunset.png" -profile "$work/in/made.icc" "$work/in/profiled.png" 2>/dev/null
carried=0
for extension in jpg png webp; do
  cli convert "$(src profiled.png)" "$(dst profiled.$extension)" >/dev/null 2>&1 &&
    convert "$work/out/profiled.$extension" "$work/out/profiled-$extension.icc" 2>/dev/null &&
    cmp -s "$work/out/profiled-$extension.icc" "$work/in/made.icc" && carried=$((carried + 1))
done
check "the colour profile goes on into JPEG, PNG and WebP" test $carried -eq 3
