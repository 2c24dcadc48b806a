#include "services/database.h"

#include "testsupport/test_paths.h"

#include <gtest/gtest.h>

namespace sw {
namespace {

using test::TempDir;

// A small lookup file like the installed ones, made through the adapter itself.
std::filesystem::path makeLookup(const TempDir& dir) {
    auto file = dir / "zorn_trs.mdb";
    Database db;
    EXPECT_TRUE(db.create(file)) << db.lastError();
    EXPECT_TRUE(db.execute("CREATE TABLE Plss_zorn (TRS TEXT, LONGITUDE REAL, LATITUDE REAL)"))
        << db.lastError();
    EXPECT_TRUE(
        db.execute("INSERT INTO Plss_zorn VALUES (?, ?, ?)", {"T01N R01E S01", -84.2773, 30.4469}));
    EXPECT_TRUE(
        db.execute("INSERT INTO Plss_zorn VALUES (?, ?, ?)", {"T05N R12E S07", -83.1, 30.8}));
    EXPECT_TRUE(db.execute("CREATE TABLE zipcodeq (ZIP_CODE INTEGER, CITY TEXT)"));
    EXPECT_TRUE(db.execute("INSERT INTO zipcodeq VALUES (32301, 'TALLAHASSEE')"));
    return file;
}

TEST(Database, LookupQueryAsWrittenReadsFieldsByNameAndPosition) {
    TempDir dir;
    auto file = makeLookup(dir);
    Database db;
    ASSERT_TRUE(db.openReadOnly(file)) << db.lastError();
    auto rs = db.query("SELECT [LONGITUDE] ,[LATITUDE] From Plss_zorn Where [TRS] = ?",
                       {"T01N R01E S01"});
    ASSERT_TRUE(rs) << db.lastError();
    ASSERT_EQ(rs->recordCount(), 1);
    rs->moveLast();
    rs->moveFirst();
    EXPECT_EQ(rs->text("LONGITUDE"), "-84.2773");
    EXPECT_EQ(rs->text("latitude"), "30.4469");
    EXPECT_DOUBLE_EQ(rs->number(0), -84.2773);
    EXPECT_EQ(rs->text(1), "30.4469");
    rs->moveNext();
    EXPECT_TRUE(rs->eof());
}

} // namespace
} // namespace sw
