#include "coord/angle_fields.h"

#include <cmath>
#include <cstddef>

#include "coord/number_text.h"

namespace sw {
namespace {

using enum Field;
using N = Notation;
using R = Row;
using Ro = FieldRole;

constexpr std::array<FieldInfo, fieldCount> fieldTable{{
    {DDLongitudeDegrees, "txtDDlongD", N::DD, R::Longitude, Ro::Degrees, 3, "000", 57},
    {DDLongitudeDecimals, "txtDDLongDD", N::DD, R::Longitude, Ro::DecimalDigits, 4, "0000", 58},
    {DDLatitudeDegrees, "txtDDLatD", N::DD, R::Latitude, Ro::Degrees, 2, "00", 59},
    {DDLatitudeDecimals, "txtDDLatDD", N::DD, R::Latitude, Ro::DecimalDigits, 4, "0000", 60},
    {DMMLongitudeDegrees, "txtDMMlongdd", N::DMM, R::Longitude, Ro::Degrees, 3, "000", 44},
    {DMMLongitudeMinutes, "txtDMMlongmm", N::DMM, R::Longitude, Ro::Minutes, 2, "00", 45},
    {DMMLongitudeDecimals, "txtDMMlongdm", N::DMM, R::Longitude, Ro::DecimalDigits, 2, "00", 46},
    {DMMLatitudeDegrees, "txtDMMlatdd", N::DMM, R::Latitude, Ro::Degrees, 2, "00", 47},
    {DMMLatitudeMinutes, "txtDMMlatmm", N::DMM, R::Latitude, Ro::Minutes, 2, "00", 48},
    {DMMLatitudeDecimals, "txtDMMlatdm", N::DMM, R::Latitude, Ro::DecimalDigits, 2, "00", 49},
    {DMSLongitudeDegrees, "txtDMSlongdd", N::DMS, R::Longitude, Ro::Degrees, 3, "000", 1},
    {DMSLongitudeMinutes, "txtDMSlongmm", N::DMS, R::Longitude, Ro::Minutes, 2, "00", 2},
    {DMSLongitudeSeconds, "txtDMSlongss", N::DMS, R::Longitude, Ro::Seconds, 2, "00", 3},
    {DMSLongitudeHundredths, "txtDMSlongssd", N::DMS, R::Longitude, Ro::Hundredths, 2, "00", 4},
    {DMSLatitudeDegrees, "txtDMSlatdd", N::DMS, R::Latitude, Ro::Degrees, 2, "00", 9},
    {DMSLatitudeMinutes, "txtDMSlatmm", N::DMS, R::Latitude, Ro::Minutes, 2, "00", 10},
    {DMSLatitudeSeconds, "txtDMSlatss", N::DMS, R::Latitude, Ro::Seconds, 2, "00", 11},
    {DMSLatitudeHundredths, "txtDMSlatssd", N::DMS, R::Latitude, Ro::Hundredths, 2, "00", 12},
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
    case DDLatitudeDegrees:
        return {true, 0, 90, latMessage, "00"};
    case DMMLatitudeDegrees:
    case DMSLatitudeDegrees:
        return {true, 0, 90, latMessage, ""};
    case DDLongitudeDegrees:
        return {true, 0, 180, longMessage, "000"};
    case DMMLongitudeDegrees:
    case DMSLongitudeDegrees:
        return {true, 0, 180, longMessage, ""};
    case DDLatitudeDecimals:
    case DDLongitudeDecimals:
        return {false, 0, 9999, " Must Be Less Than 9999", ""};
    case DMMLatitudeMinutes:
    case DMMLongitudeMinutes:
    case DMSLatitudeMinutes:
    case DMSLongitudeMinutes:
    case DMSLatitudeSeconds:
    case DMSLongitudeSeconds:
        return {false, 0, 60, " Must Be Less Than 60", ""};
    case DMMLatitudeDecimals:
        return {false, 0, 99, " Must Be Less Than 99", ""};
    case DMMLongitudeDecimals:
        return {false, 0, 99, " Must Be Less Than 99", "00"};
    case DMSLatitudeHundredths:
        return {true, 0, 100, "Must be between 1 and 99", ""};
    case DMSLongitudeHundredths:
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

std::int16_t readHundredths(std::string_view text) {
    return wholeTiesToEven16(readDecimalDigits(text) * 100.0);
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
    case DDLatitudeDegrees:
        if (wholeDegrees == 90) {
            return {{DDLatitudeDecimals, "0000"}};
        }
        break;
    case DDLongitudeDegrees:
        if (wholeDegrees == 180) {
            return {{DDLongitudeDecimals, "00"}};
        }
        break;
    case DMMLatitudeDegrees:
        if (wholeDegrees == 90) {
            return {{DMMLatitudeMinutes, "00"}, {DMMLatitudeDecimals, "00"}};
        }
        break;
    case DMMLongitudeDegrees:
        if (wholeDegrees == 180) {
            return {{DMMLongitudeMinutes, "00"}, {DMMLongitudeDecimals, "00"}};
        }
        break;
    case DMSLatitudeDegrees:
        if (wholeDegrees == 90) {
            return {{DMSLatitudeMinutes, "00"},
                    {DMSLatitudeSeconds, "00"},
                    {DMSLatitudeHundredths, "00"}};
        }
        break;
    case DMSLongitudeDegrees:
        if (wholeDegrees == 180) {
            return {{DMSLongitudeMinutes, "00"},
                    {DMSLongitudeSeconds, "00"},
                    {DMSLongitudeHundredths, "0"}};
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
        parts.hundredths = readHundredths(text);
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

TypedKey typedKey(Field field, char32_t character, bool atStart, bool justAdvanced) {
    if ((character >= U'0' && character <= U'9') || character < 0x20 || character == 0x7F) {
        return TypedKey::Take;
    }
    const FieldInfo& info = fieldInfo(field);
    if (character == U'.' && justAdvanced && atStart) {
        return TypedKey::Drop;
    }
    if (character == U'.') {
        if (info.role == FieldRole::DecimalDigits || info.role == FieldRole::Hundredths) {
            return atStart ? TypedKey::Drop : TypedKey::Refuse;
        }
        return TypedKey::MoveOn;
    }
    if (character == U'-' && atStart && info.row == Row::Longitude &&
        info.role == FieldRole::Degrees) {
        return TypedKey::Drop;
    }
    return TypedKey::Refuse;
}

namespace {

std::string padded(long long value, int width) {
    std::string text = std::to_string(value);
    if (static_cast<int>(text.size()) < width) {
        text.insert(0, static_cast<std::size_t>(width) - text.size(), '0');
    }
    return text;
}

// One row's parts for an angle (unsigned degrees), degrees first, rounded to the finest part.
std::vector<long long> partsOf(Notation notation, double degrees) {
    switch (notation) {
    case Notation::DD: {
        const long long n = std::llround(degrees * 10000.0);
        return {n / 10000, n % 10000};
    }
    case Notation::DMM: {
        const long long n = std::llround(degrees * 6000.0); // hundredths of a minute
        return {n / 6000, n / 100 % 60, n % 100};
    }
    case Notation::DMS: {
        const long long n = std::llround(degrees * 360000.0); // hundredths of a second
        return {n / 360000, n / 6000 % 60, n / 100 % 60, n % 100};
    }
    }
    return {};
}

} // namespace

PointTexts pointTexts(Notation notation, double latitude, double longitude) {
    PointTexts out;
    if (latitude < 0.0) {
        out.problem = "This point is south of the equator: the fields take north latitudes. "
                      "Enter it in USNG / UTM instead.";
        return out;
    }
    if (longitude > 0.0) {
        out.problem = "This point is east of Greenwich: the fields take west longitudes (west "
                      "is negative). Enter it in USNG / UTM instead.";
        return out;
    }
    const std::vector<Field> fields = fieldsOf(notation);
    std::size_t next = 0;
    for (const double degrees : {-longitude, latitude}) {
        for (const long long part : partsOf(notation, degrees)) {
            const Field field = fields[next++];
            out.texts.emplace_back(field, padded(part, fieldInfo(field).maxLength));
        }
    }
    return out;
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
