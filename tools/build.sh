#!/usr/bin/env bash
# Configures and builds one tree: tools/build.sh DIR [cmake options...]
# JOBS limits the build's parallel jobs (default: ninja's own choice).
set -euo pipefail
dir=$1; shift
cd "$(dirname "$0")/.."
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" > "$dir.configure.log" 2>&1 || { cat "$dir.configure.log"; exit 1; }
ninja -C "$dir" ${JOBS:+-j "$JOBS"}
