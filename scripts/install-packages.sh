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
# True if the package (NAME, or NAME:ARCH for another processor's) is
# installed. A bare name means this processor's, or one for every processor:
# once another processor's copy is installed too, dpkg -s NAME refuses the
# name as ambiguous.
installed() {
  local name=${1%%:*} arch=${1#*:}
  [ "$arch" = "$1" ] && arch=$(dpkg --print-architecture)
  dpkg-query -W -f='${Architecture} ${db:Status-Status}\n' "$name" 2>/dev/null | grep -E "^($arch|all) installed$" >/dev/null
}
missing=()
for purpose in "$@"; do
  list=$here/packages-$purpose.txt
  if [ ! -f "$list" ]; then
    echo "install-packages: no list $list (purposes: play, test, package)" >&2
    exit 2
  fi
  while read -r pkg _; do
    case $pkg in '' | '#'*) continue ;; esac
    installed "$pkg" || missing+=("$pkg")
  done <"$list"
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
# A package for another processor (NAME:ARCH) needs that architecture known
# to dpkg before the package lists are read.
for pkg in "${missing[@]}"; do
  arch=${pkg#*:}
  if [ "$arch" != "$pkg" ] && [ "$arch" != "$(dpkg --print-architecture)" ] \
    && ! dpkg --print-foreign-architectures | grep -xF "$arch" >/dev/null; then
    $sudo dpkg --add-architecture "$arch"
  fi
done
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
