#pragma once
// The whole "Convert KML to Shapefile" operation: pick the KML (or KMZ), copy it under its
// working name, write the attribute and vertex files, load both into a new working database,
// settle the shape type with the user, and write one shapefile record (the attributes and
// every vertex) with a WGS 1984 projection file beside it.
//
// Everything the user sees goes through the dialog seam. A conversion that cannot go on says
// why in a message that names the file; it never ends silently. An existing shapefile is
// replaced only when the new one is complete: a conversion that fails after "overwrite?"
// leaves the old shapefile as it was.

#include "kmlconvert/fire_attributes.h"
#include "kmlconvert/perimeter_shapefile.h"
#include "kmlconvert/working_names.h"
#include "services/base/dialogs.h"
#include "services/shapefile/shapefiles.h"
#include "taskwindow/output_file_choice.h"

#include <optional>
#include <string>

namespace sw::kml {

// The open dialog that picks the file to convert.
FileRequest kmlFileRequest();
// The save dialog shown after "No" to the overwrite question.
FileRequest shapefileSaveRequest();

struct ConversionOutcome {
    bool completed = false;
    ShapeType shapeType = ShapeType::Point;
    std::size_t vertexCount = 0; // vertices read from the KML
    std::size_t partCount = 0;   // drawings (coordinates elements and tracks)
    // Polygons only: the area the drawn rings enclose, in acres (state Albers grid).
    std::optional<double> drawnAcres;
    WorkingNames names;
};

// `kmlDialog` is the window's open dialog for the file to convert: it starts in the folder of
// the file converted last. Two conversions whose files share working names (Fire 1.kml and
// Fire-1.kml both work as swFire1) never run at once: the second says the name is in use.
ConversionOutcome convertKml(Dialogs& dialogs, const FireAttributes& attributes,
                             FileDialogMemory& kmlDialog);

} // namespace sw::kml
