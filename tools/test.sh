#!/usr/bin/env bash
# Builds and runs every test: the normal build, then the sanitizer build (ASan + UBSan),
# then the fuzz targets briefly over their seeds (clang, libFuzzer).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
jobs=$(nproc)

tools/build.sh build
(cd build && ctest --output-on-failure -j "$jobs")

tools/build.sh build-asan -DVELMORA_SANITIZE=ON
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j "$jobs")

if [ -d tests/fuzz ]; then
  CC=clang CXX=clang++ tools/build.sh build-fuzz -DVELMORA_FUZZ=ON -DVELMORA_TESTS=ON
  tools/run-fuzz.sh build-fuzz 10
fi
echo "all test runs passed"
