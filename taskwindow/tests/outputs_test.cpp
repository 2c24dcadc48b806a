// The generic outputs through one column table that uses every column kind: the lines and
// fields all come from the table, and an append never writes into a shapefile that does not
// fit the record.

#include "taskwindow/outputs.h"

#include "services/program_folder.h"
#include "testsupport/scripted_dialogs.h"
#include "testsupport/test_paths.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using sw::Column;
using sw::test::readFile;

struct Fire {
    std::string name, latitude, acres, started, count;
};

const sw::ColumnTable<Fire>& fireColumns() {
    static const sw::ColumnTable<Fire> table = {
        {Column::text("Fire Name", "Name", 30), [](const Fire& f) { return f.name; }},
        {Column::number("Latitude", "Lat"), [](const Fire& f) { return f.latitude; }},
        {Column::quotedNumber("Acres", "Acres"), [](const Fire& f) { return f.acres; }},
        {Column::date("Start", "StartDate"), [](const Fire& f) { return f.started; }},
        {Column::longInteger("Count", "Count"), [](const Fire& f) { return f.count; }},
    };
    return table;
}

const Fire kFire{"Bell Creek", "30.2500", "1,234.50", "05-17-2027", "3"};

sw::OutputSettings settings() {
    return {.prefix = "pw",
            .appendTextFilter = "Text Files (pw*.txt)|pw*.txt",
            .appendShapeFilter = "Shape Files (pw*.shp)|pw*.shp"};
}

TEST(ColumnTable, LinesFollowEachColumnsForm) {
    const sw::RecordRow row = fireColumns().row(kFire);
    EXPECT_EQ(sw::headerLine(row), "\"Fire Name\",\"Latitude\",\"Acres\",\"Start\",\"Count\"\r\n");
    // Coordinates and counts bare (leading number), the typed area and the date as shown.
    EXPECT_EQ(sw::recordLine(row), "\"Bell Creek\",30.25,\"1,234.50\",\"05-17-2027\",3\r\n");
    EXPECT_EQ(sw::recordLine(fireColumns().row({})), "\"\",0,\"\",\"\",0\r\n");
}

class RecordOutputsTest : public ::testing::Test {
protected:
    sw::test::TempDir dir;
    sw::test::ScriptedDialogs dialogs;
    sw::RecordOutputs outputs{dialogs, settings()};

    void SetUp() override { sw::setProgramFolder(sw::test::runtimeDir()); }

    // A point shapefile of one record with these fields, made by the writer itself.
    void makeShapefile(const fs::path& path, int shapeType,
                       std::initializer_list<std::tuple<const char*, int, int>> fields) {
        sw::ShapeFiles shapes;
        ASSERT_TRUE(shapes.OpenShapefile(path, sw::ShapeFiles::kCreate, shapeType));
        for (const auto& [name, type, width] : fields) {
            ASSERT_TRUE(shapes.Fields().AddField(name, type, width)) << shapes.lastError();
        }
        ASSERT_TRUE(shapes.CommitFields());
        for (int i = 0; i < (shapeType == sw::ShapeFiles::kPoint ? 1 : 3); ++i) {
            ASSERT_TRUE(shapes.Vertices().AddVertex(i, i * i, 0));
        }
        ASSERT_TRUE(shapes.WriteRecord()) << shapes.lastError();
    }
};

TEST_F(RecordOutputsTest, NewShapefileHasTheTablesFieldsAndProjectionFile) {
    dialogs.fileNext((dir / "may.shp").string());
    const sw::OutputResult result = outputs.createShapefile(fireColumns().row(kFire), {1, 2});
    ASSERT_TRUE(result.isWritten()) << result.message;
    EXPECT_EQ(readFile(dir / "pwmay.prj"), readFile(sw::test::runtimeDir() / "qv_albers.prj"));

    sw::ShapeFiles check;
    ASSERT_TRUE(check.OpenShapefile(dir / "pwmay.shp", sw::ShapeFiles::kAppend));
    const char expectedTypes[] = {'C', 'N', 'N', 'D', 'N'};
    ASSERT_EQ(check.Fields().Count(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(check.Fields().Info(i)->name, fireColumns().columns()[i].field);
        EXPECT_EQ(check.Fields().Info(i)->dbfType, expectedTypes[i]) << i;
    }
    // The same table appends to it.
    dialogs.fileNext((dir / "pwmay.shp").string());
    EXPECT_TRUE(outputs.appendShapefile(fireColumns().row(kFire), {3, 4}).isWritten());
}

TEST_F(RecordOutputsTest, AppendRefusesAShapefileThatDoesNotFitAndLeavesItUntouched) {
    using S = sw::ShapeFiles;
    struct Case {
        const char* label;
        int shapeType;
        std::initializer_list<std::tuple<const char*, int, int>> fields;
        const char* named; // what the message must name; nothing: the append goes through
    };
    const Case cases[] = {
        {"names match without case, any text width",
         S::kPoint,
         {{"NAME", S::kTextField, 10},
          {"lat", S::kDoubleField, 0},
          {"Acres", S::kDoubleField, 0},
          {"StartDate", S::kDateField, 0},
          {"Count", S::kLongField, 0}},
         nullptr},
        {"missing field",
         S::kPoint,
         {{"Name", S::kTextField, 30},
          {"Lat", S::kDoubleField, 0},
          {"StartDate", S::kDateField, 0},
          {"Count", S::kLongField, 0}},
         "\"Acres\""},
        {"text where a number belongs",
         S::kPoint,
         {{"Name", S::kTextField, 30},
          {"Lat", S::kTextField, 20},
          {"Acres", S::kDoubleField, 0},
          {"StartDate", S::kDateField, 0},
          {"Count", S::kLongField, 0}},
         "\"Lat\""},
        {"number where a date belongs",
         S::kPoint,
         {{"Name", S::kTextField, 30},
          {"Lat", S::kDoubleField, 0},
          {"Acres", S::kDoubleField, 0},
          {"StartDate", S::kLongField, 0},
          {"Count", S::kLongField, 0}},
         "\"StartDate\""},
        {"lines, not points",
         S::kPolyline,
         {{"Name", S::kTextField, 30},
          {"Lat", S::kDoubleField, 0},
          {"Acres", S::kDoubleField, 0},
          {"StartDate", S::kDateField, 0},
          {"Count", S::kLongField, 0}},
         "lines"},
    };
    for (const Case& c : cases) {
        const fs::path path = dir / "pwold.shp";
        makeShapefile(path, c.shapeType, c.fields);
        const std::string shp = readFile(path);
        const std::string dbf = readFile(dir / "pwold.dbf");
        dialogs.fileNext(path.string());
        const sw::OutputResult result = outputs.appendShapefile(fireColumns().row(kFire), {5, 6});
        if (c.named == nullptr) {
            EXPECT_TRUE(result.isWritten()) << c.label << ": " << result.message;
            continue;
        }
        EXPECT_TRUE(result.isFailed()) << c.label;
        EXPECT_NE(result.message.find(c.named), std::string::npos)
            << c.label << ": " << result.message;
        EXPECT_NE(result.message.find(path.string()), std::string::npos) << result.message;
        EXPECT_EQ(readFile(path), shp) << c.label;
        EXPECT_EQ(readFile(dir / "pwold.dbf"), dbf) << c.label;
    }
}

TEST_F(RecordOutputsTest, TextFileCreatedWithPrefixThenAppendedAsChosen) {
    dialogs.fileNext((dir / "may.txt").string());
    ASSERT_TRUE(outputs.createTextFile(fireColumns().row(kFire)).isWritten());
    dialogs.fileNext((dir / "pwmay.txt").string());
    ASSERT_TRUE(outputs.appendTextFile(fireColumns().row(kFire)).isWritten());
    const sw::RecordRow row = fireColumns().row(kFire);
    EXPECT_EQ(readFile(dir / "pwmay.txt"),
              sw::headerLine(row) + sw::recordLine(row) + sw::recordLine(row));
    EXPECT_EQ(dialogs.files[1].filter, "Text Files (pw*.txt)|pw*.txt");
    EXPECT_EQ(dialogs.files[1].fileName, (dir / "may.txt").string()) << "one dialog, remembered";
}

} // namespace
