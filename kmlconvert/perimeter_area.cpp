#include "kmlconvert/perimeter_area.h"

#include "coord/albers.h"
#include "coord/number_text.h"

#include <cmath>

namespace sw::kml {

namespace {
constexpr double kSquareMetresPerAcre = 4046.8564224; // international acre, exactly
} // namespace

void PerimeterArea::beginRing(PartKind kind) {
    kind_ = kind;
    first_ = true;
    twiceArea_ = 0;
}

void PerimeterArea::add(double longitude, double latitude) {
    const auto p = lltoAlbers::albersUnrounded(latitude, longitude);
    if (first_) {
        x0_ = xPrev_ = p.x;
        y0_ = yPrev_ = p.y;
        first_ = false;
        return;
    }
    // Shoelace terms relative to the first vertex: the grid's 400 km false easting would
    // otherwise cost digits in every product.
    const double ax = xPrev_ - x0_, ay = yPrev_ - y0_;
    const double bx = p.x - x0_, by = p.y - y0_;
    twiceArea_ += ax * by - bx * ay;
    xPrev_ = p.x;
    yPrev_ = p.y;
}

void PerimeterArea::endRing() {
    // The closing edge back to the first vertex adds nothing in coordinates relative to it.
    const double area = std::fabs(twiceArea_) / 2;
    total_ += kind_ == PartKind::InnerRing ? -area : area;
    first_ = true;
    twiceArea_ = 0;
}

double PerimeterArea::acres() const {
    return total_ / kSquareMetresPerAcre;
}

std::string drawnPerimeterText(double acres) {
    std::string digits = formatDigitPattern(roundHalfAwayFromZero(acres, 1), "0.0");
    std::string sign;
    if (!digits.empty() && digits.front() == '-') {
        sign = "-";
        digits.erase(0, 1);
    }
    const std::size_t point = digits.find('.');
    std::string grouped;
    for (std::size_t i = 0; i < point; ++i) {
        if (i > 0 && (point - i) % 3 == 0) {
            grouped += ',';
        }
        grouped += digits[i];
    }
    return "Drawn perimeter: " + sign + grouped + digits.substr(point) + " acres";
}

} // namespace sw::kml
