#!/usr/bin/env bash
# run-tests.sh ARCH [ctest arguments]: runs the built tests of build/ARCH-tests (x64 or x86) under
# Wine and a private Xvfb. scripts/test.sh runs it on this machine for x64 and inside the i386
# tree for x86, where the only Wine is 32-bit.
set -euo pipefail
cd "$(dirname "$0")/.."
arch=$1
shift
case $arch in
  x64) export BRUSHWICK_WINEARCH=win64 ;;
  x86) export BRUSHWICK_WINEARCH=win32 ;;
  *) echo "run-tests: unknown architecture $arch" >&2; exit 2 ;;
esac
source scripts/wine-env.sh
# Stops whatever the start got to, should it fail half-way.
trap wine_session_stop EXIT
wine_session_start "build/$arch-tests/wineprefix" xvfb

# The desktop must be up, and held by the keeper, before ctest starts any test in any order.
ready=$WINEPREFIX/drive_c/desktop-ready
rm -f "$ready"
wine "build/$arch-tests/tests/desktop_keeper.exe" 'C:\desktop-ready' </dev/null >/dev/null 2>&1 &
keeper=$!
for _ in $(seq 1 600); do
  [ -e "$ready" ] && break
  if ! kill -0 "$keeper" 2>/dev/null; then
    echo "run-tests: the desktop keeper ended before Wine's desktop was up" >&2
    exit 1
  fi
  sleep 0.1
done
[ -e "$ready" ] || { echo "run-tests: Wine's desktop was not up after 60 s" >&2; exit 1; }

# The test that stops a change at each of a thousand calls keeps a wineserver busy for minutes: it
# gets a prefix and a wineserver of its own, so that the windows of the other tests are not kept
# waiting on the registry meanwhile.
large=$PWD/build/$arch-tests/wineprefix-large
stop_large() { WINEPREFIX=$large wineserver -k >/dev/null 2>&1 || true; wine_session_stop; }
trap stop_large EXIT
if [ ! -f "$large/system.reg" ]; then
  WINEPREFIX=$large wineboot -i </dev/null >/dev/null 2>&1 ||
    { echo "run-tests: making the Wine prefix $large failed" >&2; exit 1; }
  WINEPREFIX=$large wineserver -w
fi
WINEPREFIX=$large wineserver -p
WINEPREFIX=$large wine wineboot </dev/null >/dev/null 2>&1

ctest --preset "$arch" "$@"
