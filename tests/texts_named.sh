#!/usr/bin/env bash
# Every text the program shows comes from its table of named texts, so a language file can
# translate it: this fails on a wide literal in the sources that reads as words (letters, a
# blank, letters; or any letter outside ASCII), and on a window or message box given a literal
# made of letters. Usage: texts_named.sh SOURCE_DIR
set -uo pipefail
src=${1:?the source folder}
table=settings/text_table.h
found=$(cd "$src" && grep -rnP --include='*.cpp' --include='*.h' --include='*.inl' \
  'L"(?:[^"\\]|\\.)*(?:[A-Za-z]{2,} +[A-Za-z]|[^\x00-\x7F])(?:[^"\\]|\\.)*"|(?:MsgBox|MessageBoxW|SetCaption|SetControlText|SetWindowTextW)\((?:[^()"]*,\s*)?L"[^"]*[A-Za-z]' \
  . | grep -v "^\./$table:")
if [[ -n $found ]]; then
  echo "texts without a name (give them one in src/$table, then run scripts/english-template.sh):"
  echo "$found"
  exit 1
fi
echo "every text shown has a name"
