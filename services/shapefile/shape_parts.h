#pragma once
// The shape of one record, from the vertices a caller adds to the parts a shapefile holds:
// a new part wherever the part number changes, polygon rings closed, and shapes that the
// type cannot hold refused with a message.

#include <optional>
#include <string>
#include <vector>

#include "services/shapefile/shape_type.h"

namespace sw {

// One vertex as AddVertex takes it.
struct ShapeVertex {
    double x;
    double y;
    int part;                        // consecutive vertices with the same number form one part
    RingRole role = RingRole::Outer; // of its part, when the part is a polygon ring
};

// The record's shape as the file takes it: all coordinates in order, and where each part
// starts among them.
struct ShapeParts {
    std::vector<double> x;
    std::vector<double> y;
    std::vector<int> starts;
    std::vector<RingRole> roles; // one per part
};

// The parts of `vertices` as a shape of `type` (its two-dimensional kind decides): a point
// takes exactly one vertex, a multipoint any number in one part, a line at least two per
// part, a polygon ring at least three different vertices (closed here when open). Nothing,
// and a message in `error`, when the vertices do not make that shape.
std::optional<ShapeParts> shapeParts(ShapeType type, const std::vector<ShapeVertex>& vertices,
                                     std::string& error);

} // namespace sw
