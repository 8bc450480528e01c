#!/bin/sh
# Installs the Debian packages that building and testing Kalvena need,
# only when one of them is missing.
set -eu

# The compilers and libraries, the fonts whose metrics the layout was made
# with, clang with its runtime for the JPEG fuzzer, and a virtual X display
# with a window manager and its inspection tools for the window manager test
# and the test that stops the X server under the program.
PACKAGES="build-essential cmake qt6-base-dev libjpeg62-turbo-dev libgtest-dev
fonts-liberation2 fontconfig clang libclang-rt-14-dev
xvfb xauth openbox x11-utils"

missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done
[ -z "$missing" ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "Installing:$missing"
$SUDO apt-get update
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing
