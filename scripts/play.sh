#!/usr/bin/env bash
# Installs what building and playing need and is missing, builds the game in
# Release without the tests (build-play/) and starts it.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-packages.sh" play
cd "$top"  # the presets are read from the current directory
cmake --preset play >/dev/null
cmake --build --preset play --target tubewyrm -j"$(nproc)"
exec "$top/build-play/tubewyrm"
