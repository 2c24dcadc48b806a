#!/usr/bin/python3
"""Appending one facility point to a shapefile of 10 points and to one of 1,000,000, with
Siteward's writer and with GDAL's (the Python bindings: open for update, CreateFeature, close),
side by side on the same files, in one run. Prints the median milliseconds of one append for
each, GDAL's time over Siteward's, and how much more an append to the big file costs.

    /usr/bin/python3 services/shapefile/bench/beside_gdal.py [BUILD_BIN_DIR]

BUILD_BIN_DIR holds services_shapefile_bench (default build/release/bin). Needs the GDAL Python
binding (Debian python3-gdal) and about 300 MB free in the temporary folder. The rounds are
interleaved (Siteward, GDAL, Siteward, ...) so that a busy machine slows both alike."""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

from osgeo import ogr

ogr.UseExceptions()

SIZES = (10, 1_000_000)
ROUNDS = 5
APPENDS = 40  # per round and file; a round's figure is the median of its appends

VALUES = {
    "Name": "Appended tower",
    "Type": "Tower Site",
    "Lat": 30.4469,
    "Long": -84.2773,
    "UTM": "16 R 760920 3372280",
    "USNG": "16R GU 60920 72280",
}


def gdal_appends(path, count):
    """The median milliseconds of one append through GDAL, each opening and closing the file
    as an append from a window does."""
    times = []
    for i in range(count):
        x, y = 500000.0 + i, 400000.0
        start = time.perf_counter()
        source = ogr.Open(path, 1)
        layer = source.GetLayer(0)
        feature = ogr.Feature(layer.GetLayerDefn())
        for name, value in VALUES.items():
            feature.SetField(name, value)
        feature.SetField("AlbersX", x)
        feature.SetField("AlbersY", y)
        point = ogr.Geometry(ogr.wkbPoint)
        point.AddPoint_2D(x, y)
        feature.SetGeometry(point)
        layer.CreateFeature(feature)
        feature = None
        source = None  # closing writes the headers and the index
        times.append((time.perf_counter() - start) * 1000)
    return statistics.median(times)


def siteward_appends(bench, path, count):
    out = subprocess.run([bench, "--append", path, str(count)], check=True,
                         capture_output=True, text=True)
    return float(out.stdout.strip())


def copy_shapefile(source, target):
    for extension in (".shp", ".shx", ".dbf", ".cpg"):
        shutil.copyfile(source[:-4] + extension, target[:-4] + extension)


def main():
    bin_dir = sys.argv[1] if len(sys.argv) > 1 else "build/release/bin"
    bench = os.path.join(bin_dir, "services_shapefile_bench")
    with tempfile.TemporaryDirectory(prefix="siteward-append-") as work:
        files = {}
        for points in SIZES:
            ours = os.path.join(work, f"pf{points}.shp")
            subprocess.run([bench, "--make", ours, str(points)], check=True)
            theirs = os.path.join(work, f"gdal{points}.shp")
            copy_shapefile(ours, theirs)
            files[points] = (ours, theirs)
        results = {(points, who): [] for points in SIZES for who in ("siteward", "gdal")}
        for _ in range(ROUNDS):
            for points in SIZES:
                ours, theirs = files[points]
                results[(points, "siteward")].append(siteward_appends(bench, ours, APPENDS))
                results[(points, "gdal")].append(gdal_appends(theirs, APPENDS))
        median = {key: statistics.median(values) for key, values in results.items()}
    print(f"One appended point, median of {ROUNDS} interleaved rounds of {APPENDS} appends "
          f"({os.cpu_count()} cores):")
    print(f"{'points in the file':>20} {'Siteward ms':>12} {'GDAL ms':>10} {'GDAL / Siteward':>16}")
    for points in SIZES:
        ours, theirs = median[(points, "siteward")], median[(points, "gdal")]
        print(f"{points:>20,} {ours:>12.3f} {theirs:>10.3f} {theirs / ours:>16.1f}")
    small, big = SIZES
    for who, label in (("siteward", "Siteward"), ("gdal", "GDAL")):
        more = median[(big, who)] - median[(small, who)]
        print(f"{label}: an append to {big:,} points costs {more:+.3f} ms against {small} points")


if __name__ == "__main__":
    main()
