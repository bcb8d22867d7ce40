#!/usr/bin/env bash
# Sets up, builds the native programs and runs the main job.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build/release" -DCMAKE_BUILD_TYPE=Release -DPICTORVA_TESTS=OFF >/dev/null
cmake --build "$root/build/release" -j"$(nproc)" >/dev/null
"$root/build/release/apps/pictorva-cli" --version
