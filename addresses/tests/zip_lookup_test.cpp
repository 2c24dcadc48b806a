// The ZIP lookup against the installed ZIP-code database, and what it refuses to look up.

#include "addresses/zip_lookup.h"

#include "services/database/database.h"
#include "testsupport/test_paths.h"

#include <gtest/gtest.h>

namespace sw {
namespace {

using Outcome = ZipLookup::Outcome;

TEST(ZipCode, TextToCode) {
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"32301", 32301},
        {"02134", 2134},
        {"00501", 501},
        {"021341234", 2134}, // ZIP+4: the first five digits
        {" 32301\t", 32301},
        {"2134", 2134}, // compared as a number, as the table stores it
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"3230a", std::nullopt},
        {"32301-1234", std::nullopt},
        {"-32301", std::nullopt},
        {"1e3", std::nullopt},
        {"323011", std::nullopt},
        {"3230112345", std::nullopt},
        {"99999999999999999999999999", std::nullopt},
        {"1 OR 1=1", std::nullopt},
        {"32301; DROP TABLE zipcodeq", std::nullopt},
        {"\xEF\xBC\x91\xEF\xBC\x92", std::nullopt}, // full-width digits
    };
    for (const auto& [text, code] : cases) {
        EXPECT_EQ(zipCodeNumber(text), code) << '"' << text << '"';
    }
}

TEST(ZipLookup, InstalledDatabase) {
    struct Case {
        const char* zip;
        Outcome outcome;
        const char* city;
        const char* message;
    };
    const Case cases[] = {
        {"32301", Outcome::Found, "Tallahassee", ""},
        {"02134", Outcome::Found, "Allston", ""},
        {"021340001", Outcome::Found, "Allston", ""},
        {"96860", Outcome::Found, "Jbphh", ""}, // two rows: the first one counts
        {"99999", Outcome::NotFound, "", "No Records Found."},
        {"00000", Outcome::NotFound, "", "No Records Found."},
        {"0 OR 1=1", Outcome::Refused, "", "You must enter a valid zip code"},
        {"12a45", Outcome::Refused, "", "You must enter a valid zip code"},
    };
    for (const Case& c : cases) {
        const ZipLookup result = lookupCity(c.zip);
        EXPECT_EQ(result.outcome, c.outcome) << c.zip;
        EXPECT_EQ(result.city, c.city) << c.zip;
        EXPECT_EQ(result.message, c.message) << c.zip;
    }
}

TEST(ZipLookup, UnusableDatabaseIsNamed) {
    test::TempDir dir;
    test::writeFile(dir / "garbage.mdb", "not a database at all, just text");
    {
        Database empty;
        ASSERT_TRUE(empty.create(dir / "empty.mdb"));
    }
    for (const char* name : {"missing.mdb", "garbage.mdb", "empty.mdb"}) {
        const ZipLookup result = lookupCity("32301", dir / name);
        EXPECT_EQ(result.outcome, Outcome::Failed) << name;
        EXPECT_TRUE(result.city.empty());
        EXPECT_NE(result.message.find((dir / name).string()), std::string::npos) << result.message;
    }
    // A refused text is refused before the database is even looked for.
    EXPECT_EQ(lookupCity("abc", dir / "missing.mdb").outcome, Outcome::Refused);
}

} // namespace
} // namespace sw
