#!/usr/bin/env bash
# Makes the README's pictures from the real game: docs/title.png (the title
# screen) and docs/play.png (a game in play with a snake grown by a few
# numbers). Builds the game in Release, runs it in its own Xvfb and drives it
# with xdotool; nothing is drawn by hand.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

if [ -z "${TUBEWYRM_SCREENSHOT_SERVER:-}" ]; then
  "$top/scripts/install-packages.sh"
  (cd "$top" && cmake --preset release >/dev/null && cmake --build --preset release --target tubewyrm -j"$(nproc)")
  # Always a private server of the window's size, never the desktop in use.
  TUBEWYRM_SCREENSHOT_SERVER=1 exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$0" "$@"
fi

mkdir -p "$top/docs"
work=$(mktemp -d)
# A data folder of its own, so the player's saved files are neither read into
# the pictures nor changed by the game played here.
XDG_DATA_HOME=$work/data SDL_AUDIODRIVER=dummy "$top/build/tubewyrm" >"$work/out.txt" 2>"$work/err.txt" &
game=$!
cleanup() {
  kill "$game" 2>/dev/null || true
  wait "$game" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

hold() {  # KEY SECONDS: a real press the game's once-per-frame poll sees
  xdotool keydown "$1" sleep "$2" keyup "$1"
}
# The title is drawn in yellow and red on black, with no blue anywhere; the
# game in play shows white score letters, grey stones and the lit snake.
inPlay() {
  import -window root "$work/check.png"
  [ "$(convert "$work/check.png" -format '%[fx:maxima.b > 0 ? 1 : 0]' info:)" = 1 ]
}

for _ in $(seq 100); do
  xdotool search --onlyvisible --name '^tubewyrm$' >/dev/null 2>&1 && break
  sleep 0.2
done
xdotool search --onlyvisible --name '^tubewyrm$' >/dev/null || { cat "$work/err.txt"; exit 1; }
sleep 1
import -window root "$top/docs/title.png"

hold space 0.3
sleep 0.5
inPlay || { echo "screenshots: the game did not start" >&2; exit 1; }

# The head moves about 100 board pixels a second and eats a number within 16
# pixels of it; the stones stop the head below row 18 and above row 238.
# Lapping the whole 512-pixel round at rows 32 pixels apart, well clear of the
# stones, passes over most places a number can be. Each turn is one xdotool
# call, so the time between the keys does not depend on starting a process.
# Only Right, Up and Down are pressed, so the snake never turns round.
rows=(160 192 96 64 128)
row=128
seconds() { printf '%d.%03d' $(($1 / 1000)) $(($1 % 1000)); }
end=$((SECONDS + ${TUBEWYRM_SWEEP_SECONDS:-90}))
while [ $SECONDS -lt $end ]; do
  for next in "${rows[@]}"; do
    key=Up
    [ "$next" -lt "$row" ] && key=Down
    distance=$((next > row ? next - row : row - next))
    xdotool keydown $key sleep "$(seconds $((distance * 10)))" keyup $key keydown Right sleep 0.1 keyup Right
    row=$next
    sleep 5.1
  done
done
inPlay || { echo "screenshots: the game ended while sweeping; run again" >&2; exit 1; }
# A moment after a turn, so the body shows its bend.
xdotool keydown Up sleep 0.3 keyup Up keydown Right sleep 0.1 keyup Right
sleep 0.4
import -window root "$top/docs/play.png"
xdotool keydown Escape sleep 0.3 keyup Escape
echo "Wrote docs/title.png and docs/play.png"
