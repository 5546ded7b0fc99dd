#!/usr/bin/env bash
# Sets up, builds and runs Brushwick under Wine on sample recent-files lists, in a Wine prefix
# (build/run/prefix) and a program folder (build/run/app) of its own.
# With a display: opens the program there and waits until it is closed.
# Without one: drives a whole cleaning run under a private Xvfb, prints the lists before and after
# and the summary, saves screenshots in build/run/screenshots, and ends.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/setup.sh
cmake --preset x64 >/dev/null
cmake --build --preset x64

run=$root/build/run
app=$run/app
shots=$run/screenshots
mkdir -p "$app" "$shots"
# A fresh copy of the program and its languages; opcje.dat stays, so the language picker shows
# on the first run only.
cp build/x64/brushwick.exe "$app/"
rm -rf "$app/lang"
cp -r lang "$app/lang"

had_display=${DISPLAY:-}
source scripts/wine-env.sh
wine_session_start "$run/prefix" auto
trap wine_session_stop EXIT

# Sample projects: some exist under C:\Projekty, the others are gone.
drive_c=$WINEPREFIX/drive_c
rm -rf "$drive_c/Projekty"
mkdir -p "$drive_c/Projekty/Faktury" "$drive_c/Projekty/Magazyn" "$drive_c/Projekty/Kadry"
printf 'Type=Exe\r\n' > "$drive_c/Projekty/Faktury/Faktury.vbp"
printf 'Type=Exe\r\n' > "$drive_c/Projekty/Magazyn/Magazyn.vbp"
printf 'Type=Exe\r\n' > "$drive_c/Projekty/Kadry/Kadry.vbp"
printf 'VBGROUP 5.0\r\n' > "$drive_c/Projekty/Kadry/Kadry.vbg"

seed_list() {  # version entries...
  local key="HKCU\\SOFTWARE\\Microsoft\\Visual Basic\\$1\\RecentFiles" n=0 entry
  shift
  wine reg delete "$key" /f >/dev/null 2>&1 || true
  for entry in "$@"; do
    n=$((n + 1))
    wine reg add "$key" /v "$n" /t REG_SZ /d "$entry" /f >/dev/null 2>&1
  done
}
seed_list 5.0 'C:\Projekty\Faktury\Faktury.vbp' 'C:\Projekty\Stare\Ksiegowosc.vbp' \
  'C:\Projekty\Magazyn\Magazyn.vbp' 'C:\Projekty\Magazyn\Magazyn_kopia.vbp' 'C:\Projekty\Kadry'
seed_list 6.0 'C:\Projekty\Kadry\Kadry.vbp' 'C:\Temp\Projekt1.vbp' 'C:\Projekty\Kadry\Kadry.vbg' \
  'C:\Projekty\Faktury\Faktury.vbp' 'C:\Projekty\Usuniety\Usuniety.vbp' 'C:\Projekty\Stare\Raporty.vbg'
echo "run: sample lists seeded in $WINEPREFIX: VB 5.0 with 5 entries (2 dead), VB 6.0 with 6 (3 dead)"

if [ -n "$had_display" ]; then
  echo "run: Brushwick opens on $DISPLAY; close its window to end"
  (cd "$run" && wine "$app/brushwick.exe") || true
  exit 0
fi

echo "run: no display, so a private Xvfb ($DISPLAY) and a driven cleaning run"
rm -f "$shots"/*.bmp "$shots"/*.png
log=$run/demo.log
status=0
(cd "$run" && timeout 120 wine "$root/build/x64/tools/demo_driver.exe" "$app" "$shots" >"$log" 2>/dev/null) \
  2>/dev/null || status=$?
# The driver writes UTF-8; Wine's own noise stays out of it.
cat "$log"
for bmp in "$shots"/*.bmp; do
  [ -e "$bmp" ] || continue
  convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
  echo "run: screenshot ${bmp%.bmp}.png"
done
exit "$status"
