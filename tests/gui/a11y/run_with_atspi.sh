#!/usr/bin/env bash
# Runs one window test program with a session bus and the accessibility bus,
# Qt's accessibility on, so that the program can be walked as a screen reader
# sees it. Run inside gui/run_under_x.sh. Exits 77 (skipped) when the bus
# tools or the Python bindings are missing.
set -euo pipefail
command -v dbus-run-session >/dev/null ||
  { echo "run_with_atspi.sh: dbus-run-session is missing" >&2; exit 77; }
/usr/bin/python3 -c "import pyatspi" 2>/dev/null ||
  { echo "run_with_atspi.sh: python3-pyatspi is missing (tools/install-deps.sh)" >&2; exit 77; }
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export NO_AT_BRIDGE=0
exec dbus-run-session -- "$@"
