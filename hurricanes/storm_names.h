#pragma once
// The season's storm names, offered in the name box: a text file in the program's folder named
// by the year, "2026_hurricanes.txt". The agency edits it by hand or pastes the published
// list, so it may hold one name a line, names separated by commas, or both; blanks around a
// name are dropped, and a name in double quotes is taken without them and may hold commas
// ("Unamed Depression, Gulf").

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sw {

// "2026_hurricanes.txt".
std::string stormNameFileName(int year);

// The names of a list's text, in file order. Empty items (blank lines, ",,") are skipped; a
// line end always ends a name, so a quote left open cannot swallow the rest of the list.
std::vector<std::string> parseStormNames(std::string_view text);

struct StormNameList {
    std::vector<std::string> names;
    // Set when the list could not be read: one sentence naming the file, for the user.
    std::optional<std::string> problem;
};

// Reads the list for `year` from `folder`. A missing file gives an empty list and the problem
// "<path> is missing"; names can still be typed.
StormNameList loadStormNames(const std::filesystem::path& folder, int year);

} // namespace sw
