# The gallery command: a gallery of the sample pictures, usage errors and a refused
# output folder.
mkdir -p "$work/pictures"
cp "$root"/samples/*.{bmp,gif,jpg,png} "$work/pictures/"
# A PNG under a JPEG name: its small copy is a PNG that keeps the name.
cp "$root/samples/sunset.png" "$work/pictures/disguised.jpg"
printf 'not a picture' > "$work/pictures/notes.txt"
# A photograph stored sideways: an APP1 Exif block (big-endian) with orientation 6,
# a quarter turn clockwise to be upright.
{ head -c 2 "$root/samples/meadow.jpg"
  printf '\xff\xe1\x00\x22Exif\x00\x00MM\x00\x2a\x00\x00\x00\x08\x00\x01'
  printf '\x01\x12\x00\x03\x00\x00\x00\x01\x00\x06\x00\x00\x00\x00\x00\x00'
  tail -c +3 "$root/samples/meadow.jpg"; } > "$work/pictures/sideways.jpg"
args=()
for f in "$work"/pictures/*; do args+=("$(native_path "$f")"); done

cli gallery --title "Sample gallery" --width 100 --height 80 "${args[@]}" >"$work/out" 2>"$work/err"
status=$?
gallery="$work/pictures/thumbnail"
check "a gallery exits 0" test $status -eq 0
check "the page path is the last line" grep -q "Sample gallery.html" <(tail -n 1 "$work/out")
check "the page exists" test -s "$gallery/Sample gallery.html"
check "every file is copied" test "$(ls "$gallery/img" | wc -l)" -eq "$(ls "$work/pictures" | grep -vc thumbnail)"
check "BMP small copies fit 100 x 80" test -f "$gallery/simg/autumn (100x75).bmp"
check "JPEG small copies stay JPEG" test -f "$gallery/simg/meadow (100x75).jpg"
check "PNG small copies stay PNG" test -f "$gallery/simg/sunset (100x62).png"
# Bit depth, colour type, compression, filter and interlace bytes of the header.
png_header() { od -An -tu1 -j24 -N5 "$1" | tr -s ' ' | sed 's/^ //'; }
is_png() { [ "$(head -c 8 "$1" | od -An -tx1 | tr -d ' ')" = 89504e470d0a1a0a ]; }
check "JPEG small copies are baseline at quality 75" \
  test "$(identify -format '%Q %[interlace]' "$gallery/simg/meadow (100x75).jpg" 2>/dev/null)" = "75 None"
check "PNG small copies are 8-bit RGBA, Adam7" test "$(png_header "$gallery/simg/sunset (100x62).png")" = "8 6 0 0 1"
check "a PNG named .jpg gives a PNG small copy named .jpg" is_png "$gallery/simg/disguised (100x62).jpg"
check "GIF small copies stay GIF" test -f "$gallery/simg/ring (80x80).gif"
check "a sideways photograph gets an upright small copy" test -f "$gallery/simg/sideways (60x80).jpg"
check "its page row has the upright size" grep -q "'img/sideways.jpg', 600, 800," "$gallery/Sample gallery.html"
check "an animated GIF stays animated" test "$(identify "$gallery/simg/dots (80x80).gif" 2>/dev/null | wc -l)" -eq 3
check "progress on stderr" grep -q "Done!" "$work/err"
check "the page is UTF-8 with CR LF" grep -q $'<html>\r' "$gallery/Sample gallery.html"

cli gallery --style flat "${args[0]}" >"$work/out" 2>"$work/err"
check "a second run goes to thumbnail (1)" test -s "$work/pictures/thumbnail (1)/Thumbnail (Flat).html"
cli gallery --style flat "$(native_path "$work/pictures/sideways.jpg")" >/dev/null 2>&1
check "a Flat page row has the upright size too" \
  grep -q "'img/sideways.jpg', 600, 800," "$work/pictures/thumbnail (2)/Thumbnail (Flat).html"

cli gallery --style square "${args[0]}" >/dev/null 2>"$work/err"
check "a usage error exits 2" test $? -eq 2
cli --help >"$work/out" 2>/dev/null
check "--help exits 0 with the usage" test $? -eq 0 -a -s "$work/out"
cli gallery "$(native_path "$work/missing/deeper/a.bmp")" >/dev/null 2>"$work/err"
check "a refused output folder exits 1" test $? -eq 1
check "the refusal names the folder" grep -q "inaccessible or write-protected" "$work/err"
