#!/usr/bin/env bash
# Starts the desktop program under Xvfb and saves pictures of its windows
# into docs/screenshots/: the splash, the main window in modes 1 and 4 and
# the copy-originals question. Run after a build (build/zendrel).
set -euo pipefail
cd "$(dirname "$0")/.."
program="${ZENDREL:-build/zendrel}"
out="docs/screenshots"
[ -x "$program" ] || { echo "screenshots-gui.sh: build first ($program is missing)" >&2; exit 1; }
command -v xvfb-run >/dev/null || { echo "screenshots-gui.sh: xvfb-run is missing (tools/install-deps.sh)" >&2; exit 1; }

# A small photo collection to point the lists at.
work="/tmp/zendrel-screenshots"
rm -rf "$work"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/Photos/1999" "$work/Photos/2000" "$work/Photos/Family"
printf 'SourceFile\tTitle\tSubject\tCategory\tComment\tAuthor\tDate\r\n' > "$work/Photos/photos.txt"
: > "$work/Photos/library.plb"
: > "$work/Photos/album.GAL"
: > "$work/Photos/thumbs.tDB"

mkdir -p "$out"
rm -f "$out"/gui-*.png
ZENDREL_SCREENSHOT_DIR="$out" ZENDREL_SCREENSHOT_CATALOG="$work/Photos/photos.txt" \
  xvfb-run -a -s "-screen 0 1280x1024x24" "$program" gui
ls -1 "$out"/gui-*.png
