// The machine's zone as the storm window names it.

#include "taskwindow/clock.h"

#include <QDateTime>
#include <QTimeZone>

#include <gtest/gtest.h>

namespace sw {
namespace {

TEST(ZoneNames, TheMachinesZoneIsNamedByItsUsRowAndDaylightIsDecidedByNow) {
    const QDateTime july(QDate(2026, 7, 15), QTime(12, 0), Qt::UTC);
    const QDateTime january(QDate(2026, 1, 15), QTime(12, 0), Qt::UTC);
    struct Case {
        const char* zone;
        const QDateTime& now;
        const char* name;
    };
    const Case cases[] = {
        {"America/New_York", july, "Eastern Daylight Time"},
        {"America/New_York", january, "Eastern Standard Time"},
        {"America/Indiana/Indianapolis", july, "Eastern Daylight Time"},
        {"America/Chicago", july, "Central Daylight Time"},
        {"America/Chicago", january, "Central Standard Time"},
        {"America/Phoenix", july, "Mountain Standard Time"},
        {"America/Denver", july, "Mountain Daylight Time"},
        {"America/Los_Angeles", january, "Pacific Standard Time"},
        {"America/Anchorage", july, "Alaska Daylight Time"},
        {"Pacific/Honolulu", july, "Hawaii-Aleutian Standard Time"},
        {"America/Adak", july, "Hawaii-Aleutian Daylight Time"},
        {"America/Puerto_Rico", july, "Atlantic Standard Time"},
        {"America/Toronto", july, "America/Toronto"},
        {"Europe/Berlin", july, "Europe/Berlin"},
        {"UTC", july, "UTC"},
    };
    for (const Case& c : cases) {
        const QTimeZone zone(c.zone);
        ASSERT_TRUE(zone.isValid()) << c.zone << ": the machine lacks the time-zone data";
        EXPECT_EQ(systemZoneName(zone, c.now), c.name) << c.zone;
    }
    EXPECT_EQ(systemZoneName(QTimeZone(), july), kUnknownZoneName);

    // The tests run with TZ=America/New_York: the machine's own zone is read from it.
    const std::string own = currentZoneName();
    EXPECT_TRUE(own == "Eastern Standard Time" || own == "Eastern Daylight Time") << own;
}

} // namespace
} // namespace sw
