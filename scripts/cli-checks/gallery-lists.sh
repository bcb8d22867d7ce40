# The gallery command's --files-from: paths one a line, from a file or standard input,
# after the argument paths; more paths than a Windows command line can hold.
mkdir -p "$work/pictures/with space"
cp "$root/samples/autumn.bmp" "$work/pictures/first.bmp"
cp "$root/samples/lilac.bmp" "$work/pictures/with space/second one.bmp"
cp "$root/samples/sunset.png" "$work/pictures/third.png"
# A byte-order mark, CR LF line ends and an empty line, as Windows editors write them.
printf '\xef\xbb\xbf%s\r\n\r\n%s\r\n' "$(native_path "$work/pictures/with space/second one.bmp")" \
  "$(native_path "$work/pictures/third.png")" >"$work/list.txt"
cli gallery --title lists --files-from "$(native_path "$work/list.txt")" "$(native_path "$work/pictures/first.bmp")" \
  >"$work/out" 2>"$work/err"
check "a gallery from a list exits 0" test $? -eq 0
page="$work/pictures/thumbnail/lists.html"
rows() { grep -o "'img/[^']*'" "$1" | tr '\n' ' '; }
check "argument paths come first, then the list in order" \
  test "$(rows "$page")" = "'img/first.bmp' 'img/second%20one.bmp' 'img/third.png' "

printf '%s\n' "$(native_path "$work/pictures/third.png")" "$(native_path "$work/pictures/first.bmp")" |
  cli gallery --title stdin --files-from - >"$work/out" 2>"$work/err"
check "a list on standard input exits 0" test $? -eq 0
check "standard input's list is read in order" \
  test "$(rows "$work/pictures/thumbnail (1)/stdin.html")" = "'img/third.png' 'img/first.bmp' "

# 170 paths of over 200 characters: far past the 32,767 characters of a Windows
# command line.
deep="$work/$(printf 'a%.0s' {1..60})/$(printf 'b%.0s' {1..60})/$(printf 'c%.0s' {1..60})"
mkdir -p "$deep"
cp "$root/samples/autumn.bmp" "$deep/picture.bmp"
for i in $(seq 170); do native_path "$deep/picture.bmp"; done >"$work/long.txt"
check "the long list is longer than a Windows command line" test "$(wc -c <"$work/long.txt")" -gt 32767
cli gallery --width 20 --height 20 --files-from "$(native_path "$work/long.txt")" >"$work/out" 2>"$work/err"
check "a gallery of a long list exits 0" test $? -eq 0
check "every listed path gets its row" grep -q "insertTable(170);" "$deep/thumbnail/Thumbnail (Tile).html"

cli gallery --files-from "$(native_path "$work/no-such-list.txt")" >/dev/null 2>"$work/err"
check "an unreadable list is a usage error" test $? -eq 2
check "the unreadable list is named" grep -q "cannot read the file list" "$work/err"
: >"$work/empty.txt"
cli gallery --files-from "$(native_path "$work/empty.txt")" >/dev/null 2>"$work/err"
check "an empty list and no arguments is a usage error" test $? -eq 2
cli gallery --help >"$work/out" 2>/dev/null
check "--help tells of --files-from" grep -q -- "--files-from LIST" "$work/out"
