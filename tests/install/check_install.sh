#!/usr/bin/env bash
# Usage: check_install.sh BUILD_DIR VERSION PREFIX STRIP
# Installs the build with DESTDIR into a temporary folder, under the PREFIX it
# was configured for, and checks what landed where: binary, desktop entry, icons
# (size read from each PNG header), metainfo and manual page, with their
# validators; then the copyright file the Debian package makes from LICENSE.
set -uo pipefail
build=$1
version=$2
prefix=$3
strip=$4
source=$(cd "$(dirname "$0")/../.." && pwd)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
skip() { echo "SKIPPED: $* (install it with ./scripts/install-packages.sh test)"; }

if ! DESTDIR="$stage" cmake --install "$build" >"$stage/install.log" 2>&1; then
  cat "$stage/install.log"
  echo "FAIL: cmake --install"
  exit 1
fi
root=$stage$prefix
share=$root/share

# Nothing may land outside the prefix (an absolute destination in a rule would).
outside=$(cd "$stage" && find . -type f ! -path ".$prefix/*" ! -name install.log)
[ -z "$outside" ] || fail "installed outside the prefix: $outside"

[ -x "$root/games/tubewyrm" ] || fail "no executable at <prefix>/games/tubewyrm"
for f in applications/tubewyrm.desktop metainfo/tubewyrm.metainfo.xml man/man6/tubewyrm.6 \
         doc/tubewyrm/README.md doc/tubewyrm/LICENSE; do
  [ -s "$share/$f" ] || fail "missing or empty: <prefix>/share/$f"
done

# The desktop entry starts the installed binary, wherever the prefix is.
entry=$share/applications/tubewyrm.desktop
for key in Exec TryExec; do
  value=$(sed -n "s/^$key=//p" "$entry")
  [ "$value" = "$prefix/games/tubewyrm" ] || fail "$key=$value, expected $prefix/games/tubewyrm"
done
grep -qx 'Icon=tubewyrm' "$entry" || fail "the entry's Icon is not tubewyrm"
grep -qx 'Categories=Game;ArcadeGame;' "$entry" || fail "the entry's Categories are not Game;ArcadeGame;"
if command -v desktop-file-validate >/dev/null; then
  out=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate failed"
  [ -z "$out" ] || fail "desktop-file-validate: $out"
else
  skip "desktop-file-validate is not installed (package desktop-file-utils)"
fi

# Each icon: a PNG whose header says N x N.
for n in 16 24 32 48 64 128 256; do
  icon=$share/icons/hicolor/${n}x${n}/apps/tubewyrm.png
  if [ ! -f "$icon" ]; then
    fail "missing icon $icon"
    continue
  fi
  signature=$(od -An -tx1 -N8 "$icon" | tr -d ' \n')
  [ "$signature" = 89504e470d0a1a0a ] || fail "${n}x${n} icon is not a PNG"
  # Width and height: big-endian words at bytes 16 and 20 of the IHDR chunk.
  read -r width height < <(od -An -tu4 --endian=big -j16 -N8 "$icon")
  [ "$width" = "$n" ] && [ "$height" = "$n" ] || fail "${n}x${n} icon is ${width}x${height}"
done

# Metainfo: no error and no warning but the one for a plain (not reverse-DNS)
# id, which stays until the project has a domain of its own to make one from.
metainfo=$share/metainfo/tubewyrm.metainfo.xml
if command -v appstreamcli >/dev/null; then
  out=$(appstreamcli validate --no-net "$metainfo" 2>&1)
  bad=$(grep -E '^(E|W):' <<<"$out" | grep -v 'cid-desktopapp-is-not-rdns' || true)
  [ -z "$bad" ] || fail "appstreamcli validate: $bad"
else
  skip "appstreamcli is not installed (package appstream)"
fi
grep -q "<release version=\"$version\"" "$metainfo" || fail "metainfo has no release $version"

# Manual page: renders, without a warning, carrying the version.
page=$share/man/man6/tubewyrm.6
if command -v man >/dev/null; then
  rendered=$(MANWIDTH=80 man --warnings -l "$page" 2>"$stage/man.err")
  [ -s "$stage/man.err" ] && fail "man --warnings: $(cat "$stage/man.err")"
  grep -q "Tubewyrm $version" <<<"$rendered" || fail "the manual page does not render with version $version"
else
  skip "man is not installed (package man-db)"
fi

# The Debian package's staging step, run over this install as CPack runs it.
# Lintian does not read a binary package's copyright as the machine-readable
# format, so its form is checked here: fields, then LICENSE's text whole, each
# line indented by one space and each empty line a " .".
if cmake -DCPACK_TEMPORARY_DIRECTORY="$stage" -DCPACK_PACKAGING_INSTALL_PREFIX="$prefix" \
     -DCPACK_TUBEWYRM_SOURCE_DIR="$source" -DCPACK_TUBEWYRM_DATA_DIR="$build/data" \
     -DCPACK_TUBEWYRM_STRIP="$strip" -P "$source/cmake/debian_staging.cmake" >"$stage/staging.log" 2>&1; then
  copyright=$share/doc/tubewyrm/copyright
  holder=$(sed -n 's/^Copyright (c) //p' "$source/LICENSE")
  [ "$(head -n 1 "$copyright")" = "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ] ||
    fail "the copyright file does not start with its Format line"
  grep -qx "Copyright: $holder" "$copyright" || fail "the copyright file's Copyright is not '$holder'"
  body=$(sed '1,/^License: Expat$/d' "$copyright" | sed '1,/^License: Expat$/d')
  bad_line=$(grep -nvE '^ (\.|[^ ].*)$' <<<"$body" | head -n 1)
  [ -z "$bad_line" ] || fail "the copyright file's licence has a line not in the format: $bad_line"
  [ "$(sed -e 's/^ \.$//' -e 's/^ //' <<<"$body")" = "$(sed -n '/^Permission is hereby granted/,$p' "$source/LICENSE")" ] ||
    fail "the copyright file's licence is not LICENSE's text"
else
  fail "the Debian staging step: $(cat "$stage/staging.log")"
fi

if [ $failures -ne 0 ]; then
  echo "$failures problem(s) with the installed files"
  exit 1
fi
echo "install under DESTDIR with prefix $prefix: all files in place and valid"
