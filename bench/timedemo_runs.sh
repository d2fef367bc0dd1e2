#!/usr/bin/env bash
# The timed demo of a recording, run several times on a virtual X server of
# its own: each run's result line, after the load average it started under (a
# busy machine draws fewer frames a second). Compare with bench_frames' play
# frames of a snake about as long.
#
#   bench/timedemo_runs.sh [RECORDING] [RUNS] [GAME_BINARY]
#
# Needs Xvfb (xvfb-run). The game gets private data and config folders and
# SDL's dummy audio driver.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
recording=${1:-$top/tests/data/long_snake.twrec}
runs=${2:-3}
game=${3:-$top/build/tubewyrm}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for run in $(seq "$runs"); do
  echo "run $run, load average $(cut -d ' ' -f 1-3 /proc/loadavg):"
  XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config SDL_AUDIODRIVER=dummy \
    xvfb-run -a -s "-screen 0 1024x768x24" "$game" --timedemo "$recording" 2>/dev/null | tail -n 1 | tr -d '\r'
done
