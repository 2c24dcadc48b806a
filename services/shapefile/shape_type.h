#pragma once
// The kinds of shape a shapefile holds. The enumeration is what callers use; its values are
// the type codes the files (and shapelib) give them, which appear nowhere else.

#include <optional>

namespace sw {

// The shape types of a shapefile. A new shapefile is one of the four two-dimensional kinds;
// an existing one opened for appending may also be one of their Z or M variants, which take
// records as their kind does (Z and M written as 0).
enum class ShapeType {
    Point = 1,
    Polyline = 3,
    Polygon = 5,
    Multipoint = 8,
    PointZ = 11,
    PolylineZ = 13,
    PolygonZ = 15,
    MultipointZ = 18,
    PointM = 21,
    PolylineM = 23,
    PolygonM = 25,
    MultipointM = 28,
};

// The two-dimensional kind of a type (PointZ and PointM are points, and so on).
ShapeType baseShapeType(ShapeType type);

// Whether a new shapefile can be of this type: one of the four two-dimensional kinds.
bool isNewShapefileType(ShapeType type);

// The type a file's type code names, when records can be added to it (not a null shape, a
// multipatch or an unknown code).
std::optional<ShapeType> writableShapeType(int code);

// The records of a type in plain words: "points", "lines", "polygons" or "multipoints".
const char* shapeKindName(ShapeType type);

// What a polygon ring is: an outer boundary, or a hole in one. The caller says so (a KML says
// it with innerBoundaryIs); the writer never guesses it from which ring lies inside which.
enum class RingRole { Outer, Hole };

} // namespace sw
