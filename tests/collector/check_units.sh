#!/bin/sh
# Checks the collecting service's units with systemd-analyze verify, the
# service's ExecStart pointed at the freshly built binary.
set -eu
units=$1
binary=$2
if ! command -v systemd-analyze >/dev/null 2>&1; then
  echo "skip: systemd-analyze is missing (apt-get install systemd)"
  exit 0
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp "$units/kalvena-collector.socket" "$scratch/"
sed "s|/usr/libexec/kalvena/kalvena-collector|$binary|" "$units/kalvena-collector.service" \
  >"$scratch/kalvena-collector.service"
# The account is made by the package; verify looks it up only when running
# under systemd, and prints any problem it finds.
out=$(cd "$scratch" && systemd-analyze verify --man=no ./kalvena-collector.socket ./kalvena-collector.service 2>&1) \
  || { echo "$out"; exit 1; }
if [ -n "$out" ]; then
  echo "$out"
  exit 1
fi
echo "units verified"
