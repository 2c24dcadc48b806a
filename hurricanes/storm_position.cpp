#include "hurricanes/storm_position.h"

#include "coord/number_text.h"
#include "hurricanes/storm_time.h"

#include <array>
#include <cmath>
#include <utility>

namespace sw {

std::optional<Missing> firstMissing(const StormPosition& position) {
    if (position.name.empty()) {
        return Missing{MissingPart::Name, "Enter Storm Name"};
    }
    if (position.category.empty()) {
        return Missing{MissingPart::Wind, "Enter Windspeed"};
    }
    if (position.longitude.empty()) {
        return Missing{MissingPart::Coordinates, "Please Convert Coordinates"};
    }
    if (position.positionType.empty()) {
        return Missing{MissingPart::PositionType, "Please Select Position Type"};
    }
    return std::nullopt;
}

std::string hurricaneIconCode(std::string_view category, std::string_view positionType) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 7> codes = {{
        {"Tropical Depression", "TD"},
        {"Tropical Storm", "TS"},
        {"Category 1", "Cat1"},
        {"Category 2", "Cat2"},
        {"Category 3", "Cat3"},
        {"Category 4", "Cat4"},
        {"Category 5", "Cat5"},
    }};
    for (const auto& [text, code] : codes) {
        if (text == category) {
            return (positionType == kForecast ? "Fcast_" : "") + std::string(code);
        }
    }
    return {};
}

std::string hurricaneIconFile(const StormPosition& position) {
    return hurricaneIconCode(position.category, position.positionType) + "Hurricane.gif";
}

std::string hurricanePlacemarkName(const StormPosition& position) {
    return position.name + " , " + position.category;
}

std::vector<std::string> hurricaneDescriptionLines(const StormPosition& position) {
    return {position.name, position.positionType + " Location",
            "Local Time:" + position.localTime, position.category,
            "Winds(kts/mph):" + position.windKnots + "/" + position.windMph};
}

std::string hurricaneKmlFileName(const StormPosition& position) {
    const std::string prefix = position.positionType == kForecast ? "phForecast" : "ph";
    const double month = leadingNumber(position.utcMonth);
    const int monthNumber = std::isfinite(month) && month >= 1 && month <= 12
                                ? static_cast<int>(month)
                                : 0;
    return prefix + position.name + "_" + position.utcHour.substr(0, 2) + "00_" +
           monthAbbreviation(monthNumber) + position.utcDay;
}

} // namespace sw
