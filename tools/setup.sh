#!/usr/bin/env bash
# Installs the Debian packages the project needs (skipping what is present).
set -euo pipefail
packages=(build-essential cmake ninja-build clang libclang-rt-14-dev libgtest-dev libgmock-dev
          libcurl4-openssl-dev libjpeg-dev rapidjson-dev nlohmann-json3-dev zip unzip util-linux python3
          lib3ds-dev libassimp-dev libdime-dev libdxflib-dev libcsv-dev universal-ctags python3-clang-14 locales)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi
