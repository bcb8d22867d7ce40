# A gallery over an icon with 16, 32, 48 and 256 pixel images: its small copy is an
# icon with the same sizes and depths (the 256 one PNG-compressed), which ImageMagick
# reads and Chromium shows.
mkdir -p "$work/pictures"
# Left half red, right half blue, the top-left quarter transparent.
convert -size 256x256 xc:red -fill blue -draw 'rectangle 128,0 255,255' \
  -alpha set -channel A -fx '(i<128&&j<128)?0:1' +channel "$work/logo.png" 2>/dev/null
convert "$work/logo.png" -define icon:auto-resize=16,32,48,256 "$work/pictures/logo.ico" 2>/dev/null
cli gallery "$(native_path "$work/pictures/logo.ico")" >/dev/null 2>"$work/err"
check "a gallery of an icon exits 0" test $? -eq 0
small="$work/pictures/thumbnail/simg/logo (150x150).ico"
check "the icon gets a small copy named after its largest image" test -s "$small"
check "the small copy keeps the sizes, nearest to 32 first" \
  test "$(identify -format '%w ' "$small" 2>/dev/null)" = "32 16 48 256 "
check "its 256-pixel image is PNG-compressed" \
  test "$(od -An -tx1 -j"$(od -An -tu4 -j$((6 + 16 * 3 + 12)) -N4 "$small" | tr -d ' ')" -N4 "$small" | tr -d ' ')" = 89504e47
check "the page links the small copy" grep -q "(150x150).ico" "$work/pictures/thumbnail/Thumbnail (Tile).html"
# ImageMagick: the 256 image is red on the left, blue on the right, transparent
# top left.
pixel() { convert "$1" -format "%[pixel:p{$2,$3}]" info: 2>/dev/null; }
check "ImageMagick sees red on the left" test "$(pixel "$small[3]" 64 192)" = "srgba(255,0,0,1)"
check "ImageMagick sees blue on the right" test "$(pixel "$small[3]" 192 192)" = "srgba(0,0,255,1)"
check "ImageMagick sees the transparent quarter" test "$(pixel "$small[3]" 20 20 | sed 's/.*,//')" = "0)"

# Chromium draws the icon on a green page.
shot_dir=$(mktemp -d)
cp "$small" "$shot_dir/small.ico"
printf '<html><body style="margin:0;background:#00ff00"><img src="small.ico" width="256" height="256"></body></html>' \
  > "$shot_dir/page.html"
chromium=$(command -v chromium || command -v chromium-browser)
if [ -n "$chromium" ]; then
  timeout 60 "$chromium" --headless --no-sandbox --disable-gpu --disable-background-networking \
    --disable-component-update --no-first-run --user-data-dir="$shot_dir/profile" --hide-scrollbars \
    --window-size=300,300 --screenshot="$shot_dir/shot.png" "file://$shot_dir/page.html" >/dev/null 2>&1
fi
rgb() { convert "$shot_dir/shot.png" -format "%[fx:int(255*p{$1,$2}.r)],%[fx:int(255*p{$1,$2}.g)],%[fx:int(255*p{$1,$2}.b)]" info: 2>/dev/null; }
check "Chromium shows red on the left" test "$(rgb 64 192)" = "255,0,0"
check "Chromium shows blue on the right" test "$(rgb 192 192)" = "0,0,255"
check "Chromium shows the page through the transparent quarter" test "$(rgb 20 20)" = "0,255,0"
rm -rf "$shot_dir"
