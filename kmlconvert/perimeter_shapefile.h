#pragma once
// Writes the converted drawing as a shapefile of one record: the fire's attributes as the
// working database holds them (FIRE_DAT) and every vertex, each drawing its own part, with the
// WGS 1984 projection file beside it. The vertices come straight from the KML as it is read,
// the same values the vertex file (and so the database's COORD) gets. A polygon's enclosed
// area is worked out on a thread of its own while the record is written.

#include "kmlconvert/kml_extract.h"
#include "kmlconvert/shape_choice.h"
#include "kmlconvert/working_database.h"
#include "services/shapefile/shapefiles.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace sw::kml {

// The WGS 1984 projection file written beside the shapefile (one line, CR LF).
extern const char* const kWgs1984Projection;

// Longitude and latitude of every vertex, in file order.
using PerimeterVertices = std::vector<std::pair<double, double>>;

// Reads the KML and writes its vertex file as writeVertexFile does, keeping every vertex in
// `vertices` on the way and handing the vertex file's text to `vertexText` as it is written
// (finished once the vertex file is complete, given up when it is not).
Extraction readPerimeter(const std::string& kmlPath, const std::string& vertexPath,
                         const std::string& shownName, PerimeterVertices& vertices,
                         TextFeed& vertexText);

struct PerimeterResult {
    bool written = false;
    // Why not, as the user is told it: names the file that failed.
    std::string problem;
    // Polygons only: the area the drawn rings enclose, in acres (state Albers grid).
    std::optional<double> drawnAcres;
    // Single points left out of a line or polygon shapefile.
    std::size_t leftOut = 0;
};

// Writes `shapefile` of the chosen type from FIRE_DAT's record and the vertices; `parts` are
// the drawings the vertices belong to. `ready` is asked once the record is written, before the
// shapefile goes in place: a problem it names (the working database could not be filled) is
// the result, and the shapefile is not put in place (an old one of that name stays as it was).
PerimeterResult writePerimeterShapefile(const std::filesystem::path& shapefile,
                                        const ShapeChoice& choice, const FireTable& fire,
                                        const PerimeterVertices& vertices,
                                        const std::vector<Part>& parts,
                                        const std::function<std::string()>& ready);

} // namespace sw::kml
