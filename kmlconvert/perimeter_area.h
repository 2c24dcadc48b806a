#pragma once
// The area a drawn perimeter encloses, for the user to compare with the area they typed.
// Computed in the state Albers grid, which is equal-area: a plane polygon area there is the
// ground area, to the grid's own accuracy (well under 0.1 % across the state).

#include "kmlconvert/kml_extract.h"

#include <string>

namespace sw::kml {

// Built ring by ring from the vertices as the shapefile gets them. Outer rings add their
// area, holes take theirs away; a ring need not repeat its first vertex at the end.
class PerimeterArea {
public:
    void beginRing(PartKind kind);
    void add(double longitude, double latitude);
    void endRing();

    double squareMetres() const { return total_; }
    double acres() const;

private:
    PartKind kind_ = PartKind::OuterRing;
    bool first_ = true;
    double x0_ = 0, y0_ = 0, xPrev_ = 0, yPrev_ = 0;
    double twiceArea_ = 0;
    double total_ = 0;
};

// "Drawn perimeter: 1,234.5 acres" (one decimal, rounded half away from zero, grouped).
std::string drawnPerimeterText(double acres);

} // namespace sw::kml
