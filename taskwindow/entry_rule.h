#pragma once
// The entry rule for names and types: what a user may type into a name field and how the text
// is cleaned when the field is left. Every window that takes a name or a type applies it, so
// that the characters which would break the comma-separated records and the KML documents we
// write never reach them (neither the record writer nor the KML writer escapes names).

#include "services/base/dialogs.h"

#include <string>
#include <string_view>

namespace sw {

// The eight characters refused while typing: " & ' / : < > and the backslash.
bool isRestrictedCharacter(char32_t c);
// True when any character of a typed text (UTF-8) is restricted: that keystroke is dropped.
bool containsRestrictedCharacter(std::string_view typed);

// The box shown for a refused keystroke.
MessageRequest restrictedCharacterMessage();

// The cleaning applied when the field is left, in this order:
//   1. every ' : ? > < & / becomes a blank;
//   2. leading and trailing blanks are removed;
//   3. every backslash and double quote becomes a blank.
// Step 3 runs after the trimming on purpose: a trailing backslash leaves a trailing blank that
// stays, which existing records show and which we keep. Characters outside ASCII pass through
// unchanged (UTF-8 bytes never collide with the ASCII ones replaced here).
std::string cleanName(std::string_view text);

} // namespace sw
