#!/usr/bin/env bash
# The whole test suite: installs what is missing, builds, and runs every test under Wine and Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset x64 >/dev/null
cmake --build --preset x64
# The 32-bit exe cannot run here (no 32-bit Wine), but it is built, so that a break in it fails
# the suite too. Both exes must need nothing but Windows' own DLLs.
cmake --preset x86 >/dev/null
cmake --build --preset x86
for exe in build/x64/brushwick.exe build/x86/brushwick.exe; do
  dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ { print tolower($3) }')
  foreign=$(grep -vxE '(kernel32|user32|gdi32|advapi32|shell32|comctl32|msvcrt)\.dll' <<<"$dlls" || true)
  if [ -z "$dlls" ] || [ -n "$foreign" ]; then
    echo "test: $exe imports DLLs that Windows does not have:" $foreign >&2
    exit 1
  fi
done
source scripts/wine-env.sh
wine_session_start build/x64/wineprefix xvfb
trap wine_session_stop EXIT
wine build/x64/tests/desktop_keeper.exe </dev/null >/dev/null 2>&1 &
ctest --preset x64 "$@"
