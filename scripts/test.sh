#!/usr/bin/env bash
# Installs what is missing (packages-play.txt and packages-test.txt), builds,
# checks layout and static analysis (scripts/lint.sh), and runs every test: the
# window-less unit tests and the GL tests on Mesa (both also under
# AddressSanitizer and UndefinedBehaviorSanitizer), the end-to-end tests of the
# real binary and the install checks. Each window test starts an X server of
# its own (tests/support/on_own_display.sh), so the desktop in use is never
# touched and a developer can keep working meanwhile. A skipped test, or no
# test at all, fails the run.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
started=$SECONDS
"$top/scripts/install-packages.sh" play test

# Nothing started from here can reach the desktop's display.
unset DISPLAY WAYLAND_DISPLAY

# ctest in BUILD_DIR with the given arguments; fails when a test fails, when
# there is none, or when one reports itself skipped.
run_tests() {
  local dir=$1 status=0
  shift
  (cd "$dir" && ctest --output-on-failure --no-tests=error "$@") 2>&1 | tee "$dir/test-output.txt" || status=$?
  if grep -q '(Skipped)$' "$dir/test-output.txt"; then
    echo "test.sh: the tests above marked Skipped did not run; the test command runs every test" >&2
    status=1
  fi
  return $status
}

jobs=$(nproc)
cd "$top"  # the presets are read from the current directory
cmake --preset release >/dev/null
cmake --build --preset release -j"$jobs"
# Layout and static analysis, before any test, so a finding is not buried.
"$top/scripts/lint.sh" "$top/build"
run_tests "$top/build" -j"$jobs"

cmake --preset sanitize >/dev/null
cmake --build --preset sanitize --target unit_tests gl_tests fuzz_corpus_run -j"$jobs"
run_tests "$top/build-sanitize" -L 'unit|gl'
echo "All tests passed in $((SECONDS - started)) s."
