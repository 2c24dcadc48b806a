#pragma once
// Dates as users type them into masked fields, and the checks run when a date field is left.
// Every window that takes a typed date uses these rules: the Wildfires window shows
// "##-##-####" (mm-dd-yyyy), the KML conversion window "##-##-##" (mm-dd-yy), the Hurricanes
// window's report date "##-##-####". "Today" is always passed in (see taskwindow/clock.h), so
// the rules never depend on the machine's clock.

#include "services/base/dialogs.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace sw {

using CalendarDate = std::chrono::year_month_day;

// The two masks: "##-##-####" and "##-##-##", both month-day-year with "_" as the prompt.
enum class DateForm { FourDigitYear, TwoDigitYear };

// The input mask ("##-##-####", "##-##-##"), the text of a field without digits
// ("__-__-____", "__-__-__") and a date as the field shows it ("05-01-2026", "05-01-26").
std::string_view dateMask(DateForm form);
std::string emptyDateText(DateForm form);
std::string dateText(CalendarDate date, DateForm form);

// The local calendar date of the machine's clock.
CalendarDate localToday();

// The number of days of a month (1..12) in a year; 31 for a month outside 1..12.
int daysInMonth(int month, int year);

// What a date field's text holds: no digits at all (the empty mask), a calendar date, or
// anything else (a place still "_", 02-30-2026, a month 13, year 0).
struct DateReading {
    enum class Kind { Empty, Date, Invalid };
    Kind kind = Kind::Invalid;
    CalendarDate date{};
};

// Reads a field's text. A two-digit year is taken in the hundred years that end nineteen
// years after today (in 2026: 07 is 2007, 45 is 2045, 46 is 1946), so a field filled today
// keeps its meaning for decades either way.
DateReading readDate(std::string_view text, DateForm form, CalendarDate today);

// The box for a text that is no date (OK, the program's title; a beep comes first).
inline constexpr const char* kInvalidDateMessage = "You must enter a valid date";
MessageRequest invalidDateMessage();

// A record's own dates (a fire's entry and start dates): within the last year is accepted,
// older or later is asked about.
enum class DateVerdict {
    Invalid,  // kInvalidDateMessage; the focus stays
    Accepted, // silently
    AskOld,   // 366 or more days before today (exactly 365 back is accepted)
    AskFuture // any day after today
};
DateVerdict checkDate(std::string_view text, DateForm form, CalendarDate today);

// The two fire dates differ only in the words of their questions.
enum class FireDate { Entry, Start };
// The question for AskOld or AskFuture: Yes/No with No as the default and the stop icon.
// Yes keeps the date; No empties the field to its mask.
MessageRequest dateQuestion(FireDate field, DateVerdict verdict);

// A report's date (a storm position's report, mm-dd-yyyy): the year decides.
enum class ReportDateCheck {
    Accepted, // this year or last year
    Invalid,  // not a date: the field is reset to today and keeps the focus
    Future,   // a later year than this one: refused, the field keeps the focus
    AskOld,   // two or more years back: the user is asked whether to accept it
};
ReportDateCheck checkReportDate(std::string_view text, CalendarDate today);

inline constexpr const char* kFutureYearMessage =
    "Year is in the future - you must enter a valid date";
inline constexpr const char* kOldYearQuestion = "Year is  more than One year ago - Accept?";
inline constexpr const char* kOldYearTitle = "Accept Date?";

} // namespace sw
