#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for a few seconds each over its seed corpus:
# tools/run-fuzz.sh BUILD_DIR SECONDS
set -euo pipefail
dir=$1; seconds=$2
shopt -s nullglob
for target in "$dir"/fuzz/fuzz_*; do
  name=$(basename "$target")
  seeds="tests/fuzz/seeds/${name#fuzz_}"
  corpus=$(mktemp -d)
  [ -d "$seeds" ] && cp -r "$seeds"/. "$corpus"/
  echo "fuzzing $name for ${seconds}s"
  "$target" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 "$corpus" > "$dir/$name.log" 2>&1 || { tail -40 "$dir/$name.log"; exit 1; }
  rm -rf "$corpus"
done
