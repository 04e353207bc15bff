#!/usr/bin/env bash
# Installs what is missing, builds and runs every test twice: once in a plain build, then
# again with AddressSanitizer and UndefinedBehaviorSanitizer in a build folder of its own.
# Between the two, a release tree is installed, packaged and its packages checked.
# Last, each fuzz target runs from its corpus for a bounded time.
set -euo pipefail
cd "$(dirname "$0")"
export QT_QPA_PLATFORM=offscreen

echo "== tests (plain build: build-test)"
tools/setup.sh build-test -DCMAKE_BUILD_TYPE=Debug -DZORBELA_SANITIZE=OFF -DZORBELA_BENCH=OFF
ctest --test-dir build-test --output-on-failure -j 2

echo "== the Debian packages (release tree: build-rel)"
tools/checkpackage.sh build-rel

echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer (build-asan)"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
tools/setup.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DZORBELA_SANITIZE=ON -DZORBELA_BENCH=OFF
ctest --test-dir build-asan --output-on-failure -j 2

if [ -f fuzz/CMakeLists.txt ]; then
  echo "== fuzzing (build-fuzz)"
  CC=clang CXX=clang++ ZORBELA_BUILD_TARGET=fuzzers tools/setup.sh build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZORBELA_FUZZ=ON -DZORBELA_TESTS=OFF -DZORBELA_BENCH=OFF
  fuzz/run-all.sh build-fuzz
fi
