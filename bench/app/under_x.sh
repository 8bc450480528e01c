#!/bin/sh
# Runs a window benchmark as students see the program: on an X server of its
# own (Xvfb, 1280 × 1024, 24-bit) under a window manager (openbox), through
# Qt's xcb platform. KALVENA_BENCH_WM=none leaves the window manager out.
# Usage: bench/app/under_x.sh ./build/bench/app/transition_bench [arguments]
set -eu
[ $# -ge 1 ] || { echo "usage: $0 BENCHMARK [ARGUMENTS]" >&2; exit 2; }

if [ -z "${KALVENA_BENCH_X:-}" ]; then
  KALVENA_BENCH_X=1 exec xvfb-run -a -s '-screen 0 1280x1024x24 -nolisten tcp' "$0" "$@"
fi

wm_pid=""
cleanup() { [ -z "$wm_pid" ] || kill "$wm_pid" 2>/dev/null || true; }
trap cleanup EXIT

wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; }

if [ "${KALVENA_BENCH_WM:-openbox}" != none ]; then
  openbox --sm-disable >/dev/null 2>&1 &
  wm_pid=$!
  tries=0
  until wm_running; do
    tries=$((tries + 1))
    [ "$tries" -ge 600 ] && { echo "openbox did not start" >&2; exit 1; }
    sleep 0.1
  done
fi

# The benchmarks count the processor time of the X server (xvfb-run's
# other child) and of the window manager along with their own.
KALVENA_BENCH_X_PIDS="$(pgrep -P "$PPID" -x Xvfb || true) $wm_pid" QT_QPA_PLATFORM=xcb "$@"
