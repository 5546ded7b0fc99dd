#!/usr/bin/env bash
# Makes docs/screenshots/*.png anew: the language picker, the main window, the summary of a
# cleaning run, and the export and import windows, in Polish at 96 DPI. Wine draws them on a
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

source scripts/wine-env.sh
wine_session_start "$out/prefix" xvfb
trap wine_session_stop EXIT

rm -rf "$out/bmp"
mkdir -p "$out/bmp"
wine "$out/shoot.exe" "$(to_windows_path build/x64/brushwick.exe)" \
  "$(to_windows_path "$out/bmp")"
for name in picker main summary export import; do
  convert "$out/bmp/$name.bmp" -strip -define png:exclude-chunks=date,time "docs/screenshots/$name.png"
done
ls -l docs/screenshots/*.png
