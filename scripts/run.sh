#!/usr/bin/env bash
# Sets up, builds the native programs and runs the main job: a Tile gallery of the
# sample pictures in samples/, made in a fresh copy under build/demo so the
# repository stays clean. Prints the page's path last.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
cmake --preset release -S "$root" -B "$root/build/release" >/dev/null
cmake --build "$root/build/release" -j"$(nproc)" --target pictorva-cli >/dev/null
demo="$root/build/demo"
rm -rf "$demo"
mkdir -p "$demo"
cp "$root"/samples/*.{bmp,gif,jpg,png} "$demo"/
"$root/build/release/apps/pictorva-cli" gallery --title "Samples" "$demo"/*.{bmp,gif,jpg,png}
