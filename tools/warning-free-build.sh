#!/bin/sh
# Builds a configured preset from a clean tree and fails when the compiler
# or the linker printed a warning. The release presets do not make warnings
# errors, since a newer compiler on a user's machine may warn where the code
# is right; CI reads their logs instead, so a warning at -O2 or -O3 that the
# development build at -O2 never sees still fails the run.
#   tools/warning-free-build.sh PRESET
set -eu
cd "$(dirname "$0")/.."
[ $# -eq 1 ] || { echo "usage: $0 PRESET" >&2; exit 2; }
preset=$1
log=$(mktemp)
trap 'rm -f "$log"' EXIT
status=0
cmake --build --preset "$preset" --clean-first >"$log" 2>&1 || status=$?
cat "$log"
[ "$status" -eq 0 ] || exit "$status"
if grep -q 'warning:' "$log"; then
  echo "$preset: the build printed warnings:" >&2
  grep 'warning:' "$log" >&2
  exit 1
fi
