#!/usr/bin/env bash
# Installs what the build and the tests need, once. Safe to run again: every step
# checks first and returns at once when its work is already there.
#
#   scripts/setup.sh            native build tools and libraries
#   scripts/setup.sh --windows  also the mingw-w64 toolchain, Wine, and the Windows
#                               builds of the libraries (scripts/build-mingw-deps.sh)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

want_windows=0
[ "${1:-}" = "--windows" ] && want_windows=1

native_packages=(
  cmake make g++ clang libclang-rt-14-dev ccache
  libjpeg62-turbo-dev libpng-dev zlib1g-dev pkg-config
  libheif-dev libwebp-dev libtiff-dev  # HEIF/AVIF, WebP and TIFF
  googletest libgtest-dev libbenchmark-dev
  libpugixml-dev       # pugixml: the peer of the XML benchmark
  libgif-dev           # giflib: an independent LZW coder for cross-checks
  imagemagick          # reference decodings in tests
  libxml2-utils python3  # independent checks of the language document
  chromium             # shows small copies as a browser does
)
windows_packages=(
  g++-mingw-w64-x86-64 g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
  libz-mingw-w64-dev nasm dpkg-dev  # the Windows libraries, built from Debian's sources
  meson ninja-build pkg-config  # dav1d's build; Ninja builds all of them
  wine wine64 xvfb
  python3-xlib  # ../shared/tools/xdnd-drop.py: real file drops on windows under Wine
  fonts-wine  # the fonts Windows programs expect (caption buttons, dialogs)
  fonts-wqy-microhei  # a CJK font, so the window shows its Japanese and Chinese texts under Wine
  zip unzip   # the Windows package (scripts/package.sh) and its test
)

apt_updated=0
apt_update_once() {
  if [ $apt_updated = 0 ]; then
    apt-get update -q >/dev/null
    apt_updated=1
  fi
}

install_missing() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    apt_update_once
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
  fi
}

install_missing "${native_packages[@]}"
if [ $want_windows = 1 ]; then
  install_missing "${windows_packages[@]}"
  "$here/build-mingw-deps.sh"
fi
