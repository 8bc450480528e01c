#!/bin/sh
# Checks a Debian package of Kalvena as an administrator would meet it:
# lintian finds no errors or warnings; every desktop entry and metainfo file validates;
# unpacked into a scratch root, every file is in its place; the installed
# program starts on Qt's offscreen platform, shows its registration window
# (whose activation creates Results.txt in the working folder), stays up and
# prints nothing.
#   tools/check-package.sh build-package/kalvena_1.0_amd64.deb
set -eu

[ $# -eq 1 ] && [ -f "$1" ] || { echo "usage: $0 PACKAGE.deb (exactly one)" >&2; exit 2; }
deb=$1
passes=0
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; passes=$((passes + 1)); }
# A PNG's width and height: the big-endian words at bytes 16 and 20.
png_size() {
  od -An -tu1 -j16 -N8 "$1" | awk '{ print ($1 * 2^24 + $2 * 2^16 + $3 * 256 + $4) "x" ($5 * 2^24 + $6 * 2^16 + $7 * 256 + $8) }'
}

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
root=$scratch/root
mkdir -p "$root"

if lintian --fail-on error,warning --info "$deb"; then pass "lintian: no errors or warnings"; else fail "lintian"; fi

depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 libqt6gui6 libjpeg62-turbo qt6-translations-l10n; do
  case "$depends" in *"$needed"*) pass "Depends: $needed" ;; *) fail "Depends lacks $needed: $depends" ;; esac
done

dpkg -x "$deb" "$root"
[ -x "$root/usr/bin/kalvena" ] && pass "usr/bin/kalvena" || fail "no executable usr/bin/kalvena"
for doc in usr/share/doc/kalvena/copyright usr/share/doc/kalvena/CLASSROOM.ru.md usr/share/doc/kalvena/changelog.gz usr/share/man/man1/kalvena.1.gz \
    usr/share/man/man1/kalvena-results.1.gz; do
  [ -f "$root/$doc" ] && pass "$doc" || fail "no $doc"
done
[ -f "$root/etc/kalvena/kalvena.conf" ] && pass "etc/kalvena/kalvena.conf" || fail "no etc/kalvena/kalvena.conf"
dpkg-deb -I "$deb" conffiles 2>/dev/null | grep -qx /etc/kalvena/kalvena.conf \
  && pass "kalvena.conf is a conffile" || fail "kalvena.conf is not a conffile"
grep -q "SIL Open Font License" "$root/usr/share/doc/kalvena/copyright" \
  && pass "copyright carries the fonts' licence" || fail "copyright lacks the fonts' licence"

entries=0
for desktop in "$root"/usr/share/applications/*.desktop; do
  [ -f "$desktop" ] || continue
  entries=$((entries + 1))
  id=$(basename "$desktop" .desktop)
  if desktop-file-validate "$desktop"; then pass "desktop-file-validate $id"; else fail "desktop-file-validate $id"; fi
  metainfo=$root/usr/share/metainfo/$id.metainfo.xml
  if [ ! -f "$metainfo" ]; then
    fail "no metainfo for $id"
  elif appstreamcli validate --no-net "$metainfo"; then
    pass "appstreamcli validate $id"
  else
    fail "appstreamcli validate $id"
  fi
  # Logs are opened by argument, dialog or drag and drop: no entry claims a
  # file type, or it would become the default program for it.
  if grep -q '^MimeType=' "$desktop"; then fail "$id claims file types"; else pass "$id claims no file type"; fi
  exec_line=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
  [ -x "$root/usr/bin/$exec_line" ] && pass "$id runs usr/bin/$exec_line" || fail "$id: Exec=$exec_line not in usr/bin"
  icon=$(sed -n 's/^Icon=//p' "$desktop")
  [ -f "$root/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] && pass "$icon.svg" || fail "no scalable icon $icon"
  for size in 16 22 24 32 48 64 128 256; do
    png=$root/usr/share/icons/hicolor/${size}x${size}/apps/$icon.png
    if [ -f "$png" ] && [ "$(png_size "$png")" = "${size}x${size}" ]; then
      pass "$icon.png ${size}x${size}"
    else
      fail "no ${size}x${size} icon $icon.png"
    fi
  done
done
[ "$entries" -gt 0 ] || fail "no desktop entry"

[ -x "$root/usr/libexec/kalvena/kalvena-collector" ] && pass "usr/libexec/kalvena/kalvena-collector" \
  || fail "no service usr/libexec/kalvena/kalvena-collector"
for unit in kalvena-collector.socket kalvena-collector.service; do
  [ -f "$root/usr/lib/systemd/system/$unit" ] && pass "usr/lib/systemd/system/$unit" || fail "no unit $unit"
done
setuid=$(find "$root" -type f -perm /6000)
[ -z "$setuid" ] && pass "no setuid or setgid file" || fail "setuid or setgid: $setuid"

# Installed for real, twice, as an upgrade would run the maintainer scripts
# again: the group and the service's account are made once and kept, and
# no mode override stays on the path kalvena-append.
if [ "$(id -u)" -eq 0 ] && ! dpkg -s kalvena >/dev/null 2>&1; then
  old_helper=/usr/libexec/kalvena/kalvena-append
  if dpkg -i "$deb" >/dev/null && dpkg -i "$deb" >/dev/null; then
    pass "installs, and installs again over itself"
    getent group kalvena >/dev/null && pass "the group kalvena exists" || fail "no group kalvena"
    [ "$(id -gn kalvena-collector 2>/dev/null)" = kalvena ] && pass "the account kalvena-collector, group kalvena" \
      || fail "no account kalvena-collector in the group kalvena"
    if dpkg-statoverride --list "$old_helper" >/dev/null; then fail "the old helper's override stays"; else
      pass "no override of the old helper"; fi
  else
    fail "dpkg -i"
  fi
  dpkg --purge kalvena >/dev/null || fail "dpkg --purge"
  [ -e /var/lib/kalvena-collector ] && fail "the service's state outlived the purge" || pass "purged without leftovers"
else
  echo "skip: installing the package needs root and a machine without kalvena installed"
fi

# The installed program, started as from the menu but with no display.
work=$scratch/work
mkdir -p "$work" "$scratch/runtime"
chmod 700 "$scratch/runtime"
(cd "$work" && QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$scratch/runtime" \
  exec "$root/usr/bin/kalvena" >"$scratch/out" 2>&1) &
program=$!
sleep 3
if kill -0 "$program" 2>/dev/null; then
  pass "the installed program is running"
  kill "$program"
  wait "$program" 2>/dev/null || true
else
  wait "$program" 2>/dev/null || true
  fail "the installed program ended by itself"
fi
[ -f "$work/Results.txt" ] && pass "the registration window opened Results.txt in the working folder" \
  || fail "no Results.txt: the registration window did not become active"
if [ -s "$scratch/out" ]; then
  fail "the program printed:"
  cat "$scratch/out"
else
  pass "the program printed nothing"
fi

echo "package: $passes passed, $failures failed"
[ "$failures" -eq 0 ]
