#include "coord/angle_fields.h"

#include <cstddef>

#include "coord/number_text.h"

namespace sw {
namespace {

using enum Field;
using N = Notation;
using R = Row;
using Ro = FieldRole;

constexpr std::array<FieldInfo, fieldCount> fieldTable{{
    {txtDDlongD, "txtDDlongD", N::DD, R::Longitude, Ro::Degrees, 3, "000", 57},
    {txtDDLongDD, "txtDDLongDD", N::DD, R::Longitude, Ro::DecimalDigits, 4, "0000", 58},
    {txtDDLatD, "txtDDLatD", N::DD, R::Latitude, Ro::Degrees, 2, "00", 59},
    {txtDDLatDD, "txtDDLatDD", N::DD, R::Latitude, Ro::DecimalDigits, 4, "0000", 60},
    {txtDMMlongdd, "txtDMMlongdd", N::DMM, R::Longitude, Ro::Degrees, 3, "000", 44},
    {txtDMMlongmm, "txtDMMlongmm", N::DMM, R::Longitude, Ro::Minutes, 2, "00", 45},
    {txtDMMlongdm, "txtDMMlongdm", N::DMM, R::Longitude, Ro::DecimalDigits, 2, "00", 46},
    {txtDMMlatdd, "txtDMMlatdd", N::DMM, R::Latitude, Ro::Degrees, 2, "00", 47},
    {txtDMMlatmm, "txtDMMlatmm", N::DMM, R::Latitude, Ro::Minutes, 2, "00", 48},
    {txtDMMlatdm, "txtDMMlatdm", N::DMM, R::Latitude, Ro::DecimalDigits, 2, "00", 49},
    {txtDMSlongdd, "txtDMSlongdd", N::DMS, R::Longitude, Ro::Degrees, 3, "000", 1},
    {txtDMSlongmm, "txtDMSlongmm", N::DMS, R::Longitude, Ro::Minutes, 2, "00", 2},
    {txtDMSlongss, "txtDMSlongss", N::DMS, R::Longitude, Ro::Seconds, 2, "00", 3},
    {txtDMSlongssd, "txtDMSlongssd", N::DMS, R::Longitude, Ro::Hundredths, 2, "00", 4},
    {txtDMSlatdd, "txtDMSlatdd", N::DMS, R::Latitude, Ro::Degrees, 2, "00", 9},
    {txtDMSlatmm, "txtDMSlatmm", N::DMS, R::Latitude, Ro::Minutes, 2, "00", 10},
    {txtDMSlatss, "txtDMSlatss", N::DMS, R::Latitude, Ro::Seconds, 2, "00", 11},
    {txtDMSlatssd, "txtDMSlatssd", N::DMS, R::Latitude, Ro::Hundredths, 2, "00", 12},
}};

// One line of the validation table: refuse when the value is below `low` (if checked) or
// above `high`.
struct Rule {
    bool checkLow;
    double low;
    double high;
    std::string_view message;
    std::string_view replacement;
};

constexpr std::string_view latMessage = "Latitude must be between 00 and 90";
constexpr std::string_view longMessage = "Longitude must be between 000 and 180";

Rule ruleFor(Field field) {
    switch (field) {
    case txtDDLatD:
        return {true, 0, 90, latMessage, "00"};
    case txtDMMlatdd:
    case txtDMSlatdd:
        return {true, 0, 90, latMessage, ""};
    case txtDDlongD:
        return {true, 0, 180, longMessage, "000"};
    case txtDMMlongdd:
    case txtDMSlongdd:
        return {true, 0, 180, longMessage, ""};
    case txtDDLatDD:
    case txtDDLongDD:
        return {false, 0, 9999, " Must Be Less Than 9999", ""};
    case txtDMMlatmm:
    case txtDMMlongmm:
    case txtDMSlatmm:
    case txtDMSlongmm:
    case txtDMSlatss:
    case txtDMSlongss:
        return {false, 0, 60, " Must Be Less Than 60", ""};
    case txtDMMlatdm:
        return {false, 0, 99, " Must Be Less Than 99", ""};
    case txtDMMlongdm:
        return {false, 0, 99, " Must Be Less Than 99", "00"};
    case txtDMSlatssd:
        return {true, 0, 100, "Must be between 1 and 99", ""};
    case txtDMSlongssd:
        return {true, 0, 100, " Must be between 1 and 99", ""};
    }
    return {false, 0, 0, "", ""};
}

// Number of code points in a UTF-8 text (continuation bytes are not counted).
std::size_t codePoints(std::string_view text) {
    std::size_t n = 0;
    for (const char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0U) != 0x80U) {
            ++n;
        }
    }
    return n;
}

// The byte length of the first `count` code points.
std::size_t prefixBytes(std::string_view text, std::size_t count) {
    std::size_t seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0U) != 0x80U) {
            if (seen == count) {
                return i;
            }
            ++seen;
        }
    }
    return text.size();
}

} // namespace

RowParts& AngleState::row(Notation n, Row r) {
    NotationParts& p = parts[static_cast<std::size_t>(n)];
    return r == Row::Latitude ? p.latitude : p.longitude;
}

const RowParts& AngleState::row(Notation n, Row r) const {
    const NotationParts& p = parts[static_cast<std::size_t>(n)];
    return r == Row::Latitude ? p.latitude : p.longitude;
}

std::span<const FieldInfo, fieldCount> allFields() {
    return fieldTable;
}

const FieldInfo& fieldInfo(Field field) {
    return fieldTable[static_cast<std::size_t>(field)];
}

std::optional<Field> fieldByName(std::string_view name) {
    for (const FieldInfo& info : fieldTable) {
        if (info.name == name) {
            return info.field;
        }
    }
    return std::nullopt;
}

std::vector<Field> fieldsOf(Notation notation) {
    std::vector<Field> out;
    for (const Row row : {Row::Longitude, Row::Latitude}) {
        for (const FieldInfo& info : fieldTable) {
            if (info.notation == notation && info.row == row) {
                out.push_back(info.field);
            }
        }
    }
    return out;
}

std::int16_t readWholePart(std::string_view text) {
    return wholeTiesToEven16(leadingNumber(text));
}

double readDecimalDigits(std::string_view text) {
    // The field holds the digits after the decimal point, so "05" is five hundredths.
    std::string number = "0.";
    number += text;
    return leadingNumber(number);
}

std::optional<Refusal> validateField(Field field, std::string_view text) {
    const Rule rule = ruleFor(field);
    const double value = leadingNumber(text);
    // The limits are inclusive: 90, 180, 60, 99, 100 and 9999 themselves are accepted.
    if (value > rule.high || (rule.checkLow && value < rule.low)) {
        return Refusal{std::string(rule.message), std::string(rule.replacement)};
    }
    return std::nullopt;
}

std::vector<ClampedField> clampFor(Field field, std::int16_t wholeDegrees) {
    switch (field) {
    case txtDDLatD:
        if (wholeDegrees == 90) {
            return {{txtDDLatDD, "0000"}};
        }
        break;
    case txtDDlongD:
        if (wholeDegrees == 180) {
            return {{txtDDLongDD, "00"}};
        }
        break;
    case txtDMMlatdd:
        if (wholeDegrees == 90) {
            return {{txtDMMlatmm, "00"}, {txtDMMlatdm, "00"}};
        }
        break;
    case txtDMMlongdd:
        if (wholeDegrees == 180) {
            return {{txtDMMlongmm, "00"}, {txtDMMlongdm, "00"}};
        }
        break;
    case txtDMSlatdd:
        if (wholeDegrees == 90) {
            return {{txtDMSlatmm, "00"}, {txtDMSlatss, "00"}, {txtDMSlatssd, "00"}};
        }
        break;
    case txtDMSlongdd:
        if (wholeDegrees == 180) {
            return {{txtDMSlongmm, "00"}, {txtDMSlongss, "00"}, {txtDMSlongssd, "0"}};
        }
        break;
    default:
        break;
    }
    return {};
}

FieldChange fieldChanged(AngleState& state, Field field, std::string_view text) {
    FieldChange change;
    if (auto refusal = validateField(field, text)) {
        change.message = std::move(refusal->message);
        change.replacement = std::move(refusal->replacement);
        return change;
    }
    const FieldInfo& info = fieldInfo(field);
    RowParts& parts = state.row(info.notation, info.row);
    switch (info.role) {
    case FieldRole::Degrees:
        parts.degrees = readWholePart(text);
        change.clamp = clampFor(field, parts.degrees);
        break;
    case FieldRole::Minutes:
        parts.minutes = readWholePart(text);
        break;
    case FieldRole::Seconds:
        parts.seconds = readWholePart(text);
        break;
    case FieldRole::Hundredths:
        parts.hundredths = readWholePart(text);
        break;
    case FieldRole::DecimalDigits:
        parts.fraction = readDecimalDigits(text);
        break;
    }
    change.accepted = true;
    change.recompose = info.row;
    change.autoAdvance = true;
    return change;
}

double composeRow(AngleState& state, Notation notation, Row row) {
    const RowParts& p = state.row(notation, row);
    double sum = 0.0;
    switch (notation) {
    case Notation::DD:
        sum = p.degrees + p.fraction;
        break;
    case Notation::DMM:
        sum = p.degrees + (p.minutes + p.fraction) / 60.0;
        break;
    case Notation::DMS:
        sum = p.degrees + p.minutes / 60.0 + p.seconds / 3600.0 + p.hundredths * 0.01 / 3600.0;
        break;
    }
    if (row == Row::Latitude) {
        state.latitude = sum;
        return sum;
    }
    state.longitude = -sum;
    return state.longitude;
}

bool keyAccepted(char32_t code) {
    if (code >= U'0' && code <= U'9') {
        return true;
    }
    switch (code) {
    case 8:
    case 9:
    case 12:
    case 14:
    case U'%':
    case U'&':
    case U'\'':
    case U'(':
    case U'.':
        return true;
    default:
        return false;
    }
}

AutoAdvance autoAdvance(std::string_view text, int maxLength, int caretPosition) {
    AutoAdvance decision;
    const std::size_t length = codePoints(text);
    const auto limit = static_cast<std::size_t>(maxLength < 0 ? 0 : maxLength);
    if (length > limit) {
        decision.action = AutoAdvance::Action::Cut;
        decision.text = std::string(text.substr(0, prefixBytes(text, limit)));
    } else if (length == limit && caretPosition >= 0 &&
               static_cast<std::size_t>(caretPosition) == length) {
        decision.action = AutoAdvance::Action::MoveOn;
    }
    return decision;
}

std::string latitudeText(double latitude) {
    return formatDigitPattern(latitude, "00.0000");
}

std::string longitudeText(double longitude) {
    return formatDigitPattern(longitude, "000.0000");
}

std::string rawText(double degrees) {
    return formatDigitPattern(degrees, "00.000000000000");
}

} // namespace sw
