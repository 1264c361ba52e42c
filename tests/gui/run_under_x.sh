#!/usr/bin/env bash
# Runs one window test program on a real X server: Xvfb on a free display,
# openbox as its window manager, Qt on the xcb platform. Focus changes, window
# decorations and fonts then behave as on a desktop, which the offscreen
# platform does not show. When Xvfb or openbox is missing it exits 77
# (skipped), and fails under CI (CI=true).
set -euo pipefail
[ $# -ge 1 ] || { echo "usage: run_under_x.sh PROGRAM [ARGS...]" >&2; exit 2; }
for tool in Xvfb openbox xprop; do
  command -v "$tool" >/dev/null && continue
  [ "${CI:-}" = true ] && { echo "FAIL: $tool is missing (tools/install-deps.sh)" >&2; exit 1; }
  echo "SKIP: $tool is missing (tools/install-deps.sh)" >&2
  exit 77
done

state="$(mktemp -d)"
xvfb="" wm=""
cleanup() {
  [ -n "$wm" ] && kill "$wm" 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$state"
}
trap cleanup EXIT

# Xvfb picks a free display itself and writes its number to descriptor 5.
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5>"$state/display" 2>"$state/xvfb.log" &
xvfb=$!
for _ in $(seq 200); do
  [ -s "$state/display" ] && break
  kill -0 "$xvfb" 2>/dev/null || { cat "$state/xvfb.log" >&2; exit 1; }
  sleep 0.05
done
[ -s "$state/display" ] || { echo "run_under_x.sh: Xvfb did not start within 10 s" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$state/display")"

# The window manager is up once it has announced itself on the root window.
# Now and then openbox finds the new display not yet open to it and ends at
# once: it is started again, a few times.
wm_up=false
for _ in 1 2 3; do
  openbox --sm-disable >"$state/openbox.log" 2>&1 &
  wm=$!
  for _ in $(seq 200); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && { wm_up=true; break; }
    kill -0 "$wm" 2>/dev/null || break
    sleep 0.05
  done
  $wm_up && break
  kill "$wm" 2>/dev/null || true
  sleep 0.5
done
$wm_up || { cat "$state/openbox.log" >&2; echo "run_under_x.sh: openbox did not start within 10 s" >&2; exit 1; }

export QT_QPA_PLATFORM=xcb
"$@"
