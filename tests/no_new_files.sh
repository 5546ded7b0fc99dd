#!/usr/bin/env bash
# no_new_files.sh TEST_EXE FILTER: runs the GoogleTest FILTER of TEST_EXE under Wine against a
# folder where the test may change the files but not add any, named to it in
# BRUSHWICK_NO_NEW_FILES_FOLDER. Wine does not enforce Windows file rights, only the Unix ones,
# and root passes those, so as root the test runs without any of root's capabilities. The
# wineserver opens the files for its programs, so it must run without them too: the test gets a
# Wine prefix and a wineserver of its own, beside the suite's ($WINEPREFIX-no-new-files).
set -euo pipefail
exe=$1
filter=$2
: "${WINEPREFIX:?names the Wine prefix of the suite}"
prefix=$WINEPREFIX-no-new-files

work=$(mktemp -d)
cleanup() {
  chmod -R u+w "$work" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
folder=$work/folder
mkdir "$folder"
: >"$folder/list.rec"
chmod 644 "$folder/list.rec"
chmod 555 "$folder"

unprivileged=()
if [ "$(id -u)" = 0 ]; then
  unprivileged=(setpriv --bounding-set=-all --inh-caps=-all --ambient-caps=-all --)
fi
# Wine's drive Z: is the Unix root.
export WINEPREFIX=$prefix BRUSHWICK_NO_NEW_FILES_FOLDER="Z:$(printf '%s' "$folder" | tr / '\\')"
# No window of this run belongs on the suite's display.
unset DISPLAY
quiet() { "${unprivileged[@]}" "$@" </dev/null >/dev/null 2>&1; }
if [ ! -f "$prefix/system.reg" ]; then
  quiet wineboot -i || { echo "no_new_files: making the Wine prefix $prefix failed" >&2; exit 1; }
  quiet wineserver -w
fi
# Started with their output elsewhere: Wine's background processes would keep the test's output
# open, and whoever reads it waiting, after the test has ended.
quiet wineserver -p
trap 'wineserver -k >/dev/null 2>&1 || true; cleanup' EXIT
quiet wine wineboot || { echo "no_new_files: starting Wine in $prefix failed" >&2; exit 1; }
"${unprivileged[@]}" wine "$exe" --gtest_filter="$filter" | tee "$work/output"
# Neither skipped nor missing: this run exists for that one test.
grep -qF "[       OK ] $filter " "$work/output" || { echo "no_new_files: $filter did not pass" >&2; exit 1; }
