#include "services/shapefile/shape_parts.h"

namespace sw {

namespace {

// One part (vertices [first, end)) added to `parts`; false (and a message) when it is not a
// part of that kind.
bool addPart(ShapeType kind, const std::vector<ShapeVertex>& vertices, std::size_t first,
             std::size_t end, ShapeParts& parts, std::string& error) {
    parts.starts.push_back(static_cast<int>(parts.x.size()));
    parts.roles.push_back(vertices[first].role);
    for (std::size_t i = first; i < end; ++i) {
        parts.x.push_back(vertices[i].x);
        parts.y.push_back(vertices[i].y);
    }
    const std::size_t count = end - first;
    if (kind == ShapeType::Polyline && count < 2) {
        error = "A line needs at least two vertices";
        return false;
    }
    if (kind == ShapeType::Polygon) {
        const ShapeVertex& a = vertices[first];
        const ShapeVertex& z = vertices[end - 1];
        const bool closed = count > 1 && a.x == z.x && a.y == z.y;
        const std::size_t distinct = closed ? count - 1 : count;
        if (distinct < 3) {
            error = "A polygon ring needs at least three different vertices, not " +
                    std::to_string(distinct);
            return false;
        }
        if (!closed) {
            parts.x.push_back(a.x);
            parts.y.push_back(a.y);
        }
    }
    return true;
}

} // namespace

std::optional<ShapeParts> shapeParts(ShapeType type, const std::vector<ShapeVertex>& vertices,
                                     std::string& error) {
    ShapeParts parts;
    const ShapeType kind = baseShapeType(type);
    if (vertices.empty()) {
        error = "The record has no vertices";
        return std::nullopt;
    }
    if (kind == ShapeType::Point && vertices.size() != 1) {
        error = "A point record takes one vertex, not " + std::to_string(vertices.size());
        return std::nullopt;
    }
    if (kind == ShapeType::Point || kind == ShapeType::Multipoint) {
        for (const auto& v : vertices) {
            parts.x.push_back(v.x);
            parts.y.push_back(v.y);
        }
        parts.starts.push_back(0);
        parts.roles.push_back(RingRole::Outer);
        return parts;
    }
    std::size_t first = 0;
    while (first < vertices.size()) {
        std::size_t end = first;
        while (end < vertices.size() && vertices[end].part == vertices[first].part) {
            ++end;
        }
        if (!addPart(kind, vertices, first, end, parts, error)) {
            return std::nullopt;
        }
        first = end;
    }
    return parts;
}

} // namespace sw
