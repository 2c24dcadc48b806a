#include "coord/hand_back.h"

#include <algorithm>

#include "coord/albers.h"
#include "coord/angle_fields.h"
#include "coord/number_text.h"

namespace sw {

lltoAlbers::UtmUsng utmUsngFromRawTexts(std::string_view rawLatitude,
                                        std::string_view rawLongitude) {
    return lltoAlbers::UtmUsngFromLatLong(leadingNumber(rawLatitude), leadingNumber(rawLongitude));
}

std::string albersText(double metres) {
    return shortestText(roundHalfAwayFromZero(metres, 2));
}

void appendHandBackTexts(std::string& out, double latitude, double longitude, char separator) {
    appendDigitPattern(out, latitude, "00.0000");
    out.push_back(separator);
    appendDigitPattern(out, longitude, "000.0000");
    out.push_back(separator);
    const lltoAlbers::AlbersPoint albers = lltoAlbers::AlbersFromLatLong(latitude, longitude);
    appendShortestText(out, roundHalfAwayFromZero(albers.x, 2));
    out.push_back(separator);
    appendShortestText(out, roundHalfAwayFromZero(albers.y, 2));
    out.push_back(separator);
    // The converter computes UTM and the grid from its raw texts (12 decimals) read back as
    // numbers. Rounding half away from zero to 12 decimals gives exactly that number: both
    // are the double nearest the same 12-decimal value, without writing and reading a text.
    lltoAlbers::appendUtmUsng(out, roundHalfAwayFromZero(latitude, 12),
                              roundHalfAwayFromZero(longitude, 12), separator);
}

HandBackTexts handBackTexts(double latitude, double longitude) {
    std::string all;
    all.reserve(96);
    appendHandBackTexts(all, latitude, longitude, '\n');
    HandBackTexts t;
    std::string* const fields[] = {&t.latitude, &t.longitude, &t.albersX,
                                   &t.albersY,  &t.utm,       &t.usng};
    std::size_t from = 0;
    for (std::string* field : fields) {
        const std::size_t to = std::min(all.find('\n', from), all.size());
        field->assign(all, from, to - from);
        from = to + 1;
    }
    return t;
}

} // namespace sw
