#pragma once
// The two numbers of the fire record that the user types: the area in acres and the percent
// contained. Both are kept as display texts ("1,234.50", "45.00%"); these rules decide what may
// be typed, how a text is read and how it is shown.

#include "services/base/dialogs.h"

#include <optional>
#include <string>
#include <string_view>

namespace sw {

// Area: only Backspace and "0123456789.," may be typed; anything else beeps and shows
// areaKeyMessage() (its misspelling is the program's own text).
bool isAreaCharacter(char32_t c);
MessageRequest areaKeyMessage();

// The acres an area text holds: digits with at most one ".", and grouping commas in the whole
// part only, in threes ("1,234.5", "1234.5", ".5" and "5." read; "12,34", "1.2,3", "-5", "" and
// "." do not). Blanks around the number are allowed.
std::optional<double> areaValue(std::string_view text);

// The area shown as "##,##0.00": grouped thousands, at least one whole digit, two decimals
// rounded half away from zero (1234.5 -> "1,234.50", .5 -> "0.50").
std::string formatArea(double acres);

// What leaving the area field does: an empty text stays empty; a number is shown in the area
// format; anything else is refused with areaNotNumberMessage() and replaced by "0.00" (which the
// window selects, keeping the focus).
struct AreaLeave {
    bool refused = false;
    std::string text;
};
AreaLeave leaveArea(std::string_view text);
MessageRequest areaNotNumberMessage();

// Percent contained: the slider's whole values, its steps and ticks.
inline constexpr int kPercentMinimum = 0;
inline constexpr int kPercentMaximum = 100;
inline constexpr int kPercentArrowStep = 5;
inline constexpr int kPercentPageStep = 10;
inline constexpr int kPercentTickInterval = 10;

// The text for a slider value: 45 -> "45.00%".
std::string percentText(int value);

// The slider value for a typed text: its leading number (0 when there is none), rounded to a
// whole number with halves to the even neighbour, then held to 0..100 ("45.5" -> 46,
// "44.5%" -> 44, "250" -> 100, "-3" -> 0, "abc" -> 0).
int percentFromText(std::string_view text);

// What leaving the percent text does, with the slider at `sliderValue`: the slider goes to
// the typed value. The text is rewritten from the slider when that moves it, and when the
// typed number lay outside 0..100, so the two never disagree; otherwise the typed text stays
// as typed ("45.3" with the slider at 45).
struct PercentLeave {
    int value = 0;
    bool rewriteText = false;
};
PercentLeave leavePercent(std::string_view text, int sliderValue);

} // namespace sw
