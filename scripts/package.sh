#!/usr/bin/env bash
# Makes the Windows package dist/pictorva-VERSION-win64.zip: the programs
# (pictorva.exe when the build has that target, and pictorva-cli.exe), a README and the
# licences of the libraries linked into them. The programs are linked statically, so
# the folder runs as it is, with no DLL beside it.
#
#   scripts/package.sh [WINDOWS_BUILD_FOLDER] [OUTPUT_FOLDER]
#
# The build folder (default build/windows) is configured first when it is not yet,
# with the Release settings of scripts/test.sh; the programs are built (or brought up
# to date) in it. The version is the one of the programs' version resource
# (res/pictorva.rc). Prints the zip's path as its last line.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/windows}
dist=${2:-$root/dist}
cache=${PICTORVA_CACHE:-$HOME/.cache/pictorva}
mingw=x86_64-w64-mingw32

version=$(sed -n 's/^ *VALUE "ProductVersion", "\([^"]*\)".*/\1/p' "$root/res/pictorva.rc")
[ -n "$version" ] || { echo "package: no ProductVersion in res/pictorva.rc" >&2; exit 1; }
name=pictorva-$version-win64

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_PREFIX_PATH="$cache/mingw" >/dev/null
fi
# The window program comes with its own target; a build without it (an older
# checkout) packs the command-line program alone.
programs=(pictorva-cli)
[ -d "$build/apps/CMakeFiles/pictorva.dir" ] && programs=(pictorva "${programs[@]}")
cmake --build "$build" -j"$(nproc)" --target "${programs[@]}" >/dev/null
[ -f "$build/apps/pictorva-cli.exe" ] || { echo "package: $build is not a Windows build" >&2; exit 1; }

# The licence of every library in the programs, from the Debian packages they were
# built from: the first of the candidate files that exists.
licences=(
  "libjpeg-turbo.txt|$cache/src/libjpeg-turbo-src/debian/copyright /usr/share/doc/libjpeg62-turbo/copyright"
  "libpng.txt|$cache/src/libpng-src/debian/copyright $(echo /usr/share/doc/libpng16-16*/copyright)"
  "zlib.txt|/usr/share/doc/libz-mingw-w64/copyright /usr/share/doc/zlib1g/copyright"
  "mingw-w64-runtime-and-winpthreads.txt|/usr/share/doc/mingw-w64-x86-64-dev/copyright /usr/share/doc/mingw-w64-common/copyright"
  "gcc-runtime-libgcc-libstdc++.txt|/usr/share/doc/gcc-mingw-w64-base/copyright"
)

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
cp "$root/scripts/package/README.txt" "$folder/README.txt"
for entry in "${licences[@]}"; do
  target=${entry%%|*} found=
  for candidate in ${entry#*|}; do
    if [ -f "$candidate" ]; then found=$candidate; break; fi
  done
  [ -n "$found" ] || { echo "package: no licence text for $target (tried ${entry#*|})" >&2; exit 1; }
  cp "$found" "$folder/licenses/$target"
done

find "$folder" -exec touch -h -d "@$stamp" {} +
mkdir -p "$dist"
dist=$(cd "$dist" && pwd)
rm -f "$dist/$name.zip"
(cd "$stage" && find "$name" | LC_ALL=C sort | TZ=UTC zip -q -X -9 "$dist/$name.zip" -@)
echo "$dist/$name.zip"
