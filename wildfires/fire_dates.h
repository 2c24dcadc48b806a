#pragma once
// The masked date fields of the fire record: their texts, how a text reads as a date, and the
// check run when the user leaves one. The wildfire window shows "##-##-####" (mm-dd-yyyy); the
// KML conversion window shows "##-##-##" (mm-dd-yy). "Today" is always passed in, so the rules
// do not depend on the clock.

#include "services/base/dialogs.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace sw {

// The two masks: "##-##-####" and "##-##-##", both month-day-year with "_" as the prompt.
enum class DateForm { FourDigitYear, TwoDigitYear };

// The input mask ("##-##-####", "##-##-##"), the text of a field without digits
// ("__-__-____", "__-__-__") and a date as the field shows it ("05-01-2026", "05-01-26").
std::string_view dateMask(DateForm form);
std::string emptyDateText(DateForm form);
std::string dateText(std::chrono::year_month_day date, DateForm form);

// The local calendar date of the clock (the program's "today").
std::chrono::year_month_day localToday();

// What a date field's text holds: no digits at all (the empty mask), a calendar date, or
// anything else (a place still "_", 02-30-2026, a month 13, year 0).
struct DateReading {
    enum class Kind { Empty, Date, Invalid };
    Kind kind = Kind::Invalid;
    std::chrono::year_month_day date{};
};

// Reads a field's text. A two-digit year is taken in the hundred years that end nineteen
// years after today (in 2026: 07 is 2007, 45 is 2045, 46 is 1946), so a field filled today
// keeps its meaning for decades either way.
DateReading readDate(std::string_view text, DateForm form, std::chrono::year_month_day today);

// The check when a date field is left.
enum class DateVerdict {
    Invalid,  // "You must enter a valid date"; the focus stays
    Accepted, // silently
    AskOld,   // 366 or more days before today (exactly 365 back is accepted)
    AskFuture // any day after today
};
DateVerdict checkDate(std::string_view text, DateForm form, std::chrono::year_month_day today);

// The two date fields differ only in the words of their questions.
enum class FireDate { Entry, Start };

// The box for an invalid date (OK, the program's title; a beep comes first).
MessageRequest invalidDateMessage();
// The question for AskOld or AskFuture: Yes/No with No as the default and the stop icon.
// Yes keeps the date; No empties the field to its mask.
MessageRequest dateQuestion(FireDate field, DateVerdict verdict);

} // namespace sw
