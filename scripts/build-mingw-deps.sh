#!/usr/bin/env bash
# Builds libjpeg-turbo, libpng and GoogleTest for 64-bit Windows with mingw-w64, from
# Debian's own sources, into a cache outside the repository. A finished cache is
# reused as it is; delete the folder to rebuild.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
toolchain="$here/../cmake/mingw-w64-x86_64.cmake"
cache=${PICTORVA_CACHE:-$HOME/.cache/pictorva}
prefix="$cache/mingw"
stamp="$prefix/.complete-v1"
[ -f "$stamp" ] && exit 0

echo "setup: building libjpeg-turbo, libpng and GoogleTest for Windows into $prefix"
mkdir -p "$cache/src" "$prefix"

# Debian source packages need a deb-src entry beside the binary one.
if ! grep -rqs '^Types:.*deb-src\|^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
      > /etc/apt/sources.list.d/pictorva-deb-src.sources
  else
    grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' > /etc/apt/sources.list.d/pictorva-deb-src.list
  fi
  apt-get update -q >/dev/null
fi

# Unpacks Debian's source of package $1 into folder $2. A mirror may already have
# dropped the newest version's files, so every listed version is tried, newest first.
fetch_source() {
  local package=$1 folder=$2 version
  [ -d "$folder" ] && return 0
  rm -rf unpack && mkdir unpack
  for version in $(apt-cache showsrc "$package" | sed -n 's/^Version: //p' | sort -rV); do
    if (cd unpack && apt-get source -q "$package=$version" >/dev/null 2>&1); then
      mv "$(find unpack -mindepth 1 -maxdepth 1 -type d | head -1)" "$folder"
      rm -rf unpack
      return 0
    fi
  done
  echo "setup: could not fetch the source package $package" >&2
  exit 1
}

cd "$cache/src"
fetch_source libjpeg-turbo libjpeg-turbo-src
fetch_source libpng1.6 libpng-src

jobs=$(nproc)
common=(-G "Unix Makefiles" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release
        -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_CROSSCOMPILING_EMULATOR=)

cmake -S libjpeg-turbo-src -B build-jpeg "${common[@]}" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
  -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=OFF -DCMAKE_ASM_NASM_COMPILER=nasm >/dev/null
cmake --build build-jpeg -j"$jobs" >/dev/null
cmake --install build-jpeg >/dev/null

cmake -S libpng-src -B build-png "${common[@]}" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
  -DPNG_EXECUTABLES=OFF -DZLIB_LIBRARY=/usr/x86_64-w64-mingw32/lib/libz.a \
  -DZLIB_INCLUDE_DIR=/usr/x86_64-w64-mingw32/include >/dev/null
cmake --build build-png -j"$jobs" >/dev/null
cmake --install build-png >/dev/null

cmake -S /usr/src/googletest -B build-gtest "${common[@]}" -DBUILD_GMOCK=ON -Dgtest_disable_pthreads=OFF >/dev/null
cmake --build build-gtest -j"$jobs" >/dev/null
cmake --install build-gtest >/dev/null

touch "$stamp"
echo "setup: Windows libraries ready"
