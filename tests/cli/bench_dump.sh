#!/usr/bin/env bash
# Benchmark, not a test: median wall time of dumping every officer of a demo save
# against the bare start of the program (`--version`), in the same run.
#   tests/cli/bench_dump.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=${1:-build}
runs=${2:-31}
cli="$build/varkel-cli"
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
"$build/varkel-demo-folder" "$folder" >/dev/null

median() {  # milliseconds of running "$@" $runs times
  local times=()
  for _ in $(seq "$runs"); do
    local t0 t1
    t0=$(date +%s%N)
    "$@" >/dev/null 2>&1
    t1=$(date +%s%N)
    times+=($(( (t1 - t0) / 1000 )))
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p" | awk '{ printf "%.1f ms", $1 / 1000 }'
}

echo "varkel-cli --version:                 $(median "$cli" --version)"
echo "varkel-cli dump (every officer, json): $(median "$cli" dump "$folder/svd_05.sav" --game-folder "$folder")"
echo "varkel-cli dump (every officer, csv):  $(median "$cli" dump "$folder/svd_05.sav" --format csv --game-folder "$folder")"
