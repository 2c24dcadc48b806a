// The converter's township-range-section mode through real widgets, against a small lookup
// file of our own placed where the program looks for it.

#include "coord/tests/converter_fixture.h"

#include <QEvent>
#include <QRadioButton>

#include "coord/hand_back.h"
#include "services/database.h"
#include "services/program_folder.h"
#include "testsupport/test_paths.h"

namespace sw::test {
namespace {

using Texts = std::vector<std::string>;

class ConverterTrs : public ConverterFixture {
protected:
    void SetUp() override {
        saved_ = programFolder();
        setProgramFolder(dir_.path());
        std::filesystem::create_directories(dir_ / "databases");
        Database db;
        ASSERT_TRUE(db.create(dir_ / "databases" / "zorn_trs.mdb")) << db.lastError();
        ASSERT_TRUE(db.createTable("Plss_zorn", {{"TRS", ColumnType::Text, 20},
                                                 {"LONGITUDE", ColumnType::Double, 8},
                                                 {"LATITUDE", ColumnType::Double, 8}}));
        const std::tuple<const char*, double, double> rows[] = {
            {"T05N R12E S07", -84.0, 30.0},
            {"T10S R10W S01", -82.25, 29.5},
            {"T00N R00E S08", -85.0, 31.0},
        };
        for (const auto& [key, lon, lat] : rows) {
            ASSERT_TRUE(
                db.addRecord("Plss_zorn", {{"TRS", key}, {"LONGITUDE", lon}, {"LATITUDE", lat}}));
        }
        db.close();
        ConverterFixture::SetUp();
    }
    void TearDown() override { setProgramFolder(saved_); }

    // The user picks TRS and a direction for each number, then types the three numbers.
    void describe(const char* township, const char* townshipDir, const char* range,
                  const char* rangeDir, const char* section) {
        click("optTRS");
        click(townshipDir);
        click(rangeDir);
        focus("txtTown");
        type(township);
        focus("txtRange");
        type(range);
        focus("txtSection");
        type(section);
    }

    std::vector<std::string> qqCaptions() {
        std::vector<std::string> captions;
        for (const char* name : {"optNWNW", "optNWNE", "optNENW", "optNENE", "optNWSW", "optNWSE",
                                 "optNESW", "optNESE", "optSWNW", "optSWNE", "optSENW", "optSENE",
                                 "optSWSW", "optSWSE", "optSESW", "optSESE"}) {
            EXPECT_EQ(child(name)->isEnabled(), !text(name).empty()) << name;
            captions.push_back(text(name));
        }
        return captions;
    }

    TempDir dir_;
    std::filesystem::path saved_;
};

TEST_F(ConverterTrs, ChoosingTrsLocksTheAnglesAndOpensTheDescription) {
    openFor("swFac");
    click("optDD");
    click("optTRS");
    for (const FieldInfo& info : allFields()) {
        EXPECT_FALSE(field(std::string(info.name))->isEnabled()) << info.name;
    }
    for (const char* open :
         {"txtSection", "optTnorth", "optTSouth", "optRangeE", "optRangeW", "optSecC", "optNE",
          "optSW", "optsecNH", "cmdTRScon", "cmdTRS2dd", "cmdResetTRS", "cmdEnableqs"}) {
        EXPECT_TRUE(child(open)->isEnabled()) << open;
    }
    // Township and range open once their direction is chosen.
    EXPECT_FALSE(child("txtTown")->isEnabled());
    EXPECT_FALSE(child("txtRange")->isEnabled());
    EXPECT_EQ(qqCaptions(), Texts(16, ""));
    click("optTSouth");
    EXPECT_TRUE(child("txtTown")->isEnabled());
    EXPECT_FALSE(child("txtRange")->isEnabled());
    click("optRangeW");
    EXPECT_TRUE(child("txtRange")->isEnabled());
}

TEST_F(ConverterTrs, ConvertLooksUpShiftsHandsBackAndResets) {
    openFor("swFac");
    describe("05", "optTnorth", "12", "optRangeE", "7");
    click("optNE");
    click("cmdTRS2dd");
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.messageTexts()[0];
    EXPECT_EQ(text("lblTRScon"), "T05N R12E S07");
    // 400 m east at 30 degrees north is 0.004149 degrees.
    EXPECT_EQ(text("lblDDLat"), "30.0036");
    EXPECT_EQ(text("lblDDLong"), "-083.9959");
    const HandBackTexts expected = handBackTexts(30.0036, -83.9959);
    EXPECT_EQ(received("swFac"), (Texts{expected.albersX, expected.albersY, "-083.9959", "30.0036",
                                        expected.usng, expected.utm}));
    EXPECT_EQ(results(), received("swFac"));
    for (const auto& [name, reset] :
         {std::pair{"txtTown", "00"}, {"txtRange", "00"}, {"txtSection", "0000"}}) {
        EXPECT_EQ(text(name), reset) << name;
        EXPECT_TRUE(child(name)->isEnabled()) << name;
    }
}

TEST_F(ConverterTrs, SouthAndWestKeysAndTheChosenPartStayForTheNextConversion) {
    openFor("frmDBMan");
    describe("10", "optTSouth", "10", "optRangeW", "1");
    click("cmdEnableqs");
    click("optSESE");
    click("cmdTRS2dd");
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(text("lblTRScon"), "T10S R10W S01");
    EXPECT_EQ(text("lblDDLat"), "29.4945");
    EXPECT_EQ(text("lblDDLong"), "-082.2438");
    EXPECT_EQ(received("frmDBMan")[3], "29.4945");

    // Same part, next section: the directions and the choice are still in force.
    focus("txtTown");
    type("10");
    focus("txtRange");
    type("10");
    focus("txtSection");
    type("1");
    click("cmdTRScon");
    EXPECT_EQ(text("lblTRScon"), "T10S R10W S01 SE1/4 SE1/4");
}

TEST_F(ConverterTrs, NumbersBeyondTheSurveyAreRefusedOnLeavingTheField) {
    struct Case {
        const char* direction;
        const char* fieldName;
        const char* typed;   // two digits: the field fills and the focus moves on
        const char* message; // nullptr: accepted
        bool wholeReset;
    };
    const Case cases[] = {
        {"optTnorth", "txtTown", "10", "North Township Must be Less Than 8", false},
        {"optTnorth", "txtTown", "07", nullptr, false},
        {"optTSouth", "txtTown", "69", "South Township Must be Less Than 69", false},
        {"optTSouth", "txtTown", "68", nullptr, false},
        {"optRangeE", "txtRange", "44", "East Range Must be Less Than 44", true},
        {"optRangeE", "txtRange", "43", nullptr, false},
        {"optRangeW", "txtRange", "35", "West Range Must be Less Than 35", true},
        {"optRangeW", "txtRange", "34", nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.direction) + " " + c.typed);
        openFor("swFac");
        describe("00", "optTnorth", "00", "optRangeE", "12");
        click(c.direction);
        dialogs.clear();
        focus(c.fieldName);
        type(c.typed);
        if (c.message == nullptr) {
            EXPECT_TRUE(dialogs.messages.empty());
            EXPECT_EQ(text(c.fieldName), c.typed);
            EXPECT_NE(focused(), c.fieldName) << "a full field is left";
            continue;
        }
        EXPECT_EQ(dialogs.messageTexts(), Texts{c.message});
        EXPECT_EQ(text(c.fieldName), "00");
        EXPECT_EQ(focused(), c.fieldName) << "the focus comes back for a new try";
        EXPECT_EQ(field(c.fieldName)->selectedText().toStdString(), "00");
        EXPECT_EQ(text("txtSection"), c.wholeReset ? "0000" : "12");
    }
}

TEST_F(ConverterTrs, SectionsAboveTheLimitAndNonDigitsAreRefusedAsTyped) {
    openFor("swFac");
    click("optTRS");
    focus("txtSection");
    type("8031");
    EXPECT_EQ(dialogs.messageTexts(), Texts{" Must Be Less Than 8030"});
    EXPECT_EQ(text("txtSection"), "");
    EXPECT_EQ(focused(), "txtSection");

    type("8030");
    EXPECT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(text("txtSection"), "8030");

    focus("txtSection");
    for (const char key : {'a', '.', '-', ' '}) {
        dialogs.clear();
        QTest::keyClick(field("txtSection"), key);
        EXPECT_EQ(dialogs.messageTexts(), Texts{"Plese Enter Numbers Only"}) << key;
        EXPECT_EQ(dialogs.beeps, 1) << key;
        EXPECT_EQ(text("txtSection"), "8030") << key;
    }
}

TEST_F(ConverterTrs, PreviewShowsTheKeyAndThePartAndTheQuarterQuarterSwitch) {
    openFor("swFac");
    describe("05", "optTnorth", "12", "optRangeE", "7");
    click("cmdTRScon");
    EXPECT_EQ(text("lblTRScon"), "T05N R12E S07 ");

    click("cmdEnableqs");
    EXPECT_EQ(text("cmdEnableqs"), "Disable 1/4 1/4 Sections");
    EXPECT_EQ(qqCaptions(), (Texts{"NW", "NE", "NW", "NE", "SW", "SE", "SW", "SE", "NW", "NE", "NW",
                                   "NE", "SW", "SE", "SW", "SE"}));
    click("optSESE");
    click("cmdTRScon");
    EXPECT_EQ(text("lblTRScon"), "T05N R12E S07 SE1/4 SE1/4");

    click("cmdEnableqs");
    EXPECT_EQ(text("cmdEnableqs"), "Enable 1/4 1/4 Sections");
    EXPECT_EQ(qqCaptions(), Texts(16, ""));
    click("cmdTRScon");
    EXPECT_EQ(text("lblTRScon"), "T05N R12E S07 SE1/4 SE1/4") << "the choice stays";
    click("optSH");
    click("cmdTRScon");
    EXPECT_EQ(text("lblTRScon"), "T05N R12E S07 S1/2");
}

TEST_F(ConverterTrs, NoRecordStopsWithoutHandingBackAPointAtZero) {
    openFor("swHcane");
    describe("05", "optTnorth", "12", "optRangeE", "7");
    click("cmdTRS2dd");
    const Texts good = received("swHcane");
    ASSERT_EQ(good[3], "30.0000");

    describe("05", "optTnorth", "12", "optRangeE", "9");
    dialogs.clear();
    click("cmdTRS2dd");
    EXPECT_EQ(dialogs.messageTexts(), Texts{"No Records Found."});
    EXPECT_EQ(text("lblTRScon"), "T05N R12E S09");
    EXPECT_EQ(text("lblDDLat"), "00");
    EXPECT_EQ(text("lblDDLong"), "00");
    EXPECT_EQ(text("lblAlbersX"), "");
    EXPECT_EQ(received("swHcane"), good) << "the task window keeps its last real point";
    // The description stays, to be corrected.
    EXPECT_EQ(text("txtTown"), "05");
    EXPECT_EQ(text("txtSection"), "9");
}

TEST_F(ConverterTrs, AMissingLookupFileIsReportedByName) {
    TempDir empty;
    setProgramFolder(empty.path());
    openFor("swFac");
    describe("05", "optTnorth", "12", "optRangeE", "7");
    click("cmdTRS2dd");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    const std::string expectedFile = (empty / "databases" / "zorn_trs.mdb").string();
    EXPECT_NE(dialogs.messages[0].text.find(expectedFile), std::string::npos)
        << dialogs.messages[0].text;
    EXPECT_EQ(dialogs.messages[0].icon, Icon::Critical);
    EXPECT_EQ(received("swFac"), Texts(6, ""));
    EXPECT_EQ(text("txtTown"), "05");
}

TEST_F(ConverterTrs, TheKeyIsWhatTheFieldsShowNotWhatAnEarlierCheckLeft) {
    openFor("swFac");
    describe("05", "optTnorth", "12", "optRangeE", "7");
    click("cmdTRS2dd");
    ASSERT_EQ(text("txtTown"), "00");
    // Only the section typed after a conversion: township and range are the 00 shown.
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
    EXPECT_EQ(text("txtTown"), "00");
    EXPECT_EQ(text("lblTRScon"), "T00N R00E S08") << "nothing was looked up";
}

TEST_F(ConverterTrs, ResetClearsTheDescriptionAndTheShownPoint) {
    openFor("swFac");
    describe("05", "optTnorth", "12", "optRangeE", "7");
    click("cmdTRScon");
    click("cmdResetTRS");
    EXPECT_EQ(text("txtTown"), "00");
    EXPECT_EQ(text("txtRange"), "00");
    EXPECT_EQ(text("txtSection"), "0000");
    EXPECT_EQ(text("lblTRScon"), "");
    EXPECT_EQ(text("lblDDLat"), "");
    EXPECT_EQ(text("lblDDLong"), "");
    EXPECT_EQ(child<QAbstractButton>("cmdResetTRS")->toolTip().toStdString(),
              "Cancels Conversion, Resets Fields to 0");
}

TEST_F(ConverterTrs, ComingBackToTheWindowDropsTheOldPreview) {
    openFor("swFac");
    describe("05", "optTnorth", "12", "optRangeE", "7");
    click("cmdTRScon");
    ASSERT_FALSE(text("lblTRScon").empty());
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(converter, &activate);
    EXPECT_EQ(text("lblTRScon"), "");
}

TEST_F(ConverterTrs, CloseResetsTheDescription) {
    openFor("swFac");
    describe("05", "optTnorth", "12", "optRangeE", "7");
    click("cmdconClose");
    EXPECT_FALSE(converter->isVisible());
    EXPECT_EQ(text("txtTown"), "00");
    EXPECT_EQ(text("txtSection"), "0000");
    EXPECT_TRUE(child("txtTown")->isEnabled());
}

} // namespace
} // namespace sw::test
