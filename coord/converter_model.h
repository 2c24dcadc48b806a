#pragma once
// What the coordinate converter knows, apart from its widgets: the texts of the 18 angle
// fields, the parts and current values they give, and the six results. It carries out the
// field-change protocol of coord/angle_fields.h once, for the window and for the tests alike:
//
//   a field's text changes (typed, or put in by the program)
//   -> refused: the message, then the replacement put in (itself a change), and nothing else;
//   -> accepted: the part stored, clamped fields zeroed and locked (each a change), the
//      changed row composed, the place for auto-advance, the other row composed from the same
//      notation, Albers, and the six results handed on.
//
// Whoever shows the model (the converter window, a test's stand-in) is its ConverterView: it
// shows messages and texts and decides about focus; the model decides everything else.

#include <array>
#include <string>

#include "coord/albers.h"
#include "coord/angle_fields.h"
#include "coord/hand_back.h"

namespace sw {

class ConverterModel;

class ConverterView {
public:
    virtual ~ConverterView() = default;
    // A refusal's message (an OK box), shown before the replacement goes in.
    virtual void showMessage(const std::string& message) = 0;
    // The program put `text` into `field`: show it (caret at the start).
    virtual void showFieldText(Field field, const std::string& text) = 0;
    // A clamp at 90 or 180 degrees locked `field` until a notation is chosen again.
    virtual void lockField(Field field) = 0;
    // After a refused text of `field` was replaced: the field is ready for the next try.
    virtual void refused(Field field) = 0;
    // An accepted change whose row is composed: the moment for auto-advance, which may put a
    // text into a field (ConverterModel::put) or move the focus on.
    virtual void advance() = 0;
    // The six results changed after a change: show them and hand them back.
    virtual void resultsChanged() = 0;
};

class ConverterModel {
public:
    explicit ConverterModel(ConverterView& view);

    const std::string& text(Field field) const { return texts_[index(field)]; }
    const AngleState& angles() const { return angles_; }
    // The six texts the converter shows and hands back; all empty after a reset.
    const HandBackTexts& results() const { return results_; }

    // The user changed the text of `field` (the view already shows it).
    void edited(Field field, const std::string& text);
    // The program puts `text` into `field`: shown, then processed as a change. Nothing
    // happens when the field holds that text already.
    void put(Field field, const std::string& text);

    // Every field back to its default text, parts and values to zero, results empty; nothing
    // is processed as a change and nothing is handed on.
    void reset();

    // A location found otherwise (a township-range-section centroid, a grid reference): it
    // becomes the current latitude and longitude, the results are computed from it and
    // handed on.
    void setLocation(double latitude, double longitude);
    // A township-range-section key that the survey does not have: latitude and longitude show
    // "00", the other results are empty; nothing is handed on.
    void showNoLocation();
    // The township-range-section reset empties the latitude and longitude results.
    void clearLatitudeLongitude();

private:
    static std::size_t index(Field field) { return static_cast<std::size_t>(field); }
    void process(Field field);
    void compose(Notation notation, Row row);

    ConverterView& view_;
    std::array<std::string, fieldCount> texts_;
    AngleState angles_;
    // The full-precision texts of the current values, from which UTM and the grid are
    // computed, as the agency's converter always has.
    std::string rawLatitude_;
    std::string rawLongitude_;
    lltoAlbers::AlbersPoint albers_;
    HandBackTexts results_;
};

} // namespace sw
