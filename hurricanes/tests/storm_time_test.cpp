// The time of a storm position: the UTC and local texts with the clock and zone held fixed, the
// hour labels and month names.

#include "hurricanes/storm_time.h"
#include "taskwindow/clock.h"

#include <QDateTime>
#include <QTimeZone>
#include <gtest/gtest.h>

namespace sw {
namespace {

TEST(ConvertUTC, UtcAndLocalTextsForEveryZoneAndCalendarEdge) {
    struct Case {
        const char* what;
        const char *month, *day, *hour;
        int year;
        const char* zone;
        const char *dayOut, *utc, *local;
    };
    const Case cases[] = {
        {"afternoon in EDT", "8", "29", "15:00", 2025, "Eastern Daylight Time", "29",
         "8/29/2025 15:00:00 UTC", "8/29/2025 11:00:00 AM EDT"},
        {"hour 4 in EDT is local midnight", "8", "29", "04:00", 2025, "Eastern Daylight Time", "29",
         "8/29/2025 04:00:00 UTC", "8/29/2025 00:00:00 AM EDT"},
        {"hour 3 in EDT is the evening before", "8", "29", "03:00", 2025, "Eastern Daylight Time",
         "29", "8/29/2025 03:00:00 UTC", "8/28/2025 11:00:00 PM EDT"},
        {"noon in EST", "1", "5", "17:00", 2026, "Eastern Standard Time", "5",
         "1/5/2026 17:00:00 UTC", "1/5/2026 12:00:00 PM EST"},
        {"CST midnight", "11", "3", "06:00", 2026, "Central Standard Time", "3",
         "11/3/2026 06:00:00 UTC", "11/3/2026 00:00:00 AM CST"},
        {"CDT across a month end", "7", "1", "00:00", 2026, "Central Daylight Time", "1",
         "7/1/2026 00:00:00 UTC", "6/30/2026 7:00:00 PM CDT"},
        {"EST across the year end", "1", "1", "02:00", 2026, "Eastern Standard Time", "1",
         "1/1/2026 02:00:00 UTC", "12/31/2025 9:00:00 PM EST"},
        {"into February 29 of a leap year", "3", "1", "01:00", 2028, "Eastern Standard Time", "1",
         "3/1/2028 01:00:00 UTC", "2/29/2028 8:00:00 PM EST"},
        {"into February 28 of a common year", "3", "1", "01:00", 2027, "Eastern Standard Time", "1",
         "3/1/2027 01:00:00 UTC", "2/28/2027 8:00:00 PM EST"},
        {"February 29 of a common year becomes 28", "2", "29", "12:00", 2027,
         "Central Standard Time", "28", "2/28/2027 12:00:00 UTC", "2/28/2027 6:00:00 AM CST"},
        {"February 31 of a leap year becomes 29", "2", "31", "12:00", 2028, "Central Standard Time",
         "29", "2/29/2028 12:00:00 UTC", "2/29/2028 6:00:00 AM CST"},
        {"April 31 becomes 30", "4", "31", "23:00", 2026, "Eastern Daylight Time", "30",
         "4/30/2026 23:00:00 UTC", "4/30/2026 7:00:00 PM EDT"},
        {"a western zone keeps its own offset", "9", "12", "15:00", 2026, "Pacific Daylight Time",
         "12", "9/12/2026 15:00:00 UTC", "9/12/2026 8:00:00 AM PDT"},
        {"Hawaii", "9", "12", "05:00", 2026, "Hawaii-Aleutian Standard Time", "12",
         "9/12/2026 05:00:00 UTC", "9/11/2026 7:00:00 PM HST"},
        {"Atlantic daylight", "9", "12", "03:00", 2026, "Atlantic Daylight Time", "12",
         "9/12/2026 03:00:00 UTC", "9/12/2026 00:00:00 AM ADT"},
        {"a zone outside the table: local equals UTC, no suffix", "9", "12", "15:00", 2026,
         "Europe/Berlin", "12", "9/12/2026 15:00:00 UTC", "9/12/2026 3:00:00 PM"},
        {"no zone: midnight UTC is midnight local", "9", "12", "00:00", 2026, kUnknownZoneName,
         "12", "9/12/2026 00:00:00 UTC", "9/12/2026 00:00:00 AM"},
        {"zone names are compared exactly", "9", "12", "12:00", 2026, "eastern daylight time", "12",
         "9/12/2026 12:00:00 UTC", "9/12/2026 12:00:00 PM"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const UtcConversion result = ConvertUTC(c.month, c.day, c.hour, c.year, c.zone);
        EXPECT_EQ(result.dayText, c.dayOut);
        EXPECT_EQ(result.utcText, c.utc);
        EXPECT_EQ(result.localText, std::optional<std::string>(c.local));
    }
}

TEST(ConvertUTC, DaylightTimeIsThatOfThePositionsOwnInstant) {
    // The machine's zone as the program names it at each instant, whatever today is.
    const ZoneNameAt newYork = [](const QDateTime& instant) {
        return systemZoneName(QTimeZone("America/New_York"), instant);
    };
    const struct {
        const char *month, *day, *hour, *local;
    } cases[] = {
        {"12", "31", "23:00", "12/31/2026 6:00:00 PM EST"},
        {"7", "4", "16:00", "7/4/2026 12:00:00 PM EDT"},
        // The changes of 2026: March 8 at 07:00 UTC and November 1 at 06:00 UTC.
        {"3", "8", "06:00", "3/8/2026 1:00:00 AM EST"},
        {"3", "8", "07:00", "3/8/2026 3:00:00 AM EDT"},
        {"11", "1", "05:00", "11/1/2026 1:00:00 AM EDT"},
        {"11", "1", "06:00", "11/1/2026 1:00:00 AM EST"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.month) + "/" + c.day + " " + c.hour);
        EXPECT_EQ(ConvertUTC(c.month, c.day, c.hour, 2026, newYork).localText,
                  std::optional<std::string>(c.local));
    }
}

TEST(ConvertUTC, AMonthOutsideOneToTwelveLeavesTheUtcTextEmptyAndTheLocalTextAlone) {
    for (const char* month : {"", "0", "13", "08", "x"}) {
        const UtcConversion result =
            ConvertUTC(month, "12", "15:00", 2026, "Eastern Daylight Time");
        EXPECT_EQ(result.utcText, "") << month;
        EXPECT_FALSE(result.localText.has_value()) << month;
    }
}

TEST(Calendar, HourLabelsAndMonthNames) {
    EXPECT_EQ(hourLabel(0), "00:00");
    EXPECT_EQ(hourLabel(9), "09:00");
    EXPECT_EQ(hourLabel(10), "10:00");
    EXPECT_EQ(hourLabel(23), "23:00");
    EXPECT_EQ(monthAbbreviation(9), "Sep");
    EXPECT_EQ(monthAbbreviation(13), "");
}

} // namespace
} // namespace sw
