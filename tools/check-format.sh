#!/usr/bin/env bash
# Fails when a C++ file of the repository is not as clang-format writes it.
# One clang-format process for all files. Without clang-format the check is
# skipped (exit 77), and fails under CI.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v clang-format >/dev/null; then
  [ "${CI:-}" = true ] && { echo "FAIL: clang-format is missing (tools/install-deps.sh)"; exit 1; }
  echo "SKIP: clang-format is missing (tools/install-deps.sh)"
  exit 77
fi
files=()
while IFS= read -r -d '' file; do files+=("$file"); done < <(
  git ls-files -z '*.cpp' '*.h' 2>/dev/null ||
    find src tests fuzz bench \( -name '*.cpp' -o -name '*.h' \) -print0)
[ ${#files[@]} -gt 0 ] || { echo "FAIL: no C++ files found"; exit 1; }
if ! report=$(clang-format --dry-run -Werror "${files[@]}" 2>&1); then
  # One "file:line:col: error: code should be clang-formatted" per place.
  grep -oE '^[^:]+:[0-9]+:[0-9]+: error' <<<"$report" | cut -d: -f1 | sort -u |
    while read -r file; do echo "not formatted: $file (run: clang-format -i $file)"; done
  grep -q 'error' <<<"$report" || echo "$report"
  exit 1
fi
echo "${#files[@]} files formatted as clang-format writes them"
