#include "hurricanes/wind.h"

#include "coord/number_text.h"

#include <array>

namespace sw {

std::int16_t windFromText(std::string_view text) {
    return wholeTiesToEven16(leadingNumber(text));
}

std::int16_t knotsFromMph(std::int16_t mph) {
    return wholeTiesToEven16(mph / kMphPerKnot);
}

std::int16_t mphFromKnots(std::int16_t knots) {
    return wholeTiesToEven16(knots * kMphPerKnot);
}

bool acceptableWindText(std::string_view text) {
    std::size_t wholeDigits = 0;
    bool afterPoint = false;
    for (char c : text) {
        if (c == '.') {
            afterPoint = true;
        } else if (c >= '0' && c <= '9') {
            if (!afterPoint && ++wholeDigits > kMaxWholeDigits) {
                return false;
            }
        } else {
            return false;
        }
    }
    return true;
}

bool acceptableKnotsText(std::string_view text) {
    return text.find('.') == std::string_view::npos && acceptableWindText(text);
}

std::string Hcat(int mph) {
    struct Band {
        int from;
        const char* text;
    };
    // Highest band first: the first whose lower end the speed reaches.
    static constexpr std::array<Band, 7> bands = {{
        {156, "Category 5"},
        {131, "Category 4"},
        {111, "Category 3"},
        {96, "Category 2"},
        {74, "Category 1"},
        {39, "Tropical Storm"},
        {23, "Tropical Depression"},
    }};
    for (const Band& band : bands) {
        if (mph >= band.from) {
            return band.text;
        }
    }
    return " ";
}

int windSliderMaximum(std::string_view stormName) {
    return stormName == kUnnamedDepression ? 38 : 220;
}

} // namespace sw
