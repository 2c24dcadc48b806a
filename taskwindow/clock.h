#pragma once
// What a window asks the machine's clock: today's local date and the name of the machine's
// time zone. Windows take a Clock, so a test fixes both and the rules give the same answer in
// a test as on a dispatcher's desk; the program passes systemClock().

#include "taskwindow/typed_date.h"

#include <functional>
#include <string>

class QDateTime;
class QTimeZone;

namespace sw {

struct Clock {
    std::function<CalendarDate()> today;
    // The machine's zone as it stands at an instant, named as the storm window's conversion
    // table names it ("Eastern Daylight Time" in July, "Eastern Standard Time" in December);
    // see systemZoneName(). A position of another season keeps that season's offset.
    std::function<std::string(const QDateTime& instant)> zoneNameAt;
};

// The machine's clock and zone.
Clock systemClock();

// The name given for a machine whose zone cannot be found.
inline constexpr const char* kUnknownZoneName = "Cannot determine current time zone";

// A zone, named as the storm window's conversion table names it, for the moment `now`:
// whether daylight time is in force is decided by `now`. US zones (the fifty states, Puerto
// Rico and the US Virgin Islands) are named by their standard offset: "Eastern Standard Time",
// "Central Daylight Time", "Hawaii-Aleutian Standard Time" and so on. Any other zone keeps its
// own identifier (which matches no row of the table); an invalid zone gives kUnknownZoneName.
std::string systemZoneName(const QTimeZone& zone, const QDateTime& now);
// The same for the machine's own zone at this moment.
std::string currentZoneName();

} // namespace sw
