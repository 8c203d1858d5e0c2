#!/usr/bin/env bash
# Builds the add-on and runs the main job through velmora-host; the project is written to out/.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
tools/build.sh build
rm -rf out
build/velmora-host --home out/home --out out menu 32506
echo "project written to out/project.json"
