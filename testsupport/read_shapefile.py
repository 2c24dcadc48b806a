#!/usr/bin/python3
"""Reads a shapefile back without shapelib and prints what it holds as JSON.

The tests compare what the program wrote with what independent readers see:
  "gdal": what GDAL/OGR makes of the shapefile (geometry type, extent, columns with their
          types, widths and precisions, every feature's values by column name, geometry and
          point), every warning or error GDAL raised while reading it, and "acres": the area
          of a geographic polygon layer projected by PROJ into the state's Albers grid (same
          parameters as the program's own), null for any other layer;
  "raw":  the three files parsed byte by byte (headers, index, record bounding boxes, ring
          closure and orientation, dBASE texts exactly as stored), and a list of
          "problems": every way in which the .shp, .shx and .dbf disagree with the format
          or with each other. An empty list means the files are complete and consistent;
  "prj":  the projection file beside it as GDAL reads it (name, projection, central meridian,
          whether geographic, and the EPSG code it matches with full confidence), or null when
          there is none.
A file that cannot be read is reported in "problems" or "messages", still as JSON.

Usage: /usr/bin/python3 read_shapefile.py PATH.shp
"""

import json
import os
import struct
import sys

from osgeo import gdal, ogr, osr

gdal.UseExceptions()
osr.UseExceptions()

SQUARE_METRES_PER_ACRE = 4046.8564224


def ring_area(points):
    """Shoelace area: negative for a clockwise ring (y up)."""
    area = 0.0
    for (x1, y1), (x2, y2) in zip(points, points[1:]):
        area += x1 * y2 - x2 * y1
    return area / 2.0


def read_raw(shp_path):
    base = shp_path[:-4]
    problems = []
    with open(shp_path, "rb") as f:
        shp = f.read()
    with open(base + ".shx", "rb") as f:
        shx = f.read()
    with open(base + ".dbf", "rb") as f:
        dbf = f.read()

    raw = {}
    # --- .shp header
    code, = struct.unpack(">i", shp[0:4])
    length_words, = struct.unpack(">i", shp[24:28])
    version, shape_type = struct.unpack("<ii", shp[28:36])
    bbox = list(struct.unpack("<4d", shp[36:68]))
    raw["shape_type"] = shape_type
    raw["bbox"] = bbox
    if code != 9994 or version != 1000:
        problems.append(".shp header: file code %d, version %d" % (code, version))
    if length_words * 2 != len(shp):
        problems.append(".shp header length %d bytes, file has %d" % (length_words * 2, len(shp)))

    # --- .shx header and entries
    shx_length, = struct.unpack(">i", shx[24:28])
    if shx[0:24] != shp[0:24] or shx[28:100] != shp[28:100]:
        problems.append(".shx header differs from .shp header (besides the length)")
    if shx_length * 2 != len(shx):
        problems.append(".shx header length %d bytes, file has %d" % (shx_length * 2, len(shx)))
    if (len(shx) - 100) % 8:
        problems.append(".shx size %d is not 100 + 8n" % len(shx))
    count = (len(shx) - 100) // 8
    raw["shx_records"] = count

    records = []
    expected_offset = 100
    union = None
    for i in range(count):
        offset_words, content_words = struct.unpack(">ii", shx[100 + 8 * i:108 + 8 * i])
        offset = offset_words * 2
        if offset != expected_offset:
            problems.append("record %d at offset %d, expected %d" % (i + 1, offset, expected_offset))
        if offset + 8 > len(shp):
            problems.append("record %d lies beyond the end of the .shp" % (i + 1))
            break
        number, content = struct.unpack(">ii", shp[offset:offset + 8])
        if number != i + 1:
            problems.append("record %d numbered %d" % (i + 1, number))
        if content != content_words:
            problems.append("record %d: .shp content length %d, .shx %d" % (i + 1, content, content_words))
        body = shp[offset + 8:offset + 8 + content * 2]
        expected_offset = offset + 8 + content * 2
        rec_type, = struct.unpack("<i", body[0:4])
        record = {"type": rec_type}
        if rec_type != shape_type:
            problems.append("record %d has type %d in a type %d file" % (i + 1, rec_type, shape_type))
        if rec_type in (1, 11, 21):
            x, y = struct.unpack("<2d", body[4:20])
            points = [(x, y)]
            record["parts"] = [[[x, y]]]
            rbox = [x, y, x, y]
        elif rec_type in (8, 18, 28):
            rbox = list(struct.unpack("<4d", body[4:36]))
            n, = struct.unpack("<i", body[36:40])
            points = [struct.unpack("<2d", body[40 + 16 * k:56 + 16 * k]) for k in range(n)]
            record["parts"] = [[list(p) for p in points]]
        else:
            rbox = list(struct.unpack("<4d", body[4:36]))
            nparts, n = struct.unpack("<ii", body[36:44])
            starts = list(struct.unpack("<%di" % nparts, body[44:44 + 4 * nparts]))
            at = 44 + 4 * nparts
            points = [struct.unpack("<2d", body[at + 16 * k:at + 16 * k + 16]) for k in range(n)]
            parts = []
            for p, start in enumerate(starts):
                end = starts[p + 1] if p + 1 < nparts else n
                parts.append([list(q) for q in points[start:end]])
            record["parts"] = parts
            record["closed"] = [part[0] == part[-1] for part in parts]
            record["areas"] = [ring_area(part) for part in parts]
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        true_box = [min(xs), min(ys), max(xs), max(ys)]
        record["bbox"] = rbox
        if rbox != true_box:
            problems.append("record %d bounding box %s, vertices span %s" % (i + 1, rbox, true_box))
        union = true_box if union is None else [min(union[0], true_box[0]), min(union[1], true_box[1]),
                                                max(union[2], true_box[2]), max(union[3], true_box[3])]
        records.append(record)
    raw["records"] = records
    if expected_offset != len(shp):
        problems.append(".shp has %d bytes after the last record" % (len(shp) - expected_offset))
    if union is not None and bbox != union:
        problems.append("header bounding box %s, records span %s" % (bbox, union))

    # --- .dbf
    nrec, header_len, rec_len = struct.unpack("<IHH", dbf[4:12])
    raw["dbf_records"] = nrec
    fields = []
    at = 32
    while at < header_len and dbf[at] != 0x0D:
        name = dbf[at:at + 11].split(b"\0")[0].decode("ascii")
        ftype = chr(dbf[at + 11])
        width, decimals = dbf[at + 16], dbf[at + 17]
        fields.append((name, ftype, width, decimals))
        at += 32
    raw["dbf_fields"] = [{"name": n, "type": t, "width": w, "decimals": d} for n, t, w, d in fields]
    if sum(f[2] for f in fields) + 1 != rec_len:
        problems.append(".dbf record length %d, fields add up to %d" % (rec_len, sum(f[2] for f in fields) + 1))
    body_end = header_len + nrec * rec_len
    if len(dbf) not in (body_end, body_end + 1):
        problems.append(".dbf has %d bytes, header says %d records (%d bytes)" % (len(dbf), nrec, body_end))
    if len(dbf) == body_end + 1 and dbf[-1] != 0x1A:
        problems.append(".dbf ends with byte %d, not the end mark" % dbf[-1])
    if nrec != count:
        problems.append(".dbf has %d records, .shx %d" % (nrec, count))
    rows = []
    for r in range(nrec):
        start = header_len + r * rec_len
        row = dbf[start:start + rec_len]
        values = {}
        pos = 1
        for name, ftype, width, decimals in fields:
            values[name] = row[pos:pos + width].decode("utf-8", errors="replace")
            pos += width
        rows.append(values)
    raw["dbf_texts"] = rows
    cpg = base + ".cpg"
    raw["cpg"] = open(cpg, "rb").read().decode("ascii", errors="replace") if os.path.exists(cpg) else None
    raw["problems"] = problems
    return raw


def albers_grid():
    """The state's Albers grid, from its parameters rather than from the program's .prj."""
    albers = osr.SpatialReference()
    albers.ImportFromProj4("+proj=aea +lat_1=24 +lat_2=31.5 +lat_0=24 +lon_0=-84 +x_0=400000 "
                           "+y_0=0 +a=6378137 +rf=298.25 +units=m +no_defs")
    albers.SetAxisMappingStrategy(osr.OAMS_TRADITIONAL_GIS_ORDER)
    return albers


def read_gdal(shp_path):
    messages = []
    out = {"messages": messages}

    def handler(level, number, text):
        if level >= gdal.CE_Warning:
            messages.append(text)

    gdal.PushErrorHandler(handler)
    try:
        ds = ogr.Open(shp_path)
        layer = ds.GetLayer(0)
        defn = layer.GetLayerDefn()
        out.update({
            "geometry_type": ogr.GeometryTypeToName(layer.GetGeomType()),
            "feature_count": layer.GetFeatureCount(),
            "extent": list(layer.GetExtent()) if layer.GetFeatureCount() else None,
            "fields": [],
            "features": [],
            "acres": None,
        })
        for i in range(defn.GetFieldCount()):
            fd = defn.GetFieldDefn(i)
            out["fields"].append({
                "name": fd.GetName(),
                "type": ogr.GetFieldTypeName(fd.GetType()),
                "subtype": ogr.GetFieldSubTypeName(fd.GetSubType()),
                "width": fd.GetWidth(),
                "precision": fd.GetPrecision(),
            })
        polygons = ogr.GT_Flatten(layer.GetGeomType()) in (ogr.wkbPolygon, ogr.wkbMultiPolygon)
        reference = layer.GetSpatialRef()
        to_albers = None
        if polygons and reference is not None and reference.IsGeographic():
            # Longitude and latitude on WGS 84, as the converter writes them.
            source = osr.SpatialReference()
            source.ImportFromEPSG(4326)
            source.SetAxisMappingStrategy(osr.OAMS_TRADITIONAL_GIS_ORDER)
            to_albers = osr.CoordinateTransformation(source, albers_grid())
            out["acres"] = 0.0
        layer.ResetReading()
        for feature in layer:
            values = {}
            for i in range(defn.GetFieldCount()):
                fd = defn.GetFieldDefn(i)
                if not feature.IsFieldSetAndNotNull(i):
                    values[fd.GetName()] = None
                elif fd.GetType() == ogr.OFTReal:
                    values[fd.GetName()] = feature.GetFieldAsDouble(i)
                elif fd.GetType() in (ogr.OFTInteger, ogr.OFTInteger64):
                    values[fd.GetName()] = feature.GetFieldAsInteger64(i)
                else:
                    values[fd.GetName()] = feature.GetFieldAsString(i)
            geometry = feature.GetGeometryRef()
            is_point = geometry is not None and ogr.GT_Flatten(geometry.GetGeometryType()) == ogr.wkbPoint
            out["features"].append({
                "values": values,
                "geometry": geometry.GetGeometryName() if geometry else None,
                "wkt": geometry.ExportToIsoWkt() if geometry else None,
                "point": [geometry.GetX(), geometry.GetY()] if is_point else None,
            })
            if to_albers is not None and geometry is not None:
                projected = geometry.Clone()
                projected.Transform(to_albers)
                out["acres"] += projected.GetArea() / SQUARE_METRES_PER_ACRE
        out["encoding"] = layer.GetMetadataItem("SOURCE_ENCODING", "SHAPEFILE")
        ds = None
    except Exception as error:  # reported with the JSON, so the test shows why
        messages.append("cannot read: %s" % error)
    finally:
        gdal.PopErrorHandler()
    return out


def read_prj(shp_path):
    path = shp_path[:-4] + ".prj"
    if not os.path.exists(path):
        return None
    reference = osr.SpatialReference()
    try:
        with open(path) as f:
            reference.ImportFromESRI([f.read()])
    except Exception as error:
        return {"error": "cannot read %s: %s" % (path, error)}
    matches = [(match.GetAuthorityCode(None), confidence) for match, confidence in reference.FindMatches()]
    best = max(matches, key=lambda m: m[1]) if matches else (None, 0)
    return {
        "name": reference.GetName(),
        "projection": reference.GetAttrValue("PROJECTION"),
        "central_meridian": reference.GetProjParm(osr.SRS_PP_CENTRAL_MERIDIAN),
        "geographic": bool(reference.IsGeographic()),
        "epsg": best[0] if best[1] == 100 else None,
    }


def read_raw_checked(shp_path):
    try:
        return read_raw(shp_path)
    except Exception as error:  # a file too short or damaged to parse is a problem too
        return {"problems": ["cannot parse the files: %s: %s" % (type(error).__name__, error)]}


def main():
    path = sys.argv[1]
    result = {"raw": read_raw_checked(path), "gdal": read_gdal(path), "prj": read_prj(path)}
    json.dump(result, sys.stdout)


if __name__ == "__main__":
    main()
