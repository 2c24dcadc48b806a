#include "hurricanes/storm_time.h"

#include "coord/number_text.h"
#include "taskwindow/typed_date.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

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

} // namespace

std::string hourLabel(int hour) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:00", std::clamp(hour, 0, 99));
    return text;
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
    return ConvertUTC(monthText, dayText, hourText, year,
                      [name = std::string(zoneName)](const QDateTime&) { return name; });
}

UtcConversion ConvertUTC(std::string_view monthText, std::string_view dayText,
                         std::string_view hourText, int year, const ZoneNameAt& zoneNameAt) {
    UtcConversion result;
    const std::string_view hh = hourText.substr(0, 2);
    const int hour = wholeNumber(hh);
    const int month = wholeNumber(monthText);

    // The scroll bars keep the day inside the month, but a day carried over from a longer
    // month, or February of another leap rule, is pulled back and shown as such.
    int day = wholeNumber(dayText);
    if (month >= 1 && month <= 12 && day > daysInMonth(month, year)) {
        day = daysInMonth(month, year);
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

    const ZoneOffset zone = zoneOffset(zoneNameAt(QDateTime(utcDate, QTime(hour, 0), Qt::UTC)));
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

std::string monthAbbreviation(int month) {
    static constexpr std::array<const char*, 12> names = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    if (month < 1 || month > 12) {
        return {};
    }
    return names[static_cast<std::size_t>(month - 1)];
}

} // namespace sw
