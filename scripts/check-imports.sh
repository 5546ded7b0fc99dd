#!/usr/bin/env bash
# check-imports.sh EXE...: each exe may import only system functions listed in
# tests/windows_imports.txt, each there with the oldest Windows that has it, and only those that
# Windows XP SP3 already has. Names every offending function and fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
list=tests/windows_imports.txt
status=0
for exe; do
  imports=$(x86_64-w64-mingw32-objdump -p "$exe" | awk '
    /^\tDLL Name:/ { dll = tolower($3); next }
    dll && /^\tvma:/ { next }
    dll && NF == 0 { dll = ""; next }
    dll { print dll, (NF >= 3 ? $3 : "(by ordinal)") }')
  if [ -z "$imports" ]; then
    echo "check-imports: $exe: no import table found" >&2
    status=1
    continue
  fi
  awk -v exe="$exe" -v list="$list" '
    BEGIN { split("2000 XP XP-SP2 XP-SP3", a); for (i in a) runs_on_xp[a[i]] = 1
            split("Vista 7 8 8.1 10", a); for (i in a) newer[a[i]] = 1 }
    NR == FNR { if ($0 !~ /^[[:space:]]*(#|$)/) oldest[tolower($1) " " $2] = $3; next }
    { key = $1 " " $2; v = oldest[key]
      if (v == "") { print "check-imports: " exe " imports " $2 " from " $1 ", which " list " does not list (add it with the oldest Windows that has it)"; bad = 1 }
      else if (!(v in runs_on_xp)) {
        if (v in newer) print "check-imports: " exe " imports " $2 " from " $1 ", which Windows " v " brought: Windows XP does not have it (look it up at run time, or use a call XP has)"
        else print "check-imports: " list ": unknown Windows version \"" v "\" for " $2
        bad = 1 } }
    END { exit bad }' "$root/$list" - <<<"$imports" >&2 || status=1
done
exit $status
