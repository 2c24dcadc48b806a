#include "wildfires/fire_numbers.h"

#include "coord/number_text.h"

#include <algorithm>
#include <cmath>

namespace sw {

bool isAreaCharacter(char32_t c) {
    constexpr std::u32string_view allowed = U"0123456789.,\b";
    return allowed.find(c) != std::u32string_view::npos;
}

MessageRequest areaKeyMessage() {
    return {"Plese Enter Numbers Only", {}, Icon::None, Buttons::Ok, Answer::Ok};
}

MessageRequest areaNotNumberMessage() {
    return {"Please Enter Numbers Only", "Numbers Only!", Icon::Warning, Buttons::Ok, Answer::Ok};
}

namespace {
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// A whole part "1234" or "1,234,567": digits, or one to three digits followed by groups of
// exactly three after each comma. An empty whole part is allowed (".5").
bool isWholePart(std::string_view whole) {
    if (whole.find(',') == std::string_view::npos) {
        return std::all_of(whole.begin(), whole.end(), isDigit);
    }
    const auto firstComma = whole.find(',');
    if (firstComma == 0 || firstComma > 3) {
        return false;
    }
    for (std::size_t i = 0; i < whole.size(); ++i) {
        const bool commaPlace = i >= firstComma && (i - firstComma) % 4 == 0;
        if (commaPlace ? whole[i] != ',' : !isDigit(whole[i])) {
            return false;
        }
    }
    return (whole.size() - firstComma) % 4 == 0;
}
} // namespace

std::optional<double> areaValue(std::string_view text) {
    const std::string_view number = trimBlanks(text);
    const auto point = number.find('.');
    const std::string_view whole = number.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view{} : number.substr(point + 1);
    if (!isWholePart(whole) || !std::all_of(fraction.begin(), fraction.end(), isDigit) ||
        whole.size() + fraction.size() == 0) {
        return std::nullopt;
    }
    std::string digits;
    std::copy_if(number.begin(), number.end(), std::back_inserter(digits),
                 [](char c) { return c != ','; });
    const double value = leadingNumber(digits);
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::string formatArea(double acres) {
    std::string plain = formatDigitPattern(acres, "0.00");
    const auto point = plain.find('.');
    if (point == std::string::npos) {
        return plain; // NaN or an infinity: nothing to group
    }
    const std::size_t firstDigit = plain[0] == '-' ? 1 : 0;
    for (std::size_t at = point; at > firstDigit + 3; at -= 3) {
        plain.insert(at - 3, 1, ',');
    }
    return plain;
}

AreaLeave leaveArea(std::string_view text) {
    if (text.empty()) {
        return {false, {}};
    }
    const std::optional<double> acres = areaValue(text);
    if (!acres) {
        return {true, "0.00"};
    }
    return {false, formatArea(*acres)};
}

std::string percentText(int value) { return std::to_string(value) + ".00%"; }

namespace {
double typedPercent(std::string_view text) { return roundTiesToEven(leadingNumber(text)); }
int clampedPercent(double whole) {
    return static_cast<int>(std::clamp(whole, double{kPercentMinimum}, double{kPercentMaximum}));
}
} // namespace

int percentFromText(std::string_view text) { return clampedPercent(typedPercent(text)); }

PercentLeave leavePercent(std::string_view text, int sliderValue) {
    const double typed = typedPercent(text);
    const int value = clampedPercent(typed);
    return {value, value != sliderValue || typed != value};
}

} // namespace sw
