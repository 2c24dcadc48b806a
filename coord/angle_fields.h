#pragma once
// The converter's angle entry fields: which small digit fields each notation has, how a field's
// text is read and checked, how a row of fields composes the current latitude or longitude, the
// clamps at 90 and 180 degrees, what a typed character does, the auto-advance decision and the
// texts that show a pasted point.
//
// This is window-free logic. The converter window owns the widgets and replays what these
// functions decide: a field change returns its effects (a message, a replacement text, clamped
// fields, which row to recompose, whether to auto-advance) instead of touching any widget.
//
// The hemisphere is fixed: latitudes are north (positive), longitudes are west; the user types
// unsigned numbers and composition negates the longitude.
//
// Replaying a field change in the window (for every text change of one of the 18 fields, typed
// or set by program):
//   FieldChange fx = fieldChanged(state, field, text);
//   if (!fx.accepted) {
//       show *fx.message (OK box);
//       put *fx.replacement into the field;   // a NEW, nested field change: call again
//       return;                                 // no composition, no auto-advance
//   }
//   for (auto& c : fx.clamp) { disable c.field; put c.text into c.field; }  // nested changes
//   composeRow(state, notation, *fx.recompose); refresh that row's display texts and the
//   UTM / grid texts from the two raw texts;
//   autoAdvance(...) on the field that has the focus (cut = nested change, or move focus on).

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace sw {

// The three typed notations. (The township-range-section mode has fields of its own.)
enum class Notation { DD, DMM, DMS };

enum class Row { Latitude, Longitude };

// What a field holds.
enum class FieldRole {
    Degrees,       // whole degrees
    Minutes,       // whole minutes (DM.M, DMS.S)
    Seconds,       // whole seconds (DMS.S)
    Hundredths,    // the digits after the decimal point of the seconds (DMS.S)
    DecimalDigits, // the literal digits after the decimal point (D.D degrees, DM.M minutes)
};

// The 18 entry fields; the field table gives each its control's object name.
enum class Field {
    DDLongitudeDegrees,
    DDLongitudeDecimals,
    DDLatitudeDegrees,
    DDLatitudeDecimals,
    DMMLongitudeDegrees,
    DMMLongitudeMinutes,
    DMMLongitudeDecimals,
    DMMLatitudeDegrees,
    DMMLatitudeMinutes,
    DMMLatitudeDecimals,
    DMSLongitudeDegrees,
    DMSLongitudeMinutes,
    DMSLongitudeSeconds,
    DMSLongitudeHundredths,
    DMSLatitudeDegrees,
    DMSLatitudeMinutes,
    DMSLatitudeSeconds,
    DMSLatitudeHundredths,
};
inline constexpr int fieldCount = 18;

struct FieldInfo {
    Field field;
    std::string_view name; // the control's object name, e.g. "txtDDLatD"
    Notation notation;
    Row row;
    FieldRole role;
    int maxLength;                // characters
    std::string_view defaultText; // what the field holds after the window is reset
    int tabIndex;                 // position in the window's tab order (lower first)
};

// The table of all 18 fields, in the order of the Field enumeration.
std::span<const FieldInfo, fieldCount> allFields();
const FieldInfo& fieldInfo(Field field);
// The field with this object name, if any.
std::optional<Field> fieldByName(std::string_view name);
// The fields of one notation, longitude row first, each row from degrees to finest part.
std::vector<Field> fieldsOf(Notation notation);

// The parts read from one row of one notation. Whole parts are 16-bit, as stored by the agency's
// program; `fraction` is the decimal fraction of the D.D degrees or of the DM.M minute.
struct RowParts {
    std::int16_t degrees = 0;
    std::int16_t minutes = 0;
    std::int16_t seconds = 0;
    std::int16_t hundredths = 0;
    double fraction = 0.0;
};

struct NotationParts {
    RowParts latitude;
    RowParts longitude;
};

// The converter's angle state: per notation its own parts, and the current values. The current
// values are what the last composition gave, whichever notation it came from; switching notation
// leaves them alone.
struct AngleState {
    std::array<NotationParts, 3> parts{}; // indexed by Notation
    double latitude = 0.0;                // decimal degrees, north positive
    double longitude = 0.0;               // decimal degrees, always zero or negative (west)

    RowParts& row(Notation n, Row r);
    const RowParts& row(Notation n, Row r) const;
};

// Reading a field's text. Whole parts: leadingNumber rounded ties-to-even, saturated to 16 bits.
// Decimal digits: the value of "0." followed by the text, so "25" -> 0.25, "0025" -> 0.0025,
// "5" -> 0.5, "" -> 0.
// Hundredths of a second: the field follows the seconds' decimal point, so it is read as decimal
// digits too: "5" is five tenths (50 hundredths), "05" five hundredths, "50" fifty. A field that
// shows 36 . 5 is 36.5 seconds, as it reads.
std::int16_t readWholePart(std::string_view text);
double readDecimalDigits(std::string_view text);
std::int16_t readHundredths(std::string_view text);

// A text put into a field in place of the one that was refused, and the message shown first.
struct Refusal {
    std::string message;     // exact text, leading blank included where there is one
    std::string replacement; // may be empty
};

// The validation of one field's text (on the numeric value of the whole text, before rounding).
// Empty when the text is accepted.
std::optional<Refusal> validateField(Field field, std::string_view text);

// A field that a limit clamp sets to a zero text and disables.
struct ClampedField {
    Field field;
    std::string text;
};

// The clamp that an accepted degrees field triggers: at exactly 90 latitude degrees or 180
// longitude degrees (the stored whole part), the finer fields of that row are zeroed and
// disabled. Empty when no clamp applies. The fields stay disabled until the window enables the
// notation again.
std::vector<ClampedField> clampFor(Field field, std::int16_t wholeDegrees);

// What the window must do after a field's text changed.
struct FieldChange {
    bool accepted = false;
    // On refusal: the message to show (OK only), then the replacement to put into the field,
    // which is itself a field change to process in turn. The state is left untouched.
    std::optional<std::string> message;
    std::optional<std::string> replacement;
    // On acceptance: fields to set (each a nested field change) and disable, BEFORE composing.
    std::vector<ClampedField> clamp;
    // On acceptance: the row to compose with composeRow() (the changed field's row).
    std::optional<Row> recompose;
    // On acceptance: whether to apply autoAdvance() to the focused field afterwards.
    bool autoAdvance = false;
};

// Validates the new text of `field`; on acceptance stores its part into `state` and reports the
// clamp (if any). Does not compose: the window sets the clamped fields first, then composes.
FieldChange fieldChanged(AngleState& state, Field field, std::string_view text);

// Composes one row of `notation` from its stored parts into state.latitude or state.longitude
// and returns the new value (decimal degrees; the longitude negated):
//   D.D:   deg + fraction
//   DM.M:  deg + (min + fraction) / 60
//   DMS.S: deg + min/60 + sec/3600 + hundredths x 0.01/3600
double composeRow(AngleState& state, Notation notation, Row row);

// The agency's old key filter: digits (48-57) and the codes 8, 9, 12, 14, 37 "%", 38 "&",
// 39 "'", 40 "(" and 46 "." are accepted; any other character is dropped with a bell. The
// wildfire window's percent field still types through it; the 18 angle fields use typedKey.
bool keyAccepted(char32_t code);

// What a character typed into one of the 18 fields does. People type a point as they write it
// ("-84.5", "30.25") while each field holds one part of it, and a full field moves on by
// itself, so:
// - a digit goes in (and auto-advance may move on once the field is full);
// - "." in a field that auto-advance has just entered is dropped: it ends the part that filled
//   the field before ("30" fills the degrees and moves on, then "." comes);
// - otherwise "." in a whole-number field (degrees, minutes, seconds) moves on to the next
//   field, where the decimals go ("84." in a three-digit degrees field), and is not stored;
// - "." at the start of a decimals field is dropped: the field stands after the point already;
// - "-" at the start of a longitude degrees field is the west sign, which the longitude always
//   has: accepted and not stored;
// - editing characters (backspace and the other control codes) are left to the field;
// - anything else is refused with the bell.
// So a field only ever holds digits, and reads as the number it shows. `atStart`: nothing
// stands before the caret once a selection is replaced; `justAdvanced`: auto-advance moved
// the focus into this field and nothing has been typed into it since.
enum class TypedKey { Take, MoveOn, Drop, Refuse };
TypedKey typedKey(Field field, char32_t character, bool atStart, bool justAdvanced);

// The texts a person would type into the fields of `notation` for a point, rounded to what the
// fields hold (D.D: 4 decimals of a degree; DM.M: hundredths of a minute; DMS.S: hundredths of
// a second), longitude row first; e.g. D.D 30.25, -84.5 gives "084" "5000" "30" "2500". The
// fields take north latitudes and west longitudes only: a point south of the equator or east
// of Greenwich gives no texts and a problem that says so.
struct PointTexts {
    std::vector<std::pair<Field, std::string>> texts;
    std::string problem;
};
PointTexts pointTexts(Notation notation, double latitude, double longitude);

// The auto-advance decision for the field that has the focus, after an accepted change.
// Lengths and the caret position count characters (Unicode code points), not bytes.
struct AutoAdvance {
    enum class Action {
        None,   // stay
        Cut,    // put `text` (cut to the maximum length) into the field: a nested field change
        MoveOn, // move the focus to the next enabled control in tab order
    };
    Action action = Action::None;
    std::string text; // for Cut
};
AutoAdvance autoAdvance(std::string_view text, int maxLength, int caretPosition);

// Display texts of the current values: latitude "00.0000", longitude "000.0000" and the raw
// texts "00.000000000000" (all half away from zero; the longitude carries its "-").
std::string latitudeText(double latitude);
std::string longitudeText(double longitude);
std::string rawText(double degrees);

} // namespace sw
