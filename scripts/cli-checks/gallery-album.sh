# The gallery command's Album style: its copies in simg (sizes, formats, names), the
# page's words and language, the date taken, and its usage errors.
mkdir -p "$work/pictures"
cp "$root/samples/meadow.jpg" "$root/samples/dots.gif" "$root/samples/autumn.bmp" "$work/pictures/"
convert -size 3000x2000 -seed 3 plasma:fractal "$work/pictures/large.jpg"
convert -size 400x400 xc:none -fill '#3a7bd5' -draw 'circle 200,200 200,20' "$work/pictures/badge.png"
# meadow.jpg with an Exif block recording DateTimeOriginal 2013:08:14 (little-endian:
# IFD0 holds the pointer 0x8769 to the Exif directory at 26, which holds 0x9003, an
# ASCII text of 20 bytes at 44).
{ head -c 2 "$root/samples/meadow.jpg"
  printf '\xff\xe1\x00\x48''Exif\x00\x00''II\x2a\x00\x08\x00\x00\x00'
  printf '\x01\x00\x69\x87\x04\x00\x01\x00\x00\x00\x1a\x00\x00\x00\x00\x00\x00\x00'
  printf '\x01\x00\x03\x90\x02\x00\x14\x00\x00\x00\x2c\x00\x00\x00\x00\x00\x00\x00'
  printf '2013:08:14 10:21:07\x00'
  tail -c +3 "$root/samples/meadow.jpg"; } > "$work/pictures/dated.jpg"
meadow=$(native_path "$work/pictures/meadow.jpg")
args=()
for f in "$work"/pictures/*; do args+=("$(native_path "$f")"); done

cli gallery --style album "${args[@]}" >"$work/out" 2>"$work/err"
check "an album exits 0" test $? -eq 0
album="$work/pictures/thumbnail"
page="$album/Thumbnail (Album).html"
check "its page is named after the default title" test -s "$page"
check "every file is copied into img" test "$(ls "$album/img" | wc -l)" -eq 6
same_text() { [ "$1" = "$2" ] || { echo "cli: found \"$1\", not \"$2\""; return 1; }; }
check "small copies at 1x and 2x the row height, never enlarged" same_text \
  "$(ls "$album/simg" | grep -E '^(meadow|autumn|dots) ' | tr '\n' '|')" \
  "autumn (240x180).jpg|dots (120x120).gif|meadow (267x200).jpg|meadow (533x400).jpg|"
check "a large picture gets a display copy fitted into 2048 x 2048" test -f "$album/simg/large (2048x1365).jpg"
check "and small copies made from it" test -f "$album/simg/large (600x400).jpg" -a -f "$album/simg/large (300x200).jpg"
check "small copies are JPEG at quality 80" \
  test "$(identify -format '%m %Q' "$album/simg/meadow (267x200).jpg" 2>/dev/null)" = "JPEG 80"
check "the display copy is JPEG at quality 85" \
  test "$(identify -format '%m %Q' "$album/simg/large (2048x1365).jpg" 2>/dev/null)" = "JPEG 85"
check "a picture that is not opaque gets PNG copies" test -f "$album/simg/badge (200x200).png"
check "an animated GIF's small copy stays animated" test "$(identify "$album/simg/dots (120x120).gif" 2>/dev/null | wc -l)" -eq 3
check "the animation's display copy is the original" grep -q '<a href="img/dots.gif"' "$page"
check "a picture browsers show within 2048 links to its original" grep -q '<a href="img/meadow.jpg"' "$page"
check "the large one links to its display copy" grep -q '<a href="simg/large%20(2048x1365).jpg"' "$page"
check "srcset names the 2x copy" grep -q 'srcset="simg/meadow%20(533x400).jpg 2x"' "$page"
check "the date taken is on the page" grep -q 'data-m="800 600 [0-9]* 2013-08-14"' "$page"
check "the page is English, left to right" grep -q '<html lang="en" dir="ltr">' "$page"
check "the page's words are English" grep -q 'aria-label="Previous"' "$page"

cli gallery --style album --height 100 --title "Rows of 100" "${args[0]}" "$meadow" >/dev/null 2>&1
check "--height sets the row height" test -f "$work/pictures/thumbnail (1)/simg/meadow (133x100).jpg"
check "and the page's rows" grep -q -- '--h:100px' "$work/pictures/thumbnail (1)/Rows of 100.html"

cli gallery --style album --lang Japanese "$meadow" >/dev/null 2>&1
check "--lang Japanese: the page is Japanese" grep -q '<html lang="ja" dir="ltr">' "$work/pictures/thumbnail (2)/Thumbnail (Album).html"
check "--lang Japanese: its words too" grep -q 'aria-label="閉じる"' "$work/pictures/thumbnail (2)/Thumbnail (Album).html"
cli gallery --style album --lang Arabic "$meadow" >/dev/null 2>&1
check "--lang Arabic: the page is right to left" grep -q '<html lang="ar" dir="rtl">' "$work/pictures/thumbnail (3)/Thumbnail (Album).html"

for usage in "--width 100" "--height 0" "--height 2000" "--height abc" "--width=300 --height 200"; do
  # shellcheck disable=SC2086
  cli gallery --style album $usage "${args[0]}" >/dev/null 2>"$work/err"
  check "--style album $usage is a usage error" test $? -eq 2
done
check "the usage error names --width" grep -q -- "--width has no meaning for an album" \
  <(cli gallery --style album --width 100 "${args[0]}" 2>&1)
check "no gallery is made on a usage error" test ! -e "$work/pictures/thumbnail (4)"

# The stored style and row height, as the window leaves them.
saved_config_home=${XDG_CONFIG_HOME-}
export XDG_CONFIG_HOME="$work/config"
cli settings set "MainWindow\\View" ConvertTo Album >/dev/null 2>&1
cli settings set "MainWindow\\ConvertTo\\Album" RowHeight 120 >/dev/null 2>&1
cli gallery "$meadow" >/dev/null 2>&1
check "the gallery takes the stored Album and row height" \
  test -f "$work/pictures/thumbnail (4)/simg/meadow (160x120).jpg"
cli gallery --width 100 "$meadow" >/dev/null 2>&1
check "--width with a stored Album is a usage error" test $? -eq 2
if on_windows; then
  check "the registry holds RowHeight as a DWORD" grep -Eq 'RowHeight[[:space:]]+REG_DWORD[[:space:]]+0x78' \
    <(wine reg query 'HKCU\Software\Tarn\Tarn Pictorva\SaveData\MainWindow\ConvertTo\Album' /v RowHeight 2>/dev/null)
  wine reg delete 'HKCU\Software\Tarn\Tarn Pictorva\SaveData\MainWindow\ConvertTo\Album' /f >/dev/null 2>&1
  wine reg delete 'HKCU\Software\Tarn\Tarn Pictorva\SaveData\MainWindow\View' /v ConvertTo /f >/dev/null 2>&1
fi
if [ -n "$saved_config_home" ]; then export XDG_CONFIG_HOME="$saved_config_home"; else unset XDG_CONFIG_HOME; fi
