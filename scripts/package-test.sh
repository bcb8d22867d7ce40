#!/usr/bin/env bash
# Checks the Windows packages end to end. Makes them with scripts/package.sh (twice,
# and once more as a newer version of the same programs), checks what they hold,
# then uses them in a fresh Wine prefix of their own (a new Windows with nothing of
# ours, its menu builder off so that no shortcut reaches this machine's desktop):
#
# - the unpacked zip's pictorva-cli.exe makes a gallery of the sample pictures;
# - the installer installs silently; the files, the Start-menu and "Send to"
#   shortcuts and the installer's registry key are where they should be, and the
#   save data is untouched;
# - the installed window program, started as the Start-menu shortcut starts it, takes
#   a real drop (X11 drag and drop, ../shared/tools/xdnd-drop.py, on an X server of
#   its own) and makes a gallery; the "Send to" shortcut's target makes one of the
#   files named to it; the installed pictorva-cli.exe makes one of the samples;
# - the newer installer replaces it; the older one then refuses, with its message;
# - removal takes away everything it put down and keeps the save data and galleries.
#
#   scripts/package-test.sh [WINDOWS_BUILD_FOLDER]
#
# Prints "package: N passed, N failed" as its last line.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$root/build/windows}")
probe_exe=$build/tests/program-probe.exe
# The shared tools sit beside the repository (or beside the folder of work trees).
tools=$root/../shared/tools
[ -d "$tools" ] || tools=$root/../../shared/tools
mingw=x86_64-w64-mingw32
passed=0 failed=0

check() {  # description, then a command that must succeed
  local what=$1; shift
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "package: FAILED: $what"; fi
}
check_equal() {  # description, the value found, the value expected
  if [ "$2" = "$3" ]; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "package: FAILED: $1: \"$2\", not \"$3\""; fi
}
finish() {
  echo "package: $passed passed, $failed failed"
  [ $failed -eq 0 ]
  exit
}

source "$root/scripts/wine-gui.sh"
work=$(mktemp -d)
trap 'WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null; stop_private_display; rm -rf "$work"' EXIT

# --- Making the packages ------------------------------------------------------------
version=$(head -n 1 "$root/VERSION")
newer=${version%.*}.$(( ${version#*.} + 1 ))
made=$("$root/scripts/package.sh" "$build" "$work/dist" | tail -n 2)
zip=$(sed -n 1p <<<"$made") msi=$(sed -n 2p <<<"$made")
check "package.sh makes the zip" test -f "$zip"
check "package.sh makes the installer" test -f "$msi"
[ -f "$zip" ] && [ -f "$msi" ] || finish
name=$(basename "$zip" .zip)
check_equal "the zip is named after the version" "$name" "pictorva-$version-win64"
check_equal "the installer is named after the version" "$(basename "$msi")" "pictorva-$version-win64.msi"
again=$("$root/scripts/package.sh" "$build" "$work/again" | tail -n 2)
PICTORVA_PACKAGE_VERSION=$newer "$root/scripts/package.sh" "$build" "$work/newer" >/dev/null
newer_msi=$work/newer/pictorva-$newer-win64.msi
check "package.sh makes a newer installer of the same programs" test -f "$newer_msi"
# The build's program-probe.exe reads and drives the window (tests/e2e).
cmake --build "$build" --target program-probe >/dev/null 2>&1

check "the same build gives the same zip" cmp -s "$zip" "$(sed -n 1p <<<"$again")"
# wixl writes a new package code and time into the summary: everything else, every
# table and the cabinet, is the same.
# (msidump writes the Icon table's data into the folder it runs in.)
mkdir -p "$work/tables-1" "$work/tables-2"
(cd "$work/tables-1" && msidump -t -s -d . "$msi" >/dev/null)
(cd "$work/tables-2" && msidump -t -s -d . "$(sed -n 2p <<<"$again")" >/dev/null)
check "the same build gives an installer with the same tables and cabinet" \
  diff -r -x "*SummaryInformation*" "$work/tables-1" "$work/tables-2"
check "the installer holds a cabinet" test -s "$work/tables-1/_Streams/pictorva.cab"

# --- What the zip holds --------------------------------------------------------------
unzip -q "$zip" -d "$work/unpacked"
folder=$work/unpacked/$name
programs=(pictorva-cli.exe)
[ -d "$build/apps/CMakeFiles/pictorva.dir" ] && programs+=(pictorva.exe)
for file in "${programs[@]}" README.txt; do
  check "the zip holds $file" test -s "$folder/$file"
done
check "the README names the version" grep -q "^Tarn Pictorva, version $version$" "$folder/README.txt"
check "the README tells how to install and remove" grep -q "msiexec /x pictorva-$version-win64.msi" "$folder/README.txt"
for program in "${programs[@]}"; do
  check "$program carries the icon, the language document, the pictures and the version" \
    python3 "$root/tests/res/check_exe_resources.py" "$folder/$program" >/dev/null
done

# Every program and DLL imports only system DLLs and DLLs beside it; every DLL beside
# the programs is imported by one of them.
mapfile -t packed_dlls < <(cd "$folder" && ls | grep -i '\.dll$' | tr 'A-Z' 'a-z')
declare -A allowed=()
for dll in $(grep -v '^#' "$root/scripts/package/system-dlls.txt" | tr 'A-Z' 'a-z') "${packed_dlls[@]}"; do
  allowed[$dll]=1
done
imported=()
for binary in "$folder"/*.exe "$folder"/*.dll; do
  [ -f "$binary" ] || continue
  mapfile -t wanted < <($mingw-objdump -p "$binary" | sed -n 's/^\s*DLL Name: //p' | tr -d '\r' | tr 'A-Z' 'a-z')
  check "$(basename "$binary") has an import table" test ${#wanted[@]} -gt 0
  missing=()
  for dll in "${wanted[@]}"; do
    imported+=("$dll")
    [ -n "${allowed[$dll]:-}" ] || missing+=("$dll")
  done
  check_equal "$(basename "$binary") imports only system DLLs and the package's" "${missing[*]}" ""
done
for dll in "${packed_dlls[@]}"; do
  check "$dll beside the programs is imported by one of them" grep -qxF "$dll" <(printf '%s\n' "${imported[@]}")
done

# Licences: the libraries of every build, the library of every DLL, one file each,
# each naming its library.
licences=$folder/licenses
for licence in libjpeg-turbo libpng zlib mingw-w64-runtime-and-winpthreads gcc-runtime-libgcc-libstdc++; do
  check "the zip holds the licence of $licence" test -s "$licences/$licence.txt"
done
# A DLL's library, as its licence is named: libheif-1.dll -> heif, zlib1.dll -> zlib.
dll_library() {
  local library=${1%.dll}; library=${library#lib}
  [[ $library =~ ^(.+)-[0-9]+$ ]] && library=${BASH_REMATCH[1]}
  case $library in
    zlib1) library=zlib ;;
    sharpyuv | webpdemux | webpmux) library=webp ;;
    lzma) library=xz ;;
    stdc++ | gcc_s_seh) library=gcc-runtime ;;
    winpthread) library=winpthreads ;;
  esac
  echo "$library"
}
for dll in "${packed_dlls[@]}"; do
  check "the zip holds the licence of $dll" bash -c "ls '$licences' | grep -qiF -- '$(dll_library "$dll")'"
done
for licence in "$licences"/*.txt; do
  library=$(basename "$licence" .txt)
  case $library in
    mingw-w64-runtime-and-winpthreads) word=winpthreads ;;
    gcc-runtime-libgcc-libstdc++) word="runtime library exception" ;;
    xz-liblzma) word=xz ;;
    *) word=${library#lib} ;;
  esac
  check "the licence $library.txt names its library" grep -qi -- "$word" "$licence"
done
check_equal "no two licences are the same text" "$(md5sum "$licences"/* | cut -d' ' -f1 | sort | uniq -d)" ""

# An LGPL library (the licence of a Debian package whose "Files: *" are under the
# LGPL) is a DLL that may be replaced, and its source is in sources/: the Debian
# source package, whose files match the checksums of its .dsc.
lgpl=0
for licence in "$licences"/*.txt; do
  library=$(basename "$licence" .txt)
  sed -n '/^Files: \*$/,/^$/p' "$licence" | grep -q '^License: .*LGPL' || continue
  lgpl=$((lgpl + 1))
  check "the LGPL library $library is a DLL of the package" \
    bash -c "ls '$folder' | grep -qiE '^(lib)?${library#lib}[-0-9]*\\.dll$'"
  dsc=$(grep -lx "Source: $library" "$folder"/sources/*/*.dsc 2>/dev/null | head -n 1)
  check "the zip holds the Debian source package of $library" test -n "$dsc"
  [ -n "$dsc" ] || continue
  listed=$(sed -n '/^Checksums-Sha256:/,/^[^ ]/s/^ \([0-9a-f]\{64\}\) [0-9]* \(.*\)/\1  \2/p' "$dsc")
  check "the .dsc of $library lists its files" test -n "$listed"
  check "the source files of $library match their .dsc" bash -c "cd '$(dirname "$dsc")' && sha256sum --quiet -c" <<<"$listed"
done
check_equal "sources/ holds the LGPL libraries' sources alone" \
  "$(ls "$folder/sources" 2>/dev/null | wc -l)" "$lgpl"

# --- What the installer holds ---------------------------------------------------------
msiextract -C "$work/extracted" "$msi" >/dev/null
check "the installer carries the zip's files, byte for byte" \
  diff -r "$folder" "$work/extracted/Programs/Tarn Pictorva"
property() { msiinfo export "$1" Property | tr -d '\r' | awk -F'\t' -v name="$2" '$1 == name { print $2 }'; }
check_equal "the installer's product name" "$(property "$msi" ProductName)" "Tarn Pictorva"
check_equal "the installer's maker" "$(property "$msi" Manufacturer)" "Tarn"
check_equal "the installer's version" "$(property "$msi" ProductVersion)" "$version"
check_equal "the newer installer's version" "$(property "$newer_msi" ProductVersion)" "$newer"
check_equal "it installs per user (ALLUSERS)" "$(property "$msi" ALLUSERS)" 2
check_equal "it installs per user (MSIINSTALLPERUSER)" "$(property "$msi" MSIINSTALLPERUSER)" 1
check "the two versions share the upgrade code" test "$(property "$msi" UpgradeCode)" = "$(property "$newer_msi" UpgradeCode)"
check "the two versions have product codes of their own" test "$(property "$msi" ProductCode)" != "$(property "$newer_msi" ProductCode)"
# Bit 8 of the summary's word count: the package needs no administrator rights.
source_flags=$(msiinfo suminfo "$msi" | sed -n 's/^Source: \([0-9]*\).*/\1/p')
check "the summary asks for no elevation" test $(( ${source_flags:-0} & 8 )) -eq 8
# Every component's key path is a value under the installer's own key, in HKCU.
msiinfo export "$msi" Component | tail -n +4 | tr -d '\r' >"$work/components"
msiinfo export "$msi" Registry | tail -n +4 | tr -d '\r' >"$work/registry"
check "every component keeps its key path under HKCU\\Software\\Tarn\\Tarn Pictorva\\Installer" \
  awk -F'\t' 'NR == FNR { key[$1] = $2 "\t" $3; next }
              { if (key[$6] != "1\tSoftware\\Tarn\\Tarn Pictorva\\Installer") bad = 1 } END { exit bad }' \
  "$work/registry" "$work/components"
check "the installer writes nothing else into the registry" \
  awk -F'\t' '$3 != "Software\\Tarn\\Tarn Pictorva\\Installer" || $4 == "Silent" { bad = 1 } END { exit bad }' "$work/registry"

# --- A new Windows: its own prefix, made now -------------------------------------------
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LANG=C.UTF-8
unset LC_ALL LC_MESSAGES
wineboot --init >/dev/null 2>&1
wineserver -w
check "the fresh Wine prefix was made" test -f "$WINEPREFIX/system.reg"
windows_path() { echo "Z:${1//\//\\}"; }
unix_folder() { winepath -u "$(wine cmd /c echo "%$1%" 2>/dev/null | tr -d '\r')" 2>/dev/null; }
local_app_data=$(unix_folder LOCALAPPDATA) app_data=$(unix_folder APPDATA)
installed="${local_app_data%/}/Programs/Tarn Pictorva"
start_menu_link="${app_data%/}/Microsoft/Windows/Start Menu/Programs/Tarn Pictorva.lnk"
send_to_link="${app_data%/}/Microsoft/Windows/SendTo/Tarn Pictorva.lnk"
product_key='HKCU\Software\Tarn\Tarn Pictorva'
installer_key="$product_key\\Installer"
key_exists() { wine reg query "$1" >/dev/null 2>&1; }
# The installed-programs list, one line a program: "{PRODUCT-CODE}|||NAME".
installed_programs() { wine uninstaller --list 2>/dev/null | tr -d '\r' | grep '|||Tarn Pictorva$'; }

# Pictures in folders of their own, so that each gallery lands there.
pictures() {  # folder, then the sample files
  local folder=$1; shift
  mkdir -p "$folder"
  for file in "$@"; do cp "$root/samples/$file" "$folder/"; done
}
# Makes a gallery of the samples with the pictorva-cli.exe at the Windows path $2,
# started from another folder (the DLLs are found beside the program); $1 says which.
cli_gallery() {
  local which=$1 program=$2 gallery_folder=$work/$3 arguments=() count
  mkdir -p "$gallery_folder"
  cp "$root"/samples/*.{bmp,jpg,png,gif} "$gallery_folder/"
  for picture in "$gallery_folder"/*; do arguments+=("$(windows_path "$picture")"); done
  count=${#arguments[@]}
  (cd "$work" && wine "$program" gallery --style tile --title "Samples" "${arguments[@]}") >"$work/out" 2>"$work/err"
  check "$which makes a gallery (exit 0)" test $? -eq 0
  check "$which names the page last" grep -q 'Samples\.html' <(tail -n 1 "$work/out")
  check "$which writes the page" test -s "$gallery_folder/thumbnail/Samples.html"
  check "$which copies every picture" test "$(ls "$gallery_folder/thumbnail/img" 2>/dev/null | wc -l)" -eq "$count"
  check "$which makes every small copy" test "$(ls "$gallery_folder/thumbnail/simg" 2>/dev/null | wc -l)" -eq "$count"
}
cli_gallery "the unpacked pictorva-cli.exe" "$(windows_path "$folder/pictorva-cli.exe")" zip-gallery

# The user's settings exist before the installer runs; it must not touch them.
wine reg add "$product_key\\SaveData" /v Language /d English /f >/dev/null 2>&1
wine reg export "$product_key" "$(windows_path "$work/before.reg")" /y >/dev/null 2>&1

# --- Installing --------------------------------------------------------------------------
wine msiexec /i "$(windows_path "$msi")" /qn
check "msiexec /i /qn installs (exit 0)" test $? -eq 0
check "the programs, DLLs, README, licences and sources are installed, byte for byte" diff -r "$folder" "$installed"
check "the Start-menu shortcut is there" test -s "$start_menu_link"
check "the \"Send to\" shortcut is there" test -s "$send_to_link"
# A shortcut's target: its link information's local path (a Shell Link file).
link_target() {
  python3 - "$1" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
flags = struct.unpack_from("<I", data, 0x14)[0]
at = 0x4C
if flags & 0x1:  # an item id list first
    at += 2 + struct.unpack_from("<H", data, at)[0]
if flags & 0x2:  # the link information: its local base path
    header, info_flags, _, base = struct.unpack_from("<4I", data, at + 4)
    if info_flags & 1:
        if header >= 0x24:
            unicode_base = struct.unpack_from("<I", data, at + 28)[0]
            text = data[at + unicode_base:].decode("utf-16-le", "replace")
        else:
            text = data[at + base:].decode("cp1252", "replace")
        print(text.split("\0", 1)[0])
PY
}
start_menu_target=$(link_target "$start_menu_link" 2>/dev/null)
send_to_target=$(link_target "$send_to_link" 2>/dev/null)
check_equal "the Start-menu shortcut starts the installed window program" \
  "$(winepath -u "$start_menu_target" 2>/dev/null)" "$installed/pictorva.exe"
check_equal "the \"Send to\" shortcut starts the installed window program" \
  "$(winepath -u "$send_to_target" 2>/dev/null)" "$installed/pictorva.exe"
check "the Start-menu shortcut's target exists" test -f "$(winepath -u "$start_menu_target" 2>/dev/null)"
check "the \"Send to\" shortcut's target exists" test -f "$(winepath -u "$send_to_target" 2>/dev/null)"
check "the installer's registry key is there" key_exists "$installer_key"
check_equal "one program in the installed-programs list" "$(installed_programs | wc -l)" 1
wine reg export "$product_key" "$(windows_path "$work/after.reg")" /y >/dev/null 2>&1
# reg.exe writes UTF-16; the installer's own key is left out of the comparison.
reg_text() { iconv -f UTF-16LE -t UTF-8 "$1" 2>/dev/null | tr -d '\r' | sed '/\\Installer\]$/,/^$/d'; }
check "the key is exported before and after" test -s "$work/before.reg" -a -s "$work/after.reg"
check "the save data is as it was" cmp -s <(reg_text "$work/after.reg") <(reg_text "$work/before.reg")
check "no value \"Silent\" is written" bash -c "! wine reg query '$product_key' /v Silent >/dev/null 2>&1"

cli_gallery "the installed pictorva-cli.exe" "$(windows_path "$installed/pictorva-cli.exe")" installed-gallery

# --- The installed window program, started as its shortcuts start it --------------------
probe() { wine "$probe_exe" "$@" 2>/dev/null | tr -d '\r'; }
stop_window() {
  probe close >/dev/null
  probe gone 20 >/dev/null
}
if [ ! -f "$probe_exe" ]; then
  check "the build has program-probe.exe" false
elif ! start_private_display "$work/xvfb.log"; then
  check "an X server for the window" false
else
  prepare_wine_gui_prefix
  for exe in pictorva.exe program-probe.exe; do
    wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$exe\\X11 Driver" /v Managed /d N /f >/dev/null 2>&1
  done
  pictures "$work/dropped" meadow.jpg sunset.png dots.gif
  (wine "$start_menu_target" >/dev/null 2>&1 &)
  caption=$(probe wait 30 | head -n 1)
  check_equal "the Start-menu shortcut's target opens the window" "$caption" "Tarn Pictorva v$version"
  read -r -a window <<<"$(probe rect)"
  read -r -a box <<<"$(probe drop-rect)"
  if [ ${#window[@]} = 4 ] && [ ${#box[@]} = 4 ]; then
    python3 "$tools/xdnd-drop.py" --window-name "$caption" --retry 5 \
      --x $((box[0] - window[0] + box[2] / 2)) --y $((box[1] - window[1] + box[3] / 2)) \
      "$work/dropped/meadow.jpg" "$work/dropped/sunset.png" "$work/dropped/dots.gif" >/dev/null
    check "the window takes the drop" test $? -eq 0
  else
    check "the window shows its drop box" false
  fi
  wait_for() { for _ in $(seq 150); do [ -e "$1" ] && return 0; sleep 0.2; done; return 1; }
  check "the drop makes a gallery" wait_for "$work/dropped/thumbnail/Thumbnail (Tile).html"
  check_equal "the dropped pictures have their small copies" "$(ls "$work/dropped/thumbnail/simg" 2>/dev/null | wc -l)" 3
  stop_window
  # Explorer's "Send to" starts the shortcut's target with the chosen files.
  pictures "$work/sent" meadow.jpg sunset.png
  (wine "$send_to_target" "$(windows_path "$work/sent/meadow.jpg")" "$(windows_path "$work/sent/sunset.png")" \
     >/dev/null 2>&1 &)
  check "the \"Send to\" shortcut's target makes a gallery of the files sent" \
    wait_for "$work/sent/thumbnail/Thumbnail (Tile).html"
  probe wait 10 >/dev/null
  stop_window
fi

# --- A newer version replaces it ---------------------------------------------------------
wine msiexec /i "$(windows_path "$newer_msi")" /qn
check "the newer installer installs (exit 0)" test $? -eq 0
check_equal "one program in the installed-programs list after the upgrade" "$(installed_programs | wc -l)" 1
check_equal "it is the newer one" "$(installed_programs | cut -d'|' -f1)" "$(property "$newer_msi" ProductCode)"
check "the newer files are installed" grep -q "^Tarn Pictorva, version $newer$" "$installed/README.txt"
check "every other file is as the newer package has it" diff -r -x README.txt "$folder" "$installed"

# --- An older one refuses to replace it --------------------------------------------------
# With msiexec's basic progress (/qb) the refusal is a message box; the probe reads and
# closes it.
if [ -n "${private_xvfb_pid:-}" ]; then
  (timeout 60 wine msiexec /i "$(windows_path "$msi")" /qb >/dev/null 2>&1; echo $? >"$work/older.status") &
  message=
  for _ in $(seq 50); do
    message=$(probe message-box) && break
    sleep 0.3
  done
  wait "$!"
  check "the older installer says a newer version is installed" grep -q "A newer version of Tarn Pictorva is already installed" <<<"$message"
else
  wine msiexec /i "$(windows_path "$msi")" /qn
  echo $? >"$work/older.status"
fi
check "the older installer fails" test "$(cat "$work/older.status" 2>/dev/null)" != 0
check_equal "the newer one stays installed" "$(installed_programs | cut -d'|' -f1)" "$(property "$newer_msi" ProductCode)"
check "the newer files stay" grep -q "^Tarn Pictorva, version $newer$" "$installed/README.txt"

# --- Removal ---------------------------------------------------------------------------
wine msiexec /x "$(windows_path "$newer_msi")" /qn
check "msiexec /x /qn removes it (exit 0)" test $? -eq 0
check "the install folder is gone" test ! -e "$installed"
check "the user's programs folder, left empty, is gone" test ! -e "${local_app_data%/}/Programs"
check "the Start-menu shortcut is gone" test ! -e "$start_menu_link"
check "the \"Send to\" shortcut is gone" test ! -e "$send_to_link"
check "the installer's registry key is gone" bash -c "! wine reg query '$installer_key' >/dev/null 2>&1"
check_equal "the installed-programs list no longer has it" "$(installed_programs | wc -l)" 0
check_equal "the save data stays" "$(wine reg query "$product_key\\SaveData" /v Language 2>/dev/null | tr -d '\r' |
  awk '$1 == "Language" { print $3 }')" English
check "nothing of it is left in the user's profile" \
  test -z "$(find "$WINEPREFIX/drive_c/users" -iname '*pictorva*' 2>/dev/null)"
check "the galleries stay" test -s "$work/installed-gallery/thumbnail/Samples.html"
[ -z "${private_xvfb_pid:-}" ] || check "the galleries of the window stay" test -d "$work/dropped/thumbnail/simg"
finish
