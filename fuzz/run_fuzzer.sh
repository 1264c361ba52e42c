#!/usr/bin/env bash
# Runs one fuzz target: with libFuzzer for SECONDS from its corpus, its seeds
# and regressions/<name>/; as a replay program over the seeds and
# regressions alone. The ctest fuzz.<name> and run_fuzzers.sh call it.
# Usage: run_fuzzer.sh PROGRAM NAME libfuzzer|replay WORK_DIR SECONDS
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
[ $# -eq 5 ] || { echo "usage: run_fuzzer.sh PROGRAM NAME libfuzzer|replay WORK_DIR SECONDS" >&2; exit 2; }
program=$1 name=$2 engine=$3 work=$4 seconds=$5
inputs=()
for dir in "$work/seeds/$name" "$here/regressions/$name"; do
  [ -d "$dir" ] && inputs+=("$dir")
done
log="$work/$name.log"
if [ "$engine" = replay ]; then
  "$program" "${inputs[@]}"
  exit
fi
corpus="$work/corpus/$name" artifacts="$work/artifacts/$name"
mkdir -p "$corpus" "$artifacts"
if ! "$program" -max_total_time="$seconds" -timeout=5 -rss_limit_mb="${ZENDREL_FUZZ_RSS_MB:-1024}" -print_final_stats=0 \
    -artifact_prefix="$artifacts/" "$corpus" "${inputs[@]}" >"$log" 2>&1; then
  tail -40 "$log"
  echo "$(basename "$program") failed; see $log and the input in $artifacts/"
  exit 1
fi
echo "$(basename "$program"): $(grep -o 'cov: [0-9]*' "$log" | tail -1), $(grep -c . "$log") log lines"
