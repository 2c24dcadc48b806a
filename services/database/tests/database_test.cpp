#include "services/database/database.h"
#include "services/database/text_feed.h"
#include "services/database/text_table.h"

#include "testsupport/test_paths.h"

#include <gtest/gtest.h>

#include <thread>

namespace sw {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

// A small lookup file shaped like the installed ones.
fs::path makeLookup(const TempDir& dir) {
    auto file = dir / "zorn_trs.mdb";
    Database db;
    EXPECT_TRUE(db.create(file)) << db.lastError();
    EXPECT_TRUE(db.execute("CREATE TABLE Plss_zorn (TRS TEXT, LONGITUDE REAL, LATITUDE REAL)"));
    EXPECT_TRUE(
        db.execute("INSERT INTO Plss_zorn VALUES (?, ?, ?)", {"T01N R01E S01", -84.2773, 30.4469}));
    EXPECT_TRUE(
        db.execute("INSERT INTO Plss_zorn VALUES (?, ?, ?)", {"T05N R12E S07", -83.0, 30.8}));
    EXPECT_TRUE(db.execute("CREATE TABLE zipcodeq (ZIP_CODE INTEGER, CITY TEXT)"));
    EXPECT_TRUE(db.execute("INSERT INTO zipcodeq VALUES (32301, 'TALLAHASSEE')"));
    return file;
}

int rowsIn(Database& db, const std::string& table) {
    auto rs = db.query("SELECT COUNT(*) FROM " + table);
    return rs ? static_cast<int>(rs->number(0)) : -1;
}

TEST(Database, LookupQueriesRunAsWrittenAndReadTheFirstRow) {
    TempDir dir;
    auto file = makeLookup(dir);
    Database db;
    ASSERT_TRUE(db.openReadOnly(file)) << db.lastError();

    auto trs = db.query("SELECT [LONGITUDE] ,[LATITUDE] From Plss_zorn Where [TRS] = ?",
                        {"T01N R01E S01"});
    ASSERT_TRUE(trs) << db.lastError();
    ASSERT_EQ(trs->recordCount(), 1);
    trs->moveLast();
    trs->moveFirst();
    EXPECT_EQ(trs->text("LONGITUDE"), "-84.2773");
    EXPECT_EQ(trs->text("latitude"), "30.4469") << "names match without regard to case";
    EXPECT_DOUBLE_EQ(trs->number(0), -84.2773);
    EXPECT_EQ(trs->text(1), "30.4469");
    trs->moveNext();
    EXPECT_TRUE(trs->eof());
    EXPECT_EQ(trs->text("LONGITUDE"), "") << "no current row: empty";

    auto none = db.query("SELECT [LONGITUDE] ,[LATITUDE] From Plss_zorn Where [TRS] = ?",
                         {"T99N R01E S01"});
    ASSERT_TRUE(none);
    EXPECT_LT(none->recordCount(), 1);
    EXPECT_TRUE(none->eof());

    auto zip = db.query("SELECT CITY From zipcodeq Where ZIP_CODE = 32301");
    ASSERT_TRUE(zip) << db.lastError();
    ASSERT_EQ(zip->recordCount(), 1);
    EXPECT_EQ(zip->text("CITY"), "TALLAHASSEE");
}

TEST(Database, NumbersReadAsTextInTheirShortestForm) {
    struct Case {
        DbValue value;
        const char* text;
        double number;
    };
    const std::vector<Case> cases = {
        {-84.2773, "-84.2773", -84.2773},
        {30.4469, "30.4469", 30.4469},
        {30.0, "30", 30},
        {0.1 + 0.2, "0.30000000000000004", 0.1 + 0.2}, // the double's own value, in full
        {32301, "32301", 32301},
        {"12.5 acres", "12.5 acres", 12.5},
        {"-084.5000", "-084.5000", -84.5},
        {"N/A", "N/A", 0},
        {"inf", "inf", 0},
        {nullptr, "", 0},
    };
    TempDir dir;
    Database db;
    ASSERT_TRUE(db.create(dir / "values.mdb"));
    ASSERT_TRUE(db.execute("CREATE TABLE t (n INTEGER PRIMARY KEY, v)"));
    for (std::size_t i = 0; i < cases.size(); ++i) {
        ASSERT_TRUE(
            db.execute("INSERT INTO t VALUES (?, ?)", {static_cast<long long>(i), cases[i].value}));
    }
    auto rs = db.query("SELECT v FROM t ORDER BY n");
    ASSERT_TRUE(rs) << db.lastError();
    ASSERT_EQ(rs->recordCount(), static_cast<int>(cases.size()));
    for (const auto& c : cases) {
        EXPECT_EQ(rs->text("v"), c.text);
        EXPECT_DOUBLE_EQ(rs->number("v"), c.number) << c.text;
        rs->moveNext();
    }
}

// Whatever a user types reaches the database only as a bound value, never as SQL text.
TEST(Database, TypedValuesCannotChangeAStatement) {
    TempDir dir;
    auto file = makeLookup(dir);
    Database db;
    ASSERT_TRUE(db.open(file));
    for (const char* typed : {"' OR '1'='1", "T01N R01E S01' --", "x'; DROP TABLE Plss_zorn; --",
                              "\"", ";", "T01N R01E S01\"; DELETE FROM Plss_zorn"}) {
        auto rs =
            db.query("SELECT [LONGITUDE] ,[LATITUDE] From Plss_zorn Where [TRS] = ?", {typed});
        ASSERT_TRUE(rs) << typed << ": " << db.lastError();
        EXPECT_EQ(rs->recordCount(), 0) << typed;
        ASSERT_TRUE(db.addRecord("zipcodeq", {{"ZIP_CODE", 99999}, {"CITY", typed}}));
    }
    EXPECT_EQ(rowsIn(db, "Plss_zorn"), 2);
    auto stored = db.query("SELECT CITY FROM zipcodeq WHERE ZIP_CODE = ? ORDER BY rowid", {99999});
    ASSERT_TRUE(stored);
    ASSERT_EQ(stored->recordCount(), 6);
    EXPECT_EQ(stored->text("CITY"), "' OR '1'='1") << "stored as typed";

    // A second statement after the first is refused, not run.
    EXPECT_FALSE(db.execute("DELETE FROM zipcodeq WHERE ZIP_CODE = 1; DROP TABLE Plss_zorn"));
    EXPECT_NE(db.lastError().find("more than one statement"), std::string::npos);
    EXPECT_EQ(rowsIn(db, "Plss_zorn"), 2);
    EXPECT_FALSE(db.query("SELECT CITY FROM zipcodeq WHERE ZIP_CODE = ?", {}))
        << "a missing value is an error, not a NULL";
    EXPECT_FALSE(quoteName("a]; DROP TABLE t; --"));
    EXPECT_FALSE(db.addRecord("zipcodeq", {{"CITY]) VALUES ('x'); --", 1}}));
}

TEST(Database, FilesThatCannotBeOpenedGiveAMessageNamingThem) {
    TempDir dir;
    test::writeFile(dir / "notes.mdb", "this is not a database, only text\r\n");
    auto lookup = makeLookup(dir);
    struct Case {
        fs::path file;
        bool readOnly;
    };
    for (const auto& c : std::vector<Case>{{dir / "databases" / "zorn_trs.mdb", true},
                                           {dir / "notes.mdb", true},
                                           {dir / "notes.mdb", false},
                                           {dir.path(), true}}) {
        Database db;
        EXPECT_FALSE(c.readOnly ? db.openReadOnly(c.file) : db.open(c.file));
        EXPECT_NE(db.lastError().find(c.file.string()), std::string::npos) << db.lastError();
        EXPECT_FALSE(db.isOpen());
        EXPECT_FALSE(db.query("SELECT 1")) << "no crash on a database that is not open";
    }
    Database again;
    EXPECT_FALSE(again.create(lookup)) << "an existing file is never created over";
    EXPECT_NE(again.lastError().find(lookup.string()), std::string::npos);

    Database readOnly;
    ASSERT_TRUE(readOnly.openReadOnly(lookup));
    EXPECT_FALSE(readOnly.execute("DELETE FROM Plss_zorn"));
    EXPECT_EQ(rowsIn(readOnly, "Plss_zorn"), 2);
}

// ---------------------------------------------------------------------------------------------
// Headerless text files read as tables whose columns are F1, F2, ...

std::string textSource(const fs::path& folder, const std::string& file) {
    return "[Text;Database=" + folder.string() + ";HDR=NO].[" + file + "]";
}

const std::vector<ColumnDef> kFireDat = {
    {"GISID", ColumnType::LongInteger, 0}, {"NAME", ColumnType::Text, 35},
    {"INC_NUM", ColumnType::Text, 20},     {"REPORT", ColumnType::Text, 10},
    {"ENTRY_DATE", ColumnType::Text, 12},  {"START_DATE", ColumnType::Text, 12},
    {"ACRES", ColumnType::LongInteger, 0}, {"FUEL", ColumnType::Text, 20},
    {"CAUSE", ColumnType::Text, 20},       {"TYPE", ColumnType::Text, 30},
    {"CONTAINED", ColumnType::Text, 6},    {"SIGNIF", ColumnType::Text, 4},
};

TEST(Database, VertexAndAttributeFilesLoadThroughTheStatementsAsWritten) {
    TempDir dir;
    test::writeFile(dir / "ccswBigFire2ea.csv", "1,-82.3411,29.6512,0\r\n"
                                                "1,-82.34,29.66,0\r\n"
                                                "1,-82.33,29.65,12.5\r\n"
                                                "1,-82.3411,29.6512,0\r\n");
    test::writeFile(
        dir / "pwattswBigFire2ea.csv",
        "1,\"Big Fire #2\",\"FL-2024-017\",\"Initial\",\"05-17-2024\",\"05-16-2024\","
        "\"1,234.50\",\"Grass\",\"Lightning\",\"Fire Perimeter\",\"45.00%\",\"Yes\"\r\n");
    Database db;
    ASSERT_TRUE(db.create(dir / "swBigFire2ea.mdb")) << db.lastError();
    ASSERT_TRUE(db.createTable("FIRE_DAT", kFireDat)) << db.lastError();

    ASSERT_TRUE(
        db.execute("SELECT * INTO COORD FROM " + textSource(dir.path(), "ccswBigFire2ea.csv")))
        << db.lastError();
    ASSERT_TRUE(db.execute("INSERT INTO FIRE_DAT (GISID, NAME, INC_NUM, REPORT, ENTRY_DATE, "
                           "START_DATE,ACRES, FUEL, CAUSE, TYPE, CONTAINED, SIGNIF) SELECT F1, F2, "
                           "F3, F4, F5, F6, F7, F8, F9, F10, F11, F12 FROM " +
                           textSource(dir.path(), "pwattswBigFire2ea.csv")))
        << db.lastError();
    db.close();

    ASSERT_TRUE(db.open(dir / "swBigFire2ea.mdb"));
    auto count = db.query("SELECT COUNT(F1) FROM  COORD");
    ASSERT_TRUE(count) << db.lastError();
    EXPECT_EQ(count->text(0), "4");

    auto fire = db.query("SELECT * FROM FIRE_DAT");
    ASSERT_TRUE(fire);
    ASSERT_EQ(fire->recordCount(), 1);
    EXPECT_EQ(fire->text("GISID"), "1");
    EXPECT_EQ(fire->text("NAME"), "Big Fire #2");
    EXPECT_EQ(fire->text("ACRES"), "1234") << "a long integer column holds a whole number";
    EXPECT_EQ(fire->text("CONTAINED"), "45.00%");
    EXPECT_EQ(fire->text("SIGNIF"), "Yes");

    auto vertices = db.query("Select * From COORD Where F1=" + fire->text("GISID"));
    ASSERT_TRUE(vertices) << db.lastError();
    ASSERT_EQ(vertices->recordCount(), 4);
    ASSERT_EQ(vertices->fieldCount(), 4);
    EXPECT_EQ(vertices->fieldName(0), "F1");
    EXPECT_EQ(vertices->fieldName(3), "F4");
    const char* longitudes[] = {"-82.3411", "-82.34", "-82.33", "-82.3411"};
    for (const char* longitude : longitudes) {
        EXPECT_EQ(vertices->text("F2"), longitude) << "rows in file order";
        vertices->moveNext();
    }
    vertices->moveFirst();
    EXPECT_DOUBLE_EQ(vertices->number("F3"), 29.6512);

    // The same rows one at a time, as a reader of a million vertices takes them; stopping early
    // fails the query.
    std::vector<std::string> seen;
    ASSERT_TRUE(db.queryEach("Select * From COORD Where F1=?", {1}, [&](const Recordset& row) {
        EXPECT_EQ(row.recordCount(), 1);
        EXPECT_EQ(row.fieldName(1), "F2");
        seen.push_back(row.text("F2") + " " + row.text(3));
        return true;
    })) << db.lastError();
    EXPECT_EQ(seen,
              (std::vector<std::string>{"-82.3411 0", "-82.34 0", "-82.33 12.5", "-82.3411 0"}));
    int visited = 0;
    EXPECT_FALSE(
        db.queryEach("SELECT * FROM COORD", {}, [&](const Recordset&) { return ++visited < 2; }));
    EXPECT_EQ(visited, 2);
    EXPECT_NE(db.lastError().find("stopped"), std::string::npos) << db.lastError();

    // The columns as a shapefile takes them over: engine types and sizes.
    auto fireColumns = db.tableColumns("FIRE_DAT");
    ASSERT_TRUE(fireColumns) << db.lastError();
    for (std::size_t i = 0; i < kFireDat.size(); ++i) {
        ColumnDef expected = kFireDat[i];
        expected.size = expected.type == ColumnType::LongInteger ? 4 : expected.size;
        EXPECT_EQ((*fireColumns)[i], expected) << expected.name;
    }
    auto coordColumns = db.tableColumns("COORD");
    ASSERT_TRUE(coordColumns);
    ASSERT_EQ(coordColumns->size(), 4u);
    EXPECT_EQ((*coordColumns)[0].type, ColumnType::LongInteger);
    EXPECT_EQ((*coordColumns)[1].type, ColumnType::Double);
    EXPECT_FALSE(db.tableColumns("NO_SUCH_TABLE"));
}

// A number column takes a text the way the window shows numbers: digit grouping in threes
// allowed, and whole-number columns round halves to the even neighbour. Otherwise "1,234.50" would
// stay a text whose leading number reads as 1.
// A text file read while it is written (fed block by block on another thread) loads as the
// complete file would, with its types learned past the first records; a feed given up fails
// the statement, which leaves nothing.
TEST(Database, FedTextFilesLoadAsTheFileWouldOrNotAtAll) {
    TempDir dir;
    std::string text;
    for (int i = 0; i < 3000; ++i) {
        text +=
            "1," + std::to_string(-82.0 - i / 1e4) + ",29.5," + (i == 2500 ? "12.5" : "0") + "\r\n";
    }
    test::writeFile(dir / "cc.csv", text);
    const std::string load =
        "SELECT * INTO COORD FROM [Text;Database=" + dir.path().string() + ";HDR=NO].[cc.csv]";
    Database fromDisk;
    ASSERT_TRUE(fromDisk.create(dir / "disk.mdb"));
    ASSERT_TRUE(fromDisk.execute(load)) << fromDisk.lastError();
    const auto expected = fromDisk.query("SELECT * FROM COORD");
    const auto expectedTypes = fromDisk.tableColumns("COORD");
    ASSERT_TRUE(expected && expectedTypes);

    for (const bool givenUp : {false, true}) {
        SCOPED_TRACE(givenUp ? "given up" : "complete");
        Database db;
        ASSERT_TRUE(db.create(dir / (givenUp ? "up.mdb" : "fed.mdb")));
        auto feed = std::make_shared<TextFeed>();
        db.feedTextFile(dir / "cc.csv", feed);
        std::thread writer([&] {
            for (std::size_t at = 0; at < text.size(); at += 7000) {
                feed->append(std::string_view(text).substr(at, 7000));
                if (givenUp && at > text.size() / 2) {
                    feed->giveUp();
                    return;
                }
            }
            feed->finish();
        });
        const bool loaded = db.execute(load);
        writer.join();
        if (givenUp) {
            EXPECT_FALSE(loaded);
            EXPECT_FALSE(db.tableColumns("COORD"));
            continue;
        }
        ASSERT_TRUE(loaded) << db.lastError();
        auto rows = db.query("SELECT * FROM COORD");
        ASSERT_TRUE(rows);
        EXPECT_EQ(db.tableColumns("COORD"), expectedTypes);
        ASSERT_EQ(rows->recordCount(), expected->recordCount());
        auto want = *expected;
        for (rows->moveFirst(), want.moveFirst(); !rows->eof(); rows->moveNext(), want.moveNext()) {
            for (int c = 0; c < 4; ++c) {
                ASSERT_EQ(rows->value(c), want.value(c));
            }
        }
    }
}

TEST(Database, NumberColumnsConvertTheTextsTheyAreGiven) {
    struct Case {
        const char* area;   // as the attribute file holds it, quoted
        const char* acres;  // long integer column
        const char* amount; // double column
        DbValue::Type type; // of the long integer value
    };
    const std::vector<Case> cases = {
        {"0.00", "0", "0", DbValue::Type::Integer},
        {"12.50", "12", "12.5", DbValue::Type::Integer},
        {"13.50", "14", "13.5", DbValue::Type::Integer},
        {"1,234.50", "1234", "1234.5", DbValue::Type::Integer},
        {"12,345,678.90", "12345679", "12345678.9", DbValue::Type::Integer},
        {" 7 ", "7", "7", DbValue::Type::Integer},
        // Commas that are not groups of three: a decimal comma or a slip, never a new value.
        {"1,2", "1,2", "1,2", DbValue::Type::Text},
        {"12,5", "12,5", "12,5", DbValue::Type::Text},
        {"1,,,,2.5", "1,,,,2.5", "1,,,,2.5", DbValue::Type::Text},
        {"", "", "", DbValue::Type::Null},
        {"Unknown", "Unknown", "Unknown", DbValue::Type::Text}, // kept, not lost
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.area);
        TempDir dir;
        test::writeFile(dir / "att.csv",
                        std::string("1,\"") + c.area + "\",\"" + c.area + "\"\r\n");
        Database db;
        ASSERT_TRUE(db.create(dir / "w.mdb"));
        ASSERT_TRUE(db.createTable("T", {{"GISID", ColumnType::LongInteger, 0},
                                         {"ACRES", ColumnType::LongInteger, 0},
                                         {"AMOUNT", ColumnType::Double, 0}}));
        ASSERT_TRUE(db.execute("INSERT INTO T (GISID, ACRES, AMOUNT) SELECT F1, F2, F3 FROM " +
                               textSource(dir.path(), "att.csv")))
            << db.lastError();
        ASSERT_TRUE(db.addRecord("T", {{"GISID", 2}, {"ACRES", c.area}, {"AMOUNT", c.area}}));
        auto rs = db.query("SELECT ACRES, AMOUNT FROM T ORDER BY GISID");
        ASSERT_TRUE(rs);
        for (int row = 0; row < 2; ++row, rs->moveNext()) {
            EXPECT_EQ(rs->text("ACRES"), c.acres) << "row " << row;
            EXPECT_EQ(rs->value("ACRES").type(), c.type) << "row " << row;
            EXPECT_EQ(rs->text("AMOUNT"), c.amount) << "row " << row;
        }
    }
}

TEST(Database, TextFilesOfEveryShapeReadAsTables) {
    struct Case {
        const char* name;
        std::string content;
        std::vector<std::vector<std::string>> rows; // F1, F2, ... as texts
    };
    const std::vector<Case> cases = {
        {"tuples without altitude",
         "1,-82.3411,29.6512\r\n1,-82.34,29.66\r\n",
         {{"1", "-82.3411", "29.6512"}, {"1", "-82.34", "29.66"}}},
        {"quotes: commas and doubled quotes inside",
         "\"a, \"\"b\"\"\",\"007\"\r\n",
         {{"a, \"b\"", "007"}}},
        {"empty values and short rows", "1,,x\r\n2\r\n", {{"1", "", "x"}, {"2", "", ""}}},
        {"empty file", "", {}},
    };
    for (const auto& c : cases) {
        TempDir dir;
        test::writeFile(dir / "data.csv", c.content);
        Database db;
        ASSERT_TRUE(db.create(dir / "w.mdb"));
        ASSERT_TRUE(db.execute("SELECT * INTO COORD FROM " + textSource(dir.path(), "data.csv")))
            << c.name << ": " << db.lastError();
        auto rs = db.query("SELECT * FROM COORD");
        ASSERT_TRUE(rs) << c.name;
        ASSERT_EQ(rs->recordCount(), static_cast<int>(c.rows.size())) << c.name;
        for (const auto& row : c.rows) {
            for (std::size_t f = 0; f < row.size(); ++f) {
                EXPECT_EQ(rs->text("F" + std::to_string(f + 1)), row[f]) << c.name;
            }
            rs->moveNext();
        }
    }
}

// What a statement stores from a text file is what the file reads as in memory, value for value
// and type for type, also when records far into the file change what a column holds: the
// first records do not decide a column's type.
TEST(Database, TextFileRowsAreStoredAsTheWholeFileTypesThem) {
    const auto many = [](const std::string& line, int count) {
        std::string text;
        for (int i = 0; i < count; ++i) {
            text += line;
        }
        return text;
    };
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"numbers throughout", many("1,-82.3411,29.6512,0\r\n", 3000)},
        {"a fraction late in a whole-number column", many("7,2\r\n", 2500) + "7,2.5\r\n"},
        {"a word late in a number column", many("007,1.50\r\n", 2500) + "x,y\r\n"},
        {"a value late in a column empty so far", many("1,\r\n", 2500) + "1,12\r\n"},
        {"more columns late in the file", many("1,2\r\n", 2500) + "1,2,3\r\n"},
        {"a quoted number late in the file", many("5\r\n", 2500) + "\"6\"\r\n"},
        {"ZIP codes with leading zeros throughout", many("00501,32301\r\n", 1500)},
        {"a leading zero late in a whole-number column", many("32301\r\n", 2500) + "00501\r\n"},
        {"zeros that are numbers", many("0,0.5,-0\r\n", 1500)},
    };
    // A database built aside keeps its journal in memory only: undoing the first reading of
    // a file whose later rows change its types must work there too.
    for (const auto& [name, content] : cases) {
        for (const bool builtAside : {false, true}) {
            SCOPED_TRACE(builtAside ? "built aside" : "created");
            TempDir dir;
            test::writeFile(dir / "data.csv", content);
            std::string error;
            const auto expected = readTextTable(dir / "data.csv", error);
            ASSERT_TRUE(expected) << name << ": " << error;
            Database db;
            ASSERT_TRUE(builtAside ? db.createBuiltAside(dir / "w.mdb") : db.create(dir / "w.mdb"));
            ASSERT_TRUE(
                db.execute("SELECT * INTO COORD FROM " + textSource(dir.path(), "data.csv")))
                << name << ": " << db.lastError();
            auto rs = db.query("SELECT * FROM COORD");
            ASSERT_TRUE(rs) << name;
            ASSERT_EQ(rs->recordCount(), static_cast<int>(expected->rows.size())) << name;
            ASSERT_EQ(rs->fieldCount(), static_cast<int>(expected->columns())) << name;
            bool same = true;
            for (const auto& row : expected->rows) {
                for (std::size_t c = 0; c < expected->columns() && same; ++c) {
                    const DbValue want = c < row.size() ? row[c] : DbValue();
                    same = rs->value(static_cast<int>(c)) == want;
                    EXPECT_TRUE(same)
                        << name << ": column F" << c + 1 << " holds "
                        << rs->value(static_cast<int>(c)).toText() << ", not " << want.toText();
                }
                rs->moveNext();
            }
            auto columns = db.tableColumns("COORD");
            ASSERT_TRUE(columns) << name;
            for (std::size_t c = 0; c < columns->size(); ++c) {
                const ColumnType want =
                    expected->columnType(c) == TextColumnType::Integer ? ColumnType::LongInteger
                    : expected->columnType(c) == TextColumnType::Real  ? ColumnType::Double
                                                                       : ColumnType::Text;
                EXPECT_EQ((*columns)[c].type, want) << name << ": column F" << c + 1;
            }
        }
    }
}

TEST(Database, TextFileNamesCannotChangeAStatement) {
    TempDir dir;
    fs::create_directories(dir / "Fires [2024]; data");
    auto folder = dir / "Fires [2024]; data";
    const std::string odd = "a]; DROP TABLE FIRE_DAT; --.csv";
    test::writeFile(folder / odd, "1,2\r\n");
    Database db;
    ASSERT_TRUE(db.create(dir / "w.mdb"));
    ASSERT_TRUE(db.createTable("FIRE_DAT", kFireDat));
    ASSERT_TRUE(db.execute("SELECT * INTO COORD FROM " + textSource(folder, odd)))
        << db.lastError();
    EXPECT_EQ(rowsIn(db, "COORD"), 1);
    EXPECT_TRUE(db.tableColumns("FIRE_DAT")) << "still there";

    // A missing file fails with its name, and the failed statement leaves nothing behind.
    EXPECT_FALSE(db.execute("SELECT * INTO COORD2 FROM " + textSource(folder, "gone.csv")));
    EXPECT_NE(db.lastError().find("gone.csv"), std::string::npos) << db.lastError();
    EXPECT_FALSE(db.tableColumns("COORD2"));
    // A statement that fails after the file was read leaves no table either.
    test::writeFile(folder / "v.csv", "1,2\r\n");
    EXPECT_FALSE(db.execute("SELECT F9 INTO COORD3 FROM " + textSource(folder, "v.csv")));
    EXPECT_FALSE(db.tableColumns("COORD3"));
    EXPECT_EQ(rowsIn(db, "sqlite_temp_master"), 0) << "no temporary table is left";
}

// Every spelling of an insert converts the numbers of the rows it adds, by the one rule.
TEST(Database, EveryFormOfInsertStoresNumbersInNumberColumns) {
    for (const std::string insert :
         {"INSERT INTO T", "INSERT OR REPLACE INTO T", "INSERT INTO main.T", "INSERT INTO \"T\"",
          "REPLACE INTO [T]", "  insert\tinto t"}) {
        TempDir dir;
        Database db;
        ASSERT_TRUE(db.create(dir / "w.mdb"));
        ASSERT_TRUE(db.createTable(
            "T", {{"ACRES", ColumnType::LongInteger, 0}, {"AMOUNT", ColumnType::Double, 0}}));
        ASSERT_TRUE(db.execute(insert + " (ACRES, AMOUNT) VALUES (?, ?)", {"1,234.50", "12,5"}))
            << insert << ": " << db.lastError();
        auto rs = db.query("SELECT ACRES, AMOUNT FROM T");
        ASSERT_TRUE(rs);
        EXPECT_EQ(rs->value("ACRES"), DbValue(1234)) << insert;
        EXPECT_EQ(rs->value("AMOUNT"), DbValue("12,5")) << insert << ": a decimal comma stays text";
    }
}

// The text source is a token of the statement: found outside literals, its file name taken
// whole, and only in the statements that read text files.
TEST(Database, TextSourcesAreReadOnlyWhereTheyStandAsSources) {
    TempDir dir;
    test::writeFile(dir / "a.csv", "1,2\r\n2,3\r\n");
    const std::string tricky = "a.csv] WHERE F1=2 --x.csv";
    test::writeFile(dir / tricky, "7,8\r\n");
    Database db;
    ASSERT_TRUE(db.create(dir / "w.mdb"));

    ASSERT_TRUE(db.execute("SELECT * INTO A FROM " + textSource(dir.path(), tricky)))
        << db.lastError();
    auto rs = db.query("SELECT F1 FROM A");
    ASSERT_TRUE(rs);
    EXPECT_EQ(rs->recordCount(), 1);
    EXPECT_EQ(rs->text("F1"), "7") << "the file named so, not a.csv with a WHERE";

    const std::string literal = "'" + textSource(dir.path(), "a.csv") + "'";
    rs = db.query("SELECT " + literal + " AS T");
    ASSERT_TRUE(rs) << db.lastError();
    EXPECT_EQ(rs->text("T"), textSource(dir.path(), "a.csv")) << "a literal is left alone";

    struct Refused {
        std::string sql;
        const char* says;
    };
    const std::vector<Refused> refused = {
        {"SELECT * INTO B FROM " + textSource(dir.path(), "a.csv") + " WHERE F1=2",
         "must end the statement"},
        {"DELETE FROM " + textSource(dir.path(), "a.csv"), "can only be read by"},
        {"SELECT * INTO C FROM [Text;Database=" + dir.path().string() + "].[a.csv]",
         "needs \";HDR=NO].[\""},
    };
    for (const auto& r : refused) {
        EXPECT_FALSE(db.execute(r.sql)) << r.sql;
        EXPECT_NE(db.lastError().find(r.says), std::string::npos) << db.lastError();
    }
    EXPECT_FALSE(db.tableColumns("B"));
}

// Messages say what is wrong in words a user can act on, never SQLite's "not an error".
TEST(Database, MessagesSayWhatIsWrong) {
    TempDir dir;
    std::string wide;
    for (int i = 0; i < 2100; ++i) {
        wide += i ? ",1" : "1";
    }
    test::writeFile(dir / "wide.csv", wide + "\r\n");
    test::writeFile(dir / "open.csv", "1,2\r\n3,\"x\r\n");
    Database db;
    ASSERT_TRUE(db.create(dir / "w.mdb"));
    ASSERT_TRUE(db.execute("CREATE TABLE T (A INTEGER)"));
    struct Case {
        std::string sql;
        std::vector<DbValue> params;
        std::vector<std::string> says;
    };
    const std::vector<Case> cases = {
        {"DELETE FROM T; DROP TABLE T", {}, {"more than one statement"}},
        {"SELECT A FROM T WHERE A = ?", {}, {"takes 1 values, but 0 were given"}},
        {"SELECT * INTO W FROM " + textSource(dir.path(), "wide.csv"),
         {},
         {"wide.csv", "2100 columns", "more than the"}},
        {"SELECT * INTO O FROM " + textSource(dir.path(), "open.csv"),
         {},
         {"open.csv", "line 2", "not closed"}},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(db.execute(c.sql, c.params)) << c.sql;
        for (const auto& part : c.says) {
            EXPECT_NE(db.lastError().find(part), std::string::npos) << db.lastError();
        }
        EXPECT_EQ(db.lastError().find("not an error"), std::string::npos) << db.lastError();
        EXPECT_EQ(db.lastError().find("sw_text"), std::string::npos) << db.lastError();
    }
}

} // namespace
} // namespace sw
