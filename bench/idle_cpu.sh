#!/usr/bin/env bash
# Process CPU (all threads, as a share of one core) of the real game on its
# first title, paused in play and on the title after a game, each over a
# measuring spell of some seconds, on a virtual X server of its own.
#
#   bench/idle_cpu.sh [GAME_BINARY] [SECONDS]
#
# Needs Xvfb and xdotool. Nothing of the user's own is read or written: the
# game gets private data and config folders and SDL's dummy audio driver.
set -euo pipefail
game=${1:-$(cd "$(dirname "$0")/.." && pwd)/build/tubewyrm}
spell=${2:-10}
work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; kill "$xpid" 2>/dev/null || true; rm -rf "$work"' EXIT

display=:$((RANDOM % 400 + 600))
Xvfb "$display" -noreset -screen 0 1280x1024x24 >/dev/null 2>&1 &
xpid=$!
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config SDL_AUDIODRIVER=dummy "$game" >/dev/null 2>&1 &
pid=$!
for _ in $(seq 100); do xdotool search --name tubewyrm >/dev/null 2>&1 && break; sleep 0.1; done
sleep 2

ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
measure() {
  local before after seconds=${2:-$spell}
  before=$(ticks)
  sleep "$seconds"
  after=$(ticks)
  awk -v b="$before" -v a="$after" -v hz="$(getconf CLK_TCK)" -v s="$seconds" -v what="$1" \
    'BEGIN { printf "%-22s %6.1f %% of a core\n", what, 100 * (a - b) / hz / s }'
}
tap() { xdotool keydown "$1"; sleep 0.15; xdotool keyup "$1"; }

measure "first title"
tap space
sleep 0.5
tap p
sleep 1
measure "paused"
tap p
# Straight up into the stone rows: the game ends about a second later.
xdotool keydown Up
sleep 3
xdotool keyup Up
sleep 1
# Ten seconds after the last key the best game starts replaying; measure the
# title alone before that.
measure "title after a game" $((spell < 7 ? spell : 7))
xdotool key Escape
wait "$pid" || true
