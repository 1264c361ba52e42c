#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each one briefly from seeds
# (written by the test fixtures for the readers, kept in regressions/ for the
# page's value writer), then replays the saved inputs in
# fuzz/regressions/<target>/. Usage: run_fuzzers.sh BUILD_DIR [SECONDS]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$1"
seconds="${2:-10}"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
if ! cmake --build "$build" >"$build/build.log" 2>&1; then
  grep -B2 -A12 -E 'error|FAILED' "$build/build.log" | head -60
  echo "the fuzz targets did not build; see $build/build.log"
  exit 1
fi
rm -rf "$build/seeds" && "$build/make_seeds" "$build/seeds"
status=0
mkdir -p "$build/seeds/page_value"
for target in read_textcat read_csv read_plb read_gal read_tdb read_page_records read_jpeg_layout read_metadata \
    read_png read_webp read_tiff read_heif page_value; do
  name="${target#read_}"
  corpus="$build/corpus/$name"
  mkdir -p "$corpus" "$build/artifacts/$name"
  regressions=()
  [ -d "$here/regressions/$name" ] && regressions=("$here/regressions/$name")
  if ! "$build/${target}_fuzzer" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=1024 \
      -print_final_stats=0 -artifact_prefix="$build/artifacts/$name/" \
      "$corpus" "$build/seeds/$name" "${regressions[@]}" >"$build/$name.log" 2>&1; then
    echo "${target}_fuzzer failed; see $build/$name.log and $build/artifacts/$name/"
    tail -40 "$build/$name.log"
    status=1
  else
    echo "${target}_fuzzer: $(grep -o 'cov: [0-9]*' "$build/$name.log" | tail -1), $(grep -c . "$build/$name.log") log lines"
  fi
done
exit $status
