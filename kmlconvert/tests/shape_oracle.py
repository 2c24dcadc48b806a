#!/usr/bin/python3
"""What GDAL makes of a converted shapefile's projection file and of its area.

Prints JSON: "epsg" (the EPSG code GDAL matches the .prj to with full confidence), "geographic" (true for
latitude/longitude), and "acres": the area of every polygon of the shapefile, projected by
PROJ into the state's Albers grid (same parameters as the program's own), in acres.

Usage: shape_oracle.py PATH.shp
"""

import json
import sys

from osgeo import ogr, osr

osr.UseExceptions()
ogr.UseExceptions()

path = sys.argv[1]
prj = osr.SpatialReference()
with open(path[:-4] + ".prj") as f:
    prj.ImportFromESRI([f.read()])
matches = [(match.GetAuthorityCode(None), confidence) for match, confidence in prj.FindMatches()]
best = max(matches, key=lambda m: m[1]) if matches else (None, 0)
result = {"epsg": best[0] if best[1] == 100 else None, "geographic": bool(prj.IsGeographic())}

albers = osr.SpatialReference()
albers.ImportFromProj4("+proj=aea +lat_1=24 +lat_2=31.5 +lat_0=24 +lon_0=-84 +x_0=400000 "
                       "+y_0=0 +a=6378137 +rf=298.25 +units=m +no_defs")
source = osr.SpatialReference()
source.ImportFromEPSG(4326)
source.SetAxisMappingStrategy(osr.OAMS_TRADITIONAL_GIS_ORDER)
albers.SetAxisMappingStrategy(osr.OAMS_TRADITIONAL_GIS_ORDER)
transform = osr.CoordinateTransformation(source, albers)
area = 0.0
dataset = ogr.Open(path)  # must outlive its layer
layer = dataset.GetLayer(0)
for feature in layer:
    geometry = feature.GetGeometryRef().Clone()
    geometry.Transform(transform)
    area += geometry.GetArea()
result["acres"] = area / 4046.8564224
json.dump(result, sys.stdout)
