#!/usr/bin/env bash
# Builds the add-on and runs the main job through velmora-host; the project is written to out/.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
tools/build.sh build
rm -rf out
# Our sample map package as a folder (and as a ZIP beside it, for `import out/Prøvekart.zip`).
build/make_sample_package "out/Prøvekart"
build/make_sample_package --zip "out/Prøvekart.zip"
# The import command with its default answers: the package is copied into the run root's
# import folder, chosen with all its layers and imported; the run ends with its summary.
echo "importing out/Prøvekart: the project goes to out/project.json, out/plan.svg and out/library/,"
echo "the add-on's own output to out/addon-output.log"
build/velmora-host --home out/home --out out import "out/Prøvekart"
