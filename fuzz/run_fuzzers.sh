#!/usr/bin/env bash
# A longer fuzz session in a tree configured with ZENDREL_FUZZ (the
# sanitizer tree, build-san/): builds the targets, writes the seeds and runs
# each target for SECONDS (600 by default).
# Usage: run_fuzzers.sh BUILD_DIR [SECONDS]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$1"
seconds="${2:-600}"
cmake --build "$build" --target zendrel_fuzzers
work="$build/fuzz"
rm -rf "$work/seeds" && "$work/make_seeds" "$work/seeds"
status=0
while read -r program name engine; do
  bash "$here/run_fuzzer.sh" "$program" "$name" "$engine" "$work" "$seconds" || status=1
done <"$work/targets.txt"
exit $status
