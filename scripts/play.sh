#!/usr/bin/env bash
# Installs what is missing, builds the game in Release and starts it.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-packages.sh"
cmake -S "$top" -B "$top/build-release" -DCMAKE_BUILD_TYPE=Release -DTUBEWYRM_TESTS=OFF >/dev/null
cmake --build "$top/build-release" --target tubewyrm -j"$(nproc)"
exec "$top/build-release/tubewyrm"
