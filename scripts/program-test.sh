#!/usr/bin/env bash
# End-to-end checks of the gallery window (pictorva.exe) under Wine, on an X server of
# its own. Usage: scripts/program-test.sh WINDOWS_BUILD_DIR
# Needs pictorva.exe, pictorva-cli.exe and program-probe.exe (tests/e2e) in the build
# folder, and WINEPREFIX exported. Each scenario starts from an empty save-data key.
# Prints "program: N passed, N failed".
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "$1")
program="$build/apps/pictorva.exe"
probe_exe="$build/tests/program-probe.exe"
cli_exe="$build/apps/pictorva-cli.exe"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
: "${WINEPREFIX:?WINEPREFIX must be set}"
# The window speaks the system's language: the checks expect English unless they
# switch it.
unset LC_ALL LC_MESSAGES
export LANG=C.UTF-8

passed=0 failed=0
check() {  # description, then a command that must succeed
  local what=$1; shift
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "program: FAILED: $what"; fi
}

# description, the value found, the value expected
check_equal() {
  if [ "$2" = "$3" ]; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "program: FAILED: $1: \"$2\", not \"$3\""; fi
}

probe() { wine "$probe_exe" "$@" 2>/dev/null | tr -d '\r'; }
native_path() { echo "Z:${1//\//\\}"; }
save_data='HKCU\Software\Tarn\Tarn Pictorva\SaveData'
view_key="$save_data\\MainWindow\\View"
# A value of the save data as reg.exe shows it ("REG_DWORD 0xfa", "REG_SZ Flat").
stored() { wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v name="$2" '$1 == name { $1 = ""; print substr($0, 2) }'; }
stored_default() { wine reg query "$1" /ve 2>/dev/null | tr -d '\r' | awk '/REG_SZ/ { sub(/.*REG_SZ[ \t]*/, ""); print }'; }
# Running copies of the program under test (its own path: other copies may run).
count_programs() { pgrep -fc "^$(realpath "$program" | sed 's/[.]/\\&/g')( |$)" || true; }
contains_line() { grep -qxF -- "$2" <<<"$1"; }

# Starts the program with the arguments and waits for its window; the caption and
# the outer size (two lines) are in $shown.
start_program() {
  (wine "$program" "$@" >/dev/null 2>&1 &)
  shown=$(probe wait 30 | head -n 1)
  # The texts of the window's parts are there once the status reads Ready, and by
  # then it has the size of its view.
  wait_ready
  shown+=$'\n'$(probe rect | cut -d' ' -f3-)
}
stop_program() {
  probe close >/dev/null
  probe gone 20 >/dev/null
  for _ in $(seq 50); do [ "$(count_programs)" = 0 ] && break; sleep 0.2; done
}
fresh_registry() { wine reg delete 'HKCU\Software\Tarn' /f >/dev/null 2>&1; true; }
# Waits up to 60 s for a file to exist.
wait_for() { for _ in $(seq 300); do [ -e "$1" ] && return 0; sleep 0.2; done; return 1; }
wait_ready() {
  local texts
  for _ in $(seq 100); do
    texts=$(probe texts)
    contains_line "$texts" Ready || contains_line "$texts" "準備完了" && return 0
    sleep 0.2
  done
  return 1
}
# Drops files on the drop box of the window (an X11 drag and drop, as a file manager
# makes one).
drop_files() {
  local window box
  read -r -a window <<<"$(probe rect)"
  read -r -a box <<<"$(probe drop-rect)"
  python3 "$root/../shared/tools/xdnd-drop.py" --window-name "Tarn Pictorva v1.23" \
    --x $((box[0] - window[0] + box[2] / 2)) --y $((box[1] - window[1] + box[3] / 2)) "$@" >/dev/null
}
pictures() {  # folder: three pictures of the samples
  mkdir -p "$1"
  cp "$root/samples/meadow.jpg" "$root/samples/sunset.png" "$root/samples/dots.gif" "$1/"
}

source "$root/scripts/wine-gui.sh"
work=$(mktemp -d)
trap 'stop_private_display; rm -rf "$work"' EXIT
if ! start_private_display "$work/xvfb.log"; then
  echo "program: no X server"; echo "program: 0 passed, 1 failed"; exit 1
fi
prepare_wine_gui_prefix
for exe in pictorva.exe program-probe.exe; do
  wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$exe\\X11 Driver" /v Managed /d N /f >/dev/null 2>&1
done

# --- First start on an empty save-data key ------------------------------------------
fresh_registry
start_program
check "the window opens" test -n "$shown"
check_equal "its caption is the product and version" "$(sed -n 1p <<<"$shown")" "Tarn Pictorva v1.23"
check_equal "the compact view is 250 x 250" "$(sed -n 2p <<<"$shown")" "250 250"
texts=$(probe texts)
check "the status reads Ready" contains_line "$texts" Ready
check "Tile is chosen" contains_line "$texts" "entry* Tile"
check "the view button offers the options" contains_line "$texts" "Advanced Options >>"
check "the Tile page has its title" contains_line "$texts" "Thumbnail (Tile)"
check "the drop hint is shown" contains_line "$texts" "Please drop image files here!"
check_equal "the progress group is hidden" "$(probe progress)" 0
check_equal "the software id is saved" "$(stored_default "$save_data\\SoftwareID")" "Tarn Pictorva"
check_equal "the version is saved" "$(stored_default "$save_data\\Version")" "1.23"
check_equal "the language is saved" "$(stored_default "$save_data\\Language")" "English"
check_equal "the window's software id is saved" "$(stored_default "$save_data\\MainWindow\\SoftwareID")" "Tarn Pictorva"
check_equal "the window's version is saved" "$(stored_default "$save_data\\MainWindow\\Version")" "1.23"

# --- Three pictures dropped: the same gallery as the command line makes ---------------
pictures "$work/tile"
drop_files "$work/tile/meadow.jpg" "$work/tile/sunset.png" "$work/tile/dots.gif"
check "the drop makes the Tile page" wait_for "$work/tile/thumbnail/Thumbnail (Tile).html"
check "the status is back at Ready" wait_ready
check_equal "the progress group is hidden again" "$(probe progress)" 0
check_equal "the small copies are made" "$(ls "$work/tile/thumbnail/simg" | tr '\n' '|')" \
  "dots (120x120).gif|meadow (150x112).jpg|sunset (150x93).png|"
check_equal "the pictures are copied" "$(ls "$work/tile/thumbnail/img" | wc -l)" 3
pictures "$work/cli"
wine "$cli_exe" gallery "$(native_path "$work/cli/meadow.jpg")" "$(native_path "$work/cli/sunset.png")" \
  "$(native_path "$work/cli/dots.gif")" >/dev/null 2>&1
check "the page equals the command line's" cmp -s "$work/tile/thumbnail/Thumbnail (Tile).html" \
  "$work/cli/thumbnail/Thumbnail (Tile).html"
check "the small copies equal the command line's" diff -r "$work/tile/thumbnail/simg" "$work/cli/thumbnail/simg"

# --- Flat chosen, the title changed, another drop ------------------------------------
probe click "Advanced Options >>" >/dev/null
sleep 0.5
check_equal "the expanded view is 470 x 400" "$(probe rect | cut -d' ' -f3-)" "470 400"
probe choose 1 >/dev/null
probe type 3 "Holiday" >/dev/null
pictures "$work/flat"
drop_files "$work/flat/meadow.jpg" "$work/flat/sunset.png"
check "the drop makes a Flat page with that title" wait_for "$work/flat/thumbnail/Holiday.html"
check "a Flat gallery has no small copies" test ! -e "$work/flat/thumbnail/simg"
check_equal "Flat is saved as the choice" "$(stored "$view_key" ConvertTo)" "REG_SZ Flat"
wait_ready
stop_program

# --- Album chosen, its title and row height typed, a real drop -------------------------
start_program
contains_line "$(probe texts)" "Advanced Options >>" && probe click "Advanced Options >>" >/dev/null && sleep 0.5
probe choose 2 >/dev/null
# The fields in order: Tile's title, width and height, Flat's title, Album's title and
# row height.
probe type 4 "Trip" >/dev/null
probe type 5 "120" >/dev/null
pictures "$work/album"
drop_files "$work/album/meadow.jpg" "$work/album/sunset.png" "$work/album/dots.gif"
check "the drop makes an album with that title" wait_for "$work/album/thumbnail/Trip.html"
check "the status is back at Ready after the album" wait_ready
check_equal "Album is saved as the choice" "$(stored "$view_key" ConvertTo)" "REG_SZ Album"
check_equal "the row height is saved as a DWORD" "$(stored "$save_data\\MainWindow\\ConvertTo\\Album" RowHeight)" \
  "REG_DWORD 0x78"
pictures "$work/album-cli"
wine "$cli_exe" gallery --style album --height 120 --title Trip "$(native_path "$work/album-cli/meadow.jpg")" \
  "$(native_path "$work/album-cli/sunset.png")" "$(native_path "$work/album-cli/dots.gif")" >/dev/null 2>&1
check "the album page equals the command line's" cmp -s "$work/album/thumbnail/Trip.html" \
  "$work/album-cli/thumbnail/Trip.html"
check "the album's copies equal the command line's" diff -r "$work/album/thumbnail/simg" "$work/album-cli/thumbnail/simg"
check "the copies have the row height" test -f "$work/album/thumbnail/simg/meadow (160x120).jpg"
stop_program
start_program
texts=$(probe texts)
check "a restart shows Album" contains_line "$texts" "entry* Album"
check "a restart shows the stored row height" contains_line "$texts" "120"
# Every language lists Album as its third entry, in its own words.
index=0
while IFS=$'\t' read -r tag album; do
  probe command $((2 + index)) >/dev/null
  texts=$(probe texts)
  check "the list offers Album in $tag" contains_line "$texts" "entry* $album"
  index=$((index + 1))
done < <(python3 - "$root/res/lang.xml" <<'EOF'
import sys, xml.etree.ElementTree as ET
root = ET.parse(sys.argv[1]).getroot()
album = next(e for e in root.find("entries") if e.get("id") == "1103000")
for language in root.find("languages"):
    tag = language.get("tagName")
    text = album.find(tag) if album.find(tag) is not None else album.find("eng")
    print(f"{tag}\t{text.text}")
EOF
)
probe command 2 >/dev/null
stop_program

# --- The view and its sizes come back from the save data -----------------------------
fresh_registry
wine reg add "$view_key" /v LargeWidth /t REG_DWORD /d 520 /f >/dev/null 2>&1
wine reg add "$view_key" /v LargeHeight /t REG_DWORD /d 430 /f >/dev/null 2>&1
wine reg add "$view_key" /v SmallWidth /t REG_DWORD /d 300 /f >/dev/null 2>&1
wine reg add "$view_key" /v SmallHeight /t REG_DWORD /d 280 /f >/dev/null 2>&1
wine reg add "$save_data\\MainWindow\\ConvertTo\\Tile" /v CellWidth /t REG_DWORD /d 120 /f >/dev/null 2>&1
start_program
check_equal "the stored compact size is used" "$(sed -n 2p <<<"$shown")" "300 280"
check "the Tile page shows the stored cell width" contains_line "$(probe texts)" "120"
probe click "Advanced Options >>" >/dev/null
sleep 0.5
check_equal "the stored expanded size is used" "$(probe rect | cut -d' ' -f3-)" "520 430"
probe choose 1 >/dev/null
stop_program
check_equal "the expanded view is saved" "$(stored "$view_key" CompactView)" "REG_DWORD 0x0"
start_program
texts=$(probe texts)
check_equal "a restart shows the expanded view at its size" "$(sed -n 2p <<<"$shown")" "520 430"
check "a restart shows Flat" contains_line "$texts" "entry* Flat"
probe click "<< Minimize" >/dev/null
sleep 0.5
stop_program
start_program
check_equal "a restart after switching back shows the compact view at its size" "$(sed -n 2p <<<"$shown")" "300 280"
check_equal "the compact view is saved" "$(stored "$view_key" CompactView)" "REG_DWORD 0x1"

# --- Japanese from the Language menu (command 2 + the pack's index) ---------------------
japanese=$(( 2 + $(grep -o 'engName="[^"]*"' "$root/res/lang.xml" | grep -n '"Japanese"' | cut -d: -f1) - 1 ))
probe command "$japanese" >/dev/null
sleep 0.5
texts=$(probe texts)
check "the status reads in Japanese" contains_line "$texts" "準備完了"
check "the drop hint reads in Japanese" contains_line "$texts" "ここに画像ファイルをドロップしてください！"
check "the Create label reads in Japanese" contains_line "$texts" "作成: "
check "the list reads in Japanese" contains_line "$texts" "entry* フラット"
check_equal "Japanese is saved" "$(stored_default "$save_data\\Language")" "Japanese"
stop_program
start_program
check "a restart speaks Japanese" contains_line "$(probe texts)" "準備完了"
stop_program

# --- A second start brings the first window to the front and ends ---------------------
fresh_registry
start_program
probe minimize >/dev/null
sleep 0.5
timeout 30 wine "$program" >/dev/null 2>&1
check_equal "the second start ends" "$(count_programs)" 1
check_equal "one window is shown" "$(probe count)" 1
check_equal "the first window is in front again" "$(probe foreground)" 1

# --- A copy that does not answer does not keep a second start from its own window --------
# The first copy is stopped (as a hung program would be): the second waits for it a
# bounded time, finds no window that answers, and starts normally.
first_pid=$(pgrep -f "^$(realpath "$program" | sed 's/[.]/\\&/g')( |$)" | head -n 1)
kill -STOP "$first_pid"
(wine "$program" >/dev/null 2>&1 &)
started=$(date +%s)
for _ in $(seq 150); do [ "$(probe count)" = 2 ] && break; sleep 0.2; done
check_equal "a second start beside a hung copy shows its own window" "$(probe count)" 2
check "within the bounded wait" test $(( $(date +%s) - started )) -le 20
kill -CONT "$first_pid"
probe close >/dev/null
for _ in $(seq 50); do [ "$(probe count)" = 1 ] && break; sleep 0.2; done
check_equal "the copy that hung answers again: one window is left after a close" "$(probe count)" 1

# --- A second start with files: the first window makes their gallery ------------------
pictures "$work/handed"
timeout 30 wine "$program" "$(native_path "$work/handed/meadow.jpg")" "$(native_path "$work/handed/dots.gif")" \
  >/dev/null 2>&1
check "the files handed over make a gallery" wait_for "$work/handed/thumbnail/Thumbnail (Tile).html"
check_equal "the second start with files ends" "$(count_programs)" 1
wait_ready
stop_program

# --- Files named at the first start are taken as a drop -------------------------------
pictures "$work/started"
start_program "$(native_path "$work/started/sunset.png")"
check "files named at start make a gallery" wait_for "$work/started/thumbnail/Thumbnail (Tile).html"
wait_ready
stop_program

# --- Closing the window during a run ends the program after the page is written ----------
mkdir -p "$work/long"
convert -size 2400x1800 plasma:fractal -quality 95 "$work/long/big.jpg" 2>/dev/null
long=()
for i in $(seq 12); do cp "$work/long/big.jpg" "$work/long/big$i.jpg"; long+=("$work/long/big$i.jpg"); done
start_program
drop_files "${long[@]}"
check "the run is still going when the window is closed" test ! -e "$work/long/thumbnail/Thumbnail (Tile).html"
probe close >/dev/null
check "the window closes at once" probe gone 5
for _ in $(seq 300); do [ "$(count_programs)" = 0 ] && break; sleep 0.2; done
check_equal "the program ends" "$(count_programs)" 0
check "the run's page is written before it ends" test -s "$work/long/thumbnail/Thumbnail (Tile).html"

# --- A refused drop leaves nothing behind ---------------------------------------------
# The first file's folder is where the gallery goes; one that cannot be made (its
# parent is missing too) refuses the drop.
start_program
drop_files "$work/gone/deeper/meadow.jpg" 2>/dev/null
message=""
for _ in $(seq 50); do message=$(probe message-box) && break; sleep 0.2; done
check "a drop whose folder cannot be made is refused with a message" grep -q "inaccessible or write-protected" <<<"$message"
check "nothing is made for it" test ! -e "$work/gone"
check "the status is still Ready" contains_line "$(probe texts)" Ready
pictures "$work/after"
drop_files "$work/after/dots.gif"
check "the next drop makes its gallery" wait_for "$work/after/thumbnail/Thumbnail (Tile).html"
check_equal "holding only its own files" "$(ls "$work/after/thumbnail/img" | tr '\n' ' ')" "dots.gif "
wait_ready
stop_program

fresh_registry
echo "program: $passed passed, $failed failed"
[ $failed -eq 0 ]
