#!/usr/bin/env bash
# Builds the add-on and runs the main job through velmora-host; the project is written to out/.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
tools/build.sh build
rm -rf out
# Our sample map package, as a project in the import folder and as a ZIP beside it.
build/make_sample_package "out/home/Documents/Velmora/Prøvekart"
build/make_sample_package --zip "out/Prøvekart.zip"
# The about command: its dialog is closed with its button 1.
printf 'dialog 32504\nclick 1\n' > out/about.script
build/velmora-host --home out/home --script out/about.script --out out menu 32506
echo "project written to out/project.json"
