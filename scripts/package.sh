#!/usr/bin/env bash
# Makes the Windows packages from the Windows build:
#
#   dist/pictorva-VERSION-win64.zip  the portable folder: the programs (pictorva.exe when
#                                    the build has that target, and pictorva-cli.exe),
#                                    every DLL they need, a README, the licence of every
#                                    library linked in (licenses/) and the sources of the
#                                    LGPL libraries (sources/)
#   dist/pictorva-VERSION-win64.msi  the installer of the same files (per user), built
#                                    with wixl from scripts/package/pictorva.wxs
#
#   scripts/package.sh [WINDOWS_BUILD_FOLDER] [OUTPUT_FOLDER]
#
# The build folder (default build/windows) is configured first when it is not yet,
# with the Release settings of scripts/test.sh; the programs are built (or brought up
# to date) in it. The version is the file VERSION's; PICTORVA_PACKAGE_VERSION=X.Y
# overrides it for the packages alone (the package test builds a "newer" installer of
# the same programs with it). Prints the zip's path, then the installer's, as its last
# lines.
#
# The zip is the same byte for byte for the same build (its files dated with the last
# commit). wixl writes a new package code and time into every installer, so two
# installers of one build have equal tables and an equal cabinet, not equal bytes.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
here=$root/scripts/package
build=${1:-$root/build/windows}
dist=${2:-$root/dist}
cache=${PICTORVA_CACHE:-$HOME/.cache/pictorva}
mingw=x86_64-w64-mingw32

fail() { echo "package: $*" >&2; exit 1; }

version=${PICTORVA_PACKAGE_VERSION:-$(head -n 1 "$root/VERSION")}
# A Windows Installer version: at most 255.255.65535; ours has two parts.
[[ $version =~ ^[0-9]{1,3}\.[0-9]{1,3}$ ]] || fail "the version \"$version\" is not MAJOR.MINOR"
name=pictorva-$version-win64

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_PREFIX_PATH="$cache/mingw" >/dev/null
fi
# The window program comes with its own target; a build without it (an older
# checkout) packs the command-line program alone.
programs=(pictorva-cli)
[ -d "$build/apps/CMakeFiles/pictorva.dir" ] && programs=(pictorva "${programs[@]}")
# Each program's link map (apps/PROGRAM.map) names the libraries linked into it; a
# program linked before the build wrote maps is linked again.
for program in "${programs[@]}"; do
  [ -f "$build/apps/$program.map" ] || rm -f "$build/apps/$program.exe"
done
cmake --build "$build" -j"$(nproc)" --target "${programs[@]}" >/dev/null
[ -f "$build/apps/pictorva-cli.exe" ] || fail "$build is not a Windows build"

# --- The DLLs: every DLL a program or a packed DLL imports, but the system's ---------
dll_folders=("$build/apps" "$cache/mingw/bin")
mapfile -t system_dlls < <(grep -v '^#' "$here/system-dlls.txt" | tr 'A-Z' 'a-z')
is_system_dll() {
  local dll=${1,,} known
  for known in "${system_dlls[@]}"; do [ "$dll" = "$known" ] && return 0; done
  return 1
}
imports() { $mingw-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p' | tr -d '\r'; }
declare -A dlls=()  # lower-case name -> path
pending=()
for program in "${programs[@]}"; do pending+=("$build/apps/$program.exe"); done
while [ ${#pending[@]} -gt 0 ]; do
  file=${pending[0]}; pending=("${pending[@]:1}")
  while read -r dll; do
    [ -n "$dll" ] || continue
    is_system_dll "$dll" && continue
    [ -n "${dlls[${dll,,}]:-}" ] && continue
    found=
    for folder in "${dll_folders[@]}"; do
      found=$(find "$folder" -maxdepth 1 -type f -iname "$dll" -print -quit 2>/dev/null)
      [ -n "$found" ] && break
    done
    [ -n "$found" ] || fail "$(basename "$file") imports $dll, which is neither a system DLL" \
      "(scripts/package/system-dlls.txt) nor in ${dll_folders[*]}"
    dlls[${dll,,}]=$found
    pending+=("$found")
  done < <(imports "$file")
done

# --- The libraries linked in, from the link maps and the DLLs ----------------------
# A library's name: its archive's without "lib" and ".a" / ".dll.a", or its DLL's
# without "lib", ".dll" and a "-N" version ("libheif-1.dll" -> "heif").
linked=()
for program in "${programs[@]}"; do
  map=$build/apps/$program.map
  [ -f "$map" ] || fail "no link map $map"
  # The map's first part lists each archive member taken in: "PATH(MEMBER)".
  while read -r archive; do
    archive=$(cd "$build/apps" && realpath -m "$archive")  # the linker ran there
    case $archive in "$(realpath "$build")"/*) continue ;; esac  # the project's own
    library=$(basename "$archive"); library=${library#lib}; library=${library%.a}; library=${library%.dll}
    # An import library of a system DLL (libkernel32.a) brings no code of its own.
    is_system_dll "$library.dll" || is_system_dll "$library.drv" && continue
    linked+=("$library")
  done < <(sed -n 's/^\([^ (][^ (]*\.a\)(.*/\1/p' "$map" | sort -u)
done
# A library's name from a pkg-config module's: "libtiff-4" -> "tiff".
module_library() {
  local library=${1#lib}
  [[ $library =~ ^(.+)-[0-9]+$ ]] && library=${BASH_REMATCH[1]}
  echo "$library"
}
for dll in "${!dlls[@]}"; do
  library=$(module_library "${dll%.dll}")
  linked+=("$library")
  # What a DLL holds besides its own library (libheif.dll: dav1d, linked in) its
  # pkg-config file names as the modules it requires.
  for pc in "$cache/mingw/lib/pkgconfig/lib$library.pc" "$cache/mingw/lib/pkgconfig/$library.pc"; do
    [ -f "$pc" ] || continue
    for module in $(sed -n 's/^Requires\(\.private\)\?:\(.*\)/\2/p' "$pc" | tr ',' ' '); do
      [[ $module =~ ^[A-Za-z] ]] && linked+=("$(module_library "$module")")  # not a version bound
    done
    break
  done
done

# Every library's licence, from the Debian package it was built from: the first of
# the candidate files that exists. The fourth field names the Debian source package
# of an LGPL library, whose files (the .dsc and its archives, which the Windows build
# of the DLLs fetched into $cache/src/debian/PACKAGE) go into sources/PACKAGE.
#   names (a regular expression over library names) | licence file | candidates | LGPL source
licence_table=(
  "jpeg|libjpeg-turbo.txt|$cache/src/libjpeg-turbo-src/debian/copyright /usr/share/doc/libjpeg62-turbo/copyright|"
  "png(16)?|libpng.txt|$cache/src/libpng-src/debian/copyright $(echo /usr/share/doc/libpng16-16*/copyright)|"
  "(z|zlib|zlib1)|zlib.txt|/usr/share/doc/libz-mingw-w64/copyright /usr/share/doc/zlib1g/copyright|"
  "(sharpyuv|webp|webpdemux|webpmux)|libwebp.txt|$cache/src/libwebp-src/debian/copyright /usr/share/doc/libwebp7/copyright|"
  "tiff(xx)?|libtiff.txt|$cache/src/tiff-src/debian/copyright $cache/src/libtiff-src/debian/copyright /usr/share/doc/libtiff6/copyright|"
  "zstd|zstd.txt|$cache/src/zstd-src/debian/copyright $cache/src/libzstd-src/debian/copyright /usr/share/doc/libzstd1/copyright|"
  "lzma|xz-liblzma.txt|$cache/src/xz-utils-src/debian/copyright $cache/src/xz-src/debian/copyright /usr/share/doc/liblzma5/copyright|"
  "dav1d|dav1d.txt|$cache/src/dav1d-src/debian/copyright /usr/share/doc/libdav1d6/copyright|"
  "de265|libde265.txt|$cache/src/libde265-src/debian/copyright /usr/share/doc/libde265-0/copyright|libde265"
  "heif|libheif.txt|$cache/src/libheif-src/debian/copyright /usr/share/doc/libheif1/copyright|libheif"
  "(mingw32|mingwex|moldname|msvcrt|pthread|winpthread|uuid)|mingw-w64-runtime-and-winpthreads.txt|/usr/share/doc/mingw-w64-x86-64-dev/copyright /usr/share/doc/mingw-w64-common/copyright|"
  "(gcc|gcc_eh|gcc_s_seh|stdc\\+\\+|supc\\+\\+)|gcc-runtime-libgcc-libstdc++.txt|/usr/share/doc/gcc-mingw-w64-base/copyright|"
)
# The table's fields, split at the last three bars (a name pattern may hold one).
row_names() { local row=$1; row=${row%|*}; row=${row%|*}; echo "${row%|*}"; }
row_field() {  # row, field 2..4
  local rest=${1#"$(row_names "$1")|"}
  cut -d'|' -f$(( $2 - 1 )) <<<"$rest"
}
declare -A chosen=()  # table row -> 1
for library in "${linked[@]}"; do
  matched=
  for row in "${licence_table[@]}"; do
    if [[ $library =~ ^($(row_names "$row"))$ ]]; then chosen[$row]=1; matched=1; break; fi
  done
  [ -n "$matched" ] || fail "no licence is known for the library \"$library\": add it to the table in scripts/package.sh"
done

# --- The folder ------------------------------------------------------------------
# The same programs give the same zip: every file, and the programs' own time stamp,
# dated with the last commit; names in order, no extra attributes.
stamp=$(git -C "$root" log -1 --format=%ct 2>/dev/null || date +%s)

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
folder=$stage/$name
mkdir -p "$folder/licenses"
for program in "${programs[@]}"; do
  # Symbols are of no use to a user; the resources stay.
  SOURCE_DATE_EPOCH=$stamp $mingw-strip -o "$folder/$program.exe" "$build/apps/$program.exe"
done
for dll in "${!dlls[@]}"; do cp "${dlls[$dll]}" "$folder/"; done
sed "s/@VERSION@/$version/g" "$here/README.txt" >"$folder/README.txt"
for row in "${!chosen[@]}"; do
  target=$(row_field "$row" 2) found=
  for candidate in $(row_field "$row" 3); do
    if [ -f "$candidate" ]; then found=$candidate; break; fi
  done
  [ -n "$found" ] || fail "no licence text for $target (tried $(row_field "$row" 3))"
  cp "$found" "$folder/licenses/$target"
  source_package=$(row_field "$row" 4)
  if [ -n "$source_package" ]; then
    sources=$cache/src/debian/$source_package
    ls "$sources"/*.dsc >/dev/null 2>&1 || fail "no Debian source package of $source_package in $sources"
    mkdir -p "$folder/sources/$source_package"
    cp "$sources"/* "$folder/sources/$source_package/"
  fi
done

find "$folder" -exec touch -h -d "@$stamp" {} +
mkdir -p "$dist"
dist=$(cd "$dist" && pwd)
rm -f "$dist/$name.zip" "$dist/$name.msi"
(cd "$stage" && find "$name" | LC_ALL=C sort | TZ=UTC zip -q -X -9 "$dist/$name.zip" -@)
echo "$dist/$name.zip"

# --- The installer ---------------------------------------------------------------
if [ ! -f "$folder/pictorva.exe" ]; then
  echo "package: no installer without the window program" >&2
  exit 0
fi
command -v wixl >/dev/null || fail "wixl is missing (scripts/setup.sh --windows installs it)"

# An id of the installer's tables for a file of the folder ("licenses/zlib.txt" ->
# "licenses_zlib.txt"); the prefix says what it names.
table_id() { local id=${1//[^A-Za-z0-9_.]/_}; echo "$id"; }
xml() { sed 's/&/\&amp;/g; s/</\&lt;/g; s/>/\&gt;/g; s/"/\&quot;/g' <<<"$1"; }
# files.wxs: the folders of the zip below INSTALLDIR, a component for each file, its
# key path a value named after the file under the installer's own registry key, and
# in each folder's first component the removal of the folder.
write_folder() {  # relative folder ("" for the top), directory id
  local relative=$1 directory=$2 entry path first=1 id
  echo "<DirectoryRef Id=\"$directory\">"
  while read -r entry; do
    path=${relative:+$relative/}$entry
    [ -f "$folder/$path" ] || continue
    id=$(table_id "$path")
    echo "  <Component Id=\"c_$id\" Guid=\"*\">"
    echo "    <File Id=\"f_$id\" Name=\"$(xml "$entry")\" Source=\"$(xml "$name/$path")\" KeyPath=\"no\"/>"
    if [ $first = 1 ]; then echo "    <RemoveFolder Id=\"rm_$directory\" On=\"uninstall\"/>"; first=0; fi
    echo "    <RegistryValue Root=\"HKCU\" Key=\"Software\\Tarn\\Tarn Pictorva\\Installer\"" \
         "Name=\"$(xml "${path//\//\\}")\" Type=\"integer\" Value=\"1\" KeyPath=\"yes\"/>"
    echo "  </Component>"
  done < <(ls "$folder/$relative" | LC_ALL=C sort)
  while read -r entry; do
    path=${relative:+$relative/}$entry
    [ -d "$folder/$path" ] || continue
    id=d_$(table_id "$path")
    echo "  <Directory Id=\"$id\" Name=\"$(xml "$entry")\"/>"
  done < <(ls "$folder/$relative" | LC_ALL=C sort)
  echo "</DirectoryRef>"
  while read -r entry; do
    path=${relative:+$relative/}$entry
    if [ -d "$folder/$path" ]; then write_folder "$path" "d_$(table_id "$path")"; fi
  done < <(ls "$folder/$relative" | LC_ALL=C sort)
}
{
  echo '<?xml version="1.0" encoding="utf-8"?>'
  echo '<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi"><Fragment>'
  write_folder "" INSTALLDIR
  echo '<ComponentGroup Id="PackageFiles">'
  (cd "$folder" && find . -type f | sed 's|^\./||' | LC_ALL=C sort) | while read -r path; do
    echo "  <ComponentRef Id=\"c_$(table_id "$path")\"/>"
  done
  echo '</ComponentGroup>'
  echo '</Fragment></Wix>'
} >"$stage/files.wxs"
ids=$(grep -o 'Component Id="[^"]*"' "$stage/files.wxs" | sort | uniq -d)
[ -z "$ids" ] || fail "two files of the folder give one id: $ids"

# The product code: a new one for every version, the same for every build of one.
upgrade_code=$(sed -n 's/.*UpgradeCode="\([^"]*\)".*/\1/p' "$here/pictorva.wxs")
product_code=$(python3 -c 'import sys, uuid; print(str(uuid.uuid5(uuid.UUID(sys.argv[1]), "Tarn Pictorva " + sys.argv[2])).upper())' \
  "$upgrade_code" "$version")
# wixl says "unimplemented" for each shortcut that is not advertised; the table row
# it writes is the one wanted (a target of its own), so that note is dropped.
# wixl takes files by paths relative to the folder it runs in.
cp "$root/res/pictorva.ico" "$stage/"
(cd "$stage" && wixl -a x64 -D Version="$version" -D ProductCode="$product_code" -D Icon=pictorva.ico \
   -o "$dist/$name.msi" "$here/pictorva.wxs" files.wxs 2> >(grep -v 'unimplemented$' >&2)) ||
  fail "wixl could not build the installer"
touch -d "@$stamp" "$dist/$name.msi"
echo "$dist/$name.msi"
