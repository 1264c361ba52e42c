#!/usr/bin/env bash
# Builds the readers' fuzz targets (catalogues, page records, JPEG markers,
# pictures' metadata) with clang and runs each one briefly from seeds written by the test fixtures, then replays the saved
# inputs in fuzz/regressions/<reader>/. Usage: run_fuzzers.sh BUILD_DIR [SECONDS]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$1"
seconds="${2:-10}"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" >/dev/null
rm -rf "$build/seeds" && "$build/make_seeds" "$build/seeds"
status=0
for reader in textcat csv plb gal tdb page_records jpeg_layout metadata; do
  corpus="$build/corpus/$reader"
  mkdir -p "$corpus" "$build/artifacts/$reader"
  regressions=()
  [ -d "$here/regressions/$reader" ] && regressions=("$here/regressions/$reader")
  if ! "$build/read_${reader}_fuzzer" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=1024 \
      -print_final_stats=0 -artifact_prefix="$build/artifacts/$reader/" \
      "$corpus" "$build/seeds/$reader" "${regressions[@]}" >"$build/$reader.log" 2>&1; then
    echo "read_${reader}_fuzzer failed; see $build/$reader.log and $build/artifacts/$reader/"
    tail -40 "$build/$reader.log"
    status=1
  else
    echo "read_${reader}_fuzzer: $(grep -o 'cov: [0-9]*' "$build/$reader.log" | tail -1), $(grep -c . "$build/$reader.log") log lines"
  fi
done
exit $status
