#!/usr/bin/env bash
# Installs what is missing, builds, checks layout and static analysis
# (scripts/lint.sh), and runs every test: the window-less unit
# tests and the GL tests on Mesa (both also under AddressSanitizer and
# UndefinedBehaviorSanitizer) and the end-to-end tests of the real binary. Without a display
# it runs itself again under xvfb-run.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-packages.sh"

if [ -z "${DISPLAY:-}" ]; then
  # -noreset: otherwise the server resets whenever its last client leaves, and
  # a game starting during the reset cannot connect.
  exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$0" "$@"
fi

jobs=$(nproc)
cd "$top"  # the presets are read from the current directory
cmake --preset release >/dev/null
cmake --build --preset release -j"$jobs"
# Layout and static analysis, before any test, so a finding is not buried.
"$top/scripts/lint.sh" "$top/build"
(cd "$top/build" && ctest --output-on-failure -j"$jobs")

cmake --preset sanitize >/dev/null
cmake --build --preset sanitize --target unit_tests gl_tests -j"$jobs"
(cd "$top/build-sanitize" && ctest --output-on-failure -L 'unit|gl')
echo "All tests passed."
