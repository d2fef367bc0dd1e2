#!/usr/bin/env bash
# The contrast table of the real game at a game's start, once in the design's
# colours and once after C on the title, from screenshots of a virtual X server
# of its own. The screenshots are kept in the folder given (default: a new
# temporary one, named at the end).
#
#   bench/palette_contrast.sh [OUTPUT_FOLDER]
#
# Needs Xvfb, xdotool and ImageMagick, and a release build (game and
# build/bench/screenshot_contrast). Nothing of the user's own is read or written.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
game=$root/build/tubewyrm
tool=$root/build/bench/screenshot_contrast
out=${1:-$(mktemp -d)}
mkdir -p "$out"
work=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; kill "$xpid" 2>/dev/null || true; rm -rf "$work"' EXIT

display=:$((RANDOM % 400 + 600))
Xvfb "$display" -noreset -screen 0 1024x768x24 >/dev/null 2>&1 &
xpid=$!
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

tap() { xdotool keydown "$1"; sleep 0.15; xdotool keyup "$1"; }

for palette in design contrast; do
  XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config SDL_AUDIODRIVER=dummy "$game" >/dev/null 2>&1 &
  pid=$!
  for _ in $(seq 100); do xdotool search --name tubewyrm >/dev/null 2>&1 && break; sleep 0.1; done
  sleep 1
  [ "$palette" = contrast ] && tap c
  tap space
  sleep 0.3
  import -window root "$out/$palette-start.png"
  tap Escape
  wait "$pid" || true
  pid=
  echo "== $palette palette, $out/$palette-start.png"
  convert "$out/$palette-start.png" ppm:- | "$tool"
done
