// The converter's township-range-section mode through real widgets, against a small lookup
// file of our own placed where the program looks for it.

#include "coord/tests/converter_fixture.h"

#include "services/base/program_folder.h"
#include "services/database/database.h"
#include "testsupport/test_paths.h"

namespace sw::test {
namespace {

class ConverterTrs : public ConverterFixture {
protected:
    void SetUp() override {
        saved_ = programFolder();
        setProgramFolder(dir_.path());
        std::filesystem::create_directories(dir_ / "databases");
        Database db;
        ASSERT_TRUE(db.create(dir_ / "databases" / "zorn_trs.mdb"));
        ASSERT_TRUE(db.createTable("Plss_zorn", {{"TRS", ColumnType::Text, 20},
                                                 {"LONGITUDE", ColumnType::Double, 8},
                                                 {"LATITUDE", ColumnType::Double, 8}}));
        for (const auto& [key, lon, lat] : {std::tuple{"T05N R12E S07", -84.0, 30.0},
                                            {"T10S R10W S01", -82.25, 29.5},
                                            {"T00N R00E S08", -85.0, 31.0}}) {
            ASSERT_TRUE(
                db.addRecord("Plss_zorn", {{"TRS", key}, {"LONGITUDE", lon}, {"LATITUDE", lat}}));
        }
        ConverterFixture::SetUp();
    }
    void TearDown() override { setProgramFolder(saved_); }

    // TRS, a direction for each number, then the three numbers typed.
    void describe(const char* township, const char* townshipDir, const char* range,
                  const char* rangeDir, const char* section) {
        click("optTRS");
        click(townshipDir);
        click(rangeDir);
        for (const auto& [name, digits] :
             {std::pair{"txtTown", township}, {"txtRange", range}, {"txtSection", section}}) {
            focus(name);
            type(digits);
        }
    }

    TempDir dir_;
    std::filesystem::path saved_;
};

TEST_F(ConverterTrs, ConvertLooksUpShiftsHandsBackAndResets) {
    openFor("swFac");
    click("optTRS");
    EXPECT_FALSE(enabled("txtDDlongD"));
    EXPECT_FALSE(enabled("txtTown")) << "opens once a direction is chosen";
    EXPECT_FALSE(enabled("optNWNW"));
    EXPECT_TRUE(enabled("optNE"));
    describe("05", "optTnorth", "12", "optRangeE", "7");
    click("optNE");
    click("cmdTRS2dd");
    EXPECT_EQ(text("lblTRScon"), "T05N R12E S07");
    // 400 m east at 30 degrees north is 0.004149 degrees.
    Texts expected = expectedTexts(30.0036, -83.9959);
    EXPECT_EQ(expected[2] + " " + expected[3], "-083.9959 30.0036");
    EXPECT_EQ(received("swFac"), expected);
    EXPECT_EQ(results(), expected);
    for (const auto& [name, reset] :
         {std::pair{"txtTown", "00"}, {"txtRange", "00"}, {"txtSection", "0000"}}) {
        EXPECT_EQ(text(name), reset);
        EXPECT_TRUE(enabled(name)) << name;
    }

    // South and west, a quarter-quarter.
    describe("10", "optTSouth", "10", "optRangeW", "1");
    click("cmdEnableqs");
    click("optSESE");
    click("cmdTRS2dd");
    EXPECT_EQ(text("lblTRScon"), "T10S R10W S01");
    EXPECT_EQ(received("swFac"), expectedTexts(29.4945, -82.2438));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ConverterTrs, NumbersBeyondTheSurveyAreRefusedOnLeavingTheField) {
    struct Case {
        const char* direction;
        const char* name;
        const char* typed;   // two digits: the field fills and the focus moves on
        const char* message; // nullptr: accepted
    };
    const Case cases[] = {{"optTnorth", "txtTown", "10", "North Township Must be Less Than 8"},
                          {"optTnorth", "txtTown", "07", nullptr},
                          {"optTSouth", "txtTown", "69", "South Township Must be 68 or Less"},
                          {"optTSouth", "txtTown", "68", nullptr},
                          {"optRangeE", "txtRange", "44", "East Range Must be Less Than 44"},
                          {"optRangeE", "txtRange", "43", nullptr},
                          {"optRangeW", "txtRange", "35", "West Range Must be Less Than 35"},
                          {"optRangeW", "txtRange", "34", nullptr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.direction) + " " + c.typed);
        openFor("swFac");
        describe("00", "optTnorth", "00", "optRangeE", "12");
        click(c.direction);
        dialogs.clear();
        focus(c.name);
        type(c.typed);
        if (c.message == nullptr) {
            EXPECT_TRUE(dialogs.messages.empty());
            EXPECT_NE(focused(), c.name);
            continue;
        }
        EXPECT_EQ(dialogs.messageTexts(), Texts{c.message});
        EXPECT_EQ(text(c.name), "00");
        EXPECT_EQ(focused(), c.name) << "the focus comes back for a new try";
        EXPECT_EQ(field(c.name)->selectedText().toStdString(), "00");
        // A range outside the survey starts the whole description again.
        EXPECT_EQ(text("txtSection"), std::string(c.name) == "txtRange" ? "0000" : "12");
    }
}

TEST_F(ConverterTrs, SectionsAboveTheLimitAndNonDigitsAreRefusedAsTyped) {
    openFor("swFac");
    click("optTRS");
    focus("txtSection");
    type("8031");
    EXPECT_EQ(dialogs.messageTexts(), Texts{" Must Be Less Than 8030"});
    EXPECT_EQ(text("txtSection"), "");
    type("8030");
    EXPECT_EQ(text("txtSection"), "8030");
    for (const char key : {'a', '.', '-'}) {
        dialogs.clear();
        QTest::keyClick(field("txtSection"), key);
        EXPECT_EQ(dialogs.log, (Texts{"beep", "message: Plese Enter Numbers Only"})) << key;
        EXPECT_EQ(text("txtSection"), "8030");
    }
}

TEST_F(ConverterTrs, PreviewAndTheQuarterQuarterSwitch) {
    openFor("swFac");
    describe("05", "optTnorth", "12", "optRangeE", "7");
    click("cmdTRScon");
    EXPECT_EQ(text("lblTRScon"), "T05N R12E S07 ");
    click("cmdEnableqs");
    EXPECT_EQ(text("cmdEnableqs"), "Disable 1/4 1/4 Sections");
    EXPECT_TRUE(enabled("optSWNE"));
    EXPECT_EQ(text("optSWNE") + text("optNESW") + text("optNWNW") + text("optSESE"), "NESWNWSE");
    click("optSESE");
    click("cmdEnableqs");
    EXPECT_EQ(text("cmdEnableqs"), "Enable 1/4 1/4 Sections");
    EXPECT_FALSE(enabled("optSESE"));
    EXPECT_EQ(text("optSESE"), "");
    click("cmdTRScon");
    EXPECT_EQ(text("lblTRScon"), "T05N R12E S07 SE1/4 SE1/4") << "the choice stays";
    // Coming back to the window drops the preview.
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(converter, &activate);
    EXPECT_EQ(text("lblTRScon"), "");
}

TEST_F(ConverterTrs, NoRecordOrNoLookupFileHandsNothingBack) {
    openFor("swHcane");
    describe("05", "optTnorth", "12", "optRangeE", "7");
    click("cmdTRS2dd");
    const Texts good = received("swHcane");
    ASSERT_EQ(good, expectedTexts(30, -84));

    describe("05", "optTnorth", "12", "optRangeE", "9");
    click("cmdTRS2dd");
    EXPECT_EQ(dialogs.messageTexts(), Texts{"No Records Found."});
    EXPECT_EQ(text("lblDDLat") + " " + text("lblDDLong") + " " + text("lblAlbersX"), "00 00 ");
    EXPECT_EQ(received("swHcane"), good) << "no point at 0, 0";
    EXPECT_EQ(text("txtTown") + " " + text("txtSection"), "05 9") << "kept, to be corrected";

    TempDir empty;
    setProgramFolder(empty.path());
    dialogs.clear();
    click("cmdTRS2dd");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    const std::string file = (empty / "databases" / "zorn_trs.mdb").string();
    EXPECT_NE(dialogs.messages[0].text.find(file), std::string::npos) << dialogs.messages[0].text;
    EXPECT_EQ(dialogs.messages[0].icon, Icon::Critical);
    EXPECT_EQ(received("swHcane"), good);
}

TEST_F(ConverterTrs, TheKeyIsWhatTheFieldsShow) {
    openFor("swFac");
    describe("05", "optTnorth", "12", "optRangeE", "7");
    click("cmdTRS2dd");
    // After a conversion the fields show 00: a new section alone is looked up with them.
    focus("txtSection");
    type("8");
    click("cmdTRS2dd");
    EXPECT_EQ(text("lblTRScon"), "T00N R00E S08");
    EXPECT_EQ(text("lblDDLat"), "31.0000");

    // A direction changed after typing is checked before anything is looked up.
    click("optTSouth");
    focus("txtTown");
    type("10");
    click("optTnorth");
    dialogs.clear();
    click("cmdTRS2dd");
    EXPECT_EQ(dialogs.messageTexts(), Texts{"North Township Must be Less Than 8"});
    EXPECT_EQ(text("lblTRScon"), "T00N R00E S08") << "nothing looked up";

    click("cmdResetTRS");
    EXPECT_EQ(text("txtTown") + text("txtRange") + text("txtSection"), "00000000");
    EXPECT_EQ(text("lblTRScon") + text("lblDDLat") + text("lblDDLong"), "");
}

} // namespace
} // namespace sw::test
