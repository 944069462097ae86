#!/usr/bin/env bash
# Installs the build into a temporary prefix, as a packager or `make install` would, and checks
# that a desktop finds everything it looks for there: the programs, the menu entry and what it
# launches, the icon at each size, the metainfo and the manual pages. Exit 77 (skipped) where a
# validator is missing; scripts/install-deps.sh installs them.
#
#   install_test.sh BUILD_DIR VERSION
set -euo pipefail

build=$1
version=$2
for tool in desktop-file-validate appstreamcli groff python3; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: skipped"; exit 77; }
done

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

cmake --install "$build" --prefix "$prefix" >/dev/null
share=$prefix/share

for program in calvira calvira-data; do
  [ -x "$prefix/bin/$program" ] || fail "bin/$program is not installed as a program"
  # Run outside the build tree, so a version that came from it and not from the binary shows.
  out=$(cd / && "$prefix/bin/$program" --version) || fail "$program --version exits $?"
  grep -qF "$version" <<<"$out" || fail "$program --version says '$out', not $version"
done

# The icon theme takes a PNG's size from the folder; a picture of another size is scaled or
# skipped. Its width and height are the first fields of the IHDR chunk.
for size in 48 64 128 256; do
  png=$share/icons/hicolor/${size}x${size}/apps/calvira.png
  if [ ! -f "$png" ]; then
    fail "no $size x $size icon"
    continue
  fi
  got=$(python3 -c '
import struct, sys
data = open(sys.argv[1], "rb").read(24)
assert data[:8] == b"\x89PNG\r\n\x1a\n" and data[12:16] == b"IHDR", "not a PNG"
print("%dx%d" % struct.unpack(">II", data[16:24]))' "$png") || got="unreadable"
  [ "$got" = "${size}x${size}" ] || fail "the ${size}x${size} icon is $got"
done
svg=$share/icons/hicolor/scalable/apps/calvira.svg
grep -q '<svg' "$svg" 2>/dev/null || fail "no scalable icon"

desktop=$share/applications/calvira.desktop
if [ -f "$desktop" ]; then
  out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
  # The menu runs Exec through PATH: with the prefix's bin on it, that must be the installed
  # program, not one elsewhere on the machine.
  exec_line=$(sed -n 's/^Exec=//p' "$desktop")
  program=$(PATH="$prefix/bin:/usr/bin:/bin" command -v "${exec_line%% *}") || program=""
  [ "$program" = "$prefix/bin/calvira" ] || fail "Exec=$exec_line runs '$program'"
  icon=$(sed -n 's/^Icon=//p' "$desktop")
  [ -f "$share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "Icon=$icon is not installed"
else
  fail "no desktop entry"
fi

metainfo=$share/metainfo/calvira.metainfo.xml
if [ -f "$metainfo" ]; then
  out=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli validate: $out"
  grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo's release is not $version"
  grep -q '<launchable type="desktop-id">calvira.desktop</launchable>' "$metainfo" ||
    fail "the metainfo does not launch calvira.desktop"
else
  fail "no metainfo"
fi

for page in calvira calvira-data; do
  man=$share/man/man1/$page.1.gz
  if ! gzip -t "$man" 2>/dev/null; then
    fail "no gzipped manual page $page(1)"
    continue
  fi
  warnings=$(zcat "$man" | groff -man -Tutf8 -ww -z 2>&1) || fail "groff on $page(1) exits $?"
  [ -z "$warnings" ] || fail "groff warns on $page(1): $warnings"
  zcat "$man" | groff -man -Tascii -P-cbou 2>/dev/null | grep -q "^EXIT STATUS" ||
    fail "$page(1) has no EXIT STATUS"
done
# Every command of calvira-data's help has its entry in the manual page.
commands=$("$prefix/bin/calvira-data" --help | sed -n '/^Commands:/,/^$/s/^  \([a-z]\+\).*/\1/p')
[ -n "$commands" ] || fail "no commands in calvira-data --help"
page=$(zcat "$share/man/man1/calvira-data.1.gz" | groff -man -Tascii -P-cbou 2>/dev/null)
for command in $commands; do
  grep -qE "^ {7}$command( |$)" <<<"$page" || fail "calvira-data(1) has no entry for '$command'"
done

for doc in LICENSE README.md; do
  [ -s "$share/doc/calvira/$doc" ] || fail "no share/doc/calvira/$doc"
done

if [ "$failures" -gt 0 ]; then
  echo "$failures failure(s)"
  exit 1
fi
echo "installed and checked under a temporary prefix"
