#!/usr/bin/env bash
# Times siteward-coords on one million generated points beside cs2cs (package proj-bin) doing
# the state Albers projection alone on the same points, and prints both times and the ratio.
#
#   coord/bench/million_points.sh [--bin FOLDER] [--compare OTHER-SITEWARD-COORDS] [--runs N]
#
# --bin      where siteward-coords is (default build/release/bin)
# --compare  also run another build of siteward-coords (say, before a change) on the same
#            points and check that both write the same bytes
# --runs     runs of each program, alternating; the fastest of each counts (default 3)
# The points (latitude 24-31.5, longitude 88-79 W, six decimals, always the same) are written
# to a scratch folder that is removed afterwards.
set -euo pipefail
cd "$(dirname "$0")/../.."

bin=build/release/bin
compare=""
runs=3
while [ $# -gt 0 ]; do
    case "$1" in
    --bin) bin=$2; shift 2 ;;
    --compare) compare=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    *) sed -n '2,13p' "$0" | sed 's/^# \{0,1\}//'; exit 2 ;;
    esac
done
command -v cs2cs >/dev/null || { echo "cs2cs is missing (Debian package proj-bin)"; exit 2; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
python3 - "$scratch" <<'PY'
import random, sys
r = random.Random(1)
with open(sys.argv[1] + "/points.csv", "w") as ours, open(sys.argv[1] + "/points.txt", "w") as theirs:
    for _ in range(1000000):
        lat = r.uniform(24, 31.5)
        lon = r.uniform(-88, -79)
        ours.write("%.6f,%.6f\n" % (lat, lon))
        theirs.write("%.6f %.6f\n" % (lat, lon))
PY

albers="+proj=aea +lat_1=24 +lat_2=31.5 +lat_0=24 +lon_0=-84 +x_0=400000 +y_0=0"
albers+=" +a=6378137 +rf=298.25 +units=m +no_defs"
seconds() { # command...: wall-clock seconds of one run
    local start end
    start=$(date +%s.%N)
    "$@"
    end=$(date +%s.%N)
    echo "$start $end" | awk '{ printf "%.3f", $2 - $1 }'
}
run_ours() { "$bin/siteward-coords" "$scratch/points.csv" >"$scratch/ours.csv"; }
run_theirs() {
    cs2cs -r +proj=longlat +a=6378137 +rf=298.25 +no_defs +to $albers -f %.2f \
        "$scratch/points.txt" >"$scratch/theirs.txt"
}
best_ours=""
best_theirs=""
for _ in $(seq "$runs"); do
    t=$(seconds run_ours)
    best_ours=$(echo "$t ${best_ours:-$t}" | awk '{ print ($1 < $2 ? $1 : $2) }')
    t=$(seconds run_theirs)
    best_theirs=$(echo "$t ${best_theirs:-$t}" | awk '{ print ($1 < $2 ? $1 : $2) }')
done
[ "$(wc -l <"$scratch/ours.csv")" -eq 1000001 ] || { echo "siteward-coords lost points"; exit 1; }
echo "siteward-coords: ${best_ours} s (six texts per point)"
echo "cs2cs:           ${best_theirs} s (Albers alone)"
echo "$best_ours $best_theirs" | awk '{ printf "ratio:           %.2f\n", $1 / $2 }'

if [ -n "$compare" ]; then
    "$compare" "$scratch/points.csv" >"$scratch/other.csv"
    if cmp -s "$scratch/ours.csv" "$scratch/other.csv"; then
        echo "same bytes as $compare ($(md5sum <"$scratch/ours.csv" | cut -c1-32))"
    else
        echo "output differs from $compare"
        exit 1
    fi
fi
