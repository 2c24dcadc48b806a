#include "coord/hand_back.h"

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

HandBackTexts handBackTexts(double latitude, double longitude) {
    HandBackTexts t;
    t.latitude = latitudeText(latitude);
    t.longitude = longitudeText(longitude);
    const lltoAlbers::AlbersPoint albers = lltoAlbers::AlbersFromLatLong(latitude, longitude);
    t.albersX = albersText(albers.x);
    t.albersY = albersText(albers.y);
    lltoAlbers::UtmUsng grid = utmUsngFromRawTexts(rawText(latitude), rawText(longitude));
    t.utm = std::move(grid.utm);
    t.usng = std::move(grid.usng);
    return t;
}

} // namespace sw
