#!/usr/bin/env bash
# Runs every libFuzzer target of a fuzzing build for a bounded time, each on a fresh copy of its
# seed corpus: what a run finds stays in the build folder, never in the repository. A crash, a
# sanitizer report or a broken rule fails the run and leaves the input that caused it.
#   scripts/run-fuzz.sh [BUILD_FOLDER] [SECONDS_PER_TARGET]
set -euo pipefail
build=${1:-build/fuzz}
seconds=${2:-30}
list="$build/fuzz-targets.txt"
[ -f "$list" ] || { echo "no fuzz targets listed in $list" >&2; exit 1; }

while IFS='=' read -r name corpus; do
    [ -n "$name" ] || continue
    work="$build/fuzz-runs/$name"
    rm -rf "$work"
    mkdir -p "$work/corpus" "$work/found"
    cp -R "$corpus"/. "$work/corpus/"
    echo "fuzzing $name for ${seconds} s"
    if ! "$build/bin/$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -max_len=65536 -print_final_stats=1 -artifact_prefix="$work/found/" \
        "$work/corpus" >"$work/log" 2>&1; then
        tail -n 40 "$work/log"
        echo "$name failed; the input is in $work/found" >&2
        exit 1
    fi
    grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$work/log" | sed "s/^/  /"
done <"$list"
