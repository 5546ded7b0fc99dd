#!/usr/bin/env bash
# Writes lang/English.txt anew from the table of texts (src/settings/text_table.h): the settings
# tests hold the two equal, and with BRUSHWICK_WRITE_ENGLISH=1 the test writes the file instead.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --build --preset x64-tests --target settings_tests
BRUSHWICK_WRITE_ENGLISH=1 bash scripts/run-tests.sh x64 -R '^settings$'
git diff --stat -- lang/English.txt
