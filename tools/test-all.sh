#!/usr/bin/env bash
# Installs what is missing, builds Zendrel and runs every test; then builds
# the core tests and the fuzz targets once more, in one clang tree with
# AddressSanitizer and UndefinedBehaviorSanitizer (build-san/), and runs
# them there. Under CI (CI=true) a check that cannot run fails.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
(cd build && ctest --output-on-failure -j2)

# Without clang the fuzz targets only replay their seeds and saved inputs.
compiler=()
if command -v clang++ >/dev/null; then
  compiler=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++)
elif [ "${CI:-}" = true ]; then
  echo "FAIL: clang++ is missing (tools/install-deps.sh)"
  exit 1
else
  echo "SKIP: clang++ is missing: the fuzz targets only replay their inputs"
fi
cmake -S . -B build-san -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${compiler[@]}" \
  -DZENDREL_SANITIZE=ON -DZENDREL_GUI=OFF >/dev/null
cmake --build build-san --target zendrel_tests zendrel_fuzzers
# Any report ends the test that caused it.
export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$PWD/tests/sanitizers/lsan.supp:print_suppressions=0
(cd build-san && ctest --output-on-failure -j2 -L 'core|fuzz')
