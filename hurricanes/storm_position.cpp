#include "hurricanes/storm_position.h"

#include "coord/number_text.h"
#include "hurricanes/storm_time.h"
#include "hurricanes/wind.h"
#include "services/base/dialogs.h"

#include <array>
#include <cmath>
#include <utility>

namespace sw {

const ColumnTable<StormPosition>& stormColumns() {
    using P = StormPosition;
    auto whole = [](const std::string& text) { return std::to_string(windFromText(text)); };
    // Category is 20 wide so "Tropical Depression" is kept whole, UTM 24 wide as the UTM text
    // of every window; files made with narrower columns still take appends, cut to fit.
    static const ColumnTable<StormPosition> table = {
        {Column::text("Name", "Name", 30), [](const P& p) { return p.name; }},
        {Column::text("Date", "Date", 12), [](const P& p) { return p.reportDate; }},
        {Column::text("Position", "Position", 12), [](const P& p) { return p.positionType; }},
        {Column::text("UTC Time", "UTC_Time", 30), [](const P& p) { return p.utcTime; }},
        {Column::text("Local Time", "Local_Time", 30), [](const P& p) { return p.localTime; }},
        {Column::number("Latitude", "Lat"), [](const P& p) { return p.latitude; }},
        {Column::number("Longitude", "Long"), [](const P& p) { return p.longitude; }},
        {Column::number("AlbersX", "AlbersX"), [](const P& p) { return p.albersX; }},
        {Column::number("AlbersY", "AlbersY"), [](const P& p) { return p.albersY; }},
        {Column::text("UTM Coord", "UTM", 24), [](const P& p) { return p.utm; }},
        {Column::text("USNG Coord", "USNG", 20), [](const P& p) { return p.usng; }},
        {Column::number("MPH", "Winds_MPH"), [whole](const P& p) { return whole(p.windMph); }},
        {Column::number("Knots", "Winds_KTS"), [whole](const P& p) { return whole(p.windKnots); }},
        {Column::text("Category", "Category", 20), [](const P& p) { return p.category; }},
    };
    return table;
}

OutputSettings hurricaneOutputSettings() {
    OutputSettings settings;
    settings.prefix = "ph";
    settings.appendTextFilter = "Text Files (ph*.txt)|ph*.txt";
    settings.appendShapeFilter = "Shape Files (ph*.shp)|ph*.shp";
    settings.projectionFile = "WGS1984.prj";
    return settings;
}

ShapePoint hurricaneShapePoint(const StormPosition& position) {
    return {leadingNumber(position.longitude), leadingNumber(position.latitude)};
}

std::optional<StormMissing> firstMissing(const StormPosition& position) {
    if (position.name.empty()) {
        return StormMissing{StormMissingPart::Name, "Enter Storm Name"};
    }
    if (position.category.empty()) {
        return StormMissing{StormMissingPart::Wind, "Enter Windspeed"};
    }
    if (position.longitude.empty()) {
        return StormMissing{StormMissingPart::Coordinates, "Please Convert Coordinates"};
    }
    if (position.positionType.empty()) {
        return StormMissing{StormMissingPart::PositionType, "Please Select Position Type"};
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
    return {position.name, position.positionType + " Location", "Local Time:" + position.localTime,
            position.category, "Winds(kts/mph):" + position.windKnots + "/" + position.windMph};
}

KmlPlacemark hurricanePlacemark(const StormPosition& position, Dialogs& dialogs) {
    KmlPlacemark placemark;
    placemark.templateName = kPlainTemplate;
    placemark.chooseTemplate = [&dialogs] {
        return std::string(dialogs.askYesNo(kImageryQuestion, {}, Icon::Question) ? kImageryTemplate
                                                                                  : kPlainTemplate);
    };
    placemark.presetFileName = hurricaneKmlFileName(position);
    placemark.name = hurricanePlacemarkName(position);
    placemark.descriptionLines = hurricaneDescriptionLines(position);
    placemark.longitude = position.longitude;
    placemark.latitude = position.latitude;
    placemark.iconFile = hurricaneIconFile(position);
    placemark.rangeElement = kHurricaneRangeElement;
    return placemark;
}

std::string hurricaneKmlFileName(const StormPosition& position) {
    const std::string prefix = position.positionType == kForecast ? "phForecast" : "ph";
    const double month = leadingNumber(position.utcMonth);
    const int monthNumber =
        std::isfinite(month) && month >= 1 && month <= 12 ? static_cast<int>(month) : 0;
    return prefix + position.name + "_" + position.utcHour.substr(0, 2) + "00_" +
           monthAbbreviation(monthNumber) + position.utcDay;
}

} // namespace sw
