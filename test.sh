#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer,
# runs every test, then runs each fuzz target over a bounded number of inputs.
set -euo pipefail
cd "$(dirname "$0")"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

tools/setup.sh build-test -DCMAKE_BUILD_TYPE=Debug -DZORBELA_SANITIZE=ON -DZORBELA_BENCH=OFF
ctest --test-dir build-test --output-on-failure -j 2

if [ -f fuzz/CMakeLists.txt ]; then
  CC=clang CXX=clang++ ZORBELA_BUILD_TARGET=fuzzers tools/setup.sh build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZORBELA_FUZZ=ON -DZORBELA_TESTS=OFF -DZORBELA_BENCH=OFF
  fuzz/run-all.sh build-fuzz
fi
