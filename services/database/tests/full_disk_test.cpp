// The database on a disk that fills up while it stores rows: every statement that writes
// either succeeds whole, or fails saying why with the database file's name and leaves nothing
// of itself behind, whatever write finds the disk full (the journal's, a page of the new table,
// the commit). Before, a full disk at the commit of a text file's rows reported success and
// left no table, and the next statement failed with "no such table".

#include "services/database/database.h"
#include "services/database/tests/full_disk_vfs.h"

#include "testsupport/file_size_limit.h"
#include "testsupport/test_paths.h"

#include <functional>

#include <gtest/gtest.h>

namespace sw {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

std::string textSource(const fs::path& folder, const std::string& file) {
    return "[Text;Database=" + folder.string() + ";HDR=NO].[" + file + "]";
}

// What the database holds: its tables and their rows.
std::string contents(Database& db) {
    auto tables = db.query("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name");
    if (!tables) {
        return "unreadable: " + db.lastError();
    }
    std::string held;
    for (tables->moveFirst(); !tables->eof(); tables->moveNext()) {
        auto rows = db.query("SELECT count(*) FROM [" + tables->text(0) + "]");
        held += tables->text(0) + ":" + (rows ? rows->text(0) : "?") + " ";
    }
    auto temporary = db.query("SELECT count(*) FROM sqlite_temp_master");
    return held + "temporary:" + (temporary ? temporary->text(0) : "?");
}

TEST(DatabaseOnAFullDisk, AStatementStoresAllOrNothingAndSaysTheDiskIsFull) {
    struct Statement {
        const char* name;
        std::function<bool(Database&, const fs::path& folder)> run;
        const char* stored; // what the database holds once it succeeded
    };
    const std::vector<Statement> statements = {
        {"a vertex file stored as a new table",
         [](Database& db, const fs::path& folder) {
             return db.execute("SELECT * INTO COORD FROM " + textSource(folder, "vertices.csv"));
         },
         "COORD:1500 FIRE_DAT:1 temporary:0"},
        {"an attribute file inserted into a table, its numbers converted",
         [](Database& db, const fs::path& folder) {
             return db.execute("INSERT INTO FIRE_DAT (GISID, NAME, ACRES) SELECT F1, F2, F3 FROM " +
                               textSource(folder, "attributes.csv"));
         },
         "FIRE_DAT:401 temporary:0"},
        {"a record added",
         [](Database& db, const fs::path&) {
             return db.addRecord("FIRE_DAT", {{"GISID", 2}, {"NAME", std::string(3000, 'x')}});
         },
         "FIRE_DAT:2 temporary:0"},
        {"a table created",
         [](Database& db, const fs::path&) {
             return db.createTable("MORE", {{"GISID", ColumnType::LongInteger, 0}});
         },
         "FIRE_DAT:1 MORE:0 temporary:0"},
    };
    std::string vertices;
    for (int i = 0; i < 1500; ++i) {
        vertices += "1,-82.3411,29.6512,0\r\n";
    }
    std::string attributes;
    for (int i = 0; i < 400; ++i) {
        attributes += std::to_string(i + 10) + ",\"Big Fire\",\"1,234.50\"\r\n";
    }
    test::FullDiskVfs disk; // every database below goes through it
    for (const bool fileSizeLimit : {false, true}) {
        for (const auto& statement : statements) {
            // Room for a little more than the database holds, then more and more, until the
            // statement has all the room it needs.
            int failures = 0;
            for (std::int64_t room = 8192 + 1; room < 200000; room += 2003) {
                SCOPED_TRACE(std::string(statement.name) + ", room for " + std::to_string(room) +
                             (fileSizeLimit ? " bytes a file" : " bytes on the disk"));
                TempDir dir;
                test::writeFile(dir / "vertices.csv", vertices);
                test::writeFile(dir / "attributes.csv", attributes);
                const fs::path file = dir / "swBigFire.mdb";
                Database db;
                ASSERT_TRUE(db.create(file)) << db.lastError();
                // No waiting for the disk's flushes: what is written, and where, stays the same.
                ASSERT_TRUE(db.execute("PRAGMA synchronous = OFF"));
                ASSERT_TRUE(db.createTable("FIRE_DAT", {{"GISID", ColumnType::LongInteger, 0},
                                                        {"NAME", ColumnType::Text, 35},
                                                        {"ACRES", ColumnType::LongInteger, 0}}));
                ASSERT_TRUE(db.addRecord("FIRE_DAT", {{"GISID", 1}, {"NAME", "Old Fire"}}));
                const std::string before = contents(db);
                bool stored = false;
                if (fileSizeLimit) {
                    test::FileSizeLimit limit(static_cast<std::uintmax_t>(room));
                    stored = statement.run(db, dir.path());
                } else {
                    disk.fillAt(room);
                    stored = statement.run(db, dir.path());
                    disk.fillAt(std::nullopt);
                }
                if (stored) {
                    EXPECT_EQ(contents(db), statement.stored) << "all of it, when it succeeds";
                    break;
                }
                ++failures;
                const std::string error = db.lastError();
                EXPECT_NE(error.find(file.string()), std::string::npos) << error;
                if (!fileSizeLimit) {
                    EXPECT_NE(error.find("the disk is full"), std::string::npos) << error;
                }
                EXPECT_EQ(contents(db), before) << "nothing of the failed statement stays";
                ASSERT_TRUE(statement.run(db, dir.path()))
                    << "with room again the same statement succeeds: " << db.lastError();
                EXPECT_EQ(contents(db), statement.stored);
            }
            EXPECT_GT(failures, 0) << statement.name << ": the disk was never full";
        }
    }
}

} // namespace
} // namespace sw
