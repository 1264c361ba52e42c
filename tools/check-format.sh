#!/usr/bin/env bash
# Fails when a C++ file of the repository is not as clang-format writes it.
set -euo pipefail
cd "$(dirname "$0")/.."
status=0
while IFS= read -r file; do
  if ! clang-format --dry-run -Werror "$file" >/dev/null 2>&1; then
    echo "not formatted: $file (run: clang-format -i $file)"
    status=1
  fi
done < <(git ls-files '*.cpp' '*.h' 2>/dev/null || find src tests fuzz bench -name '*.cpp' -o -name '*.h')
exit $status
