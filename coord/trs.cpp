#include "coord/trs.h"

#include <array>
#include <cmath>

#include "coord/number_text.h"
#include "services/base/program_folder.h"
#include "services/database/database.h"

namespace sw::trs {
namespace {

// Half a section is 0.0036 degrees of latitude and 400 m of longitude from the centroid; a
// quarter-quarter centre lies 0.0055 / 0.0018 degrees and 600 / 200 m away. The figures are
// the agency's own and are kept as they are, so converted points match earlier records.
constexpr std::array<SectionPart, 25> partTable{{
    {"optSecC", "C", "CENTER", 0, 0.0, 0, 0},
    {"optsecNH", "N", "N1/2", 0, 0.0036, 0, 0},
    {"optSH", "S", "S1/2", 0, -0.0036, 0, 0},
    {"optEH", "E", "E1/2", 400, 0.0, 0, 0},
    {"optWH", "W", "W1/2", -400, 0.0, 0, 0},
    {"optNE", "NE", "NE1/4", 400, 0.0036, 0, 0},
    {"optNW", "NW", "NW1/4", -400, 0.0036, 0, 0},
    {"optSE", "SE", "SE1/4", 400, -0.0036, 0, 0},
    {"optSW", "SW", "SW1/4", -400, -0.0036, 0, 0},
    {"optNWNW", "NW", "NW1/4 NW1/4", -600, 0.0055, 1, 1},
    {"optNWNE", "NE", "NE1/4NW1/4", -200, 0.0055, 1, 2},
    {"optNENW", "NW", "NW1/4NE1/4", 200, 0.0055, 1, 3},
    {"optNENE", "NE", "NE1/4NE1/4", 600, 0.0055, 1, 4},
    {"optNWSW", "SW", "SW1/4 NW1/4", -600, 0.0018, 2, 1},
    {"optNWSE", "SE", "SE1/4 NW1/4", -200, 0.0018, 2, 2},
    {"optNESW", "SW", "SW1/4NE1/4", 200, 0.0018, 2, 3},
    {"optNESE", "SE", "SE1/4NE1/4", 600, 0.0018, 2, 4},
    {"optSWNW", "NW", "NW1/4 SW1/4", -600, -0.0018, 3, 1},
    {"optSWNE", "NE", "NE1/4 SW1/4", -200, -0.0018, 3, 2},
    {"optSENW", "NW", "NW1/4 SE1/4", 200, -0.0018, 3, 3},
    {"optSENE", "NE", "NE1/4 SE1/4", 600, -0.0018, 3, 4},
    {"optSWSW", "SW", "SW1/4 SW1/4", -600, -0.0055, 4, 1},
    {"optSWSE", "SE", "SE1/4 SW1/4", -200, -0.0055, 4, 2},
    {"optSESW", "SW", "SW1/4 SE1/4", 200, -0.0055, 4, 3},
    {"optSESE", "SE", "SE1/4 SE1/4", 600, -0.0055, 4, 4},
}};

constexpr double pi = 3.14159265358979;
// A degree of latitude taken as 69.172 statute miles of 1609.35 m: the figures behind the
// agency's offsets. Both are kept so that offsets come out as they always have.
constexpr double milesPerDegree = 69.172;
constexpr double metresPerMile = 1609.35;

} // namespace

std::span<const SectionPart> sectionParts() {
    return partTable;
}

std::string spokenName(const SectionPart& part) {
    std::string d;
    for (const char c : part.description) {
        if (c != ' ') {
            d += c;
        }
    }
    if (d == "CENTER") {
        return "Centre of the section";
    }
    if (d.ends_with("1/2")) {
        return d.substr(0, d.size() - 3) + " half";
    }
    // "NE1/4" or, a quarter of a quarter, "NE1/4NW1/4".
    const std::size_t first = d.find("1/4");
    const std::string corner = d.substr(0, first) + " quarter";
    const std::string rest = d.substr(first + 3);
    if (rest.empty()) {
        return corner;
    }
    return corner + " of the " + rest.substr(0, rest.find("1/4")) + " quarter";
}

const SectionPart* sectionPartByControl(std::string_view control) {
    for (const SectionPart& part : partTable) {
        if (part.control == control) {
            return &part;
        }
    }
    return nullptr;
}

bool keyAccepted(char32_t code) {
    return code == 8 || (code >= U'0' && code <= U'9');
}

int wholeNumber(std::string_view text) {
    return wholeTiesToEven16(leadingNumber(text));
}

std::optional<Refusal> checkTownship(TownshipDirection direction, std::string_view text) {
    const double value = leadingNumber(text);
    if (direction == TownshipDirection::North && value > maxNorthTownship) {
        return Refusal{"North Township Must be Less Than 8", "00"};
    }
    if (direction == TownshipDirection::South && value > maxSouthTownship) {
        // Names the southernmost township the survey has, which is itself allowed.
        return Refusal{"South Township Must be 68 or Less", "00"};
    }
    return std::nullopt;
}

std::optional<Refusal> checkRange(RangeDirection direction, std::string_view text) {
    const double value = leadingNumber(text);
    if (direction == RangeDirection::East && value > maxEastRange) {
        return Refusal{"East Range Must be Less Than 44", "00"};
    }
    if (direction == RangeDirection::West && value > maxWestRange) {
        return Refusal{"West Range Must be Less Than 35", "00"};
    }
    return std::nullopt;
}

std::optional<Refusal> checkSection(std::string_view text) {
    if (leadingNumber(text) > maxSection) {
        return Refusal{" Must Be Less Than 8030", ""};
    }
    return std::nullopt;
}

// Texts are built by appending: GCC 12 at -O3 flags a literal prepended to a std::string
// ("T" + text) as an overlapping copy (a false -Wrestrict), which breaks -Werror builds.
std::string twoDigits(int number) {
    const std::string digits = std::to_string(number < 0 ? -number : number);
    std::string text(number < 0 ? 1 : 0, '-');
    if (digits.size() < 2) {
        text += '0';
    }
    text += digits;
    return text;
}

std::string lookupKey(const Description& d) {
    std::string key(1, 'T');
    key += twoDigits(d.township);
    key += static_cast<char>(d.townshipDirection);
    key += " R" + twoDigits(d.range);
    key += static_cast<char>(d.rangeDirection);
    key += " S" + twoDigits(d.section);
    return key;
}

std::string previewText(const Description& d) {
    std::string text = lookupKey(d) + " ";
    if (d.part != nullptr) {
        text += d.part->description;
    }
    return text;
}

double longitudeOffset(double latitude, int eastMetres) {
    const double metresPerArcSecond =
        std::cos(latitude * pi / 180.0) * milesPerDegree * metresPerMile / 3600.0;
    return eastMetres / metresPerArcSecond / 3600.0;
}

Point applyPart(Point centroid, const SectionPart* part) {
    Point shifted = centroid;
    if (part != nullptr) {
        shifted.latitude += part->northDegrees;
        // The east offset is scaled at the centroid's latitude, before the north shift.
        shifted.longitude += longitudeOffset(centroid.latitude, part->eastMetres);
    }
    shifted.latitude = roundHalfAwayFromZero(shifted.latitude, 4);
    shifted.longitude = roundHalfAwayFromZero(shifted.longitude, 4);
    return shifted;
}

std::filesystem::path lookupFile() {
    return programFolder() / "databases" / "zorn_trs.mdb";
}

Lookup lookupCentroid(const std::filesystem::path& databaseFile, const std::string& key) {
    Lookup result;
    Database db;
    if (!db.openReadOnly(databaseFile)) {
        result.status = Lookup::Status::Failed;
        result.message = "The section lookup table cannot be opened.\n" + db.lastError();
        return result;
    }
    auto rows = db.query("SELECT [LONGITUDE] ,[LATITUDE] From Plss_zorn Where [TRS] = ?", {key});
    if (!rows) {
        result.status = Lookup::Status::Failed;
        result.message = "The section lookup table " + databaseFile.string() +
                         " cannot be read.\n" + db.lastError();
        return result;
    }
    if (rows->recordCount() < 1) {
        result.status = Lookup::Status::NotFound;
        return result;
    }
    rows->moveFirst();
    result.status = Lookup::Status::Found;
    result.centroid = {rows->number("LATITUDE"), rows->number("LONGITUDE")};
    return result;
}

Conversion convert(const Description& description, const CentroidLookup& lookup) {
    Conversion conversion;
    conversion.key = lookupKey(description);
    const Lookup found = lookup(conversion.key);
    switch (found.status) {
    case Lookup::Status::Failed:
        conversion.status = Conversion::Status::Failed;
        conversion.message = found.message;
        break;
    case Lookup::Status::NotFound:
        conversion.status = Conversion::Status::NoRecord;
        conversion.message = std::string(noRecordsMessage);
        break;
    case Lookup::Status::Found:
        conversion.status = Conversion::Status::Converted;
        conversion.point = applyPart(found.centroid, description.part);
        break;
    }
    return conversion;
}

} // namespace sw::trs
