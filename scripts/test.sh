#!/usr/bin/env bash
# Builds every target and runs every test suite: native, native under AddressSanitizer
# and UndefinedBehaviorSanitizer, the Windows build under Wine, and the fuzz targets
# for a bounded time. Prints one summary line per suite; exits non-zero when any
# suite failed.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=${PICTORVA_BUILD:-$root/build}
cache=${PICTORVA_CACHE:-$HOME/.cache/pictorva}
jobs=$(nproc)
fuzz_seconds=${PICTORVA_FUZZ_SECONDS:-20}
testdata=${PICTORVA_TESTDATA:-$root/../shared/testdata}
started=$(date +%s)

"$root/scripts/setup.sh" --windows || { echo "setup failed"; exit 1; }

summaries=()
failed=0
total_passed=0
total_failed=0

# A suite's heading, with the seconds the run has taken so far.
header() { echo "== $1 (at $(( $(date +%s) - started )) s)"; }

# Reads the GoogleTest report $2 of suite $1 and records its summary line.
record() {
  local suite=$1 report=$2 status=$3 tests=0 failures=0 errors=0
  if [ -f "$report" ]; then
    read -r tests failures errors < <(sed -n 's/.*<testsuites tests="\([0-9]*\)" failures="\([0-9]*\)" disabled="[0-9]*" errors="\([0-9]*\)".*/\1 \2 \3/p' "$report" | head -1)
  fi
  local bad=$(( ${failures:-0} + ${errors:-0} ))
  # A test program that crashed writes no report; Wine may still end it with status 0.
  if [ "${tests:-0}" = 0 ] && [ $bad = 0 ]; then bad=1; fi
  if [ "$status" != 0 ] && [ $bad = 0 ]; then bad=1; fi  # crashed or did not build
  local passed=$(( ${tests:-0} - bad )); [ $passed -lt 0 ] && passed=0
  summaries+=("$suite: $passed passed, $bad failed")
  total_passed=$((total_passed + passed))
  total_failed=$((total_failed + bad))
  [ $bad != 0 ] && failed=1
}

# Configures and builds build dir $1 with the remaining arguments (only the target
# $suite_target when set); then runs ctest there with GoogleTest's report at
# $1/report.xml.
run_suite() {
  local suite=$1 dir=$2; shift 2
  header "$suite"
  rm -f "$dir/report.xml"
  if cmake -S "$root" -B "$dir" "$@" >"$dir.configure.log" 2>&1 &&
     cmake --build "$dir" -j"$jobs" ${suite_target:+--target "$suite_target"} >"$dir.build.log" 2>&1; then
    GTEST_OUTPUT="xml:$(report_path "$suite" "$dir")" ctest --test-dir "$dir" --output-on-failure
    record "$suite" "$dir/report.xml" $?
  else
    echo "$suite: build failed; the end of its log:"
    tail -n 40 "$dir.configure.log" "$dir.build.log" 2>/dev/null
    record "$suite" /nonexistent 1
  fi
}

# A script that prints "NAME: N passed, N failed" last: suite name, script, arguments.
run_script_suite() {
  local suite=$1; shift
  header "$suite"
  local line passed bad
  line=$("$@" | tee -a /dev/stderr | tail -n 1)  # -a: never truncate a log file
  passed=$(echo "$line" | sed -n 's/^[a-z-]*: \([0-9]*\) passed, \([0-9]*\) failed$/\1/p')
  bad=$(echo "$line" | sed -n 's/^[a-z-]*: \([0-9]*\) passed, \([0-9]*\) failed$/\2/p')
  passed=${passed:-0}; bad=${bad:-1}
  summaries+=("$suite: $passed passed, $bad failed")
  total_passed=$((total_passed + passed)); total_failed=$((total_failed + bad))
  [ "$bad" != 0 ] && failed=1
}

# The command-line program end to end: suite name, program, runner.
run_cli_suite() {
  local suite=$1; shift
  if [ -e "$1" ]; then
    run_script_suite "$suite" "$root/scripts/cli-test.sh" "$@"
  else
    header "$suite"; echo "$suite: $1 missing"
    summaries+=("$suite: 0 passed, 1 failed"); total_failed=$((total_failed + 1)); failed=1
  fi
}

# GoogleTest under Wine wants a Windows path; Wine maps Z: to the root folder.
report_path() {
  if [ "$1" = windows ]; then echo "Z:${2//\//\\}\\report.xml"; else echo "$2/report.xml"; fi
}

# Checks of files that are data, not code: each a command that must succeed.
run_check_suite() {
  local suite=$1; shift
  header "$suite"
  local passed=0 bad=0 check
  for check in "$@"; do
    if bash -c "$check"; then passed=$((passed + 1)); else bad=$((bad + 1)); echo "$suite: FAILED: $check"; fi
  done
  summaries+=("$suite: $passed passed, $bad failed")
  total_passed=$((total_passed + passed)); total_failed=$((total_failed + bad))
  [ $bad != 0 ] && failed=1
}

mkdir -p "$build"
run_check_suite documents "python3 '$root/tests/lang/check_lang_document.py' >/dev/null" \
  "xmllint --noout '$root/res/lang.xml'"
run_suite native "$build/native" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPICTORVA_BENCH=ON
run_cli_suite cli-native "$build/native/apps/pictorva-cli"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  run_suite sanitizers "$build/sanitize" -DCMAKE_BUILD_TYPE=Debug -DPICTORVA_SANITIZE=ON
# ThreadSanitizer over the suites whose work runs on several threads (the gallery
# over the whole shared test data is left to the other suites: it takes minutes
# here); any report fails the suite.
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" suite_target=s_tests \
  GTEST_FILTER='GalleryRun*:PixelBudget*:KeptBlocks*:ResampleThreads*:SyncRelay*:Thread*:Pool*:-GalleryRunJobs.TheShared*' \
  run_suite threads "$build/tsan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPICTORVA_TSAN=ON

# The Windows suites (the registry tests among them) use this prefix's registry; an
# existing WINEPREFIX is honoured.
export WINEPREFIX="${WINEPREFIX:-$cache/wineprefix}" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "== creating the Wine prefix $WINEPREFIX"
  wineboot --init >/dev/null 2>&1
  wineserver -w
fi
# The fuzz targets build in the background, at low priority: they take what the
# Windows build leaves idle, and the Windows suites mostly wait on Wine and X.
fuzz_dir="$build/fuzz" fuzz_build=
if ls "$root"/fuzz/*_fuzzer.cpp >/dev/null 2>&1; then
  mkdir -p "$fuzz_dir"
  ( CC=clang CXX=clang++ cmake -S "$root" -B "$fuzz_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DPICTORVA_FUZZ=ON -DPICTORVA_TESTS=OFF >"$fuzz_dir.configure.log" 2>&1 &&
    nice -n 10 cmake --build "$fuzz_dir" -j"$jobs" >"$fuzz_dir.build.log" 2>&1 ) &
  fuzz_build=$!
fi
run_suite windows "$build/windows" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_PREFIX_PATH="$cache/mingw"
run_cli_suite cli-windows "$build/windows/apps/pictorva-cli.exe" wine
# Album pages in headless Chromium, made natively and by the Windows build.
run_script_suite browser "$root/scripts/browser-test.sh" "$build/native/apps/pictorva-cli" \
  "$build/windows/apps/pictorva-cli.exe"
# The Windows package, unpacked into a fresh Wine prefix of its own.
run_script_suite package "$root/scripts/package-test.sh" "$build/windows"

# The toolkit's windowed tests (one Wine process) and the demo's screenshots, each on an
# X server of its own (a free display, never the user's). The drop tests drop files on
# gui_tests.exe's windows from outside, with ../shared/tools/xdnd-drop.py; Wine reads
# the Japanese file name among them only in a UTF-8 locale.
source "$root/scripts/wine-gui.sh"
header gui-windows
gui_report="$build/windows/gui"
mkdir -p "$gui_report"
rm -f "$gui_report/report.xml"
if [ -e "$build/windows/tests/gui_tests.exe" ] && start_private_display "$gui_report/xvfb.log"; then
  prepare_wine_gui_prefix
  GTEST_OUTPUT="xml:$(report_path windows "$gui_report")" LANG=C.UTF-8 LC_ALL=C.UTF-8 \
    wine "$build/windows/tests/gui_tests.exe" --gtest_brief=1
  gui_status=$?
  wineserver -w 2>/dev/null
  stop_private_display
  record gui-windows "$gui_report/report.xml" $gui_status
else
  echo "gui-windows: gui_tests.exe missing or no X server"
  record gui-windows /nonexistent 1
fi
# The gallery window end to end: drops, views, languages, a second start.
run_script_suite program "$root/scripts/program-test.sh" "$build/windows"
header screenshots
if "$root/scripts/screenshots.sh" "$build/windows" "$build/windows/screenshots"; then
  summaries+=("screenshots: 1 passed, 0 failed (in $build/windows/screenshots)")
  total_passed=$((total_passed + 1))
else
  summaries+=("screenshots: 0 passed, 1 failed"); total_failed=$((total_failed + 1)); failed=1
fi

# Fuzz targets: each runs for a bounded time from its seed corpus.
if [ -n "$fuzz_build" ]; then
  header fuzz
  if wait "$fuzz_build"; then
    # Two targets at a time (one a core): each gets its full time, the suite half.
    fuzz_one() {
      local name=$1 corpus="$fuzz_dir/corpus-$1" seeds=() folder
      mkdir -p "$corpus"
      # Extra read-only corpora: fuzz/<name>.corpora lists folders of the shared test
      # data (one a line), and fuzz/<name>.seeds is a folder of seeds in the repository;
      # libFuzzer writes new inputs only to the first folder.
      [ -d "$root/fuzz/$name.seeds" ] && seeds+=("$root/fuzz/$name.seeds")
      if [ -f "$root/fuzz/$name.corpora" ]; then
        while read -r folder; do
          [ -n "$folder" ] && [ -d "$testdata/$folder" ] && seeds+=("$testdata/$folder")
        done < "$root/fuzz/$name.corpora"
      fi
      "$fuzz_dir/fuzz/$name" -max_total_time="$fuzz_seconds" -print_final_stats=1 \
        -artifact_prefix="$fuzz_dir/$name-" "$corpus" "${seeds[@]}" >"$fuzz_dir/$name.log" 2>&1
      echo $? >"$fuzz_dir/$name.status"
    }
    names=()
    for source in "$root"/fuzz/*_fuzzer.cpp; do
      names+=("$(basename "$source" .cpp)")
      fuzz_one "${names[-1]}" &
      while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n; done
    done
    wait
    fuzz_passed=0 fuzz_failed=0
    for name in "${names[@]}"; do
      if [ "$(cat "$fuzz_dir/$name.status" 2>/dev/null)" = 0 ]; then
        echo "$name: $(grep -o 'stat::number_of_executed_units: [0-9]*' "$fuzz_dir/$name.log" | grep -o '[0-9]*$') executions, nothing found"
        fuzz_passed=$((fuzz_passed + 1))
      else
        echo "$name: FAILED"; tail -n 30 "$fuzz_dir/$name.log"
        fuzz_failed=$((fuzz_failed + 1))
      fi
    done
    summaries+=("fuzz: $fuzz_passed passed, $fuzz_failed failed")
    total_passed=$((total_passed + fuzz_passed)); total_failed=$((total_failed + fuzz_failed))
    [ $fuzz_failed != 0 ] && failed=1
  else
    echo "fuzz: build failed"; tail -n 40 "$fuzz_dir.build.log" "$fuzz_dir.configure.log" 2>/dev/null
    summaries+=("fuzz: 0 passed, 1 failed"); total_failed=$((total_failed + 1)); failed=1
  fi
fi

echo
echo "== summary ($(( $(date +%s) - started )) s)"
printf '%s\n' "${summaries[@]}"
echo "all: $total_passed passed, $total_failed failed"
exit $failed
