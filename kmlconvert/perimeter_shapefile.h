#pragma once
// Writes the converted drawing as a shapefile of one record: the fire's attributes as the
// working database holds them (FIRE_DAT) and every vertex, each drawing its own part, with the
// WGS 1984 projection file beside it. A polygon's enclosed area is worked out on a thread of
// its own while the record is written.

#include "kmlconvert/kml_extract.h"
#include "kmlconvert/shape_choice.h"
#include "services/database/database.h"
#include "services/shapefile/shapefiles.h"

#include <filesystem>
#include <optional>
#include <string>

namespace sw::kml {

// The WGS 1984 projection file written beside the shapefile (one line, CR LF).
extern const char* const kWgs1984Projection;

struct PerimeterResult {
    bool written = false;
    // Why not, as the user is told it: names the file that failed.
    std::string problem;
    // Polygons only: the area the drawn rings enclose, in acres (state Albers grid).
    std::optional<double> drawnAcres;
};

// Writes `shapefile` of the chosen type from FIRE_DAT's record and COORD's vertices in
// `database`; `parts` are the drawings the vertices belong to, `vertexRows` how many COORD holds.
PerimeterResult writePerimeterShapefile(const std::filesystem::path& shapefile,
                                        const ShapeChoice& choice, Database& database,
                                        const std::vector<Part>& parts, std::size_t vertexRows);

} // namespace sw::kml
