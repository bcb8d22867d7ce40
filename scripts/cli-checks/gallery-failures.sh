# Failures of a gallery run: a small copy that cannot be written is named and left out
# of the page (exit 1); a damaged picture is skipped and the run completes.
mkdir -p "$work/pictures"
cp "$root/samples/autumn.bmp" "$work/pictures/good.bmp"
# A 250-byte name is a legal file name, but its small copy's name, with " (100x75)"
# added, passes the 255-byte limit of a name, so that copy cannot be written.
long="$(printf 'n%.0s' {1..246}).bmp"
cp "$root/samples/autumn.bmp" "$work/pictures/$long"
cli gallery --title failing --width 100 --height 80 "$(native_path "$work/pictures/good.bmp")" \
  "$(native_path "$work/pictures/$long")" >"$work/out" 2>"$work/err"
check "an unwritable small copy exits 1" test $? -eq 1
check "the unwritable small copy is named" grep -q "Could not write the small copy.*nnnn (100x75).bmp" "$work/err"
check "the page is still written, without its row" grep -q "insertTable(1);" "$work/pictures/thumbnail/failing.html"
check "no part of the failed small copy is left" test "$(ls "$work/pictures/thumbnail/simg")" = "good (100x75).bmp"
check "the picture is still copied" test -f "$work/pictures/thumbnail/img/$long"

# A JPEG start-of-image marker and then nothing a decoder accepts.
{ printf '\xff\xd8\xff\x01'; head -c 400 /dev/zero; } >"$work/pictures/damaged.jpg"
cli gallery --title damaged "$(native_path "$work/pictures/damaged.jpg")" "$(native_path "$work/pictures/good.bmp")" \
  >"$work/out" 2>"$work/err"
check "a damaged picture is skipped and the run exits 0" test $? -eq 0
check "the other pictures get their rows" grep -q "insertTable(1);" "$work/pictures/thumbnail (1)/damaged.html"
check "the damaged picture is still copied" test -f "$work/pictures/thumbnail (1)/img/damaged.jpg"
