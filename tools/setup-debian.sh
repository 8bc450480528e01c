#!/bin/sh
# Installs the Debian packages that Kalvena's build needs, asking apt only
# when one of them is missing:
#   tools/setup-debian.sh           building, running and testing (make run, make test)
#   tools/setup-debian.sh fuzz      and clang with its runtime, for the JPEG fuzzer
#   tools/setup-debian.sh clang     and clang, for the release-clang preset
#   tools/setup-debian.sh package   and the package checkers (make check-package)
#   tools/setup-debian.sh lint      and clang-format and clang-tidy (make lint)
# Where there is no apt it names the packages in one line and does nothing.
set -eu

# The compilers and libraries; Qt's translations, which the program reads
# for Qt's own strings in Russian; a virtual X display with a window manager
# and its inspection tools, for the tests that need a real X server. The
# results viewer adds Qt Charts (whose CMake files need Qt's OpenGL module,
# which Debian does not pull in) and libxlsxwriter found through pkg-config,
# and for its tests openpyxl and pdfinfo. systemd's tools check the
# collecting service's units and start it as systemd would.
PACKAGES="build-essential cmake qt6-base-dev libjpeg62-turbo-dev libfontconfig-dev libgtest-dev qt6-translations-l10n
xvfb xauth openbox x11-utils
pkg-config qt6-charts-dev libqt6opengl6-dev libxlsxwriter-dev python3-openpyxl poppler-utils
systemd"
case "${1:-}" in
  "") ;;
  fuzz) PACKAGES="$PACKAGES clang libclang-rt-14-dev" ;;
  clang) PACKAGES="$PACKAGES clang" ;;
  package) PACKAGES="$PACKAGES lintian desktop-file-utils appstream" ;;
  lint) PACKAGES="$PACKAGES clang-format clang-tidy" ;;
  *) echo "usage: $0 [fuzz|clang|package|lint]" >&2; exit 2 ;;
esac

if ! command -v dpkg-query >/dev/null 2>&1 || ! command -v apt-get >/dev/null 2>&1; then
  echo "Kalvena needs (Debian names): $PACKAGES"
  exit 0
fi

missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done
[ -z "$missing" ] && exit 0

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null 2>&1; then
    echo "Kalvena needs these packages, not installed:$missing"
    exit 0
  fi
  SUDO="sudo"
fi
echo "Installing:$missing"
$SUDO apt-get update
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing
