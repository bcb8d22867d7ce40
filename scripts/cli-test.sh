#!/usr/bin/env bash
# End-to-end checks of pictorva-cli. Usage: scripts/cli-test.sh PROGRAM [RUNNER...]
# (the runner is "wine" for the Windows build). Runs every scripts/cli-checks/*.sh
# in name order, each in a fresh work folder, and prints "cli: N passed, N failed".
#
# A check file uses what this script defines: $root, $work, cli (the program under
# test, through its runner), native_path (a path as the program sees it), check
# (a description, then a command that must succeed) and on_windows (true under Wine).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program=$1; shift
runner=("$@")
passed=0 failed=0

check() {  # description, then a command that must succeed
  local what=$1; shift
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "cli: FAILED: $what"; fi
}

on_windows() { [ ${#runner[@]} -gt 0 ]; }

# Paths as the program sees them: under Wine, Z: is the root folder.
native_path() {
  if on_windows; then echo "Z:${1//\//\\}"; else echo "$1"; fi
}

cli() { "${runner[@]}" "$program" "$@"; }

# The program remembers settings (natively in $XDG_CONFIG_HOME); the checks never see
# or touch the user's own.
config_home=$(mktemp -d)
export XDG_CONFIG_HOME="$config_home"
# The program speaks the system's language; the checks expect English unless they
# ask for another one (Wine takes its language from these variables too).
unset LC_ALL LC_MESSAGES
export LANG=C.UTF-8

for checks in "$root"/scripts/cli-checks/*.sh; do
  work=$(mktemp -d)
  # shellcheck source=/dev/null
  source "$checks"
  rm -rf "$work"
done

rm -rf "$config_home"
echo "cli: $passed passed, $failed failed"
[ $failed -eq 0 ]
