#include "taskwindow/typed_date.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono;
using sw::DateForm;
using sw::DateVerdict;

// From a day after 02-29, the same date a year earlier lies 366 days back.
constexpr year_month_day kToday = 2026y / May / 1d;
constexpr year_month_day kAfterLeapDay = 2024y / March / 1d;

struct CheckCase {
    const char* text;
    DateForm form;
    year_month_day today;
    DateVerdict verdict;
};

TEST(TypedDates, CheckWhenLeavingTheField) {
    const CheckCase cases[] = {
        {"05-01-2026", DateForm::FourDigitYear, kToday, DateVerdict::Accepted},
        {"05-02-2026", DateForm::FourDigitYear, kToday, DateVerdict::AskFuture},
        {"12-31-2099", DateForm::FourDigitYear, kToday, DateVerdict::AskFuture},
        {"05-01-2025", DateForm::FourDigitYear, kToday, DateVerdict::Accepted}, // 365 back
        {"04-30-2025", DateForm::FourDigitYear, kToday, DateVerdict::AskOld},   // 366 back
        {"03-01-2023", DateForm::FourDigitYear, kAfterLeapDay, DateVerdict::AskOld},
        {"03-02-2023", DateForm::FourDigitYear, kAfterLeapDay, DateVerdict::Accepted},
        {"02-29-2024", DateForm::FourDigitYear, kToday, DateVerdict::AskOld},
        {"02-30-2026", DateForm::FourDigitYear, kToday, DateVerdict::Invalid},
        {"02-29-2026", DateForm::FourDigitYear, kToday, DateVerdict::Invalid},
        {"13-01-2026", DateForm::FourDigitYear, kToday, DateVerdict::Invalid},
        {"00-10-2026", DateForm::FourDigitYear, kToday, DateVerdict::Invalid},
        {"01-00-2026", DateForm::FourDigitYear, kToday, DateVerdict::Invalid},
        {"01-01-0000", DateForm::FourDigitYear, kToday, DateVerdict::Invalid},
        {"__-__-____", DateForm::FourDigitYear, kToday, DateVerdict::Invalid},
        {"05-01-20__", DateForm::FourDigitYear, kToday, DateVerdict::Invalid},
        {"05/01/2026", DateForm::FourDigitYear, kToday, DateVerdict::Invalid},
        {"05-01-26", DateForm::FourDigitYear, kToday, DateVerdict::Invalid},
        {"", DateForm::FourDigitYear, kToday, DateVerdict::Invalid},
        // The short form: same rules, years within the century ending 19 years ahead.
        {"05-01-26", DateForm::TwoDigitYear, kToday, DateVerdict::Accepted},
        {"05-01-25", DateForm::TwoDigitYear, kToday, DateVerdict::Accepted},
        {"04-30-25", DateForm::TwoDigitYear, kToday, DateVerdict::AskOld},
        {"05-02-26", DateForm::TwoDigitYear, kToday, DateVerdict::AskFuture},
        {"01-01-45", DateForm::TwoDigitYear, kToday, DateVerdict::AskFuture}, // 2045
        {"01-01-46", DateForm::TwoDigitYear, kToday, DateVerdict::AskOld},    // 1946
        {"02-29-00", DateForm::TwoDigitYear, kToday, DateVerdict::AskOld},    // 2000 leaps
        {"02-30-26", DateForm::TwoDigitYear, kToday, DateVerdict::Invalid},
        {"__-__-__", DateForm::TwoDigitYear, kToday, DateVerdict::Invalid},
        {"05-01-2026", DateForm::TwoDigitYear, kToday, DateVerdict::Invalid},
    };
    for (const CheckCase& c : cases) {
        EXPECT_EQ(sw::checkDate(c.text, c.form, c.today), c.verdict) << c.text;
    }
}

TEST(TypedDates, ShortYearsNearACenturyTurn) {
    // In 2090 the window runs 2010..2109: 05 is 2105, 10 is 2010.
    const year_month_day today = 2090y / January / 1d;
    EXPECT_EQ(sw::readDate("01-01-05", DateForm::TwoDigitYear, today).date, 2105y / January / 1d);
    EXPECT_EQ(sw::readDate("01-01-10", DateForm::TwoDigitYear, today).date, 2010y / January / 1d);
}

TEST(TypedDates, ReadingTellsEmptyFromInvalid) {
    using Kind = sw::DateReading::Kind;
    EXPECT_EQ(sw::readDate("__-__-____", DateForm::FourDigitYear, kToday).kind, Kind::Empty);
    EXPECT_EQ(sw::readDate("__-__-__", DateForm::TwoDigitYear, kToday).kind, Kind::Empty);
    EXPECT_EQ(sw::readDate("1_-__-____", DateForm::FourDigitYear, kToday).kind, Kind::Invalid);
    const sw::DateReading read = sw::readDate("12-31-1999", DateForm::FourDigitYear, kToday);
    EXPECT_EQ(read.kind, Kind::Date);
    EXPECT_EQ(read.date, 1999y / December / 31d);
}

TEST(TypedDates, DaysOfTheMonth) {
    const std::tuple<int, int, int> days[] = {
        {1, 2026, 31}, {2, 2026, 28},  {2, 2028, 29},  {2, 2100, 28},  {2, 2000, 29},
        {4, 2026, 30}, {6, 2026, 30},  {9, 2026, 30},  {11, 2026, 30}, {12, 2026, 31},
        {0, 2026, 31}, {13, 2026, 31}, {-1, 2026, 31},
    };
    for (const auto& [month, year, count] : days) {
        EXPECT_EQ(sw::daysInMonth(month, year), count) << month << "/" << year;
    }
}

TEST(TypedDates, FieldTexts) {
    EXPECT_EQ(sw::dateMask(DateForm::FourDigitYear), "##-##-####");
    EXPECT_EQ(sw::dateMask(DateForm::TwoDigitYear), "##-##-##");
    EXPECT_EQ(sw::emptyDateText(DateForm::FourDigitYear), "__-__-____");
    EXPECT_EQ(sw::emptyDateText(DateForm::TwoDigitYear), "__-__-__");
    EXPECT_EQ(sw::dateText(2026y / May / 1d, DateForm::FourDigitYear), "05-01-2026");
    EXPECT_EQ(sw::dateText(2026y / May / 1d, DateForm::TwoDigitYear), "05-01-26");
    EXPECT_EQ(sw::dateText(2007y / December / 9d, DateForm::TwoDigitYear), "12-09-07");
    // What the field shows reads back as the same date.
    for (const year_month_day date : {2026y / May / 1d, 2000y / February / 29d}) {
        for (const DateForm form : {DateForm::FourDigitYear, DateForm::TwoDigitYear}) {
            EXPECT_EQ(sw::readDate(sw::dateText(date, form), form, kToday).date, date);
        }
    }
}

TEST(TypedDates, QuestionsPerField) {
    struct Case {
        sw::FireDate field;
        DateVerdict verdict;
        const char* text;
        const char* title;
    };
    const Case cases[] = {
        {sw::FireDate::Entry, DateVerdict::AskOld, "Entry Date more than one year old! Accept?",
         "Confirm Entry Start Date"},
        {sw::FireDate::Entry, DateVerdict::AskFuture, "Entry Date in the future! Accept?",
         "Confirm Entry Start Date"},
        {sw::FireDate::Start, DateVerdict::AskOld,
         "Fire Start Date more than one year old! Accept?", "Confirm Fire Start Date"},
        {sw::FireDate::Start, DateVerdict::AskFuture, "Fire Start Date in the future! Accept?",
         "Confirm Fire Start Date"},
    };
    for (const Case& c : cases) {
        const sw::MessageRequest expected{c.text, c.title, sw::Icon::Critical, sw::Buttons::YesNo,
                                          sw::Answer::No};
        EXPECT_EQ(sw::dateQuestion(c.field, c.verdict), expected) << c.text;
    }
    EXPECT_EQ(sw::invalidDateMessage().text, "You must enter a valid date");
}

TEST(TypedDates, ReportDateNextYearRefusedLastYearSilentTheYearBeforeAsked) {
    const sw::CalendarDate today = std::chrono::year{2026} / 12 / 9;
    const std::pair<const char*, sw::ReportDateCheck> cases[] = {
        {"12-09-2026", sw::ReportDateCheck::Accepted},
        {"01-01-2025", sw::ReportDateCheck::Accepted},
        {"12-31-2024", sw::ReportDateCheck::AskOld},
        {"02-29-2024", sw::ReportDateCheck::AskOld},
        {"01-01-2027", sw::ReportDateCheck::Future},
        {"02-29-2026", sw::ReportDateCheck::Invalid},
        {"13-01-2026", sw::ReportDateCheck::Invalid},
        {"00-10-2026", sw::ReportDateCheck::Invalid},
        {"04-31-2026", sw::ReportDateCheck::Invalid},
        {"__-__-____", sw::ReportDateCheck::Invalid},
        {"12-0_-2026", sw::ReportDateCheck::Invalid},
        {"12-09-0000", sw::ReportDateCheck::Invalid},
        {"1-9-2026", sw::ReportDateCheck::Invalid},
        {"", sw::ReportDateCheck::Invalid},
    };
    for (const auto& [text, check] : cases) {
        EXPECT_EQ(sw::checkReportDate(text, today), check) << text;
    }
    EXPECT_EQ(sw::dateText(std::chrono::year{2026} / 1 / 5, DateForm::FourDigitYear), "01-05-2026");
}

} // namespace
