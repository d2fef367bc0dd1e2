#!/usr/bin/env bash
# Installs what is missing (packages-play.txt and packages-test.txt), builds,
# checks layout and static analysis (scripts/lint.sh), and runs every test: the
# window-less unit tests and the GL tests on Mesa (both also under
# AddressSanitizer and UndefinedBehaviorSanitizer), the end-to-end tests of the
# real binary and the install checks. Each window test starts an X server of
# its own (tests/support/on_own_display.sh), so the desktop in use is never
# touched and a developer can keep working meanwhile. A skipped test, or no
# test at all, fails the run.
#
# Stages that do not need each other run side by side, so that every core has
# work: the release build and tests, the sanitizer build and tests, the replay
# matrix and the static analysis. Builds run at a lower priority than the
# tests, and the analysis at a lower one still, so the game under test gets the
# processor whenever it asks for it. Each stage's output is shown whole when
# the stage ends; the time of every stage is listed at the end.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
# Seconds since the epoch, to the microsecond, with a point whatever the locale.
now() { local t=$EPOCHREALTIME; echo "${t/,/.}"; }
run_start=$(now)
jobs=$(nproc)
background=(nice -n 5)
lowest=(nice -n 15)

# Seconds (one decimal) from the first to the second reading of now.
seconds_between() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", b - a }'; }

# stage [-q] NAME COMMAND...: runs COMMAND with its output in a log of its own,
# shows the log when the stage ends (with -q only when it failed), and records
# the stage's status, wall time and processor time (user + system of all its
# processes, from bash's `times`). Returns the command's status.
stage() {
  local quiet=0
  [ "$1" = -q ] && { quiet=1; shift; }
  local name=$1 file start end status=0 cpu wall verdict=ok
  shift
  file=$logs/${name// /_}
  start=$(now)
  [ $quiet -eq 1 ] || echo "---- $name: started at $(seconds_between "$run_start" "$start") s"
  (
    s=0
    "$@" || s=$?
    times >"$file.cpu"
    exit $s
  ) >"$file.log" 2>&1 </dev/null || status=$?
  end=$(now)
  cpu=$(tr 'ms' '  ' <"$file.cpu" | awk '{ for (i = 1; i <= NF; i += 2) t += $i * 60 + $(i + 1) } END { printf "%.1f", t }')
  wall=$(seconds_between "$start" "$end")
  [ $status -ne 0 ] && verdict="FAILED (status $status)"
  printf '%s\t%s\t%s\t%s\t%s\n' "$(seconds_between "$run_start" "$start")" "$name" "$wall" "$cpu" "$verdict" >>"$logs/stages"
  if [ $quiet -eq 0 ] || [ $status -ne 0 ]; then
    # One stage's output at a time, however many end together.
    {
      flock 9
      echo "==== $name: $verdict, $wall s"
      cat "$file.log"
    } 9>>"$logs/lock"
  fi
  return $status
}

# ctest in BUILD_DIR with the given arguments; fails when a test fails, when
# there is none, or when one reports itself skipped.
run_tests() {
  local dir=$1 status=0
  shift
  (cd "$dir" && ctest --output-on-failure --no-tests=error "$@") >"$dir/test-output.txt" 2>&1 || status=$?
  cat "$dir/test-output.txt"
  if grep -q '(Skipped)$' "$dir/test-output.txt"; then
    echo "test.sh: the tests above marked Skipped did not run; the test command runs every test" >&2
    status=1
  fi
  return $status
}

# The release build and its tests. A test that fails is run once more, as a
# safety net for the window tests on a loaded machine (the full-screen test has
# been seen to fail once there, cause not found); ctest's output names every
# test that needed its second run.
release() {
  stage "release build" "${background[@]}" cmake --build --preset release -j"$jobs" || return 1
  stage "release tests" run_tests "$top/build" -j"$jobs" --repeat until-pass:2
}

# The static analysis reads only the compile commands, so it starts with the
# builds, at a lower priority still: the builds and the tests come first, and
# it takes every cycle they leave (the end-to-end tests mostly wait).
static_analysis() { stage lint "${lowest[@]}" "$top/scripts/lint.sh" "$top/build"; }

# The unit and GL tests again, built and run under the sanitizers.
sanitize() {
  stage -q "sanitize configure" cmake --preset sanitize || return 1
  stage "sanitize build" "${background[@]}" cmake --build --preset sanitize \
    --target unit_tests gl_tests fuzz_corpus_run -j"$jobs" || return 1
  stage "sanitize tests" run_tests "$top/build-sanitize" -L 'unit|gl' -j"$jobs"
}

# Every kept recording replayed by the rules of each compiler, optimisation
# and processor (it builds on its own, so it runs beside the other chains).
replay_matrix() { stage "replay matrix" "${background[@]}" "$top/scripts/replay_matrix.sh"; }

stage packages "$top/scripts/install-packages.sh" play test || exit 1

# Nothing started from here can reach the desktop's display.
unset DISPLAY WAYLAND_DISPLAY
cd "$top"  # the presets are read from the current directory

status=0
stage -q "release configure" cmake --preset release || exit 1
static_analysis &
lint_chain=$!
release &
release_chain=$!
sanitize &
sanitize_chain=$!
replay_matrix &
matrix_chain=$!
wait $release_chain || status=1
wait $sanitize_chain || status=1
wait $matrix_chain || status=1
wait $lint_chain || status=1

echo
echo "Stages (wall seconds from its start to its end; processor seconds, user + system, of all its processes):"
LC_ALL=C sort -n "$logs/stages" | awk -F'\t' '{ printf "  %-20s %6.1f s wall %7.1f s CPU   started at %5.1f s   %s\n", $2, $3, $4, $1, $5 }'
for expected in packages "release configure" "release build" lint "release tests" \
                "sanitize configure" "sanitize build" "sanitize tests"; do
  cut -f2 "$logs/stages" | grep -qxF "$expected" || echo "  $expected: not run (a stage it needs failed)"
done
# ctest's closing line of each test stage, last, where a reader of the log looks.
for log in "$logs/release_tests.log" "$logs/sanitize_tests.log"; do
  [ -f "$log" ] && grep -h -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" || true
done
total=$(seconds_between "$run_start" "$(now)")
if [ $status -ne 0 ]; then
  echo "test.sh: FAILED after $total s; see the stages marked FAILED above" >&2
  exit 1
fi
echo "All tests passed in $total s."
