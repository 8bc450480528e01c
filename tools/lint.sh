#!/bin/sh
# The tree's style and lint checks, as CI runs them after `make test` (they
# read build/compile_commands.json):
#   every tracked C++ file formatted as .clang-format says;
#   clang-tidy's checks (.clang-tidy) over the program's, the viewer's and
#   the bank tools' sources.
# Reformat a file with `clang-format -i FILE`.
set -eu
cd "$(dirname "$0")/.."

git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

if [ ! -f build/compile_commands.json ]; then
  echo "lint: build/compile_commands.json is missing; run make build first" >&2
  exit 2
fi
sources=$(git ls-files 'facts/*.cpp' 'settings/*.cpp' 'program/*.cpp' 'app/*.cpp' 'engine/*.cpp' 'log/*.cpp' 'collector/*.cpp' 'content/*.cpp' 'screens/*.cpp' 'viewer/*.cpp' \
  'tools/bank/*.cpp' | sed "s|^|$(pwd)/|")
run-clang-tidy -p build -j "$(nproc)" -quiet $sources > build/clang-tidy.log 2>&1 || {
  grep -E "(error|warning):" build/clang-tidy.log | grep -v "warnings generated" >&2 || cat build/clang-tidy.log >&2
  exit 1
}
