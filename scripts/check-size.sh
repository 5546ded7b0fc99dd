#!/usr/bin/env bash
# check-size.sh EXE...: each shipped exe must stay at most 256 KiB (262,144 bytes). Prints each
# exe's size; names every exe over the limit and fails.
set -euo pipefail
limit=262144
status=0
for exe; do
  if [ ! -f "$exe" ]; then
    echo "check-size: $exe: no such file" >&2
    status=1
    continue
  fi
  size=$(stat -c %s "$exe")
  echo "check-size: $exe is $size bytes (limit $limit)"
  if [ "$size" -gt "$limit" ]; then
    echo "check-size: $exe is $size bytes, over the limit of $limit bytes (256 KiB) by $((size - limit))" >&2
    status=1
  fi
done
exit $status
