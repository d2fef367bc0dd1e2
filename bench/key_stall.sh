#!/usr/bin/env bash
# The longest frame within half a second after C and M are pressed in play,
# against the longest in the five seconds of play before each press, with the
# settings on a real disk and sound through a private PulseAudio server on a
# null sink (as Debian's desktops play it). Frames are timed at the swap by a
# preloaded library (bench/frame_times.c), so the game runs unchanged.
#
#   bench/key_stall.sh [GAME_BINARY]
#
# Needs Xvfb, xdotool, pulseaudio and a C compiler. Nothing of the user's own
# is read or written; the settings go to a fresh folder under /var/tmp.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
game=${1:-$top/build/tubewyrm}
work=$(mktemp -d)
disk=$(mktemp -d /var/tmp/tubewyrm-key-stall-XXXXXX)
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$work" "$disk"' EXIT

cc -O2 -shared -fPIC -o "$work/frame_times.so" "$top/bench/frame_times.c" -ldl

mkdir -m 700 "$work/runtime"
XDG_RUNTIME_DIR=$work/runtime HOME=$work pulseaudio -n --daemonize=no --exit-idle-time=-1 \
  -L "module-null-sink sink_name=out" \
  -L "module-native-protocol-unix socket=$work/runtime/native auth-anonymous=1" >"$work/pulse.log" 2>&1 &
pids+=($!)
display=:$((RANDOM % 400 + 600))
Xvfb "$display" -noreset -screen 0 1024x768x24 >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && [ -S "$work/runtime/native" ] && break; sleep 0.1; done

LD_PRELOAD=$work/frame_times.so TUBEWYRM_FRAME_LOG=$work/frames PULSE_SERVER=unix:$work/runtime/native \
  XDG_DATA_HOME=$disk/data XDG_CONFIG_HOME=$disk/config "$game" >/dev/null 2>"$work/stderr" &
game_pid=$!
for _ in $(seq 100); do xdotool search --name tubewyrm >/dev/null 2>&1 && break; sleep 0.1; done
sleep 1
press() { date +%s.%N >>"$work/presses"; xdotool keydown "$1"; sleep 0.1; xdotool keyup "$1"; }
xdotool keydown space; sleep 0.1; xdotool keyup space
# Moving right the snake wraps round the drum and lives on.
sleep 6; press c
sleep 6; press m   # sound off
sleep 6; press m   # sound on: the output opens again
sleep 6; press c
sleep 1
xdotool key Escape
wait "$game_pid" || true

awk -v what="c m-off m-on c" '
  BEGIN { n = split(what, names, " ") }
  NR == FNR { press[++presses] = $1; next }
  { t[++frames] = $1 }
  END {
    for (p = 1; p <= presses; ++p) {
      before = 0; after = 0
      for (i = 2; i <= frames; ++i) {
        gap = t[i] - t[i - 1]
        if (t[i] > press[p] - 5 && t[i] <= press[p] && gap > before) before = gap
        if (t[i] > press[p] && t[i] <= press[p] + 0.5 && gap > after) after = gap
      }
      printf "%-6s longest frame in the 5 s before %6.1f ms, in the 0.5 s after %6.1f ms\n", names[p], 1000 * before, 1000 * after
    }
  }' "$work/presses" "$work/frames"
