#!/usr/bin/env bash
# Benchmarks, apart from the tests: builds the exes as released and the programs in bench/, runs
# them under Wine and prints one "name: value" line per figure, each the median of several runs
# (BENCH_RUNS, 9 by default). Nothing here passes or fails on a time.
#
#   clean_2x1000_ms       the real exe, from the click on Start to the summary box, on two lists of
#                         1000 entries, half of them dead
#   bare_calls_2x1000_ms  the registry and file calls that cleaning needs, made bare, in the same run
#   clean_vs_bare         the ratio of the two: what the user waits for against what the work needs
#   cmdline_clean_2x1000_ms  `brushwick.exe /clean` on the same lists, from its start to its end
#   cmdline_start_alone_ms   `brushwick.exe /?`, what a start and an end cost by themselves
#   cmdline_clean_vs_bare    the command line's cleaning, less its start alone, against the bare calls
#   inprocess_clean_2x1000_ms, inprocess_bare_calls_2x1000_ms, inprocess_clean_vs_bare
#                         the same run in process through the change object, without the windows
#   step_*_ms             where that run's time goes: reading, checking, snapshot, second reading,
#                         writing, the done mark
#   clean_unreachable_100_ms  the run when 100 entries live on a server that never answers
#   clean_blocked_queries_100_ms  the same when they live on a place that answers its probe but
#                         whose file queries block
#   import_30000_ms, undo_import_30000_ms, undo_vs_import
#                         an import of 30,000 entries through the change object, and its undo
#   startup_ms            brushwick.exe from process start to its main window on the screen
#   startup_minimal_ms    the same for the smallest windowed program, built the same way
#   startup_vs_minimal    the ratio of the two
#   exe_bytes_x64, exe_bytes_x86   the size of each exe
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${BENCH_RUNS:-9}
scripts/setup.sh >&2

# Builds go to stderr, so that stdout holds the figures only.
cmake -S . -B build/bench -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=MinSizeRel -DBRUSHWICK_TESTS=OFF -DBRUSHWICK_BENCH=ON >&2
cmake --build build/bench --target brushwick bench_clean bench_e2e bench_startup bench_minimal >&2
cmake --preset x86 >&2
cmake --build --preset x86 --target brushwick >&2

# A program folder that opens the main window directly: built-in texts chosen.
run=build/bench/run
rm -rf "$run"
mkdir -p "$run/app" "$run/minimal"
cp build/bench/brushwick.exe "$run/app/"
printf '#\r\n' >"$run/app/opcje.dat"
cp build/bench/bench/bench_minimal.exe "$run/minimal/"

source scripts/wine-env.sh
wine_session_start build/bench/wineprefix xvfb
trap wine_session_stop EXIT

wine build/bench/bench/bench_e2e.exe "$runs" "$(to_windows_path "$run/app/brushwick.exe")" | tr -d '\r'
wine build/bench/bench/bench_clean.exe "$runs" | tr -d '\r'

startup=$(wine build/bench/bench/bench_startup.exe "$runs" \
  "brushwick=$(to_windows_path "$run/app/brushwick.exe")" \
  "minimal=$(to_windows_path "$run/minimal/bench_minimal.exe")" | tr -d '\r')
awk -F': ' '$1 == "brushwick" { b = $2 } $1 == "minimal" { m = $2 }
  END {
    if (b == "" || m == "") exit 1
    printf "startup_ms: %.1f\nstartup_minimal_ms: %.1f\nstartup_vs_minimal: %.2f\n", b, m, b / m
  }' <<<"$startup"

echo "exe_bytes_x64: $(stat -c %s build/bench/brushwick.exe)"
echo "exe_bytes_x86: $(stat -c %s build/x86/brushwick.exe)"
