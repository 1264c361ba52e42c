#!/usr/bin/env bash
# Installs what is missing, builds Zendrel and runs every test; then builds
# the core and command-line tests once more with AddressSanitizer and
# UndefinedBehaviorSanitizer (build-asan/) and runs them there.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
(cd build && ctest --output-on-failure -j2)

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZENDREL_SANITIZE=ON \
  -DZENDREL_GUI=OFF >/dev/null
cmake --build build-asan --target zendrel_tests
# Any report ends the test that caused it.
export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$PWD/tests/sanitizers/lsan.supp:print_suppressions=0
(cd build-asan && ctest --output-on-failure -j2 -L core)
