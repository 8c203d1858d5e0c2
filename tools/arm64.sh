#!/usr/bin/env bash
# Cross-builds the add-on, the host and the tests for arm64 (Debian's cross compiler and the
# arm64 development packages) and runs the tests under qemu-user. Installs what is missing.
# The benchmarks are left out: their peer libraries are not needed, nor are timings under
# an emulator worth anything. JOBS (default: all cores) limits the build and the test run.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
sudo_cmd=""
[ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
if ! dpkg --print-foreign-architectures | grep -qx arm64; then
  $sudo_cmd dpkg --add-architecture arm64
  $sudo_cmd apt-get update -qq
fi
packages=(g++-aarch64-linux-gnu qemu-user libc6:arm64 libstdc++6:arm64 libgtest-dev:arm64 libgmock-dev:arm64
          libcurl4-openssl-dev:arm64 libjpeg-dev:arm64)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

jobs=${JOBS:-$(nproc)}
JOBS=$jobs tools/build.sh build-arm64 -DCMAKE_TOOLCHAIN_FILE="$PWD/tools/aarch64-linux-gnu.cmake" -DVELMORA_BENCH=OFF "$@"
(cd build-arm64 && ctest --output-on-failure -j "$jobs")
echo "arm64 tests passed"
