#pragma once
// Reads the coordinates of a KML file as XML, streaming, so a perimeter of a million vertices
// never sits in memory whole.
//
// Every tuple of every <coordinates> element becomes one vertex, in document order, however
// the file lays its tuples out (all on one line, one per line, separated by tabs, CR LF line
// ends, a byte order mark; blanks beside the commas of a tuple are tolerated). The positions
// (<gx:coord>) of a <gx:Track> are vertices too. Text anywhere else (names, descriptions,
// extended data) never is. KML 2.0, 2.1 and 2.2 files are read alike; elements without a
// namespace count as KML.
//
// Each <coordinates> element, and each track, is one part: one drawing of the user's. Parts
// remember what drew them (a point, a line, the outer or an inner boundary of a polygon), so
// the shapefile can keep separate drawings separate and orient polygon rings.
//
// The corners of a ground overlay's image (<gx:LatLonQuad>) are not a drawing and are left out.
//
// The file is refused, with a message naming it and the line, when it is not well-formed XML,
// when a tuple is not 2 or 3 numbers or lies outside longitude -180..180 / latitude -90..90,
// and when it holds no coordinates at all. A file that declares entities is refused before
// any of them is expanded: KML has no use for them, and expanding them is how a small file
// ("billion laughs") eats all memory; so is a file that uses an entity it does not define.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QIODevice;

namespace sw::kml {

// One position as the KML gave it.
struct Tuple {
    std::string_view text; // "lon,lat[,alt]": the tuple as it stood, blanks removed
    double longitude = 0;
    double latitude = 0;
};

enum class PartKind {
    Point,     // <Point>
    Line,      // <LineString>
    OuterRing, // <LinearRing> of an <outerBoundaryIs>
    InnerRing, // <LinearRing> of an <innerBoundaryIs>: a hole
    Ring,      // a <LinearRing> of its own
    Track,     // the positions of a <gx:Track>
    Other,     // coordinates of any other element
};

struct Part {
    PartKind kind = PartKind::Other;
    std::size_t first = 0; // index of its first vertex among all vertices
    std::size_t count = 0;
    double firstLongitude = 0;
    double firstLatitude = 0;
    double lastLongitude = 0;
    double lastLatitude = 0;

    bool closed() const {
        return count > 1 && firstLongitude == lastLongitude && firstLatitude == lastLatitude;
    }
};

struct Extraction {
    std::vector<Part> parts;
    std::size_t vertexCount = 0;
    // Empty when the file was read; otherwise why not, naming the file and the line.
    std::string refusal;

    bool ok() const { return refusal.empty(); }
};

// Called once per vertex, in document order.
using VertexSink = std::function<void(const Tuple&)>;

// Reads `input` (a KML document); `shownName` names it in refusals.
Extraction extractCoordinates(QIODevice& input, const std::string& shownName,
                              const VertexSink& sink);

// Whether `path` names a GPS file (".gpx", in any case): those are read as GPX.
bool isGpsFile(const std::string& path);

// Same, for a file on disk, a KML or a GPX file by its extension (gpx_extract.h); refusals
// name `shownName` (the path when empty).
Extraction extractCoordinates(const std::string& path, const VertexSink& sink,
                              const std::string& shownName = {});

// Reads a KML (or GPX) file and writes its vertex file: one line per vertex, "1," + the tuple, CR
// LF. The vertex file is written whole or not at all: a refused KML leaves no vertex file. Refusals
// name `shownName` (the file the user picked; the KML path when empty).
Extraction writeVertexFile(const std::string& kmlPath, const std::string& vertexPath,
                           const std::string& shownName = {});

// The vertex file line of a tuple, without its CR LF: "1,-82.3411,29.6512,0".
std::string vertexLine(const Tuple& tuple);

} // namespace sw::kml
