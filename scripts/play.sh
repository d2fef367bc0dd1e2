#!/usr/bin/env bash
# Installs what is missing, builds the game in Release and starts it.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-packages.sh"
cd "$top"  # the presets are read from the current directory
cmake --preset release >/dev/null
cmake --build --preset release --target tubewyrm -j"$(nproc)"
exec "$top/build/tubewyrm"
