#pragma once
// Reads the positions of a GPX 1.0 or 1.1 file (what handheld GPS units write), streaming, as
// the KML reader reads a drawing: each track segment (<trkseg> of <trkpt>) is one part, each
// route (<rte> of <rtept>) one part, each waypoint (<wpt>) a point of its own; empty segments
// and routes are passed over. A position's elevation (<ele>) is its third number. Names, times
// and extensions are never vertices.
//
// The file is refused, naming it and the line, when it is not well-formed XML, when its root
// is not a GPX document, when a position lacks its lat or lon or has one that is not a number
// or out of range, and when it holds no positions at all.

#include "kmlconvert/kml_extract.h"

class QIODevice;

namespace sw::kml {

Extraction extractGpsCoordinates(QIODevice& input, const std::string& shownName,
                                 const VertexSink& sink);

} // namespace sw::kml
