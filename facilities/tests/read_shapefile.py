#!/usr/bin/python3
"""Prints a shapefile as JSON through GDAL: geometry type, fields (name, type, width,
precision) and every feature's values and point, plus the projection's parameters when a
.prj lies beside it. The facility tests compare what the program wrote with what an
independent reader sees."""
import json
import sys

from osgeo import ogr, osr

ogr.UseExceptions()
source = ogr.Open(sys.argv[1])
layer = source.GetLayer(0)
definition = layer.GetLayerDefn()
result = {
    "geometry": ogr.GeometryTypeToName(layer.GetGeomType()),
    "fields": [
        {
            "name": definition.GetFieldDefn(i).GetName(),
            "type": definition.GetFieldDefn(i).GetTypeName(),
            "width": definition.GetFieldDefn(i).GetWidth(),
            "precision": definition.GetFieldDefn(i).GetPrecision(),
        }
        for i in range(definition.GetFieldCount())
    ],
    "features": [],
}
for feature in layer:
    geometry = feature.GetGeometryRef()
    result["features"].append(
        {
            "values": [feature.GetField(i) for i in range(definition.GetFieldCount())],
            "x": geometry.GetX(),
            "y": geometry.GetY(),
        }
    )
reference = layer.GetSpatialRef()
if reference is not None:
    result["projection"] = reference.GetAttrValue("PROJECTION")
    result["central_meridian"] = reference.GetProjParm(osr.SRS_PP_CENTRAL_MERIDIAN)
print(json.dumps(result))
