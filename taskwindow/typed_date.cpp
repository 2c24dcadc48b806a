#include "taskwindow/typed_date.h"

#include <cstdio>
#include <ctime>

namespace sw {

namespace chr = std::chrono;

std::string_view dateMask(DateForm form) {
    return form == DateForm::FourDigitYear ? "##-##-####" : "##-##-##";
}

std::string emptyDateText(DateForm form) {
    std::string text(dateMask(form));
    for (char& c : text) {
        if (c == '#') {
            c = '_';
        }
    }
    return text;
}

std::string dateText(CalendarDate date, DateForm form) {
    const int year = static_cast<int>(date.year());
    const unsigned shown = form == DateForm::FourDigitYear ? static_cast<unsigned>(year) % 10000
                                                           : static_cast<unsigned>(year) % 100;
    char buffer[16];
    std::snprintf(buffer, sizeof buffer,
                  form == DateForm::FourDigitYear ? "%02u-%02u-%04u" : "%02u-%02u-%02u",
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()), shown);
    return buffer;
}

CalendarDate localToday() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return chr::year{local.tm_year + 1900} / chr::month{static_cast<unsigned>(local.tm_mon + 1)} /
           chr::day{static_cast<unsigned>(local.tm_mday)};
}

int daysInMonth(int month, int year) {
    if (month < 1 || month > 12) {
        return 31;
    }
    const chr::year_month_day_last last{
        chr::year{year}, chr::month_day_last{chr::month{static_cast<unsigned>(month)}}};
    return static_cast<int>(static_cast<unsigned>(last.day()));
}

DateReading readDate(std::string_view text, DateForm form, CalendarDate today) {
    const std::string_view mask = dateMask(form);
    if (text.size() != mask.size()) {
        return {};
    }
    bool anyDigit = false;
    bool allDigits = true;
    for (std::size_t i = 0; i < mask.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (mask[i] == '#') {
            anyDigit = anyDigit || digit;
            allDigits = allDigits && digit;
        } else if (text[i] != mask[i]) {
            return {};
        }
    }
    if (!anyDigit) {
        return {DateReading::Kind::Empty, {}};
    }
    if (!allDigits) {
        return {};
    }
    auto number = [text](std::size_t from, std::size_t count) {
        int value = 0;
        for (std::size_t i = from; i < from + count; ++i) {
            value = value * 10 + (text[i] - '0');
        }
        return value;
    };
    int year = number(6, mask.size() - 6);
    if (form == DateForm::TwoDigitYear) {
        const int latest = static_cast<int>(today.year()) + 19;
        year += latest - latest % 100;
        if (year > latest) {
            year -= 100;
        }
    }
    const chr::year_month_day date{chr::year{year}, chr::month{static_cast<unsigned>(number(0, 2))},
                                   chr::day{static_cast<unsigned>(number(3, 2))}};
    // Year 0 is no calendar year a person writes.
    if (!date.ok() || year < 1) {
        return {};
    }
    return {DateReading::Kind::Date, date};
}

DateVerdict checkDate(std::string_view text, DateForm form, CalendarDate today) {
    const DateReading reading = readDate(text, form, today);
    if (reading.kind != DateReading::Kind::Date) {
        return DateVerdict::Invalid;
    }
    const auto days = (chr::sys_days{reading.date} - chr::sys_days{today}).count();
    if (days < -365) {
        return DateVerdict::AskOld;
    }
    if (days > 0) {
        return DateVerdict::AskFuture;
    }
    return DateVerdict::Accepted;
}

MessageRequest invalidDateMessage() {
    return {kInvalidDateMessage, {}, Icon::None, Buttons::Ok, Answer::Ok};
}

MessageRequest dateQuestion(FireDate field, DateVerdict verdict) {
    const bool entry = field == FireDate::Entry;
    const std::string subject = entry ? "Entry Date" : "Fire Start Date";
    const std::string what = verdict == DateVerdict::AskOld ? " more than one year old! Accept?"
                                                            : " in the future! Accept?";
    return {subject + what, entry ? "Confirm Entry Start Date" : "Confirm Fire Start Date",
            Icon::Critical, Buttons::YesNo, Answer::No};
}

ReportDateCheck checkReportDate(std::string_view text, CalendarDate today) {
    const DateReading reading = readDate(text, DateForm::FourDigitYear, today);
    if (reading.kind != DateReading::Kind::Date) {
        return ReportDateCheck::Invalid;
    }
    const int year = static_cast<int>(reading.date.year());
    const int thisYear = static_cast<int>(today.year());
    if (year > thisYear) {
        return ReportDateCheck::Future;
    }
    if (year <= thisYear - 2) {
        return ReportDateCheck::AskOld;
    }
    return ReportDateCheck::Accepted;
}

} // namespace sw
