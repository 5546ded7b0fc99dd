#!/usr/bin/env bash
# The whole test suite: installs what is missing, builds the shipped exes (win32-threads compilers,
# as released) and the tests (POSIX-threads compilers, for GoogleTest), checks what each exe
# imports, and runs every test against the x64 exe under Wine and Xvfb, then against the x86 exe
# under 32-bit Wine in an i386 Debian tree (scripts/i386-tree.sh). Extra arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
source scripts/i386-tree.sh

times=()
part_start=$SECONDS
part_done() {
  times+=("$(printf '%-34s %4d s' "$1" $((SECONDS - part_start)))")
  part_start=$SECONDS
}
report_times() {
  local t
  echo "test: time of each part:"
  for t in "${times[@]}"; do echo "  $t"; done
}
trap report_times EXIT

scripts/setup.sh
part_done "set-up"

# The i386 tree, when it has to be made, is made while the exes and tests build: it is mostly
# downloading.
mkdir -p build
x86_runs=false
if i386_runs build; then
  x86_runs=true
  i386_tree_ensure >build/i386-tree.path 2>build/i386-tree.log &
  tree_maker=$!
fi

cmake --preset x64 >/dev/null
cmake --preset x64-tests >/dev/null
cmake --build --preset x64-tests
cmake --preset x86 >/dev/null
cmake --build --preset x86 --target brushwick
# Only functions of Windows' own DLLs that Windows XP SP3 already has.
scripts/check-imports.sh build/x64/brushwick.exe build/x86/brushwick.exe
# Each shipped exe stays within 256 KiB.
scripts/check-size.sh build/x64/brushwick.exe build/x86/brushwick.exe
part_done "build x64 (+tests), x86; imports"

scripts/run-tests.sh x64 "$@"
part_done "tests against the x64 exe"

# Built even where they cannot run, so that a break in the 32-bit build fails the suite.
cmake --preset x86-tests >/dev/null
cmake --build --preset x86-tests
part_done "build x86 tests"
if ! $x86_runs; then
  echo "test: this machine does not run 32-bit programs, so the tests against the x86 exe are" \
    "skipped (it and its tests are built and its imports are checked); the x64 run decides the result" >&2
  exit 0
fi
if ! wait "$tree_maker"; then
  cat build/i386-tree.log >&2
  exit 1
fi
part_done "wait for the i386 tree (made once)"
i386_tree_run "$(cat build/i386-tree.path)" "$root" /bin/bash "$root/scripts/run-tests.sh" x86 "$@"
part_done "tests against the x86 exe"
