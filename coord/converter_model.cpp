#include "coord/converter_model.h"

namespace sw {

ConverterModel::ConverterModel(ConverterView& view) : view_(view) {
    for (const FieldInfo& info : allFields()) {
        texts_[index(info.field)] = std::string(info.defaultText);
    }
}

void ConverterModel::edited(Field field, const std::string& text) {
    texts_[index(field)] = text;
    process(field);
}

void ConverterModel::put(Field field, const std::string& text) {
    if (texts_[index(field)] == text) {
        return;
    }
    texts_[index(field)] = text;
    view_.showFieldText(field, text);
    process(field);
}

void ConverterModel::process(Field field) {
    const FieldChange change = fieldChanged(angles_, field, texts_[index(field)]);
    if (!change.accepted) {
        view_.showMessage(*change.message);
        // The replacement is a change of its own, processed in full before this one ends.
        put(field, *change.replacement);
        view_.refused(field);
        return;
    }
    for (const ClampedField& clamped : change.clamp) {
        view_.lockField(clamped.field);
        put(clamped.field, clamped.text);
    }
    const FieldInfo& info = fieldInfo(field);
    const Row row = change.recompose.value_or(info.row);
    compose(info.notation, row);
    if (change.autoAdvance) {
        view_.advance();
    }
    // Both values come from the one notation being typed, whatever the last one was.
    compose(info.notation, row == Row::Latitude ? Row::Longitude : Row::Latitude);
    albers_ = lltoAlbers::AlbersFromLatLong(angles_.latitude, angles_.longitude);
    results_.albersX = albersText(albers_.x);
    results_.albersY = albersText(albers_.y);
    view_.resultsChanged();
}

void ConverterModel::compose(Notation notation, Row row) {
    const double value = composeRow(angles_, notation, row);
    if (row == Row::Latitude) {
        rawLatitude_ = rawText(value);
        results_.latitude = latitudeText(value);
    } else {
        rawLongitude_ = rawText(value);
        results_.longitude = longitudeText(value);
    }
    lltoAlbers::UtmUsng grid = utmUsngFromRawTexts(rawLatitude_, rawLongitude_);
    results_.utm = std::move(grid.utm);
    results_.usng = std::move(grid.usng);
}

void ConverterModel::reset() {
    for (const FieldInfo& info : allFields()) {
        texts_[index(info.field)] = std::string(info.defaultText);
        view_.showFieldText(info.field, texts_[index(info.field)]);
    }
    angles_ = AngleState{};
    results_ = HandBackTexts{};
}

void ConverterModel::setLocation(double latitude, double longitude) {
    angles_.latitude = latitude;
    angles_.longitude = longitude;
    rawLatitude_ = rawText(latitude);
    rawLongitude_ = rawText(longitude);
    albers_ = lltoAlbers::AlbersFromLatLong(latitude, longitude);
    results_ = handBackTexts(latitude, longitude);
    view_.resultsChanged();
}

void ConverterModel::showNoLocation() {
    results_ = HandBackTexts{};
    results_.latitude = "00";
    results_.longitude = "00";
}

void ConverterModel::clearLatitudeLongitude() {
    results_.latitude.clear();
    results_.longitude.clear();
}

} // namespace sw
