#!/usr/bin/env bash
# Converts the same perimeter with Siteward's conversion and with ogr2ogr -f "ESRI Shapefile",
# side by side: at 1,000, 100,000 and 1,000,000 vertices, five rounds each, the two programs
# taking turns, so that whatever else the machine does weighs on both alike. Prints every
# round, then per size the median times, Siteward's share of ogr2ogr's time and both peak
# memories (maximum resident set, /usr/bin/time -v). The load average is printed with them:
# the figures mean little on a busy machine.
# Usage: kmlconvert/bench/beside_ogr2ogr.sh [BUILD_BIN_DIR] [ROUNDS]   (build/release/bin, 5)
set -euo pipefail
bin=${1:-build/release/bin}
rounds=${2:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Runs a command once; prints "seconds peak_KB". Wall time from the clock around it; peak
# memory from /usr/bin/time -v.
measure() {
    local start end
    start=$(date +%s%N)
    /usr/bin/time -v -o "$work/usage.txt" "$@" >"$work/output.txt" 2>&1 || {
        echo "FAILED: $*" >&2
        cat "$work/output.txt" >&2
        exit 1
    }
    end=$(date +%s%N)
    local peak
    peak=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/usage.txt")
    echo "$(((end - start) / 1000)) $peak"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

echo "load before: $(uptime | sed 's/.*load average: //')"
printf "%-10s %-9s %12s %12s %8s\n" vertices program "median s" "peak MB" ratio
for vertices in 1000 100000 1000000; do
    kml="$work/perimeter$vertices.kml"
    "$bin/kmlconvert_bench" --write-kml "$kml" "$vertices"
    : >"$work/times-siteward.txt"
    : >"$work/times-ogr2ogr.txt"
    for ((round = 1; round <= rounds; ++round)); do
        rm -f "$work"/sw* "$work"/cc* "$work"/pwatt* "$work"/ogr.*
        # Turn about: the program that goes first alternates between rounds.
        if ((round % 2)); then
            measure ogr2ogr -f "ESRI Shapefile" "$work/ogr.shp" "$kml" >>"$work/times-ogr2ogr.txt"
            measure "$bin/kmlconvert_bench" --convert "$kml" >>"$work/times-siteward.txt"
        else
            measure "$bin/kmlconvert_bench" --convert "$kml" >>"$work/times-siteward.txt"
            measure ogr2ogr -f "ESRI Shapefile" "$work/ogr.shp" "$kml" >>"$work/times-ogr2ogr.txt"
        fi
    done
    sw=$(cut -d' ' -f1 "$work/times-siteward.txt" | median)
    ogr=$(cut -d' ' -f1 "$work/times-ogr2ogr.txt" | median)
    swPeak=$(cut -d' ' -f2 "$work/times-siteward.txt" | sort -n | tail -1)
    ogrPeak=$(cut -d' ' -f2 "$work/times-ogr2ogr.txt" | sort -n | tail -1)
    echo "  rounds (us) siteward: $(cut -d' ' -f1 "$work/times-siteward.txt" | tr '\n' ' ')" \
        " ogr2ogr: $(cut -d' ' -f1 "$work/times-ogr2ogr.txt" | tr '\n' ' ')"
    awk -v n="$vertices" -v sw="$sw" -v ogr="$ogr" -v sp="$swPeak" -v op="$ogrPeak" 'BEGIN {
        printf "%-10s %-9s %12.3f %12.1f\n", n, "ogr2ogr", ogr / 1e6, op / 1024
        printf "%-10s %-9s %12.3f %12.1f %7.2fx\n", n, "siteward", sw / 1e6, sp / 1024, sw / ogr
    }'
    rm -f "$kml"
done
echo "load after: $(uptime | sed 's/.*load average: //')"
