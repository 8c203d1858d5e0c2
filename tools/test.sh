#!/usr/bin/env bash
# Builds and runs every test: the normal build, the host-26 build, then the sanitizer build
# (ASan + UBSan), then the fuzz targets briefly over their seeds (clang, libFuzzer).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
jobs=$(nproc)

tools/build.sh build
(cd build && ctest --output-on-failure -j "$jobs")

# The host-26 build: older entry points and plain attribute indices, the same tests.
tools/build.sh build-26 -DVELMORA_HOST_API=26
(cd build-26 && ctest --output-on-failure -j "$jobs")

tools/build.sh build-asan -DVELMORA_SANITIZE=ON
# The tests carry their own ASAN_OPTIONS (leak check, heap fill): tests/CMakeLists.txt.
(cd build-asan && UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j "$jobs")

if [ -d tests/fuzz ]; then
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_FUZZ=ON \
    > build-fuzz.configure.log 2>&1 || { cat build-fuzz.configure.log; exit 1; }
  ninja -C build-fuzz fuzzers
  tools/run-fuzz.sh build-fuzz 10
fi
echo "all test runs passed"
