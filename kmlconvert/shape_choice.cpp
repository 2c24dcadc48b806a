#include "kmlconvert/shape_choice.h"

#include <algorithm>

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

bool drawingFits(ShapeType type, const Part& part) {
    return part.count > 1 || (type != ShapeType::Polyline && type != ShapeType::Polygon);
}

std::string completionText(const ShapeChoice& choice, std::size_t leftOut) {
    if (leftOut == 0) {
        return choice.completion;
    }
    return choice.completion + "\n" + std::to_string(leftOut) +
           (leftOut == 1 ? " single point was left out." : " single points were left out.");
}

ShapeChoice chooseShapeType(Dialogs& dialogs, std::size_t vertexCount,
                            const std::vector<Part>& parts) {
    if (vertexCount <= 1) {
        return points(dialogs, ShapeType::Point);
    }
    const auto judged = std::find_if(parts.begin(), parts.end(), [](const Part& part) {
        return drawingFits(ShapeType::Polyline, part);
    });
    if (judged == parts.end()) {
        // Single points only: no line or polygon to offer.
        return points(dialogs, ShapeType::Multipoint);
    }
    const Part& first = *judged;
    // Enter answers No to each shape question: a drawing stays what was drawn unless the user
    // chooses otherwise.
    if (dialogs.askYesNo("Build all Locations as Points?", kTypeTitle, Icon::Question,
                         Answer::No)) {
        return points(dialogs, ShapeType::Multipoint);
    }
    // Only the longitudes are compared: a drawing that comes back to its starting meridian
    // is taken for a ring and offered as a polygon first.
    if (first.lastLongitude == first.firstLongitude) {
        return dialogs.askYesNo("Initial Shape Type is Polygon - Build as Line Instead?",
                                kTypeTitle, Icon::Question, Answer::No)
                   ? polyline()
                   : polygon();
    }
    if (first.count < 3) {
        return polyline();
    }
    return dialogs.askYesNo("Initial Shape Type is Line - Build as Polygon Instead?", kTypeTitle,
                            Icon::Question, Answer::No)
               ? polygon()
               : polyline();
}

} // namespace sw::kml
