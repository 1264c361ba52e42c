#!/usr/bin/env bash
# Fails when a file of the repository names a directory beside it (a
# "shared" folder next to the clone, or the machine's own copy of one): a
# clone on its own must build and pass its tests. The pattern is written so
# that this file does not name what it looks for.
set -euo pipefail
cd "$(dirname "$0")/.."
pattern='(\.\.|/work)[/]shared\b'
list_files() {
  if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z
  else
    find . -type f -not -path './build*' -not -path '*/node_modules/*' -print0
  fi
}
found=$(list_files | xargs -0 grep -EIn "$pattern" || true)
if [ -n "$found" ]; then
  echo "files that name a directory outside the repository:"
  echo "$found"
  exit 1
fi
echo "no file names a directory outside the repository"
