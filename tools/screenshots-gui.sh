#!/usr/bin/env bash
# Starts the desktop program under Xvfb and saves pictures of its windows
# into docs/screenshots/: the splash, the main window in modes 1 and 4, the
# copy-originals question, the destination list's context menu, a message
# box and the record editor. Xvfb runs with openbox, so the window manager's
# frames show. Run after a build (build/zendrel).
set -euo pipefail
cd "$(dirname "$0")/.."
program="${ZENDREL:-build/zendrel}"
out="docs/screenshots"
[ -x "$program" ] || { echo "screenshots-gui.sh: build first ($program is missing)" >&2; exit 1; }
for tool in Xvfb openbox; do
  command -v "$tool" >/dev/null || { echo "screenshots-gui.sh: $tool is missing (tools/install-deps.sh)" >&2; exit 1; }
done

# A small photo collection to point the lists at.
work="/tmp/zendrel-screenshots"
rm -rf "$work"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/Photos/1999" "$work/Photos/2000" "$work/Photos/Family"
printf 'SourceFile\tTitle\tSubject\tCategory\tComment\tAuthor\tDate\r\n' > "$work/Photos/photos.txt"
: > "$work/Photos/library.plb"
: > "$work/Photos/album.GAL"
: > "$work/Photos/thumbs.tDB"
# An archive for the record editor.
"$program" demo "$work/Demo" >/dev/null

mkdir -p "$out"
rm -f "$out"/gui-*.png
ZENDREL_SCREENSHOT_DIR="$out" ZENDREL_SCREENSHOT_CATALOG="$work/Photos/photos.txt" \
  ZENDREL_SCREENSHOT_ARCHIVE="$work/Demo/archive" \
  bash tests/gui/run_under_x.sh "$program" gui
ls -1 "$out"/gui-*.png
