#pragma once
// Township-range-section descriptions: the converter's TRS mode, which turns a Public Land
// Survey description (township north or south, range east or west, section, and perhaps a
// half, quarter or quarter-quarter of the section) into a latitude and longitude.
//
// The section centroid comes from a lookup table (Plss_zorn: TRS, LONGITUDE, LATITUDE) keyed by
// a text such as "T05N R12E S07"; the chosen part of the section shifts it by a fixed number of
// metres east and a fixed number of degrees north. The offsets treat a section as an ideal
// square mile, so a quarter-quarter lands within a few hundred metres of its true centre: good
// enough for dispatch, not for surveying.
//
// Window-free logic: the converter window owns the widgets and replays what these functions
// decide (messages, replacement texts), exactly as it does for the angle fields.

#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "coord/angle_fields.h"

namespace sw::trs {

enum class TownshipDirection : char { North = 'N', South = 'S' };
enum class RangeDirection : char { East = 'E', West = 'W' };

// One of the 25 part-of-section options.
struct SectionPart {
    std::string_view control; // the option's object name, e.g. "optNE"
    // What the option shows: "N", "NE", ... for the nine halves, quarters and centre; for a
    // quarter-quarter the corner it names within its quarter, shown only while enabled.
    std::string_view caption;
    std::string_view description; // goes after the key in the preview, e.g. "NE1/4"
    int eastMetres;               // offset east of the centroid, metres (west negative)
    double northDegrees;          // offset north of the centroid, degrees (south negative)
    int gridRow;                  // quarter-quarters: 1..4 north to south; 0 for the others
    int gridColumn;               // quarter-quarters: 1..4 west to east; 0 for the others

    bool isQuarterQuarter() const { return gridRow != 0; }
};

// All 25 options: centre, halves, quarters, then the 16 quarter-quarters row by row.
std::span<const SectionPart> sectionParts();
// What a screen reader says for a part, from its description: "Centre of the section",
// "N half", "NE quarter", "NE quarter of the NW quarter".
std::string spokenName(const SectionPart& part);
const SectionPart* sectionPartByControl(std::string_view control);

// The description being typed. Numbers are what the fields read (whole numbers, 0 for an empty
// field); `part` is the chosen part of the section, none for the section centroid.
struct Description {
    int township = 0;
    TownshipDirection townshipDirection = TownshipDirection::North;
    int range = 0;
    RangeDirection rangeDirection = RangeDirection::East;
    int section = 0;
    const SectionPart* part = nullptr;
};

// Largest township and range numbers the state's survey has.
inline constexpr int maxNorthTownship = 7;
inline constexpr int maxSouthTownship = 68;
inline constexpr int maxEastRange = 43;
inline constexpr int maxWestRange = 34;
inline constexpr int maxSection = 8030;

inline constexpr std::string_view numbersOnlyMessage = "Plese Enter Numbers Only";

// The keys the three TRS fields take: backspace and the digits. Anything else is dropped with
// the bell and numbersOnlyMessage.
bool keyAccepted(char32_t code);

// The whole number a TRS field holds: its leading number rounded ties-to-even (0 when empty).
int wholeNumber(std::string_view text);

// The checks run when the township or range field is entered or left, and on every change of
// the section field. Each gives the message and the text to put into the field, or nothing
// when the text is acceptable. The limits are inclusive (7 north, 68 south, 43 east, 34 west,
// section 8030).
std::optional<Refusal> checkTownship(TownshipDirection direction, std::string_view text);
std::optional<Refusal> checkRange(RangeDirection direction, std::string_view text);
std::optional<Refusal> checkSection(std::string_view text);

// At least two digits, a leading "0" below 10: 5 -> "05", 12 -> "12", 123 -> "123".
std::string twoDigits(int number);

// The lookup key: "T" + township + direction + " R" + range + direction + " S" + section, the
// numbers with at least two digits: T05N R12E S07.
std::string lookupKey(const Description& description);
// The key, a blank and the chosen part's description ("T05N R12E S07 SE1/4 SE1/4"); with no
// part chosen the blank stays.
std::string previewText(const Description& description);

// A point in decimal degrees, north and east positive.
struct Point {
    double latitude = 0.0;
    double longitude = 0.0;
};

// Degrees of longitude that `eastMetres` span at `latitude`: the offset uses a spherical
// 69.172 statute miles per degree of latitude, scaled by the cosine of the latitude.
double longitudeOffset(double latitude, int eastMetres);

// The centroid shifted by the chosen part (none: unchanged), each coordinate rounded to four
// decimals half away from zero. Example: NE1/4 of (30, -84) -> (30.0036, -83.9959).
Point applyPart(Point centroid, const SectionPart* part);

// What the lookup table says about one key.
struct Lookup {
    enum class Status { Found, NotFound, Failed };
    Status status = Status::NotFound;
    Point centroid;      // Found: the section centroid as stored
    std::string message; // Failed: what went wrong, naming the file
};
using CentroidLookup = std::function<Lookup(const std::string& key)>;

// The installed lookup file: databases/zorn_trs.mdb in the program's folder.
std::filesystem::path lookupFile();

// Looks the key up in `databaseFile` (opened read-only). The key is bound as a parameter, never
// pasted into the statement. A missing or unreadable file, or one without the table, is Failed
// with a message naming the file.
Lookup lookupCentroid(const std::filesystem::path& databaseFile, const std::string& key);

inline constexpr std::string_view noRecordsMessage = "No Records Found.";

// The result of converting a description.
struct Conversion {
    enum class Status { Converted, NoRecord, Failed };
    Status status = Status::Failed;
    std::string key;
    Point point;         // Converted: centroid plus offsets, rounded to four decimals
    std::string message; // NoRecord / Failed: what to tell the user
};

// Builds the key, looks it up and applies the chosen part.
Conversion convert(const Description& description, const CentroidLookup& lookup);

} // namespace sw::trs
