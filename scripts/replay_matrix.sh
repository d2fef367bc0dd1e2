#!/usr/bin/env bash
# Recordings travel between machines, and the same keys must give the same
# game on every build. This builds the rules, the recording reader and a small
# checker (tests/tools/replay_check.cpp) with g++ and clang at -O0 and -O2, for
# x86-64-v3 (fused multiply-add), and for aarch64 with Debian's cross compiler
# (run under qemu-aarch64-static), and runs the plain g++ build once more on an
# emulated x86-64 without fused multiply-add; each replays every game kept in
# tests/data (recorded_games.txt gives the score, frames and snake each must
# end with). Prints a table and exits non-zero when any build does not replay
# any game to its recorded end. The builds go side by side on every core, in a
# folder of their own that is removed at the end.
# Needs (scripts/packages-test.txt): g++, clang, g++-aarch64-linux-gnu,
# qemu-user-static, zlib1g-dev and zlib1g-dev:arm64.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
started=${EPOCHREALTIME/,/.}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

rules=(snake_rules food_rules game_update frame_rules portable_sine recorded_input recording_check recording_file)
# The rules are compiled with the options the game's build gives them, read
# from CMakeLists.txt, so that this matrix holds the game's build to account.
rules_options=$(sed -n 's/^target_compile_options(tubewyrm_rules PRIVATE \(.*\))$/\1/p' "$top/CMakeLists.txt")

# x86-64-v3 natively when this processor has it, otherwise emulated.
v3_runner=""
for feature in avx2 bmi1 bmi2 f16c fma movbe; do
  grep -qw "$feature" /proc/cpuinfo || v3_runner="qemu-x86_64-static -cpu max"
done

# Row name | processor | compiler | options | how to run the checker. Rows
# with the same compiler and options share one build.
rows=(
  "g++ -O0|x86-64|g++|-O0|"
  "g++ -O2|x86-64|g++|-O2|"
  "clang -O0|x86-64|clang++|-O0|"
  "clang -O2|x86-64|clang++|-O2|"
  "g++ -O2 x86-64-v3|x86-64|g++|-O2 -march=x86-64-v3|$v3_runner"
  "clang -O0 x86-64-v3|x86-64|clang++|-O0 -march=x86-64-v3|$v3_runner"
  "clang -O2 x86-64-v3|x86-64|clang++|-O2 -march=x86-64-v3|$v3_runner"
  "aarch64 g++ -O0|aarch64|aarch64-linux-gnu-g++|-O0 -static|qemu-aarch64-static"
  "aarch64 g++ -O2|aarch64|aarch64-linux-gnu-g++|-O2 -static|qemu-aarch64-static"
  # The C library picks its sin by the processor: without fused multiply-add
  # (qemu64, plain x86-64) it takes another path than on this one.
  "g++ -O2 on x86-64 without FMA|x86-64|g++|-O2|qemu-x86_64-static -cpu qemu64"
)

# One makefile for every build, so that make keeps every core busy from the
# first compile to the last replay. The checker's own code (the table, the
# hash, the replay loop) only reads what the rules leave, so it is compiled
# once for each processor; the rules, once for each build.
{
  for arch in x86-64 aarch64; do
    cxx=g++
    [ $arch = aarch64 ] && cxx=aarch64-linux-gnu-g++
    mkdir -p "$work/$arch"
    for unit in tests/support/recorded_games tests/tools/replay_check; do
      printf '%s: %s\n\t%s\n' "$work/$arch/${unit##*/}.o" "$top/$unit.cpp" \
        "$cxx -std=c++20 -O2 -I$top/src -I$top/tests -DTUBEWYRM_TEST_DATA='\"$top/tests/data\"' -c \$< -o \$@"
    done
  done
  declare -A built=()
  results=()
  for i in "${!rows[@]}"; do
    IFS='|' read -r _ arch cxx options runner <<<"${rows[$i]}"
    dir=$work/$(tr -c 'a-zA-Z0-9\n' _ <<<"$cxx $options")
    if [ -z "${built[$dir]:-}" ]; then
      built[$dir]=1
      mkdir -p "$dir"
      objects=()
      for unit in "${rules[@]}"; do
        printf '%s: %s\n\t%s\n' "$dir/$unit.o" "$top/src/rules/$unit.cpp" \
          "$cxx -std=c++20 $options $rules_options -I$top/src -c \$< -o \$@"
        objects+=("$dir/$unit.o")
      done
      objects+=("$work/$arch/recorded_games.o" "$work/$arch/replay_check.o")
      printf '%s: %s\n\t%s\n' "$dir/replay_check" "${objects[*]}" "$cxx $options \$^ -lz -o \$@"
    fi
    # The checker's own status goes into the file; make goes on either way.
    mkdir -p "$work/row$i"
    printf '%s: %s\n\t%s\n' "$work/row$i/status" "$dir/replay_check" \
      "$runner $dir/replay_check >$work/row$i/output 2>&1; echo \$\$? >\$@"
    results+=("$work/row$i/status")
  done
  printf 'all: %s\n.DEFAULT_GOAL := all\n' "${results[*]}"
} >"$work/Makefile"
make -k -s -j"$(nproc)" -f "$work/Makefile" >"$work/make.log" 2>&1 || true

status=0
printf '%-32s %s\n' "build" "recordings that check"
for i in "${!rows[@]}"; do
  name=${rows[$i]%%|*}
  dir=$work/row$i
  if [ ! -f "$dir/status" ]; then
    verdict="did not build"
  else
    verdict=$(sed -n 's/^\([0-9]* of [0-9]*\) recordings check.*/\1/p' "$dir/output")
    [ -n "$verdict" ] || verdict="the checker failed"
  fi
  printf '%-32s %s\n' "$name" "$verdict"
  [ -f "$dir/status" ] && [ "$(cat "$dir/status")" = 0 ] || status=1
done
if [ $status -ne 0 ]; then
  echo
  for i in "${!rows[@]}"; do
    dir=$work/row$i
    [ -f "$dir/status" ] && [ "$(cat "$dir/status")" = 0 ] && continue
    echo "---- ${rows[$i]%%|*}:"
    if [ -f "$dir/output" ]; then grep -v ': ok$' "$dir/output"; else echo "(see the build log below)"; fi
  done
  if [ -s "$work/make.log" ]; then
    echo "---- build log:"
    cat "$work/make.log"
  fi
fi
ended=${EPOCHREALTIME/,/.}
awk -v a="$started" -v b="$ended" 'BEGIN { printf "replay matrix: %.1f s\n", b - a }'
exit $status
