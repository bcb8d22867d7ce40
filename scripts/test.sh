#!/usr/bin/env bash
# Builds what the chosen suites need and runs them; prints one summary line per suite
# and exits non-zero when any suite failed.
#
#   scripts/test.sh               every suite
#   scripts/test.sh SUITE...      the named suites only (after the one setup)
#
# The suites, in the order they run:
#   structure     the library's includes against its layers (src/layers.txt)
#   documents     the language document
#   native        every test case of the native build, through ctest
#   cli-native    pictorva-cli end to end (scripts/cli-checks)
#   sanitizers    the tests under AddressSanitizer and UndefinedBehaviorSanitizer
#   threads       the tests of work on several threads under ThreadSanitizer
#   windows       the Windows build's tests under Wine
#   cli-windows   pictorva-cli.exe end to end under Wine
#   browser       album pages made natively and under Wine, in headless Chromium
#   package       the Windows package, unpacked into a fresh Wine prefix
#   gui-windows   the toolkit's tests on real windows under Wine
#   program       the gallery window end to end under Wine
#   screenshots   the windows' screenshots
#   fuzz          every fuzz target for a bounded time
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=${PICTORVA_BUILD:-$root/build}
cache=${PICTORVA_CACHE:-$HOME/.cache/pictorva}
jobs=$(nproc)
fuzz_seconds=${PICTORVA_FUZZ_SECONDS:-20}
testdata=${PICTORVA_TESTDATA:-$root/../shared/testdata}
started=$(date +%s)

all_suites=(structure documents native cli-native sanitizers threads windows cli-windows browser package
            gui-windows program screenshots fuzz)
windows_suites=" windows cli-windows browser package gui-windows program screenshots "
if [ $# -gt 0 ]; then
  chosen=" $* "
  for suite in "$@"; do
    case " ${all_suites[*]} " in
      *" $suite "*) ;;
      *) echo "test.sh: no suite \"$suite\"; the suites are: ${all_suites[*]}" >&2; exit 2 ;;
    esac
  done
else
  chosen=" ${all_suites[*]} "
fi
wanted() { [[ "$chosen" == *" $1 "* ]]; }
wants_windows=0
for suite in $chosen; do
  [[ "$windows_suites" == *" $suite "* ]] && wants_windows=1
done

if [ $wants_windows = 1 ]; then
  "$root/scripts/setup.sh" --windows || { echo "setup failed"; exit 1; }
else
  "$root/scripts/setup.sh" --tests || { echo "setup failed"; exit 1; }
fi

summaries=()
failed=0
total_passed=0
total_failed=0

# A suite's heading, with the seconds the run has taken so far.
header() { echo "== $1 (at $(( $(date +%s) - started )) s)"; }

# Adds suite $1's line: $2 passed, $3 failed.
count() {
  local suite=$1 passed=$2 bad=$3
  summaries+=("$suite: $passed passed, $bad failed")
  total_passed=$((total_passed + passed))
  total_failed=$((total_failed + bad))
  [ "$bad" != 0 ] && failed=1
}

# Sums the test reports in folder $2 (GoogleTest's XML, or ctest's JUnit) for suite $1;
# $3 is the status of the run and $4 the number of programs expected to report (0:
# any). A test program that crashed writes no report, and Wine may still end it with
# status 0: a missing report is a failure.
record() {
  local suite=$1 folder=$2 status=$3 expected=${4:-0} tests bad reports
  read -r tests bad reports < <(python3 "$root/scripts/count-reports.py" "$folder")
  if [ "$expected" -gt 0 ] && [ $reports -lt "$expected" ]; then bad=$((bad + expected - reports)); fi
  if [ $tests = 0 ] && [ $bad = 0 ]; then bad=1; fi
  if [ "$status" != 0 ] && [ $bad = 0 ]; then bad=1; fi  # crashed or did not build
  local passed=$((tests - bad)); [ $passed -lt 0 ] && passed=0
  count "$suite" $passed $bad
}

# Configures build folder $2 from preset $1 (further arguments are cache settings) and
# builds it (only the targets in $build_targets when set). False, with the end of
# the logs shown, when either fails.
build() {
  local preset=$1 dir=$2; shift 2
  mkdir -p "$dir"
  if cmake --preset "$preset" -B "$dir" "$@" >"$dir.configure.log" 2>&1 &&
     cmake --build "$dir" -j"$jobs" ${build_targets:+--target $build_targets} >"$dir.build.log" 2>&1; then
    return 0
  fi
  echo "$preset: build failed; the end of its log:"
  tail -n 40 "$dir.configure.log" "$dir.build.log" 2>/dev/null
  return 1
}

# Runs ctest in build folder $2 for suite $1 with the test programs' reports in
# $2/reports (GoogleTest writes one file per program when given a folder; ctest's
# own JUnit file counts every case it ran). $3: programs expected to report, or 0.
run_ctest() {
  local suite=$1 dir=$2 expected=$3; shift 3
  local reports="$dir/reports"
  rm -rf "$reports"; mkdir -p "$reports"
  if [ "$expected" = 0 ]; then
    ctest --test-dir "$dir" -j"$jobs" --output-on-failure --output-junit "$reports/ctest.xml" "$@"
  else
    GTEST_OUTPUT="xml:$(report_folder "$dir" "$reports")" ctest --test-dir "$dir" -j"$jobs" --output-on-failure "$@"
  fi
  record "$suite" "$reports" $? "$expected"
}

# The number of test programs a build registered with ctest.
test_programs() { ctest --test-dir "$1" -N 2>/dev/null | grep -c 'Test *#'; }

# GoogleTest under Wine wants a Windows path (a folder ends in a backslash); Wine maps
# Z: to the root folder.
report_folder() {
  if [[ "$1" == *windows* ]]; then echo "Z:${2//\//\\}\\"; else echo "$2/"; fi
}

# A script that prints "NAME: N passed, N failed" last: suite name, script, arguments.
run_script_suite() {
  local suite=$1; shift
  header "$suite"
  local line passed bad
  line=$("$@" | tee -a /dev/stderr | tail -n 1)  # -a: never truncate a log file
  passed=$(echo "$line" | sed -n 's/^[a-z-]*: \([0-9]*\) passed, \([0-9]*\) failed$/\1/p')
  bad=$(echo "$line" | sed -n 's/^[a-z-]*: \([0-9]*\) passed, \([0-9]*\) failed$/\2/p')
  count "$suite" "${passed:-0}" "${bad:-1}"
}

# The command-line program end to end: suite name, program, runner.
run_cli_suite() {
  local suite=$1; shift
  if [ -e "$1" ]; then
    run_script_suite "$suite" "$root/scripts/cli-test.sh" "$@"
  else
    header "$suite"; echo "$suite: $1 missing"
    count "$suite" 0 1
  fi
}

# Checks of files that are data, not code: each a command that must succeed.
run_check_suite() {
  local suite=$1; shift
  header "$suite"
  local passed=0 bad=0 check
  for check in "$@"; do
    if bash -c "$check"; then passed=$((passed + 1)); else bad=$((bad + 1)); echo "$suite: FAILED: $check"; fi
  done
  count "$suite" $passed $bad
}

mkdir -p "$build"
wanted structure && run_check_suite structure "python3 '$root/scripts/check-layers.py'" \
  "python3 '$root/scripts/check-layers.py' --self-test"
wanted documents && run_check_suite documents "python3 '$root/tests/lang/check_lang_document.py' >/dev/null" \
  "xmllint --noout '$root/res/lang.xml'"

native_built=
if wanted native || wanted cli-native || wanted browser; then
  header "native build"
  build native "$build/native" && native_built=1
fi
if wanted native; then
  header native
  if [ -n "$native_built" ]; then run_ctest native "$build/native" 0; else count native 0 1; fi
fi
wanted cli-native && run_cli_suite cli-native "$build/native/apps/pictorva-cli"
if wanted sanitizers; then
  header sanitizers
  if build_targets=tests build sanitize "$build/sanitize"; then
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
      run_ctest sanitizers "$build/sanitize" "$(test_programs "$build/sanitize")"
  else
    count sanitizers 0 1
  fi
fi
# ThreadSanitizer over the tests whose work runs on several threads (the gallery over
# the whole shared test data is left to the other suites: it takes minutes here);
# any report fails the suite.
if wanted threads; then
  header threads
  if build_targets=tests build tsan "$build/tsan"; then
    TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
      GTEST_FILTER='GalleryRun*:PixelBudget*:KeptBlocks*:ResampleThreads*:SyncRelay*:Thread*:Pool*:-GalleryRunJobs.TheShared*' \
      run_ctest threads "$build/tsan" "$(test_programs "$build/tsan")"
  else
    count threads 0 1
  fi
fi

# The fuzz targets build in the background, at low priority: they take what the
# Windows build leaves idle, and the Windows suites mostly wait on Wine and X.
fuzz_dir="$build/fuzz" fuzz_build=
if wanted fuzz && ls "$root"/fuzz/*_fuzzer.cpp >/dev/null 2>&1; then
  mkdir -p "$fuzz_dir"
  (
    [ $wants_windows = 1 ] && renice -n 10 -p $BASHPID >/dev/null
    build_targets=fuzzers build fuzz "$fuzz_dir"
  ) >"$fuzz_dir.summary.log" 2>&1 &
  fuzz_build=$!
fi

windows_built=
if [ $wants_windows = 1 ]; then
  # The Windows suites (the registry tests among them) use this prefix's registry; an
  # existing WINEPREFIX is honoured.
  export WINEPREFIX="${WINEPREFIX:-$cache/wineprefix}" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "== creating the Wine prefix $WINEPREFIX"
    wineboot --init >/dev/null 2>&1
    wineserver -w
  fi
  header "windows build"
  build windows "$build/windows" -DCMAKE_PREFIX_PATH="$cache/mingw" && windows_built=1
fi
if wanted windows; then
  header windows
  if [ -n "$windows_built" ]; then
    run_ctest windows "$build/windows" "$(test_programs "$build/windows")"
  else
    count windows 0 1
  fi
fi
wanted cli-windows && run_cli_suite cli-windows "$build/windows/apps/pictorva-cli.exe" wine
# Album pages in headless Chromium, made natively and by the Windows build.
wanted browser && run_script_suite browser "$root/scripts/browser-test.sh" "$build/native/apps/pictorva-cli" \
  "$build/windows/apps/pictorva-cli.exe"
# The Windows package, unpacked into a fresh Wine prefix of its own.
wanted package && run_script_suite package "$root/scripts/package-test.sh" "$build/windows"

# The toolkit's windowed tests (one Wine process) and the demo's screenshots, each on an
# X server of its own (a free display, never the user's). The drop tests drop files on
# gui_tests.exe's windows from outside, with ../shared/tools/xdnd-drop.py; Wine reads
# the Japanese file name among them only in a UTF-8 locale.
if wanted gui-windows; then
  source "$root/scripts/wine-gui.sh"
  header gui-windows
  gui_report="$build/windows/gui"
  rm -rf "$gui_report"; mkdir -p "$gui_report"
  if [ -e "$build/windows/tests/gui_tests.exe" ] && start_private_display "$gui_report/xvfb.log"; then
    prepare_wine_gui_prefix
    GTEST_OUTPUT="xml:$(report_folder windows "$gui_report")" LANG=C.UTF-8 LC_ALL=C.UTF-8 \
      wine "$build/windows/tests/gui_tests.exe" --gtest_brief=1
    gui_status=$?
    wineserver -w 2>/dev/null
    stop_private_display
    record gui-windows "$gui_report" $gui_status 1
  else
    echo "gui-windows: gui_tests.exe missing or no X server"
    count gui-windows 0 1
  fi
fi
# The gallery window end to end: drops, views, languages, a second start.
wanted program && run_script_suite program "$root/scripts/program-test.sh" "$build/windows"
if wanted screenshots; then
  header screenshots
  if "$root/scripts/screenshots.sh" "$build/windows" "$build/windows/screenshots"; then
    count "screenshots" 1 0
  else
    count screenshots 0 1
  fi
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
    count fuzz $fuzz_passed $fuzz_failed
  else
    cat "$fuzz_dir.summary.log"
    count fuzz 0 1
  fi
fi

echo
echo "== summary ($(( $(date +%s) - started )) s)"
printf '%s\n' "${summaries[@]}"
echo "all: $total_passed passed, $total_failed failed"
exit $failed
