#!/usr/bin/env bash
# The time from starting the game to its first picture (the first title), with
# no kept games and with ten kept games of thirty minutes each, runs taken in
# turn: start-up must read only the table, never a recording. Uses the release
# build (build/tubewyrm) and tests/data/thirty_minutes.twrec; prints each run
# and the medians. Usage: bench/first_title.sh [runs per case, default 10]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-10}
work=$(mktemp -d)
trap 'kill "$xvfb" 2>/dev/null || true; rm -rf "$work"' EXIT
cc -O2 -shared -fPIC -o "$work/frame_times.so" "$top/bench/frame_times.c" -ldl

# The same long game kept ten times over, as ten rows of the table.
mkdir -p "$work/kept/tubewyrm/best-games.d" "$work/none/tubewyrm"
score=$(awk '$1 == "thirty_minutes" { print $2 }' "$top/tests/data/recorded_games.txt")
for i in 0 1 2 3 4 5 6 7 8 9; do
  name=$((1796000000 + i))-$score.twrec
  cp "$top/tests/data/thirty_minutes.twrec" "$work/kept/tubewyrm/best-games.d/$name"
  echo "$score $((1796000000 + i)) 1800.000 $name" >>"$work/kept/tubewyrm/best-games"
done
echo "$score" >"$work/kept/tubewyrm/best-score"

display=:$((200 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sleep 1

# Seconds from the start of the process to its first present.
first_picture() {
  local data=$1 start
  rm -f "$work/frames"
  start=$(date +%s.%N)
  DISPLAY=$display XDG_DATA_HOME=$data XDG_CONFIG_HOME=$work/config SDL_AUDIODRIVER=dummy \
    LD_PRELOAD=$work/frame_times.so TUBEWYRM_FRAME_LOG=$work/frames "$top/build/tubewyrm" >/dev/null 2>&1 &
  local game=$!
  sleep 3
  # Escape, so the game ends as a player ends it and the log is written.
  DISPLAY=$display xdotool key Escape
  wait "$game" || true
  awk -v s="$start" 'NR == 1 { printf "%.1f\n", ($1 - s) * 1000 }' "$work/frames"
}

for _ in $(seq "$runs"); do
  echo "none $(first_picture "$work/none")" >>"$work/results"
  echo "ten $(first_picture "$work/kept")" >>"$work/results"
done
sort -k1,1 -k2,2n "$work/results" | awk '{ print "  " $1 " kept games: " $2 " ms" }'
for kind in none ten; do
  awk -v k="$kind" '$1 == k { print $2 }' "$work/results" | sort -n \
    | awk -v k="$kind" '{ v[NR] = $1 } END { printf "median first picture, %s: %.1f ms\n", k, (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
done
