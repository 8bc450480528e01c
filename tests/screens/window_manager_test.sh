#!/bin/sh
# Under a real window manager (openbox, on the X display that xvfb-run
# provides): a question window offers minimise and maximise but no close,
# once restored from maximised its frame lies inside the screen, and the
# next window opens at the size the manager gave the one before.
# Usage: window_manager_test.sh <window_manager_probe> <screen width> <screen height>
set -eu
probe=$1
screen_width=$2
screen_height=$3

work=$(mktemp -d)
wm_pid=""
probe_pid=""
cleanup() {
  exec 3>&- 2>/dev/null || true
  [ -z "$probe_pid" ] || kill "$probe_pid" 2>/dev/null || true
  [ -z "$wm_pid" ] || kill "$wm_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# Polls a condition for up to a minute: waits are generous, so that a
# loaded machine makes the test slow, never flaky.
within_a_minute() {
  tries=0
  until "$@"; do
    tries=$((tries + 1))
    [ "$tries" -ge 600 ] && return 1
    sleep 0.1
  done
}

wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; }
probe_shown() { grep -qs '^shown ' "$work/out"; }
not_maximised() { ! xprop -id "$window" _NET_WM_STATE | grep -q MAXIMIZED; }

# Left, top, width and height of the window with its frame.
frame_geometry() {
  info=$(xwininfo -id "$window")
  x=$(echo "$info" | sed -n 's/.*Absolute upper-left X: *//p')
  y=$(echo "$info" | sed -n 's/.*Absolute upper-left Y: *//p')
  w=$(echo "$info" | sed -n 's/.*Width: *//p')
  h=$(echo "$info" | sed -n 's/.*Height: *//p')
  # left, right, top, bottom
  set -- $(xprop -id "$window" _NET_FRAME_EXTENTS | sed 's/.*= *//; s/,/ /g')
  echo "$((x - $1)) $((y - $3)) $((w + $1 + $2)) $((h + $3 + $4))"
}
frame_inside_screen() {
  set -- $(frame_geometry)
  [ "$1" -ge 0 ] && [ "$2" -ge 0 ] && [ $(($1 + $3)) -le "$screen_width" ] && [ $(($2 + $4)) -le "$screen_height" ]
}

openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm_pid=$!
within_a_minute wm_running || fail "openbox did not start"

# The probe writes its results log into the scratch directory.
mkfifo "$work/in"
(cd "$work" && QT_QPA_PLATFORM=xcb exec "$probe" <"$work/in" >"$work/out" 2>"$work/err") &
probe_pid=$!
exec 3>"$work/in"
within_a_minute probe_shown || fail "no question window: $(cat "$work/err")"
window=$(sed -n 's/^shown //p' "$work/out")

# Functions: minimise 0x8 and maximise 0x10 allowed, close 0x20 not.
hints=$(xprop -id "$window" _MOTIF_WM_HINTS | sed 's/.*= *//')
echo "_MOTIF_WM_HINTS: $hints"
functions=$(echo "$hints" | cut -d, -f2)
[ $((functions & 0x8)) -ne 0 ] || fail "no minimise in $hints"
[ $((functions & 0x10)) -ne 0 ] || fail "no maximise in $hints"
[ $((functions & 0x20)) -eq 0 ] || fail "close allowed in $hints"
# Openbox honours the hints for minimise and maximise; it never lets them
# take the close button away, and closing ends the program as it should.
# The window is mapped before openbox manages it and sets these properties,
# so each is polled, not read once.
allowed() { xprop -id "$window" _NET_WM_ALLOWED_ACTIONS | grep -q "$1"; }
maximised() { xprop -id "$window" _NET_WM_STATE | grep -q MAXIMIZED_VERT; }
within_a_minute allowed _NET_WM_ACTION_MINIMIZE ||
  fail "openbox offers no minimise: $(xprop -id "$window" _NET_WM_ALLOWED_ACTIONS)"
within_a_minute allowed _NET_WM_ACTION_MAXIMIZE_VERT ||
  fail "openbox offers no maximise: $(xprop -id "$window" _NET_WM_ALLOWED_ACTIONS)"
xprop -id "$window" _NET_WM_ALLOWED_ACTIONS
within_a_minute maximised || fail "the window was not shown maximised"

echo restore >&3
within_a_minute not_maximised || fail "the window manager did not restore the window"
within_a_minute frame_inside_screen || fail "restored frame $(frame_geometry) is not inside ${screen_width}x${screen_height}"
echo "restored frame: $(frame_geometry)"
