#!/usr/bin/env bash
# Runs every benchmark program of a build folder; each prints one line
# "BENCH <name> <figure> <unit> ratio=<r>".
set -euo pipefail
build=${1:-build}
shopt -s nullglob
benches=("$build"/bin/bench_*)
if [ ${#benches[@]} -eq 0 ]; then
  echo "no benchmark programs built yet"
  exit 0
fi
for b in "${benches[@]}"; do
  "$b" | grep '^BENCH '
done
