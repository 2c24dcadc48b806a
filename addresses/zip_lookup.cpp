#include "addresses/zip_lookup.h"

#include "services/base/program_folder.h"
#include "services/database/database.h"

#include <algorithm>

namespace sw {

std::filesystem::path zipDatabaseFile() {
    return programFolder() / "databases" / "zipcode2.mdb";
}

std::optional<int> zipCodeNumber(std::string_view zipText) {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!zipText.empty() && blank(zipText.front())) {
        zipText.remove_prefix(1);
    }
    while (!zipText.empty() && blank(zipText.back())) {
        zipText.remove_suffix(1);
    }
    if (zipText.empty() ||
        !std::all_of(zipText.begin(), zipText.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    if (zipText.size() == 9) {
        zipText = zipText.substr(0, 5);
    } else if (zipText.size() > 5) {
        return std::nullopt;
    }
    int code = 0;
    for (char c : zipText) {
        code = code * 10 + (c - '0');
    }
    return code;
}

ZipLookup lookupCity(std::string_view zipText, const std::filesystem::path& database) {
    const std::optional<int> code = zipCodeNumber(zipText);
    if (!code) {
        return {ZipLookup::Outcome::Refused, {}, kInvalidZipMessage};
    }
    auto failed = [&](const std::string& reason) {
        return ZipLookup{ZipLookup::Outcome::Failed,
                         {},
                         "The ZIP code database " + database.string() + " could not be used (" +
                             reason + "). Type the city instead."};
    };
    Database db;
    if (!db.openReadOnly(database)) {
        return failed(db.lastError());
    }
    std::optional<Recordset> rows =
        db.query("SELECT CITY From zipcodeq Where ZIP_CODE = ?", {DbValue(*code)});
    if (!rows) {
        return failed(db.lastError());
    }
    if (rows->recordCount() < 1) {
        return {ZipLookup::Outcome::NotFound, {}, kNoZipRecordsMessage};
    }
    rows->moveFirst();
    return {ZipLookup::Outcome::Found, rows->text("CITY"), {}};
}

} // namespace sw
