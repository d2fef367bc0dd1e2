#!/usr/bin/env bash
# Usage: install-packages.sh PURPOSE...   (play, test, package)
# Installs the Debian packages listed in packages-PURPOSE.txt for each purpose
# given that are not yet present: play builds and runs the game, test tests and
# lints it, package makes the Debian package. On a ready machine it does not
# touch the network.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [ $# -eq 0 ]; then
  echo "usage: $0 PURPOSE... (play, test, package)" >&2
  exit 2
fi
missing=()
for purpose in "$@"; do
  list=$here/packages-$purpose.txt
  if [ ! -f "$list" ]; then
    echo "install-packages: no list $list (purposes: play, test, package)" >&2
    exit 2
  fi
  while read -r pkg _; do
    case $pkg in '' | '#'*) continue ;; esac
    dpkg -s "$pkg" >/dev/null 2>&1 || missing+=("$pkg")
  done <"$list"
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
