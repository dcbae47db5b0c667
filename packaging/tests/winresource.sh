#!/usr/bin/env bash
# Compiles the Windows resource script and reads back what the executable would carry: the
# icon and a US English, Unicode version record naming Vardel at the project's version.
#   winresource.sh WINDRES vardel.rc VERSION
set -euo pipefail
windres=$1 rc=$2 version=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$windres" -i "$rc" -O res -o "$work/vardel.res"
"$windres" -J res -i "$work/vardel.res" -O rc -o "$work/decoded.rc"

IFS=. read -r major minor patch <<<"$version"
status=0
expect() {
    grep -qF -- "$1" "$work/decoded.rc" || { echo "FAIL: the resource lacks: $1" >&2; status=1; }
}
expect "RT_GROUP_ICON"
expect "FILEVERSION $major, $minor, $patch, 0"
expect "PRODUCTVERSION $major, $minor, $patch, 0"
expect 'BLOCK "040904B0"'
expect 'VALUE "ProductName", "Vardel"'
expect "VALUE \"FileVersion\", \"$version\""
expect "VALUE \"ProductVersion\", \"$version\""
expect 'VALUE "Translation", 0x409, 1200'
exit "$status"
