#!/usr/bin/env bash
# Checks the Windows package end to end: makes it with scripts/package.sh, unpacks it
# into a fresh Wine prefix of its own (a new Windows with nothing of ours installed,
# so the folder has to run as it is: no DLL beside the programs) and makes a gallery
# of the repository's sample pictures with the unpacked pictorva-cli.exe.
#
#   scripts/package-test.sh [WINDOWS_BUILD_FOLDER]
#
# Prints "package: N passed, N failed" as its last line.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/windows}
passed=0 failed=0

check() {  # description, then a command that must succeed
  local what=$1; shift
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "package: FAILED: $what"; fi
}
finish() {
  echo "package: $passed passed, $failed failed"
  [ $failed -eq 0 ]
  exit
}

work=$(mktemp -d)
trap 'WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null; rm -rf "$work"' EXIT

zip=$("$root/scripts/package.sh" "$build" "$work/dist" | tail -n 1)
check "package.sh makes the zip" test -f "$zip"
[ -f "$zip" ] || finish
name=$(basename "$zip" .zip)
unzip -q "$zip" -d "$work/unpacked"
folder=$work/unpacked/$name
programs=(pictorva-cli.exe)
[ -d "$build/apps/CMakeFiles/pictorva.dir" ] && programs+=(pictorva.exe)

unzip -Z1 "$zip" >"$work/listing"
listed() { grep -qx "$1" "$work/listing"; }
for file in "${programs[@]}" README.txt licenses/libjpeg-turbo.txt licenses/libpng.txt licenses/zlib.txt \
            licenses/mingw-w64-runtime-and-winpthreads.txt licenses/gcc-runtime-libgcc-libstdc++.txt; do
  check "the zip holds $file" listed "$name/$file"
done
check "the zip holds no DLL" bash -c "! grep -qi '\\.dll$' '$work/listing'"
check "every licence names its library" bash -c "grep -qi 'libjpeg' '$folder/licenses/libjpeg-turbo.txt' &&
  grep -qi 'libpng' '$folder/licenses/libpng.txt' && grep -qi 'zlib' '$folder/licenses/zlib.txt' &&
  grep -qi 'winpthreads' '$folder/licenses/mingw-w64-runtime-and-winpthreads.txt' &&
  grep -qi 'runtime library exception' '$folder/licenses/gcc-runtime-libgcc-libstdc++.txt'"
for program in "${programs[@]}"; do
  check "$program carries the icon, the language document, the pictures and the version" \
    python3 "$root/tests/res/check_exe_resources.py" "$folder/$program"
  # The programs link only what every Windows has.
  check "$program imports system libraries only" bash -c "! x86_64-w64-mingw32-objdump -p '$folder/$program' |
    sed -n 's/^\\s*DLL Name: //p' | grep -viE '^(kernel32|user32|gdi32|shell32|shlwapi|ole32|oleaut32|comctl32|comdlg32|advapi32|msvcrt|ws2_32|uuid|version|api-ms-win-.*)\\.dll$'"
done

# A new Windows: its own prefix, made now.
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineboot --init >/dev/null 2>&1
wineserver -w
check "the fresh Wine prefix was made" test -f "$WINEPREFIX/system.reg"

# The sample pictures in a folder of their own, so the gallery lands there.
mkdir -p "$work/pictures"
cp "$root"/samples/*.{bmp,jpg,png,gif} "$work/pictures/"
pictures=()
for picture in "$work"/pictures/*; do pictures+=("Z:${picture//\//\\}"); done
(cd "$folder" && LANG=C.UTF-8 wine ./pictorva-cli.exe gallery --style tile --title "Samples" "${pictures[@]}") \
  >"$work/out" 2>"$work/err"
check "the unpacked pictorva-cli.exe makes a gallery (exit 0)" test $? -eq 0
check "it names the page last" grep -q 'Samples\.html' <(tail -n 1 "$work/out")
gallery=$work/pictures/thumbnail
check "the page Samples.html is in the thumbnail folder" test -s "$gallery/Samples.html"
count=${#pictures[@]}
check "every picture was copied" test "$(ls "$gallery/img" 2>/dev/null | wc -l)" -eq "$count"
check "every picture has its small copy" test "$(ls "$gallery/simg" 2>/dev/null | wc -l)" -eq "$count"
check "the page shows every small copy" test "$(grep -o 'simg/' "$gallery/Samples.html" 2>/dev/null | wc -l)" -ge "$count"
finish
