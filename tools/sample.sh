#!/usr/bin/env bash
# Builds the add-on and runs the main job through velmora-host; the project is written to out/.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
tools/build.sh build
rm -rf out
build/velmora-host --addon build/testaddon/test_addon_module.so --home out/home --out out menu 100
echo "project written to out/project.json"
