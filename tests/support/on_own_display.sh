#!/usr/bin/env bash
# Usage: on_own_display.sh COMMAND [ARGUMENT...]
# Runs a window test on an X server of its own, whatever DISPLAY says: its
# windows never open on the desktop in use, and no other test's window can take
# its keyboard focus. The test also gets data and config folders of its own and
# silent sound. Without Xvfb the test is reported skipped (status 77).
set -uo pipefail
skipped=77
if ! command -v Xvfb >/dev/null; then
  echo "SKIPPED: Xvfb is not installed (./scripts/install-packages.sh test installs it)"
  exit $skipped
fi
work=$(mktemp -d)
server=
cleanup() {
  if [ -n "$server" ]; then
    kill "$server" 2>/dev/null
    wait "$server" 2>/dev/null
  fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 143' TERM
trap 'exit 130' INT

# The server picks a free display itself and writes its number once it takes
# connections: no race with other servers starting at the same moment.
# -noreset: otherwise it resets whenever its last client leaves, and a window
# opening during the reset cannot connect.
Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1024x768x24 3>"$work/display" >"$work/server.log" 2>&1 &
server=$!
number=
for _ in $(seq 600); do
  number=$(tr -dc 0-9 <"$work/display")
  [ -n "$number" ] && break
  if ! kill -0 "$server" 2>/dev/null; then
    server=
    break
  fi
  sleep 0.05
done
if [ -z "$number" ]; then
  echo "FAIL: Xvfb did not start:"
  cat "$work/server.log"
  exit 1
fi

mkdir -p "$work/data" "$work/config"
# TUBEWYRM_OWN_DISPLAY tells a test that may change the server's settings
# (its keyboard layout) that this server is its own.
export DISPLAY=:$number TUBEWYRM_OWN_DISPLAY=:$number XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config SDL_AUDIODRIVER=dummy
unset WAYLAND_DISPLAY
"$@"
status=$?
exit $status
