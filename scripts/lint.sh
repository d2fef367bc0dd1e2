#!/usr/bin/env bash
# Checks the layout of every C++ file with clang-format, and runs clang-tidy
# over src/, bench/, tests/ and tools/ with the compile database of a build: build/ by
# default (cmake --preset release), or the build directory given as the first
# argument. Prints each finding with its file and line and what to do about
# it, and exits non-zero when there is any.
#
# A file that passed clang-tidy is not analysed again until it, a header it
# includes, its compile command or the checks change: the build's dependency
# files say what it includes, and a stamp in BUILD/lint-stamps records the pass.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$top/build}" 2>/dev/null && pwd) || build=${1:-$top/build}
if [ ! -f "$build/compile_commands.json" ]; then
  echo "lint: $build/compile_commands.json is missing: run cmake --preset release first" >&2
  exit 2
fi
cd "$top"
# tests/layering holds a file made not to build (an include against the layers).
mapfile -t files < <(find src tests bench tools -type f \( -name '*.cpp' -o -name '*.h' \) -not -path 'tests/layering/*' | sort)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

# Layout: one line per file, with the lines clang-format would change.
if ! clang-format --dry-run --Werror "${files[@]}" >"$work/format" 2>&1; then
  failed=1
  echo "Layout (.clang-format):"
  grep -E '^[^ :]+:[0-9]+:[0-9]+: (error|warning):' "$work/format" | cut -d: -f1,2 | sort -u -t: -k1,1 -k2,2n \
    | awk -F: '$1 != file { if (file != "") print "  " file ":" lines ": laid out differently; run clang-format -i " file
                            file = $1; lines = $2; next }
               { lines = lines "," $2 }
               END { if (file != "") print "  " file ":" lines ": laid out differently; run clang-format -i " file }'
fi

# The compile database clang-tidy reads: the build's, less the precompiled
# header of the tests (cmake/build_speed.cmake), which clang cannot read when
# GCC wrote it; every file is analysed as it is written. (GCC's form, then
# clang's.)
mkdir "$work/db"
sed -E -e 's# -Winvalid-pch -include [^ "]*/cmake_pch\.hxx##' \
  -e 's# -Winvalid-pch -Xclang -include-pch -Xclang [^ "]*/cmake_pch\.hxx\.pch -Xclang -include -Xclang [^ "]*/cmake_pch\.hxx##' \
  "$build/compile_commands.json" >"$work/db/compile_commands.json"

# The compile database as lines of: source, directory, object file (CMake
# writes "directory", "command" and "file" on lines of their own, in order).
# Files the build generates are not the project's sources and are left out.
sed -nE 's/^ *"(directory|command|file)": "(.*)",?$/\1\t\2/p' "$work/db/compile_commands.json" \
  | awk -F'\t' -v top="$top/" -v build="$build/" '
      $1 == "directory" { dir = $2 }
      $1 == "command" { n = split($2, w, " "); obj = ""; for (i = 1; i < n; ++i) if (w[i] == "-o") obj = w[i + 1]; pch = index($2, "cmake_pch") }
      $1 == "file" && index($2, top) == 1 && index($2, build) != 1 && index($2, top "tests/layering/") != 1 {
        if (pch) { print "lint: cannot take the precompiled header out of the command for " $2 > "/dev/stderr"; exit 2 }
        print substr($2, length(top) + 1) "\t" dir "\t" obj
      }
    ' >"$work/units"
cut -f1 "$work/units" | sort -u >"$work/listed"
printf '%s\n' "${files[@]}" | grep '\.cpp$' | comm -23 - "$work/listed" >"$work/missing"

# Static analysis, one file per job on every core; each job writes its own log.
stamps="$build/lint-stamps"
mkdir -p "$stamps"
export work stamps
checks_key=$( { clang-tidy --version; cat .clang-tidy tests/.clang-tidy "$top/scripts/lint.sh"; } | sha256sum | cut -c1-64)
export checks_key
analyse() {
  local file dir obj log key=""
  IFS=$'\t' read -r file dir obj <<<"$1"
  log="$work/tidy.${file//\//_}.log"
  if [ -n "$obj" ] && [ -f "$dir/$obj.d" ]; then
    # Every file the compiler read for this one, from the build's dependency file.
    key=$( { echo "$checks_key $file $dir $obj"
             sed -e 's/\\$//' -e '1s/^[^:]*://' "$dir/$obj.d" | tr ' ' '\n' | grep -v '^$' \
               | xargs -r sha256sum; } | sha256sum | cut -c1-64) || key=""
  fi
  [ -n "$key" ] && [ -f "$stamps/$key" ] && return 0
  # The compiler's warning for reserved names stands in for the costly check (.clang-tidy).
  if clang-tidy --quiet -p "$work/db" --extra-arg=-Wreserved-identifier "$file" >"$log" 2>&1; then
    [ -n "$key" ] && : >"$stamps/$key"
  else
    echo "$file" >>"$log.failed"
  fi
  return 0
}
export -f analyse
xargs -d '\n' -r -n1 -P"$(nproc)" bash -c 'analyse "$1"' analyse <"$work/units"

shopt -s nullglob
logs=("$work"/tidy.*.log)
: >"$work/tidy"
[ ${#logs[@]} -gt 0 ] && cat "${logs[@]}" \
  | grep -E '^/[^ :]+:[0-9]+:[0-9]+: (warning|error): .*\[[^]]+\]$' | sort -u >"$work/tidy" || true
if [ -s "$work/tidy" ]; then
  failed=1
  echo "clang-tidy findings (checks listed in .clang-tidy):"
  sed -E 's/^([^:]+):([0-9]+):[0-9]+: (warning|error): (.*) \[([^],]+)[^]]*\]$/\1\t\2\t\5\t\4/' "$work/tidy" \
    | while IFS=$'\t' read -r file line check message; do
        echo "  ${file#"$top"/}:$line: $message [$check]"
        case $check in
          clang-diagnostic-*) echo "      clang cannot compile this: fix the code" ;;
          *) echo "      fix it, or if it is right on purpose end the line with // NOLINT($check): why" ;;
        esac
      done
fi
# A run that failed without a finding in the usual form (a crash, a file
# clang cannot parse) is shown whole.
for failure in "$work"/tidy.*.log.failed; do
  log=${failure%.failed}
  if ! grep -qE '^/[^ :]+:[0-9]+:[0-9]+: (warning|error): .*\[[^]]+\]$' "$log"; then
    failed=1
    echo "clang-tidy failed on $(cat "$failure"):"
    sed 's/^/  /' "$log"
  fi
done
if [ -s "$work/missing" ]; then
  failed=1
  echo "Not in $build/compile_commands.json, so not analysed (is the file built? rerun cmake --preset release):"
  sed 's/^/  /' "$work/missing"
fi

if [ "$failed" -ne 0 ]; then
  echo "lint: FAILED" >&2
  exit 1
fi
echo "lint: clean (${#files[@]} files laid out, $(wc -l <"$work/units") analysed)"
