#include "hurricanes/storm_time.h"

#include "coord/number_text.h"

#include <QDateTime>
#include <QLocale>
#include <QTimeZone>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <utility>

namespace sw {
namespace {

int wholeNumber(std::string_view text) {
    const double value = leadingNumber(text);
    if (!std::isfinite(value)) {
        return 0;
    }
    return static_cast<int>(std::clamp(roundTiesToEven(value), -1.0e6, 1.0e6));
}

std::string dateText(const QDate& date) {
    return std::to_string(date.month()) + "/" + std::to_string(date.day()) + "/" +
           std::to_string(date.year());
}

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

bool leapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daySetter(int month, int year) {
    switch (month) {
    case 2:
        return leapYear(year) ? 29 : 28;
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    default:
        return 31;
    }
}

std::string hourLabel(int hour) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:00", std::clamp(hour, 0, 99));
    return text;
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

StormClock systemStormClock() {
    return {[] { return QDate::currentDate(); }, [] { return currentZoneName(); }};
}

ZoneOffset zoneOffset(std::string_view zoneName) {
    struct Row {
        std::string_view name;
        int hours;
        std::string_view suffix;
    };
    static constexpr std::array<Row, 14> rows = {{
        {"Eastern Standard Time", -5, " EST"},
        {"Eastern Daylight Time", -4, " EDT"},
        {"Central Standard Time", -6, " CST"},
        {"Central Daylight Time", -5, " CDT"},
        {"Atlantic Standard Time", -4, " AST"},
        {"Atlantic Daylight Time", -3, " ADT"},
        {"Mountain Standard Time", -7, " MST"},
        {"Mountain Daylight Time", -6, " MDT"},
        {"Pacific Standard Time", -8, " PST"},
        {"Pacific Daylight Time", -7, " PDT"},
        {"Alaska Standard Time", -9, " AKST"},
        {"Alaska Daylight Time", -8, " AKDT"},
        {"Hawaii-Aleutian Standard Time", -10, " HST"},
        {"Hawaii-Aleutian Daylight Time", -9, " HDT"},
    }};
    for (const Row& row : rows) {
        if (row.name == zoneName) {
            return {row.hours, std::string(row.suffix)};
        }
    }
    return {};
}

UtcConversion ConvertUTC(std::string_view monthText, std::string_view dayText,
                         std::string_view hourText, int year, std::string_view zoneName) {
    UtcConversion result;
    const std::string_view hh = hourText.substr(0, 2);
    const int hour = wholeNumber(hh);
    const int month = wholeNumber(monthText);

    // The scroll bars keep the day inside the month, but a day carried over from a longer
    // month, or February of another leap rule, is pulled back and shown as such.
    int day = wholeNumber(dayText);
    if (month >= 1 && month <= 12 && day > daySetter(month, year)) {
        day = daySetter(month, year);
        result.dayText = std::to_string(day);
    } else {
        result.dayText = std::string(dayText);
    }

    const bool monthIsKnown = std::to_string(month) == monthText;
    const QDate utcDate(year, month, day);
    if (!monthIsKnown || !utcDate.isValid() || hour < 0 || hour > 23) {
        return result;
    }
    result.utcText = dateText(utcDate) + " " + std::string(hh) + ":00:00 UTC";

    const ZoneOffset zone = zoneOffset(zoneName);
    const int localHours = hour + zone.hours;
    const int dayShift = localHours < 0 ? -1 : (localHours > 23 ? 1 : 0);
    const QDate localDate = utcDate.addDays(dayShift);
    const int localHour = localHours - 24 * dayShift;

    std::string local = dateText(localDate) + " ";
    if (localHour == 0) {
        // The general date format shows a midnight as the date alone; our texts always carry a
        // time, written like this so every local text has the same parts.
        local += "00:00:00 AM";
    } else {
        const int clockHour = localHour % 12 == 0 ? 12 : localHour % 12;
        local += std::to_string(clockHour) + ":00:00 " + (localHour < 12 ? "AM" : "PM");
    }
    result.localText = local + zone.suffix;
    return result;
}

std::string reportDateText(const QDate& date) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d-%02d-%04d", date.month(), date.day(), date.year());
    return text;
}

ReportDateCheck checkReportDate(std::string_view text, const QDate& today) {
    // The field's mask is ##-##-####: anything else (an unfilled digit shows as the prompt
    // character) is not a date.
    auto digits = [&](std::size_t from, std::size_t count) {
        int value = 0;
        for (std::size_t i = from; i < from + count; ++i) {
            if (text[i] < '0' || text[i] > '9') {
                return -1;
            }
            value = value * 10 + (text[i] - '0');
        }
        return value;
    };
    if (text.size() != 10 || text[2] != '-' || text[5] != '-') {
        return ReportDateCheck::Invalid;
    }
    const QDate date(digits(6, 4), digits(0, 2), digits(3, 2));
    if (!date.isValid() || date.year() < 1) {
        return ReportDateCheck::Invalid;
    }
    if (date.year() > today.year()) {
        return ReportDateCheck::Future;
    }
    if (date.year() <= today.year() - 2) {
        return ReportDateCheck::AskOld;
    }
    return ReportDateCheck::Accepted;
}

std::string monthAbbreviation(int month) {
    static constexpr std::array<const char*, 12> names = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    if (month < 1 || month > 12) {
        return {};
    }
    return names[static_cast<std::size_t>(month - 1)];
}

} // namespace sw
