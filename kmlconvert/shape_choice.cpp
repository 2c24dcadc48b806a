#include "kmlconvert/shape_choice.h"

namespace sw::kml {

namespace {

constexpr const char* kTypeTitle = "Shapefile Type";

ShapeChoice points(Dialogs& dialogs, ShapeType type) {
    dialogs.inform("Point Shapefile will be created", {}, Icon::Information);
    return {type, false, "KML Converted to Point Shapefile"};
}

ShapeChoice polyline() {
    return {ShapeType::Polyline, false, "KML Converted to Polyline Shapefile"};
}

ShapeChoice polygon() {
    return {ShapeType::Polygon, true, "KML Converted to Polygon Shapefile"};
}

} // namespace

ShapeChoice chooseShapeType(Dialogs& dialogs, std::size_t vertexCount, const Part& first) {
    if (vertexCount <= 1) {
        return points(dialogs, ShapeType::Point);
    }
    if (dialogs.askYesNo("Build all Locations as Points?", kTypeTitle, Icon::Question)) {
        return points(dialogs, ShapeType::Multipoint);
    }
    // Only the longitudes are compared: a drawing that comes back to its starting meridian
    // is taken for a ring and offered as a polygon first.
    if (first.lastLongitude == first.firstLongitude) {
        return dialogs.askYesNo("Initial Shape Type is Polygon - Build as Line Instead?",
                                kTypeTitle, Icon::Question)
                   ? polyline()
                   : polygon();
    }
    if (first.count < 3) {
        return polyline();
    }
    return dialogs.askYesNo("Initial Shape Type is Line - Build as Polygon Instead?", kTypeTitle,
                            Icon::Question)
               ? polygon()
               : polyline();
}

} // namespace sw::kml
