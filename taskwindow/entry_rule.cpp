#include "taskwindow/entry_rule.h"

#include <algorithm>

namespace sw {

namespace {
constexpr std::string_view kRestricted = "\"&'/:<>\\";
constexpr std::string_view kBlankedBeforeTrim = "':?><&/";
constexpr std::string_view kBlankedAfterTrim = "\\\"";

void blankEach(std::string& text, std::string_view characters) {
    std::replace_if(
        text.begin(), text.end(),
        [characters](char c) { return characters.find(c) != std::string_view::npos; }, ' ');
}
} // namespace

bool isRestrictedCharacter(char32_t c) {
    return c < 0x80 && kRestricted.find(static_cast<char>(c)) != std::string_view::npos;
}

bool containsRestrictedCharacter(std::string_view typed) {
    // Bytes of multi-byte UTF-8 sequences are all >= 0x80, so a byte-wise scan is exact.
    return typed.find_first_of(kRestricted) != std::string_view::npos;
}

MessageRequest restrictedCharacterMessage() {
    return {"This is a Restricted Character", "Input Error", Icon::Warning, Buttons::Ok,
            Answer::Ok};
}

std::string cleanName(std::string_view text) {
    std::string cleaned(text);
    blankEach(cleaned, kBlankedBeforeTrim);
    const auto first = cleaned.find_first_not_of(' ');
    if (first == std::string::npos) {
        cleaned.clear();
    } else {
        cleaned = cleaned.substr(first, cleaned.find_last_not_of(' ') - first + 1);
    }
    blankEach(cleaned, kBlankedAfterTrim);
    return cleaned;
}

} // namespace sw
