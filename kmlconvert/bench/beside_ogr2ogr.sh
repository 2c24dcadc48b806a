#!/usr/bin/env bash
# Converts the same million-vertex perimeter with Siteward's conversion and with
# ogr2ogr -f "ESRI Shapefile", side by side, and prints both times and Siteward's peak memory.
# Usage: kmlconvert/bench/beside_ogr2ogr.sh [BUILD_BIN_DIR]   (default build/release/bin)
set -euo pipefail
bin=${1:-build/release/bin}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bin/kmlconvert_bench" --write-kml "$work/big.kml"
echo "KML: $(du -m "$work/big.kml" | cut -f1) MB, $(grep -o ',0 ' "$work/big.kml" | wc -l) tuples"
for round in 1 2 3; do
    rm -f "$work"/sw* "$work"/cc* "$work"/pwatt* "$work"/out.*
    echo "round $round"
    /usr/bin/time -f "  ogr2ogr:  %e s, peak %M KB" ogr2ogr -f "ESRI Shapefile" "$work/out.shp" "$work/big.kml" 2>&1 | grep -v '^Warning'
    echo -n "  siteward: "
    "$bin/kmlconvert_bench" --convert "$work/big.kml"
done
