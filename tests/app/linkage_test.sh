#!/usr/bin/env bash
# calvira-data works on the store alone, on machines with no desktop: it must not load SDL,
# FreeType, fontconfig or libpng. The desktop program, which does load all four, shows that the
# names looked for are the ones the loader reports.
# Usage: linkage_test.sh CALVIRA_DATA CALVIRA
set -uo pipefail
calvira_data=$1
calvira=$2
window_system=(libSDL2 libfreetype libfontconfig libpng)

command -v ldd >/dev/null || { echo "SKIP: ldd is not installed"; exit 77; }

data_libs=$(ldd "$calvira_data") || { echo "FAIL: ldd cannot read $calvira_data"; exit 1; }
program_libs=$(ldd "$calvira") || { echo "FAIL: ldd cannot read $calvira"; exit 1; }
echo "$data_libs"
status=0
for lib in "${window_system[@]}"; do
  if grep -q "$lib" <<<"$data_libs"; then
    echo "FAIL: calvira-data loads $lib"
    status=1
  fi
  if ! grep -q "$lib" <<<"$program_libs"; then
    echo "FAIL: calvira does not load $lib, so its absence from calvira-data proves nothing"
    status=1
  fi
done
# Both open the store through SQLCipher, and never through a second SQLite beside it, whose
# symbols would clash with it.
for libs in "$data_libs" "$program_libs"; do
  grep -q libsqlcipher <<<"$libs" || { echo "FAIL: the store is not opened through SQLCipher"; status=1; }
  grep -q 'libsqlite3\.' <<<"$libs" && { echo "FAIL: a plain SQLite is loaded too"; status=1; }
done
exit $status
