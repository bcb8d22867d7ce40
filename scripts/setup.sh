#!/usr/bin/env bash
# Installs what the build and the tests need, once. Safe to run again: every step
# checks first and returns at once when its work is already there.
#
#   scripts/setup.sh            what the native programs need: build tools and libraries
#   scripts/setup.sh --tests    also what the native tests need (GoogleTest, clang for
#                               the fuzz targets, the reference tools)
#   scripts/setup.sh --windows  also the mingw-w64 toolchain, Wine, and the Windows
#                               builds of the libraries (scripts/build-mingw-deps.sh)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

want_tests=0 want_windows=0
case "${1:-}" in
  --tests) want_tests=1 ;;
  --windows) want_tests=1 want_windows=1 ;;
  "") ;;
  *) echo "setup.sh: unknown option $1" >&2; exit 2 ;;
esac

native_packages=(
  cmake make g++ ccache pkg-config
  libjpeg62-turbo-dev libpng-dev zlib1g-dev
  libheif-dev libwebp-dev libtiff-dev  # HEIF/AVIF, WebP and TIFF
)
test_packages=(
  clang libclang-rt-14-dev  # the fuzz targets
  googletest libgtest-dev libbenchmark-dev
  libpugixml-dev       # pugixml: the peer of the XML benchmark
  libgif-dev           # giflib: an independent LZW coder for cross-checks
  imagemagick          # reference decodings in tests
  libxml2-utils python3  # independent checks of the language document
  chromium             # shows small copies as a browser does; album pages' checks
  nodejs               # drives Chromium for the album checks (tests/browser)
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
  wixl msitools  # the Windows installer: built with wixl, read back by msiinfo, msidump, msiextract
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
if [ $want_tests = 1 ]; then
  install_missing "${test_packages[@]}"
  # npm comes with some builds of node; Debian's own comes apart.
  command -v npm >/dev/null || install_missing npm
fi
if [ $want_windows = 1 ]; then
  install_missing "${windows_packages[@]}"
  "$here/build-mingw-deps.sh"
fi
