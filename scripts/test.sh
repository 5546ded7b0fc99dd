#!/usr/bin/env bash
# The whole test suite: installs what is missing, builds, and runs every test under Wine and Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset x64 >/dev/null
cmake --build --preset x64
source scripts/wine-env.sh
wine_session_start build/x64/wineprefix xvfb
trap wine_session_stop EXIT
ctest --preset x64 "$@"
