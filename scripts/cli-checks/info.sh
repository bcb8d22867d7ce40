# The info command: one tab-separated line per file, the format found in the content,
# and the exit code telling whether every file could be read.
mkdir -p "$work/in"
cp "$root"/samples/{autumn.bmp,lilac.bmp,dots.gif,ring.gif,meadow.jpg,sunset.png} "$work/in/"
cp "$root/samples/sunset.png" "$work/in/disguised.bmp"
convert "$root/samples/sunset.png" -define icon:auto-resize=16,32,48,256 "$work/in/logo.ico" 2>/dev/null
printf 'not a picture, but long enough to be looked at by the format detection of the program.....' \
  > "$work/in/notes.txt"

# Fields 2-7 of the line info prints for one file.
info_fields() { cli info "$(native_path "$1")" | tr -d '\r' | cut -f2-7; }

check "a 24-bit BMP" test "$(info_fields "$work/in/autumn.bmp")" = $'bmp\t240\t180\t24\t1\tstill'
check "an 8-bit BMP" test "$(info_fields "$work/in/lilac.bmp")" = $'bmp\t300\t200\t8\t1\tstill'
check "an animated GIF" test "$(info_fields "$work/in/dots.gif")" = $'gif\t120\t120\t4\t3\tanimated'
check "a still GIF keeps its table depth" test "$(info_fields "$work/in/ring.gif")" = $'gif\t200\t200\t3\t1\tstill'
check "a JPEG is 24 bits" test "$(info_fields "$work/in/meadow.jpg")" = $'jpg\t800\t600\t24\t1\tstill'
check "a PNG is 32 bits" test "$(info_fields "$work/in/sunset.png")" = $'png\t640\t400\t32\t1\tstill'
check "the content decides, not the name" test "$(info_fields "$work/in/disguised.bmp")" = $'png\t640\t400\t32\t1\tstill'
check "an icon: its 32 x 32 image first, four images" \
  test "$(info_fields "$work/in/logo.ico")" = $'ico\t32\t32\t32\t4\tstill'

cli info "$(native_path "$work/in/autumn.bmp")" "$(native_path "$work/in/logo.ico")" >"$work/out" 2>/dev/null
check "readable files exit 0" test $? -eq 0
check "one line per file, the path first" \
  test "$(tr -d '\r' < "$work/out" | cut -f1)" = "$(native_path "$work/in/autumn.bmp")"$'\n'"$(native_path "$work/in/logo.ico")"

cli info "$(native_path "$work/in/notes.txt")" "$(native_path "$work/in/sunset.png")" >"$work/out" 2>/dev/null
check "an unknown file exits 1" test $? -eq 1
check "an unknown file has two fields" \
  test "$(tr -d '\r' < "$work/out" | head -n 1)" = "$(native_path "$work/in/notes.txt")"$'\tunknown'
check "the files after it are still listed" test "$(wc -l < "$work/out")" -eq 2
cli info "$(native_path "$work/in/missing.png")" >/dev/null 2>&1
check "a missing file exits 1" test $? -eq 1
cli info >/dev/null 2>&1
check "info without files is a usage error" test $? -eq 2

# The formats read through other libraries, made here by ImageMagick.
convert "$root/samples/autumn.bmp" "$work/in/autumn.tif" 2>/dev/null
convert "$root/samples/autumn.bmp" "$root/samples/lilac.bmp" -compress lzw "$work/in/pages.tif" 2>/dev/null
convert "$root/samples/autumn.bmp" -orient RightTop "$work/in/turned.tif" 2>/dev/null
convert "$root/samples/meadow.jpg" "$work/in/meadow.heic" 2>/dev/null
convert "$root/samples/meadow.jpg" "$work/in/meadow.avif" 2>/dev/null
convert "$root/samples/sunset.png" -define webp:lossless=true "$work/in/sunset.webp" 2>/dev/null
convert "$root/samples/dots.gif" "$work/in/dots.webp" 2>/dev/null
check "a TIFF: 24 bits, one page" test "$(info_fields "$work/in/autumn.tif")" = $'tiff\t240\t180\t24\t1\tstill'
check "a TIFF of two pages" test "$(info_fields "$work/in/pages.tif")" = $'tiff\t240\t180\t24\t2\tstill'
check "a TIFF turned by its Orientation tag: upright" \
  test "$(info_fields "$work/in/turned.tif")" = $'tiff\t180\t240\t24\t1\tstill'
check "a HEIC: its luma depth" test "$(info_fields "$work/in/meadow.heic")" = $'heic\t800\t600\t8\t1\tstill'
check "an AVIF" test "$(info_fields "$work/in/meadow.avif")" = $'avif\t800\t600\t8\t1\tstill'
check "a still WebP" test "$(info_fields "$work/in/sunset.webp")" = $'webp\t640\t400\t24\t1\tstill'
check "an animated WebP" test "$(info_fields "$work/in/dots.webp")" = $'webp\t120\t120\t24\t3\tanimated'
cp "$work/in/meadow.avif" "$work/in/avif-named.jpg"
check "an AVIF by its content, not its name" \
  test "$(info_fields "$work/in/avif-named.jpg")" = $'avif\t800\t600\t8\t1\tstill'
head -c 300 "$work/in/meadow.heic" > "$work/in/cut.heic"
cli info "$(native_path "$work/in/cut.heic")" >"$work/out" 2>/dev/null
check "a HEIC cut short is not read (exit 1)" test $? -eq 1
