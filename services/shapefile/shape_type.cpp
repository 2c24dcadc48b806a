#include "services/shapefile/shape_type.h"

namespace sw {

ShapeType baseShapeType(ShapeType type) {
    switch (type) {
    case ShapeType::PointZ:
    case ShapeType::PointM:
        return ShapeType::Point;
    case ShapeType::PolylineZ:
    case ShapeType::PolylineM:
        return ShapeType::Polyline;
    case ShapeType::PolygonZ:
    case ShapeType::PolygonM:
        return ShapeType::Polygon;
    case ShapeType::MultipointZ:
    case ShapeType::MultipointM:
        return ShapeType::Multipoint;
    default:
        return type;
    }
}

bool isNewShapefileType(ShapeType type) {
    return type == ShapeType::Point || type == ShapeType::Polyline || type == ShapeType::Polygon ||
           type == ShapeType::Multipoint;
}

std::optional<ShapeType> writableShapeType(int code) {
    const auto type = static_cast<ShapeType>(code);
    switch (type) {
    case ShapeType::Point:
    case ShapeType::Polyline:
    case ShapeType::Polygon:
    case ShapeType::Multipoint:
    case ShapeType::PointZ:
    case ShapeType::PolylineZ:
    case ShapeType::PolygonZ:
    case ShapeType::MultipointZ:
    case ShapeType::PointM:
    case ShapeType::PolylineM:
    case ShapeType::PolygonM:
    case ShapeType::MultipointM:
        return type;
    }
    return std::nullopt;
}

const char* shapeKindName(ShapeType type) {
    switch (baseShapeType(type)) {
    case ShapeType::Point:
        return "points";
    case ShapeType::Polyline:
        return "lines";
    case ShapeType::Polygon:
        return "polygons";
    default:
        return "multipoints";
    }
}

} // namespace sw
