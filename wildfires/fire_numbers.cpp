#include "wildfires/fire_numbers.h"

#include "coord/number_text.h"

#include <algorithm>

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

std::optional<double> areaValue(std::string_view text) {
    // An area has no sign and no exponent; otherwise it is a number by the program's one rule.
    if (text.find_first_of("+-eE") != std::string_view::npos) {
        return std::nullopt;
    }
    return readNumber(text);
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

std::string percentText(int value) {
    return std::to_string(value) + ".00%";
}

namespace {
double typedPercent(std::string_view text) {
    return roundTiesToEven(leadingNumber(text));
}
int clampedPercent(double whole) {
    return static_cast<int>(std::clamp(whole, double{kPercentMinimum}, double{kPercentMaximum}));
}
} // namespace

int percentFromText(std::string_view text) {
    return clampedPercent(typedPercent(text));
}

PercentLeave leavePercent(std::string_view text, int sliderValue) {
    const double typed = typedPercent(text);
    const int value = clampedPercent(typed);
    return {value, value != sliderValue || typed != value};
}

} // namespace sw
