#pragma once
// The city for a ZIP code, from the installed ZIP-code database (table zipcodeq: ZIP_CODE a
// number, CITY a text). Codes compare as numbers, so 02134 finds the row stored as 2134.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace sw {

inline constexpr const char* kInvalidZipMessage = "You must enter a valid zip code";
inline constexpr const char* kNoZipRecordsMessage = "No Records Found.";

// The installed database, in the program's folder.
std::filesystem::path zipDatabaseFile();

// The code to look up for a ZIP text: blanks around it are ignored, every other character
// must be a digit. Five digits or fewer are the code itself (compared as a number, as the
// table stores it); nine digits are a ZIP+4, whose first five count. Anything else (a letter,
// a dash, six to eight or ten and more digits) is no ZIP code: nothing.
std::optional<int> zipCodeNumber(std::string_view zipText);

struct ZipLookup {
    enum class Outcome {
        Found,    // city holds the first row's CITY
        NotFound, // no row for the code
        Refused,  // the text is no ZIP code (see zipCodeNumber); nothing was looked up
        Failed,   // the database could not be opened or read
    };
    Outcome outcome = Outcome::NotFound;
    std::string city;
    // What to tell the user; empty when a city was found.
    std::string message;
};

// Looks the text up in `database` (opened read-only for the one query). The code goes to the
// database as a bound number, never as SQL text.
ZipLookup lookupCity(std::string_view zipText,
                     const std::filesystem::path& database = zipDatabaseFile());

} // namespace sw
