// The generic outputs through one column table that uses every column kind: the lines and
// fields all come from the table, and an append never writes into a shapefile that does not
// fit the record.

#include "taskwindow/outputs.h"

#include "taskwindow/record_file.h"

#include "services/base/program_folder.h"
#include "testsupport/scripted_dialogs.h"
#include "testsupport/test_paths.h"

#include <functional>
#include <gtest/gtest.h>
#include <map>

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
    void makeShapefile(const fs::path& path, sw::ShapeType shapeType,
                       std::initializer_list<std::tuple<const char*, sw::FieldType, int>> fields) {
        sw::ShapeFiles shapes;
        ASSERT_TRUE(shapes.OpenShapefile(path, sw::ShapeFiles::OpenMode::Create, shapeType));
        for (const auto& [name, type, width] : fields) {
            ASSERT_TRUE(shapes.Fields().AddField(name, type, width)) << shapes.lastError();
        }
        ASSERT_TRUE(shapes.CommitFields());
        for (int i = 0; i < (shapeType == sw::ShapeType::Point ? 1 : 3); ++i) {
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
    ASSERT_TRUE(check.OpenShapefile(dir / "pwmay.shp", sw::ShapeFiles::OpenMode::Append));
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

// The projection file goes in place with the shapefile: where the old one cannot be replaced
// (a folder of that name, or a file the user protected), the old shapefile stays whole and the
// message names the projection file.
TEST_F(RecordOutputsTest, ANewShapefileWhoseProjectionFileCannotBeReplacedKeepsTheOldOne) {
    const std::function<void(const fs::path&)> blockers[] = {
        [](const fs::path& prj) { fs::create_directory(prj); },
        [](const fs::path& prj) {
            sw::test::writeFile(prj, "old\r\n");
            fs::permissions(prj, fs::perms::owner_read | fs::perms::group_read);
        },
    };
    for (const auto& block : blockers) {
        sw::test::TempDir folder;
        makeShapefile(folder / "pwmay.shp", sw::ShapeType::Point,
                      {{"Name", sw::FieldType::Text, 30}});
        block(folder / "pwmay.prj");
        std::map<std::string, std::string> before;
        for (const auto& entry : fs::directory_iterator(folder.path())) {
            before[entry.path().filename().string()] = readFile(entry.path());
        }
        dialogs.fileNext((folder / "may.shp").string()).answerNext(sw::Answer::Yes); // overwrite
        const sw::OutputResult result = outputs.createShapefile(fireColumns().row(kFire), {1, 2});
        EXPECT_TRUE(result.isFailed());
        EXPECT_NE(result.message.find((folder / "pwmay.prj").string()), std::string::npos)
            << result.message;
        std::map<std::string, std::string> after;
        for (const auto& entry : fs::directory_iterator(folder.path())) {
            after[entry.path().filename().string()] = readFile(entry.path());
        }
        EXPECT_EQ(after, before);
        fs::permissions(folder / "pwmay.prj", fs::perms::owner_all);
    }
}

TEST_F(RecordOutputsTest, AppendRefusesAShapefileThatDoesNotFitAndLeavesItUntouched) {
    struct Case {
        const char* label;
        sw::ShapeType shapeType;
        std::initializer_list<std::tuple<const char*, sw::FieldType, int>> fields;
        const char* named; // what the message must name; nothing: the append goes through
    };
    const Case cases[] = {
        {"names match without case, any text width",
         sw::ShapeType::Point,
         {{"NAME", sw::FieldType::Text, 10},
          {"lat", sw::FieldType::Double, 0},
          {"Acres", sw::FieldType::Double, 0},
          {"StartDate", sw::FieldType::Date, 0},
          {"Count", sw::FieldType::LongInteger, 0}},
         nullptr},
        {"missing field",
         sw::ShapeType::Point,
         {{"Name", sw::FieldType::Text, 30},
          {"Lat", sw::FieldType::Double, 0},
          {"StartDate", sw::FieldType::Date, 0},
          {"Count", sw::FieldType::LongInteger, 0}},
         "\"Acres\""},
        {"text where a number belongs",
         sw::ShapeType::Point,
         {{"Name", sw::FieldType::Text, 30},
          {"Lat", sw::FieldType::Text, 20},
          {"Acres", sw::FieldType::Double, 0},
          {"StartDate", sw::FieldType::Date, 0},
          {"Count", sw::FieldType::LongInteger, 0}},
         "\"Lat\""},
        {"number where a date belongs",
         sw::ShapeType::Point,
         {{"Name", sw::FieldType::Text, 30},
          {"Lat", sw::FieldType::Double, 0},
          {"Acres", sw::FieldType::Double, 0},
          {"StartDate", sw::FieldType::LongInteger, 0},
          {"Count", sw::FieldType::LongInteger, 0}},
         "\"StartDate\""},
        {"lines, not points",
         sw::ShapeType::Polyline,
         {{"Name", sw::FieldType::Text, 30},
          {"Lat", sw::FieldType::Double, 0},
          {"Acres", sw::FieldType::Double, 0},
          {"StartDate", sw::FieldType::Date, 0},
          {"Count", sw::FieldType::LongInteger, 0}},
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
}

// Each press asks with the dialog that says what it does (save for a file it creates, open for
// one it adds to), starting in the folder used last in the window, also when it offers a name.
TEST_F(RecordOutputsTest, CreatingAsksToSaveAddingAsksToOpenBothInTheFolderUsedLast) {
    using Kind = sw::FileRequest::Kind;
    const sw::RecordRow row = fireColumns().row(kFire);
    const fs::path other = dir / "other";
    fs::create_directory(other);
    sw::KmlPlacemark placemark;
    placemark.presetFileName = "pwBell Creek";
    placemark.name = "Bell Creek";
    placemark.iconFile = "other.png";
    struct Press {
        const char* label;
        std::function<sw::OutputResult()> run;
        fs::path picked;
        Kind kind;
        std::string offered; // the file name the dialog starts from
    };
    const Press presses[] = {
        {"new text file", [&] { return outputs.createTextFile(row); }, dir / "may.txt", Kind::Save,
         ""},
        {"append text", [&] { return outputs.appendTextFile(row); }, other / "pwold.txt",
         Kind::Open, (dir / "may.txt").string()},
        {"new shapefile",
         [&] {
             return outputs.createShapefile(row, {1, 2});
         },
         other / "may.shp", Kind::Save, (other / "pwold.txt").string()},
        {"append shapefile",
         [&] {
             return outputs.appendShapefile(row, {1, 2});
         },
         other / "pwmay.shp", Kind::Open, (other / "may.shp").string()},
        {"KML", [&] { return outputs.writeKml(placemark); }, other / "bell.kml", Kind::Save,
         (other / "pwBell Creek").string()},
    };
    for (const Press& press : presses) {
        dialogs.clear();
        dialogs.fileNext(press.picked.string());
        if (press.kind == Kind::Save && press.picked.extension() == ".kml") {
            dialogs.answerNext(sw::Answer::No); // no link
        }
        EXPECT_TRUE(press.run().isWritten()) << press.label;
        ASSERT_EQ(dialogs.files.size(), 1u) << press.label;
        EXPECT_EQ(dialogs.files[0].kind, press.kind) << press.label;
        EXPECT_EQ(dialogs.files[0].fileName, press.offered) << press.label;
    }
}

} // namespace

namespace {

// Every writer of a file: replacing one keeps its permissions, and one the user protected is
// refused with its name and left as it was.
TEST(Writers, RefuseProtectedTargetsAndKeepPermissions) {
    sw::setProgramFolder(sw::test::runtimeDir());
    struct Writer {
        const char* label;
        const char* file;
        std::function<std::pair<bool, std::string>(const fs::path&)> write;
    };
    const Writer writers[] = {
        {"whole file", "pfa.txt",
         [](const fs::path& p) {
             auto s = sw::writeWholeFile(p, "new\r\n");
             return std::pair{s.ok, s.message};
         }},
        {"append", "pfa.txt",
         [](const fs::path& p) {
             auto s = sw::appendWhole(p, "new\r\n");
             return std::pair{s.ok, s.message};
         }},
        {"new shapefile", "pfa.shp",
         [](const fs::path& p) {
             sw::ShapeFiles shapes;
             const bool written =
                 shapes.OpenShapefile(p, sw::ShapeFiles::OpenMode::Create, sw::ShapeType::Point) &&
                 shapes.Fields().AddField("Name", sw::FieldType::Text, 10) &&
                 shapes.CommitFields() && shapes.Vertices().AddVertex(1, 2) && shapes.WriteRecord();
             return std::pair{written, shapes.lastError()};
         }},
        {"new shapefile's projection file", "pfa.prj",
         [](const fs::path& p) {
             sw::ShapeFiles shapes;
             const bool written =
                 shapes.OpenShapefile(fs::path(p).replace_extension(".shp"),
                                      sw::ShapeFiles::OpenMode::Create, sw::ShapeType::Point) &&
                 shapes.SetProjection("new\r\n") &&
                 shapes.Fields().AddField("Name", sw::FieldType::Text, 10) &&
                 shapes.CommitFields() && shapes.Vertices().AddVertex(1, 2) && shapes.WriteRecord();
             return std::pair{written, shapes.lastError()};
         }},
        {"KML", "a.kml",
         [](const fs::path& p) {
             sw::test::ScriptedDialogs dialogs;
             dialogs.answerNext(sw::Answer::No);
             auto r = sw::WriteKmlFromTemplate(dialogs, "kml_template3.txt", p, "n", {}, "-84",
                                               "30", "other.png");
             return std::pair{r.ok, r.message};
         }},
    };
    using fs::perms;
    for (const Writer& w : writers) {
        sw::test::TempDir dir;
        const fs::path target = dir / w.file;

        sw::test::writeFile(target, "old\r\n");
        fs::permissions(target, perms::owner_read | perms::owner_write | perms::group_read);
        const auto [replaced, why] = w.write(target);
        EXPECT_TRUE(replaced) << w.label << ": " << why;
        EXPECT_EQ(fs::status(target).permissions(),
                  perms::owner_read | perms::owner_write | perms::group_read)
            << w.label;

        sw::test::writeFile(target, "old\r\n");
        fs::permissions(target, perms::owner_read | perms::group_read | perms::others_read);
        const auto [written, message] = w.write(target);
        EXPECT_FALSE(written) << w.label;
        EXPECT_NE(message.find(target.string()), std::string::npos) << w.label << ": " << message;
        EXPECT_EQ(sw::test::readFile(target), "old\r\n") << w.label;
        EXPECT_EQ(fs::status(target).permissions(),
                  perms::owner_read | perms::group_read | perms::others_read)
            << w.label;
        fs::permissions(target, perms::owner_all);
    }
}

} // namespace
