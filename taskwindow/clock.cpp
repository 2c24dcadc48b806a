#include "taskwindow/clock.h"

#include <QDateTime>
#include <QLocale>
#include <QTimeZone>

namespace sw {

namespace {

bool isUnitedStatesZone(const QTimeZone& zone) {
    switch (zone.territory()) {
    case QLocale::UnitedStates:
    case QLocale::PuertoRico:
    case QLocale::UnitedStatesVirginIslands:
        return true;
    default:
        break;
    }
    // Zone names that carry no territory but are plainly American.
    const QByteArray id = zone.id();
    return id.startsWith("US/") || id == "EST5EDT" || id == "CST6CDT" || id == "MST7MDT" ||
           id == "PST8PDT";
}

// The US zones by their standard offset in hours.
const char* usZoneByStandardOffset(int hours) {
    switch (hours) {
    case -4:
        return "Atlantic";
    case -5:
        return "Eastern";
    case -6:
        return "Central";
    case -7:
        return "Mountain";
    case -8:
        return "Pacific";
    case -9:
        return "Alaska";
    case -10:
        return "Hawaii-Aleutian";
    default:
        return nullptr;
    }
}

} // namespace

Clock systemClock() {
    return {[] { return localToday(); },
            [](const QDateTime& instant) {
                return systemZoneName(QTimeZone::systemTimeZone(), instant);
            }};
}

std::string systemZoneName(const QTimeZone& zone, const QDateTime& now) {
    if (!zone.isValid()) {
        return kUnknownZoneName;
    }
    if (isUnitedStatesZone(zone)) {
        const int offsetSeconds = zone.standardTimeOffset(now);
        if (offsetSeconds % 3600 == 0) {
            if (const char* name = usZoneByStandardOffset(offsetSeconds / 3600)) {
                return std::string(name) +
                       (zone.isDaylightTime(now) ? " Daylight Time" : " Standard Time");
            }
        }
    }
    return zone.id().toStdString();
}

std::string currentZoneName() {
    return systemZoneName(QTimeZone::systemTimeZone(), QDateTime::currentDateTimeUtc());
}

} // namespace sw
