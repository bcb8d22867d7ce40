#!/usr/bin/env bash
# Builds the libraries of the Windows programs for 64-bit Windows with mingw-w64, from
# Debian's own sources, into a cache outside the repository ($prefix below):
#
#   static  libjpeg-turbo, libpng, GoogleTest, zstd, liblzma (xz-utils), libwebp (with
#           libwebpdemux and libwebpmux), libtiff, dav1d
#   DLLs    libde265.dll and libheif.dll (dav1d inside), in $prefix/bin: both are LGPL,
#           so they stay DLLs the user can replace; libheif.dll loads libde265.dll.
#           They need nothing but Windows' own DLLs and each other (the GCC runtime and
#           winpthreads are linked into them).
#
# Every library has its own stamp ($prefix/.complete-NAME; .complete-v1 stands for the
# first three), so a cache from an older version of this script is reused and only
# what is missing gets built; a finished cache returns at once. Delete a stamp to
# rebuild that library, or the whole folder to rebuild everything.
#
# Debian's files of every source package built (.dsc, .orig.tar.*, .debian.tar.*) are
# kept in $cache/src/debian/PACKAGE/, and every unpacked tree, with its debian/copyright,
# in $cache/src/NAME-src/: the Windows package carries the LGPL libraries' sources and
# every licence.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
toolchain="$here/../cmake/mingw-w64-x86_64.cmake"
cache=${PICTORVA_CACHE:-$HOME/.cache/pictorva}
prefix="$cache/mingw"
kept="$cache/src/debian"

# name, Debian source package, unpacked tree (under $cache/src)
libraries=(
  "jpeg  libjpeg-turbo libjpeg-turbo-src"
  "png   libpng1.6     libpng-src"
  "gtest -             -"
  "zstd  libzstd       zstd-src"
  "lzma  xz-utils      xz-src"
  "webp  libwebp       libwebp-src"
  "tiff  tiff          tiff-src"
  "dav1d dav1d         dav1d-src"
  "de265 libde265      libde265-src"
  "heif  libheif       libheif-src"
)

built() {
  [ -f "$prefix/.complete-$1" ] ||
    { [ -f "$prefix/.complete-v1" ] && [[ $1 =~ ^(jpeg|png|gtest)$ ]]; }
}
# Whether the cache lacks a library, or the kept files of a source package built.
missing_work() {
  local name package folder
  for entry in "${libraries[@]}"; do
    read -r name package folder <<<"$entry"
    built "$name" || return 0
    [ "$package" = - ] || compgen -G "$kept/$package/*.dsc" >/dev/null || return 0
  done
  return 1
}
missing_work || exit 0

mkdir -p "$cache/src" "$prefix" "$kept"

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

# Downloads Debian's files of source package $1 at version $2 into $kept/$1.
download_source() {
  local package=$1 version=$2
  rm -rf "${kept:?}/$package" && mkdir -p "$kept/$package"
  (cd "$kept/$package" && apt-get source -q --download-only "$package=$version" >/dev/null 2>&1)
}

# Unpacks Debian's source of package $1 into folder $2 (under $cache/src), keeping the
# package's files. A mirror may already have dropped the newest version's files, so
# every listed version is tried, newest first. A tree unpacked by an older version of
# this script gets the files of its own version.
fetch_source() {
  local package=$1 folder=$2 version
  if [ -d "$folder" ]; then
    compgen -G "$kept/$package/*.dsc" >/dev/null && return 0
    version=$(dpkg-parsechangelog -l "$folder/debian/changelog" -S Version)
    download_source "$package" "$version" ||
      echo "setup: the files of $package $version are no longer on the mirror" >&2
    return 0
  fi
  for version in $(apt-cache showsrc "$package" | sed -n 's/^Version: //p' | sort -rV); do
    if download_source "$package" "$version"; then
      # apt-get has checked the files against the signed index of the archive.
      dpkg-source -q --no-copy --no-check -x "$kept/$package"/*.dsc "$folder" >/dev/null
      return 0
    fi
  done
  rm -rf "${kept:?}/$package"
  echo "setup: could not fetch the source package $package" >&2
  exit 1
}

cd "$cache/src"
# Cross builds find only the cache's own pkg-config files.
export PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig" PKG_CONFIG_PATH=
jobs=$(nproc)
mingw=/usr/x86_64-w64-mingw32
zlib=(-DZLIB_LIBRARY="$mingw/lib/libz.a" -DZLIB_INCLUDE_DIR="$mingw/include")
common=(-G Ninja --no-warn-unused-cli -Wno-dev -DCMAKE_TOOLCHAIN_FILE="$toolchain"
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG"
        -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_INSTALL_PREFIX="$prefix"
        -DCMAKE_CROSSCOMPILING_EMULATOR=)
# Configures, builds and installs the CMake project in $1 into build folder $2.
cmake_build() {
  local source=$1 build=$2
  shift 2
  rm -rf "$build"
  cmake -S "$source" -B "$build" "${common[@]}" "$@" >/dev/null
  cmake --build "$build" -j"$jobs" >/dev/null
  cmake --install "$build" --strip >/dev/null
}

build_jpeg() {
  cmake_build libjpeg-turbo-src build-jpeg -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
    -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=OFF -DCMAKE_ASM_NASM_COMPILER=nasm
}

build_png() {
  cmake_build libpng-src build-png -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
    -DPNG_EXECUTABLES=OFF "${zlib[@]}"
}

build_gtest() {
  cmake_build /usr/src/googletest build-gtest -DBUILD_GMOCK=ON -Dgtest_disable_pthreads=OFF
}

build_zstd() {
  cmake_build zstd-src/build/cmake build-zstd -DZSTD_BUILD_STATIC=ON -DZSTD_BUILD_SHARED=OFF \
    -DZSTD_BUILD_PROGRAMS=OFF -DZSTD_BUILD_TESTS=OFF -DZSTD_MULTITHREAD_SUPPORT=OFF
}

# Only the library: its CMake project has no switch for the programs.
build_lzma() {
  rm -rf build-lzma
  cmake -S xz-src -B build-lzma "${common[@]}" -DBUILD_SHARED_LIBS=OFF >/dev/null
  cmake --build build-lzma -j"$jobs" --target liblzma >/dev/null
  cmake --install build-lzma --component liblzma_Development >/dev/null
}

build_webp() {
  cmake_build libwebp-src build-webp -DBUILD_SHARED_LIBS=OFF -DWEBP_BUILD_ANIM_UTILS=OFF \
    -DWEBP_BUILD_CWEBP=OFF -DWEBP_BUILD_DWEBP=OFF -DWEBP_BUILD_GIF2WEBP=OFF \
    -DWEBP_BUILD_IMG2WEBP=OFF -DWEBP_BUILD_VWEBP=OFF -DWEBP_BUILD_WEBPINFO=OFF \
    -DWEBP_BUILD_WEBPMUX=OFF -DWEBP_BUILD_EXTRAS=OFF -DWEBP_BUILD_LIBWEBPMUX=ON
}

# liblzma is static: its header must not ask for a DLL's symbols.
build_tiff() {
  cmake_build tiff-src build-tiff -DBUILD_SHARED_LIBS=OFF -DCMAKE_C_FLAGS=-DLZMA_API_STATIC \
    -Dtiff-tools=OFF -Dtiff-tests=OFF -Dtiff-contrib=OFF -Dtiff-docs=OFF -Dtiff-opengl=OFF \
    -Dcxx=OFF -Djbig=OFF -Dlerc=OFF -Dlibdeflate=OFF -Djpeg12=OFF \
    -Dzlib=ON -Djpeg=ON -Dzstd=ON -Dlzma=ON -Dwebp=ON "${zlib[@]}" \
    -DJPEG_LIBRARY="$prefix/lib/libjpeg.a" -DJPEG_INCLUDE_DIR="$prefix/include"
}

build_dav1d() {
  cat >dav1d-cross.ini <<EOF
[binaries]
c = 'x86_64-w64-mingw32-gcc-posix'
ar = 'x86_64-w64-mingw32-ar'
strip = 'x86_64-w64-mingw32-strip'
windres = 'x86_64-w64-mingw32-windres'
nasm = 'nasm'
pkgconfig = 'pkg-config'

[host_machine]
system = 'windows'
cpu_family = 'x86_64'
cpu = 'x86_64'
endian = 'little'
EOF
  rm -rf build-dav1d
  meson setup build-dav1d dav1d-src --cross-file dav1d-cross.ini --prefix="$prefix" \
    --libdir=lib --default-library=static --buildtype=release -Doptimization=2 \
    -Denable_tools=false -Denable_tests=false -Denable_examples=false -Denable_docs=false \
    >/dev/null
  ninja -C build-dav1d -j"$jobs" >/dev/null
  meson install -C build-dav1d >/dev/null
}

# Configures, builds and installs the CMake project in $1 as a DLL, in build folder $2,
# that exports only the functions and data whose names match $3. The DLL carries its
# own copy of the GCC runtime and winpthreads. Neither library marks its functions
# for export on MinGW, so the linker would export every global symbol, the runtime's
# among them: a first link makes the objects, whose symbols give the list of exports
# of the second.
dll_build() {
  local source=$1 build=$2 names=$3 static="-static -static-libgcc -static-libstdc++"
  shift 3
  rm -rf "$build"
  cmake -S "$source" -B "$build" "${common[@]}" -DBUILD_SHARED_LIBS=ON \
    -DCMAKE_SHARED_LINKER_FLAGS="$static" "$@" >/dev/null
  cmake --build "$build" -j"$jobs" >/dev/null
  { echo EXPORTS
    find "$build" -name '*.obj' -exec x86_64-w64-mingw32-nm --defined-only --extern-only {} + |
      awk -v names="$names" '$3 ~ names { print $3 ($2 ~ /^[BDR]$/ ? " DATA" : "") }' | sort -u
  } >"$build/exports.def"
  # (the same configuration again: what it prints was printed above)
  cmake "$build" -DCMAKE_SHARED_LINKER_FLAGS="$static $PWD/$build/exports.def" >/dev/null 2>&1
  cmake --build "$build" -j"$jobs" >/dev/null
  cmake --install "$build" --strip >/dev/null
}

build_de265() {
  dll_build libde265-src build-de265 '^(de|en)265_' -DENABLE_SDL=OFF -DENABLE_DECODER=OFF \
    -DENABLE_ENCODER=OFF
}

build_heif() {
  dll_build libheif-src build-heif '^heif_' -DENABLE_PLUGIN_LOADING=OFF \
    -DWITH_LIBDE265=ON -DWITH_LIBDE265_PLUGIN=OFF -DWITH_DAV1D=ON -DWITH_DAV1D_PLUGIN=OFF \
    -DWITH_X265=OFF -DWITH_AOM_DECODER=OFF -DWITH_AOM_ENCODER=OFF -DWITH_RAV1E=OFF \
    -DWITH_SvtEnc=OFF -DWITH_EXAMPLES=OFF -DWITH_DEFLATE_HEADER_COMPRESSION=ON "${zlib[@]}"
}

# libheif.dll holds dav1d: a new dav1d means a new libheif.dll.
embedded_in() {
  case $1 in
    dav1d) echo heif ;;
  esac
}

for entry in "${libraries[@]}"; do
  read -r name package folder <<<"$entry"
  started=$SECONDS
  [ "$package" = - ] || fetch_source "$package" "$folder"
  built "$name" && continue
  fetched=$SECONDS
  echo "setup: building $name for Windows into $prefix"
  "build_$name"
  for other in $(embedded_in "$name"); do
    rm -f "$prefix/.complete-$other"
  done
  touch "$prefix/.complete-$name"
  echo "setup: $name ready (source $((fetched - started)) s, build $((SECONDS - fetched)) s)"
done
# Older checkouts of the tree look for this stamp.
if built jpeg && built png && built gtest; then
  touch "$prefix/.complete-v1"
fi
echo "setup: Windows libraries ready"
