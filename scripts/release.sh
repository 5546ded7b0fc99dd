#!/usr/bin/env bash
# Builds the release zip, dist/brushwick-<version>.zip:
#   x64/brushwick.exe, x64/lang/English.txt   for 64-bit Windows
#   x86/brushwick.exe, x86/lang/English.txt   for 32-bit Windows
#   USER-GUIDE.txt                            plain text, CR LF line ends
# Each exe is built from scratch as released (optimised, no tests) and checked before it is
# packed: the right machine, a windowed program, nothing but Windows DLLs imported (and only
# functions that Windows XP SP3 has), and its icon, version information and manifest embedded.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh >&2

fail() {
  echo "release: $*" >&2
  exit 1
}

# check_exe EXE TRIPLE FORMAT VERSION
check_exe() {
  local exe=$1 triple=$2 format=$3 version=$4 headers dlls foreign manifest strings
  headers=$("$triple-objdump" -p "$exe")
  grep -q "file format $format\$" <<<"$headers" || fail "$exe is not $format"
  grep -Eq '^Subsystem[[:space:]]+00000002' <<<"$headers" || fail "$exe is not a windowed program"

  dlls=$(awk '/DLL Name:/ { print tolower($3) }' <<<"$headers")
  foreign=$(grep -vxE '(kernel32|user32|gdi32|advapi32|shell32|comctl32|msvcrt)\.dll' <<<"$dlls" || true)
  [ -n "$dlls" ] && [ -z "$foreign" ] || fail "$exe imports DLLs that Windows does not have:" $foreign
  scripts/check-imports.sh "$exe" || fail "$exe imports a function that Windows XP SP3 lacks"

  # Resource types (the first level of the resource directory): 3 icon, 0xe icon group,
  # 0x10 version information, 0x18 manifest.
  local type
  for type in 000003 00000e 000010 000018; do
    grep -Eq "^[0-9a-f]+ {3}Entry: ID: 0x$type," <<<"$headers" || fail "$exe has no resource of type 0x$type"
  done

  strings=$(strings -el "$exe")
  local name expected
  for name in ProductName FileVersion ProductVersion FileDescription; do
    case $name in
      ProductName) expected=Brushwick ;;
      FileVersion | ProductVersion) expected=$version ;;
      FileDescription) expected='Brushwick - *' ;;
    esac
    # shellcheck disable=SC2053  # the expectation is a pattern
    [[ $(grep -A1 -x "$name" <<<"$strings" | sed -n 2p) == $expected ]] ||
      fail "$exe: version information $name is not \"$expected\""
  done

  manifest=$(strings -n 8 "$exe" | sed -n '/<assembly /,/<\/assembly>/p')
  local want
  for want in 'name="Microsoft.Windows.Common-Controls"' 'version="6.0.0.0"' \
    'level="asInvoker"' '>true/pm</dpiAware>' '>PerMonitorV2, PerMonitor</dpiAwareness>' \
    '{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}' '{1f676c76-80e1-4239-95bb-83d0f6d0da78}' \
    '{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}' '{35138b9a-5d96-4fbd-8e2d-a2440225f93a}'; do
    grep -qF -- "$want" <<<"$manifest" || fail "$exe: the manifest lacks $want"
  done
}

version=
for arch in x64 x86; do
  case $arch in
    x64) cpu=x86_64 format=pei-x86-64 ;;
    x86) cpu=i686 format=pei-i386 ;;
  esac
  triple=$cpu-w64-mingw32
  build=build/release-$arch
  rm -rf "$build"
  cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-w64-$cpu.cmake" \
    -DCMAKE_BUILD_TYPE=MinSizeRel -DBRUSHWICK_TESTS=OFF >&2
  cmake --build "$build" --target brushwick >&2
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
  [ -n "$version" ] || fail "no project version in $build"
  check_exe "$build/brushwick.exe" "$triple" "$format" "$version"
done

stage=build/release-zip
rm -rf "$stage"
for arch in x64 x86; do
  mkdir -p "$stage/$arch/lang"
  cp "build/release-$arch/brushwick.exe" "$stage/$arch/"
  cp lang/*.txt "$stage/$arch/lang/"
done
# Notepad on every Windows version reads UTF-8 with a byte order mark.
{ printf '\xef\xbb\xbf'; sed 's/\r*$/\r/' docs/USER-GUIDE.txt; } >"$stage/USER-GUIDE.txt"

# The same sources give the same zip: file times from the last commit, no extra attributes.
stamp=$(git log -1 --format=%cI 2>/dev/null || date -u +%FT%TZ)
find "$stage" -exec touch -d "$stamp" {} +
mkdir -p dist
zip_file=$PWD/dist/brushwick-$version.zip
rm -f "$zip_file"
(cd "$stage" && TZ=UTC zip -X -q -r "$zip_file" USER-GUIDE.txt x64/brushwick.exe x64/lang x86/brushwick.exe x86/lang)

unzip -l "$zip_file" >&2
echo "$zip_file"
