#!/usr/bin/env bash
# Makes docs/screenshots/*.png anew: every window of the program (the language picker, the main
# window, the summary of a cleaning run, the export and import windows, the review and clear
# windows, the wait for another copy, the question about an open Visual Basic IDE and the progress of
# a long import) in Polish at 96 DPI, and the IDE question in English and at 144 DPI as well. Every picture of every pass
# (Polish and English, 96 and 144 DPI) is left in build/screenshots/png for a look. Wine draws them on a
# private Xvfb display; docs/screenshots/shoot.cpp drives the program with the end-to-end tests'
# window driver and saves each window's area of the screen, which ImageMagick turns into PNG.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset x64 >/dev/null
cmake --build --preset x64 --target brushwick

out=build/screenshots
mkdir -p "$out"
x86_64-w64-mingw32-g++-posix -std=c++20 -Os -static -s -municode -DUNICODE -D_UNICODE \
  -DWIN32_LEAN_AND_MEAN -DNOMINMAX -D_WIN32_WINNT=0x0601 -Isrc -Itests -Itests/e2e \
  docs/screenshots/shoot.cpp tests/e2e/driver/ui_driver.cpp tests/support/files.cpp \
  tests/support/registry_lists.cpp \
  -ladvapi32 -luser32 -lgdi32 -o "$out/shoot.exe"
x86_64-w64-mingw32-g++-posix -std=c++20 -Os -static -s tests/e2e/standin/vb_standin.cpp -ladvapi32 \
  -o "$out/vb_standin.exe"

source scripts/wine-env.sh
wine_session_start "$out/prefix" xvfb
trap wine_session_stop EXIT

rm -rf "$out/bmp" "$out/png"
mkdir -p "$out/bmp" "$out/png"
names="picker main summary export import review clear wait ide progress"
for pass in "Polski 96 " "English 96 -en" "Polski 144 -144" "English 144 -en-144"; do
  read -r entry dpi suffix <<<"$pass"
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  wine "$out/shoot.exe" "$(to_windows_path build/x64/brushwick.exe)" "$(to_windows_path "$out/bmp")" \
    "$(to_windows_path "$out/vb_standin.exe")" "$entry" "$suffix"
  for name in $names; do
    convert "$out/bmp/$name$suffix.bmp" -strip -define png:exclude-chunks=date,time "$out/png/$name$suffix.png"
  done
done
for name in $names; do cp "$out/png/$name.png" docs/screenshots/; done
for name in ide-en ide-144 ide-en-144 review-en-144 clear-en-144 progress-en-144; do cp "$out/png/$name.png" docs/screenshots/; done
ls -l docs/screenshots/*.png
