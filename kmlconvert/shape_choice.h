#pragma once
// Which kind of shapefile a KML drawing becomes. The user settles it through a few questions,
// judged on the drawing: one vertex is a point; several may all be points; a drawing that
// ends at its start's longitude looks like a polygon, one that does not like a line. When the
// KML holds several drawings the questions are asked once, judged on the first that can make
// a line (two vertices or more): a single point makes no line or polygon, and a line or
// polygon shapefile leaves single points out. A KML of single points only is a multipoint.

#include "kmlconvert/kml_extract.h"
#include "services/base/dialogs.h"
#include "services/shapefile/shapefiles.h"

#include <string>
#include <vector>

namespace sw::kml {

struct ShapeChoice {
    ShapeType shapeType = ShapeType::Point;
    // A polygon built from lines: each part that does not end where it began gets its first
    // vertex once more at its end.
    bool closeOpenParts = false;
    std::string completion; // the completion message
};

// `vertexCount`: all vertices of the KML; `parts`: its drawings.
ShapeChoice chooseShapeType(Dialogs& dialogs, std::size_t vertexCount,
                            const std::vector<Part>& parts);

// Whether a drawing goes into a shapefile of that type: single points stay out of lines and
// polygons.
bool drawingFits(ShapeType type, const Part& part);

// The completion message once `leftOut` single points were left out of the shapefile.
std::string completionText(const ShapeChoice& choice, std::size_t leftOut);

} // namespace sw::kml
