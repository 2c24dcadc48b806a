#pragma once
// Which kind of shapefile a KML drawing becomes. The user settles it through a few questions,
// judged on the drawing: one vertex is a point; several may all be points; a drawing that
// ends at its start's longitude looks like a polygon, one that does not like a line. When the
// KML holds several drawings the questions are asked once, judged on the first of them.

#include "kmlconvert/kml_extract.h"
#include "services/base/dialogs.h"
#include "services/shapefile/shapefiles.h"

#include <string>

namespace sw::kml {

struct ShapeChoice {
    ShapeType shapeType = ShapeType::Point;
    // A polygon built from lines: each part that does not end where it began gets its first
    // vertex once more at its end.
    bool closeOpenParts = false;
    std::string completion; // the completion message
};

// `vertexCount`: all vertices of the KML; `first`: its first drawing.
ShapeChoice chooseShapeType(Dialogs& dialogs, std::size_t vertexCount, const Part& first);

} // namespace sw::kml
