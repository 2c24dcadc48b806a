// The Wildfires window driven as a user drives it: real widgets, key and mouse events, the
// converter typing the coordinates, the dialog double answering, and "today" fixed so the date
// questions come when they should. Files written are read back: text byte for byte,
// shapefiles through GDAL, KML against the OGC schema.

#include "wildfires/wildfires_window.h"

#include "coord/converter_window.h"
#include "coord/hand_back.h"
#include "services/base/program_folder.h"
#include "services/shapefile/shapefiles.h"
#include "taskwindow/output_file_choice.h"
#include "testsupport/kml_checks.h"
#include "testsupport/shapefile_reading.h"
#include "testsupport/test_paths.h"
#include "testsupport/window_test.h"
#include "ui/window_kinds.h"
#include "wildfires/fire_numbers.h"
#include "wildfires/fire_outputs.h"

#include <QApplication>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono;
using sw::test::q;
using sw::test::readFile;

constexpr year_month_day kToday = 2026y / May / 1d;

const char* const kOutputButtons[] = {"cmdAdNewdFire", "cmdAppendFile", "cmdWriteShape",
                                      "cmdAppendSHape", "cmdwKML"};
const char* const kCoordinateLabels[] = {"lblpDDLat",   "lblpDDLong",  "lblpAlbersX",
                                         "lblpAlbersY", "lblUTMCoord", "lblUSNG"};

// The fire of the examples, at 30.25 N 84.5 W as the converter shows it.
const sw::HandBackTexts kPoint = sw::handBackTexts(30.25, -84.5);
const std::string kShown[] = {kPoint.latitude, kPoint.longitude, kPoint.albersX,
                              kPoint.albersY,  kPoint.utm,       kPoint.usng};

std::string oakHillLine(const std::string& startDate = "05-01-2026") {
    return "\"Oak Hill\",\"42\",\"Initial\",30.25,-84.5,351936.72,693727.66,\"" + kPoint.utm +
           "\",\"" + kPoint.usng + "\",\"05-01-2026\",\"" + startDate +
           "\",\"1,234.50\",\"Grass\",\"lightning\",\"20.00%\",\"Yes\"\r\n";
}
const std::string kTitles =
    "\"Name\",\"Incident_Number\",\"Report\",\"Latitude\",\"Longitude\",\"AlbersX\","
    "\"AlbersY\",\"UTM Coordinate\",\"USNG Coordinate\",\"Entry Date/Time\",\"Fire Start "
    "Date\",\"Acres\",\"Fuel\",\"Cause\",\"Contained\",\"Significant\"\r\n";

// The shapefile as GDAL reads it, its files checked for consistency on the way.
QJsonObject gdalReading(const fs::path& file) {
    const sw::test::ReadBack back = sw::test::readShapefile(file);
    EXPECT_EQ(sw::test::problemsOf(back), "");
    return back.gdal;
}

class WildfiresWindow : public sw::test::WindowTest {
protected:
    sw::WildfiresWindow* fire = nullptr;

    void SetUp() override {
        fire = static_cast<sw::WildfiresWindow*>(
            openWindow(sw::forms::kWildfires, [this](sw::OpenConverter open) {
                return new sw::WildfiresWindow(dialogs, std::move(open),
                                               sw::Clock{[] { return kToday; }, {}});
            }));
        ASSERT_NE(fire, nullptr);
    }

    QSlider* slider() const { return child<QSlider>("sldperCon"); }

    // Types into a field or an editable list as a user does: click, replace what is there,
    // type; the focus stays.
    void typeIn(const char* field, const char* text) {
        QWidget* widget = child<QWidget>(field);
        clickInto(widget);
        if (auto* line = qobject_cast<QLineEdit*>(widget)) {
            line->selectAll();
        } else if (auto* list = qobject_cast<QComboBox*>(widget)) {
            list->lineEdit()->selectAll();
        }
        QTest::keyClicks(QApplication::focusWidget(), q(text));
    }
    // Leaves the focused field by Tab, then lets the focus moves it triggers settle.
    static void leaveByTab() {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCoreApplication::processEvents();
    }
    QString focused() const {
        QWidget* widget = QApplication::focusWidget();
        return widget == nullptr ? QString() : widget->objectName();
    }

    int enabledOutputs() const { return enabledCount(kOutputButtons); }

    void setCoordinates() {
        for (std::size_t i = 0; i < 6; ++i) {
            label(kCoordinateLabels[i])->setText(q(kShown[i]));
        }
    }

    // Oak Hill as the examples give it, coordinates set as the converter sets them; unlocked.
    void enterFire() {
        typeIn("txtF_Name", "Oak Hill");
        typeIn("txtInc_num", "42");
        clickInto(child<QRadioButton>("optRepI"));
        setCoordinates();
        typeIn("txtArea", "1234.5");
        typeIn("cmbfFuel", "Grass");
        typeIn("cmbfCause", "lightning");
        clickInto(slider());
        slider()->setValue(20);
        clickInto(child<QRadioButton>("OptfSigYes"));
        click("CmdEnable");
        ASSERT_EQ(enabledOutputs(), 5) << ::testing::PrintToString(dialogs.messageTexts());
    }
};

TEST_F(WildfiresWindow, OpensWithTodayNothingChosenAndLocked) {
    EXPECT_EQ(fire->windowTitle(), "Wildfire Management");
    EXPECT_EQ(label("lblwFires")->text(), "Wildfires");
    EXPECT_EQ(label("lblperCon")->text(), "    Percent Contained: Use SliderBar or Enter in Box");
    EXPECT_EQ(edit("meFireEnter")->displayText(), "05-01-2026");
    EXPECT_EQ(edit("meFireSTart")->displayText(), "05-01-2026");
    EXPECT_EQ(edit("txtPerCon")->text(), "0.00%");
    EXPECT_EQ(slider()->value(), 0);
    EXPECT_EQ(std::tuple(slider()->minimum(), slider()->maximum(), slider()->singleStep(),
                         slider()->pageStep(), slider()->tickInterval()),
              std::tuple(0, 100, 5, 10, 10));
    for (const char* option : {"optRepI", "optRepU", "optFin", "OptfSigYes", "OptfSigNo"}) {
        EXPECT_FALSE(child<QRadioButton>(option)->isChecked()) << option;
    }
    EXPECT_EQ(box("cmbfFuel")->count(), 9);
    EXPECT_EQ(box("cmbfCause")->count(), 9);
    EXPECT_EQ(box("cmbfFuel")->currentText() + box("cmbfCause")->currentText() +
                  edit("txtArea")->text() + edit("txtF_Name")->text(),
              "");
    for (const char* l : kCoordinateLabels) {
        EXPECT_FALSE(label(l)->isEnabled()) << l;
        EXPECT_EQ(label(l)->palette().color(QPalette::Window), QColor(128, 128, 128)) << l;
    }
    EXPECT_EQ(enabledOutputs(), 0);
    EXPECT_EQ(button("cmdwKML")->palette().color(QPalette::Button), QColor(224, 224, 224));

    EXPECT_EQ(tabOrder("txtF_Name", 23),
              "txtF_Name txtInc_num optRepI optRepU optFin cmdCoordCon meFireEnter meFireSTart "
              "txtArea cmbfFuel cmbfCause sldperCon OptfSigYes OptfSigNo CmdEnable cmdAdNewdFire "
              "cmdAppendFile cmdWriteShape cmdAppendSHape cmdClear cmdQuit txtPerCon cmdwKML");
}

TEST_F(WildfiresWindow, EveryControlIsNamedForAScreenReader) {
    EXPECT_EQ(unnamedControls(), QStringList());
    EXPECT_EQ(child<QWidget>("frmfSig")->accessibleName(), "Significant:");
}

// Today is 05-01-2026: 365 days back is 05-01-2025, 366 days back 04-30-2025.
TEST_F(WildfiresWindow, DateChecksWhenTheFieldIsLeft) {
    struct Case {
        const char* field;
        const char* typed;
        std::optional<sw::Answer> answer; // for a question
        const char* message;              // "" for none
        const char* title;
        const char* shown; // afterwards
        bool keepsFocus;
    };
    const Case cases[] = {
        {"meFireSTart", "05012025", {}, "", "", "05-01-2025", false},
        {"meFireSTart", "04302025", sw::Answer::Yes,
         "Fire Start Date more than one year old! Accept?", "Confirm Fire Start Date", "04-30-2025",
         true},
        {"meFireSTart", "04302025", sw::Answer::No,
         "Fire Start Date more than one year old! Accept?", "Confirm Fire Start Date", "__-__-____",
         true},
        {"meFireEnter", "05022026", sw::Answer::No, "Entry Date in the future! Accept?",
         "Confirm Entry Start Date", "__-__-____", true},
        {"meFireEnter", "05022026", sw::Answer::Yes, "Entry Date in the future! Accept?",
         "Confirm Entry Start Date", "05-02-2026", false},
        {"meFireEnter", "04302025", sw::Answer::Yes, "Entry Date more than one year old! Accept?",
         "Confirm Entry Start Date", "04-30-2025", true},
        {"meFireSTart", "02302026", {}, "You must enter a valid date", "", "02-30-2026", true},
        {"meFireEnter", "0501", {}, "You must enter a valid date", "", "05-01-____", true},
    };
    for (const Case& c : cases) {
        dialogs.clear();
        if (c.answer) {
            dialogs.answerNext(*c.answer);
        }
        typeIn(c.field, c.typed);
        leaveByTab();
        const std::string where = std::string(c.field) + " " + c.typed;
        if (*c.message == '\0') {
            EXPECT_TRUE(dialogs.messages.empty()) << where;
        } else {
            ASSERT_EQ(dialogs.messages.size(), 1u) << where;
            EXPECT_EQ(dialogs.messages[0].text, c.message) << where;
            EXPECT_EQ(dialogs.messages[0].title, c.title) << where;
            if (c.answer) {
                EXPECT_EQ(dialogs.messages[0].defaultButton, sw::Answer::No) << where;
                EXPECT_EQ(dialogs.messages[0].icon, sw::Icon::Critical) << where;
            } else {
                EXPECT_EQ(dialogs.beeps, 1) << where;
            }
        }
        EXPECT_EQ(edit(c.field)->displayText(), c.shown) << where;
        EXPECT_EQ(focused() == c.field, c.keepsFocus)
            << where << " focus " << focused().toStdString();
        if (c.keepsFocus) {
            EXPECT_EQ(edit(c.field)->selectedText().size(), 10) << where;
        }
        // A field emptied by No is checked again when it is left.
        if (c.answer == sw::Answer::No) {
            dialogs.clear();
            leaveByTab();
            EXPECT_EQ(dialogs.messageTexts(),
                      std::vector<std::string>{"You must enter a valid date"});
            EXPECT_EQ(focused(), c.field);
        }
        edit(c.field)->setText(q("05-01-2026"));
    }
}

TEST_F(WildfiresWindow, AreaTakesNumbersOnlyAndShowsThemGrouped) {
    typeIn("txtArea", "12a");
    EXPECT_EQ(edit("txtArea")->text(), "12");
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_EQ(dialogs.messages, std::vector<sw::MessageRequest>{sw::areaKeyMessage()});
    struct Case {
        const char* typed;
        const char* shown;
        bool refused;
    };
    for (const Case& c : {Case{"1234.5", "1,234.50", false}, Case{"", "", false},
                          Case{"1,234,567.891", "1,234,567.89", false}, Case{"12,34", "0.00", true},
                          Case{"1..2", "0.00", true}}) {
        dialogs.clear();
        edit("txtArea")->setText(q(c.typed)); // as pasted: no key filter
        clickInto(edit("txtArea"));
        leaveByTab();
        EXPECT_EQ(edit("txtArea")->text(), c.shown) << c.typed;
        if (c.refused) {
            EXPECT_EQ(dialogs.messages, std::vector<sw::MessageRequest>{sw::areaNotNumberMessage()})
                << c.typed;
            EXPECT_EQ(focused(), "txtArea") << c.typed;
            EXPECT_EQ(edit("txtArea")->selectedText(), "0.00") << c.typed;
        } else {
            EXPECT_TRUE(dialogs.messages.empty()) << c.typed;
            EXPECT_EQ(focused(), "cmbfFuel") << c.typed;
        }
    }
}

TEST_F(WildfiresWindow, SliderAndPercentTextStayTogether) {
    slider()->setValue(35);
    EXPECT_EQ(edit("txtPerCon")->text(), "35.00%");
    clickInto(slider());
    QTest::keyClick(slider(), Qt::Key_Right);
    EXPECT_EQ(edit("txtPerCon")->text(), "40.00%");
    QTest::keyClick(slider(), Qt::Key_PageUp);
    EXPECT_EQ(edit("txtPerCon")->text(), "50.00%");

    struct Case {
        const char* typed;
        int slider;
        const char* shown;
    };
    for (const Case& c :
         {Case{"60", 60, "60.00%"}, Case{"45.5", 46, "46.00%"}, Case{"46.2", 46, "46.2"},
          Case{"250", 100, "100.00%"}, Case{"0.5", 0, "0.00%"}}) {
        typeIn("txtPerCon", c.typed);
        leaveByTab();
        EXPECT_EQ(slider()->value(), c.slider) << c.typed;
        EXPECT_EQ(edit("txtPerCon")->text(), c.shown) << c.typed;
    }
    // Only what the key filter takes can be typed, refused silently but for a beep.
    dialogs.clear();
    typeIn("txtPerCon", "7a-5%");
    EXPECT_EQ(edit("txtPerCon")->text(), "75%");
    EXPECT_EQ(dialogs.beeps, 2);
    EXPECT_TRUE(dialogs.messages.empty());
}

// The fuel and cause lists only suggest: what is typed stays as typed, and the click into the
// next field lands there.
TEST_F(WildfiresWindow, FuelAndCauseStayAsTypedAndGiveUpTheFocus) {
    for (const auto& [typed, next] : {std::pair{"Gr", "cmbfCause"}, std::pair{"grass", "txtArea"},
                                      std::pair{"Sawgrass", "cmbfCause"}}) {
        typeIn("cmbfFuel", typed);
        clickInto(child<QWidget>(next));
        QTest::keyClicks(QApplication::focusWidget(), q("7"));
        EXPECT_EQ(box("cmbfFuel")->currentText(), typed);
        EXPECT_EQ(focused(), next) << typed;
    }
    EXPECT_EQ(box("cmbfCause")->currentText(), "77");
}

TEST_F(WildfiresWindow, UnlockAsksForEachMissingValueInTurn) {
    struct Case {
        const char* clear; // the field emptied
        const char* message;
        const char* focus;
    };
    const Case cases[] = {
        {"txtF_Name", "Enter Fire Name", "txtF_Name"},
        {"txtInc_num", "Enter Incident Number", "txtInc_num"},
        {"lblpDDLong", "Please Convert Coodinates", "cmdCoordCon"},
        {"meFireEnter", "Please Enter Data Entry Date", "meFireEnter"},
        {"cmbfFuel", "Please Select Fuel Type", "cmbfFuel"},
        {"cmbfCause", "Please Select Fire Cause Type", "cmbfCause"},
        {"txtArea", "Enter Area in acres", "txtArea"},
        {"txtPerCon", "Please Use the Slider Control to Enter Percent Contained", "txtPerCon"},
    };
    enterFire();
    const sw::FireRecord complete = fire->record();
    for (const Case& c : cases) {
        dialogs.clear();
        QWidget* field = child<QWidget>(c.clear);
        if (auto* line = qobject_cast<QLineEdit*>(field)) {
            line->clear();
        } else if (auto* list = qobject_cast<QComboBox*>(field)) {
            list->clearEditText();
        } else {
            qobject_cast<QLabel*>(field)->clear();
        }
        fire->unlockOutputs(); // a failed check must lock again
        click("CmdEnable");
        EXPECT_EQ(dialogs.messages,
                  (std::vector<sw::MessageRequest>{
                      {c.message, "", sw::Icon::None, sw::Buttons::Ok, sw::Answer::Ok}}));
        EXPECT_EQ(enabledOutputs(), 0) << c.message;
        EXPECT_EQ(focused(), c.focus) << c.message;
        // Put it back for the next round.
        edit("txtF_Name")->setText(q(complete.name));
        edit("txtInc_num")->setText(q(complete.incident));
        setCoordinates();
        edit("meFireEnter")->setText(q(complete.entryDate));
        box("cmbfFuel")->setEditText(q(complete.fuel));
        box("cmbfCause")->setEditText(q(complete.cause));
        edit("txtArea")->setText(q(complete.area));
        edit("txtPerCon")->setText(q(complete.percent));
    }
    // Not required: report, significance, start date; a fuel of one's own is taken. Texts
    // put in without leaving their field are checked as leaving it would.
    dialogs.clear();
    edit("meFireSTart")->clear();
    box("cmbfFuel")->setEditText(q("Sawgrass"));
    edit("txtArea")->setText(q("1234.5"));
    edit("txtPerCon")->setText(q("60"));
    click("CmdEnable");
    EXPECT_TRUE(dialogs.messages.empty()) << ::testing::PrintToString(dialogs.messageTexts());
    EXPECT_EQ(enabledOutputs(), 5);
    EXPECT_EQ(edit("txtArea")->text(), "1,234.50");
    EXPECT_EQ(slider()->value(), 60);
    EXPECT_EQ(edit("txtPerCon")->text(), "60.00%");
    edit("txtArea")->setText(q("12,34"));
    click("CmdEnable");
    EXPECT_EQ(dialogs.messages, std::vector<sw::MessageRequest>{sw::areaNotNumberMessage()});
    EXPECT_EQ(edit("txtArea")->text(), "0.00");
    EXPECT_EQ(focused(), "txtArea");
    EXPECT_EQ(enabledOutputs(), 0);
    dialogs.clear();
    edit("meFireSTart")->setText(q("02-30-2026"));
    click("CmdEnable");
    EXPECT_EQ(dialogs.messages, std::vector<sw::MessageRequest>{sw::invalidDateMessage()});
    EXPECT_EQ(focused(), "meFireSTart");
    EXPECT_EQ(enabledOutputs(), 0);
}

TEST_F(WildfiresWindow, EveryInputLocksTheOutputsWhenItGetsTheFocus) {
    enterFire();
    for (const char* input : {"txtF_Name", "txtInc_num", "optRepI", "optRepU", "optFin",
                              "OptfSigYes", "OptfSigNo", "meFireEnter", "meFireSTart", "txtArea",
                              "cmbfFuel", "cmbfCause", "sldperCon", "txtPerCon", "cmdCoordCon"}) {
        click("CmdEnable");
        ASSERT_EQ(enabledOutputs(), 5) << input;
        child<QWidget>(input)->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(enabledOutputs(), 0) << input;
    }
    EXPECT_TRUE(dialogs.messages.empty()) << ::testing::PrintToString(dialogs.messageTexts());
}

TEST_F(WildfiresWindow, ClearAndExitLeaveWhatTheyShould) {
    enterFire();
    edit("meFireSTart")->setText(q("04-01-2026"));
    click("cmdClear");
    for (const char* field : {"txtF_Name", "txtInc_num"}) {
        EXPECT_EQ(edit(field)->text(), "") << field;
    }
    for (const char* l : kCoordinateLabels) {
        EXPECT_EQ(label(l)->text(), "") << l;
    }
    EXPECT_EQ(edit("meFireSTart")->displayText(), "05-01-2026");
    EXPECT_EQ(box("cmbfFuel")->currentText() + box("cmbfCause")->currentText(), "");
    EXPECT_EQ(edit("txtArea")->text(), "0.00");
    EXPECT_EQ(slider()->value(), 0);
    EXPECT_EQ(edit("txtPerCon")->text(), "0.00%");
    EXPECT_TRUE(child<QRadioButton>("optRepI")->isChecked());
    EXPECT_TRUE(child<QRadioButton>("OptfSigYes")->isChecked());
    EXPECT_EQ(fire->record().report + fire->record().significant, "InitialYes");

    typeIn("cmbfFuel", "Swamp");
    slider()->setValue(30);
    edit("meFireSTart")->setText(q("04-01-2026"));
    setCoordinates();
    click("cmdCoordCon");
    activate(fire);
    click("cmdQuit");
    EXPECT_FALSE(fire->isVisible());
    EXPECT_EQ(registry.existing(q(sw::forms::kWildfires)), fire);
    EXPECT_EQ(edit("txtF_Name")->text() + edit("txtInc_num")->text() + edit("txtArea")->text() +
                  edit("txtPerCon")->text(),
              "");
    for (const char* l : kCoordinateLabels) {
        EXPECT_EQ(label(l)->text(), "") << l;
        EXPECT_FALSE(label(l)->isEnabled()) << l;
        EXPECT_EQ(label(l)->palette().color(QPalette::Window), QColor(128, 128, 128)) << l;
    }
    EXPECT_EQ(enabledOutputs(), 0);
    // Kept for the next showing.
    EXPECT_EQ(edit("meFireSTart")->displayText(), "04-01-2026");
    EXPECT_EQ(box("cmbfFuel")->currentText(), "Swamp");
    EXPECT_EQ(slider()->value(), 30);
    EXPECT_TRUE(child<QRadioButton>("optRepI")->isChecked());
}

// What Clear empties was never checked: "Create New Wildfire File" after Clear used to write
// a record without name or incident number at 0,0. The outputs stay locked until the check
// passes again.
TEST_F(WildfiresWindow, ClearLocksTheOutputsUntilTheCheckPassesAgain) {
    enterFire();
    click("cmdClear");
    EXPECT_EQ(enabledOutputs(), 0);
    for (const char* output : kOutputButtons) {
        click(output);
    }
    EXPECT_TRUE(dialogs.files.empty());
    EXPECT_TRUE(fs::is_empty(dir.path()));
    click("CmdEnable");
    EXPECT_EQ(dialogs.messageTexts(), std::vector<std::string>{"Enter Fire Name"});
    EXPECT_EQ(enabledOutputs(), 0);
}

// The road of one fire: typed in, located through the converter, written to each output.
TEST_F(WildfiresWindow, OneFireThroughTheConverterToEveryOutput) {
    typeIn("txtF_Name", " Oak?Hill ");
    typeIn("txtInc_num", "42");
    clickInto(child<QRadioButton>("optRepI"));
    click("cmdCoordCon");
    for (const char* l : kCoordinateLabels) {
        EXPECT_TRUE(label(l)->isEnabled()) << l;
        EXPECT_EQ(label(l)->palette().color(QPalette::Window), QColor(0, 0, 128)) << l;
    }
    auto* converter = registry.existingAs<sw::ConverterWindow>(q(sw::forms::kConverter));
    ASSERT_TRUE(converter != nullptr && converter->isVisible());
    activate(converter);
    QTest::mouseClick(converter->findChild<QRadioButton*>(q("optDD")), Qt::LeftButton);
    for (const auto& [field, digits] : {std::pair{"txtDDlongD", "084"},
                                        {"txtDDLongDD", "5"},
                                        {"txtDDLatD", "30"},
                                        {"txtDDLatDD", "25"}}) {
        auto* entry = converter->findChild<QLineEdit*>(q(field));
        ASSERT_NE(entry, nullptr) << field;
        entry->setFocus(Qt::MouseFocusReason);
        entry->selectAll();
        QTest::keyClicks(entry, q(digits));
    }
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(label(kCoordinateLabels[i])->text(), q(kShown[i])) << kCoordinateLabels[i];
    }
    activate(fire);
    typeIn("txtArea", "1234.5");
    typeIn("cmbfFuel", "Grass");
    typeIn("cmbfCause", "lightning");
    clickInto(slider());
    slider()->setValue(20);
    clickInto(child<QRadioButton>("OptfSigYes"));
    click("CmdEnable");
    EXPECT_EQ(edit("txtF_Name")->text(), "Oak Hill");
    ASSERT_EQ(enabledOutputs(), 5) << ::testing::PrintToString(dialogs.messageTexts());

    // New and appended text files.
    dialogs.fileNext(path("May.txt")).fileNext(path("pwMay.txt")).fileNext(path("pwNew.txt"));
    click("cmdAdNewdFire");
    click("cmdAppendFile");
    click("cmdAppendFile");
    EXPECT_EQ(readFile(dir / "pwMay.txt"), kTitles + oakHillLine() + oakHillLine());
    EXPECT_EQ(readFile(dir / "pwNew.txt"), oakHillLine());
    EXPECT_EQ(dialogs.files.at(0), sw::newFileRequest(".txt", "Text Files(*.txt)|*.txt"));
    EXPECT_EQ(dialogs.files.at(1).filter, "Text Files (pw*.txt)|pw*.txt");

    // New and appended shapefiles, as GDAL reads them.
    dialogs.fileNext(path("fires.shp"));
    click("cmdWriteShape");
    EXPECT_FALSE(button("cmdAppendSHape")->isEnabled());
    EXPECT_EQ(dialogs.files.at(3), sw::newFileRequest(".shp", "Shape Files(*.shp)|*.shp"));
    EXPECT_EQ(readFile(dir / "pwfires.prj"), readFile(sw::programFolder() / "qv_albers.prj"));
    click("CmdEnable");
    dialogs.fileNext(path("pwfires.shp"));
    click("cmdAppendSHape");
    EXPECT_FALSE(button("cmdWriteShape")->isEnabled());
    EXPECT_EQ(dialogs.files.at(4),
              sw::outputFileRequest(".shp", "Shape Files (pw*.shp) | pw*.shp"));
    const sw::test::ReadBack read = sw::test::readShapefile(dir / "pwfires.shp");
    ASSERT_EQ(sw::test::problemsOf(read), "");
    EXPECT_EQ(read.gdal["geometry_type"].toString(), "Point");
    EXPECT_EQ(read.prj["projection"].toString(), "Albers_Conic_Equal_Area");
    EXPECT_EQ(sw::test::fieldList(read),
              "Name String 45, Incident String 45, Report String 10, Lat Real, Long Real, "
              "AlbersX Real, AlbersY Real, UTM String 24, USNG String 20, EntryDate Date, "
              "StartDate Date, Acres Real, Fuel String 35, Cause String 35, "
              "Contained String 10, Signif String 5");
    const QJsonArray features = read.gdal["features"].toArray();
    ASSERT_EQ(features.size(), 2);
    for (const auto& feature : features) {
        const QJsonObject f = feature.toObject();
        const QJsonObject v = f["values"].toObject();
        QStringList texts;
        for (const char* column : {"Name", "Incident", "Report", "UTM", "USNG", "EntryDate",
                                   "StartDate", "Fuel", "Cause", "Contained", "Signif"}) {
            texts << v[q(column)].toString();
        }
        EXPECT_EQ(texts.join('|'), q("Oak Hill|42|Initial|" + kPoint.utm + "|" + kPoint.usng +
                                     "|2026/05/01|2026/05/01|Grass|lightning|20.00%|Yes"));
        EXPECT_DOUBLE_EQ(v["Lat"].toDouble(), 30.25);
        EXPECT_DOUBLE_EQ(v["Long"].toDouble(), -84.5);
        EXPECT_DOUBLE_EQ(v["AlbersX"].toDouble(), 351936.72);
        EXPECT_DOUBLE_EQ(v["AlbersY"].toDouble(), 693727.66);
        EXPECT_DOUBLE_EQ(v["Acres"].toDouble(), 1234.5);
        EXPECT_DOUBLE_EQ(f["point"][0].toDouble(), 351936.72);
        EXPECT_DOUBLE_EQ(f["point"][1].toDouble(), 693727.66);
    }

    // The KML document, without imagery and without a link.
    click("CmdEnable");
    dialogs.fileNext(path("oak.kml")).answerNext(sw::Answer::No).answerNext(sw::Answer::No);
    click("cmdwKML");
    // Offered in the folder used last in the window.
    EXPECT_EQ(dialogs.files.at(5),
              sw::newFileRequest(".kml", "KML Files(*.kml)|*.kml", path("pwOak Hill")));
    const std::string document = readFile(dir / "oak.kml");
    const std::string description =
        "<br>Fire Name: Oak Hill</br><br>Incident Number: 42</br><br>Report: Initial</br>"
        "<br>Entry Date: 05-01-2026</br><br>Start Date: 05-01-2026</br><br>Acres: 1,234.50</br>"
        "<br>Fuel: Grass</br><br>Cause: lightning</br><br>Percent Contained: 20.00%</br>"
        "<br>Significant: Yes</br><br>USNG Coord: " +
        kPoint.usng + "</br><br>UTM Coord: " + kPoint.utm + "</br>";
    for (const std::string& part :
         {description, std::string("icons//ffire.png"), kPoint.longitude + "," + kPoint.latitude,
          std::string("<range>5000</range>")}) {
        EXPECT_NE(document.find(part), std::string::npos) << part << "\n" << document;
    }
    EXPECT_EQ(sw::test::kmlSchemaErrors(path("oak.kml")), "");
    EXPECT_EQ(enabledOutputs(), 5);
    EXPECT_TRUE(dialogs.allAnswersUsed());
    EXPECT_EQ(dialogs.messageTexts(),
              (std::vector<std::string>{"Add Current NOAA Southeast Radar and Water Vapor Imagery?",
                                        "Add Image or Web link?"}));
}

TEST_F(WildfiresWindow, KmlTemplateByTheImageryAnswerAndTheOverwriteQuestionOnThePath) {
    enterFire();
    for (const auto& [answer, overlays] :
         {std::pair{sw::Answer::Yes, true}, std::pair{sw::Answer::No, false}}) {
        dialogs.clear();
        const bool exists = fs::exists(dir / "fire.kml");
        dialogs.fileNext(path("fire.kml"));
        if (exists) {
            dialogs.answerNext(sw::Answer::Yes); // overwrite
        }
        dialogs.answerNext(answer).answerNext(sw::Answer::No);
        click("cmdwKML");
        EXPECT_TRUE(dialogs.allAnswersUsed());
        EXPECT_EQ(dialogs.messages.at(0) == sw::overwriteQuestion(), exists);
        const std::string document = readFile(dir / "fire.kml");
        EXPECT_EQ(document.find("Overlay") != std::string::npos, overlays) << document;
    }
    // A link given at the prompt follows the UTM line.
    dialogs.clear();
    dialogs.fileNext(path("link.kml")).answerNext(sw::Answer::No).answerNext(sw::Answer::Yes);
    dialogs.inputNext("https://fires.example/oak");
    click("cmdwKML");
    EXPECT_TRUE(dialogs.allAnswersUsed());
    EXPECT_NE(readFile(dir / "link.kml")
                  .find("<br>UTM Coord: " + kPoint.utm +
                        "</br><br><a href=\"https://fires.example/oak\">Display Link</a></br>]]>"),
              std::string::npos)
        << readFile(dir / "link.kml");
}

TEST_F(WildfiresWindow, EmptyReportAndSignificanceAreWrittenEmpty) {
    typeIn("txtF_Name", "Oak Hill");
    typeIn("txtInc_num", "42");
    setCoordinates();
    typeIn("txtArea", "12.5");
    typeIn("cmbfFuel", "Grass");
    typeIn("cmbfCause", "lightning");
    click("CmdEnable");
    ASSERT_EQ(enabledOutputs(), 5) << ::testing::PrintToString(dialogs.messageTexts());
    dialogs.fileNext(path("pwEmpty.txt"));
    click("cmdAppendFile");
    const std::string line = readFile(dir / "pwEmpty.txt");
    EXPECT_NE(line.find("\"Oak Hill\",\"42\",\"\",30.25"), std::string::npos) << line;
    EXPECT_NE(line.find("\"0.00%\",\"\"\r\n"), std::string::npos) << line;
}

// A start date emptied by answering No is no date: the shapefile stores none (null) and the
// text file shows the empty field, rather than the record being refused.
TEST_F(WildfiresWindow, AnEmptiedStartDateIsStoredAsNoDate) {
    enterFire();
    edit("meFireSTart")->clear();
    dialogs.fileNext(path("nodate.shp")).fileNext(path("pwnodate.txt"));
    click("cmdWriteShape");
    click("cmdAppendFile");
    EXPECT_TRUE(dialogs.messages.empty()) << ::testing::PrintToString(dialogs.messageTexts());
    const QJsonObject values =
        gdalReading(dir / "pwnodate.shp").value("features")[0]["values"].toObject();
    EXPECT_EQ(values["EntryDate"].toString(), "2026/05/01");
    EXPECT_TRUE(values["StartDate"].isNull()) << values["StartDate"].toString().toStdString();
    EXPECT_EQ(readFile(dir / "pwnodate.txt"), oakHillLine("__-__-____"));
}

// What cannot be written is not written in part, and the message names the file and why.
TEST_F(WildfiresWindow, FailedWritesLeaveNothingPartialAndSayWhy) {
    enterFire();
    dialogs.fileNext(path("old.shp"));
    click("cmdWriteShape");
    ASSERT_TRUE(dialogs.messages.empty()) << ::testing::PrintToString(dialogs.messageTexts());
    const std::string before = readFile(dir / "pwold.shp") + readFile(dir / "pwold.dbf");

    struct Case {
        const char* button;
        const char* chosen;
        const char* startDate;
        const char* reason;
    };
    const Case cases[] = {
        {"cmdAppendSHape", "pwold.shp", "02-30-2026", "\"02-30-2026\" is not a date"},
        {"cmdWriteShape", "bad.shp", "02-30-2026", "\"02-30-2026\" is not a date"},
        {"cmdAdNewdFire", "gone/fires.txt", "05-01-2026", "No such file or directory"},
        {"cmdAppendFile", "gone/pwfires.txt", "05-01-2026", "No such file or directory"},
        {"cmdWriteShape", "gone/fires.shp", "05-01-2026", "does not exist"},
        {"cmdwKML", "gone/fires.kml", "05-01-2026", "No such file or directory"},
    };
    for (const Case& c : cases) {
        dialogs.clear();
        edit("meFireSTart")->setText(q(c.startDate));
        fire->unlockOutputs();
        dialogs.fileNext(path(c.chosen));
        const bool kml = std::string(c.button) == "cmdwKML";
        if (kml) {
            dialogs.answerNext(sw::Answer::No); // no imagery
        }
        click(c.button);
        ASSERT_EQ(dialogs.messages.size(), kml ? 2u : 1u) << c.button << " " << c.chosen;
        const sw::MessageRequest& shown = dialogs.messages.back();
        EXPECT_EQ(shown.icon, sw::Icon::Critical) << c.button;
        const std::string target = fs::path(path(c.chosen)).parent_path().string();
        EXPECT_NE(shown.text.find(target), std::string::npos) << c.button << ": " << shown.text;
        EXPECT_NE(shown.text.find(c.reason), std::string::npos) << c.button << ": " << shown.text;
        EXPECT_EQ(edit("txtF_Name")->text(), "Oak Hill") << c.button;
    }
    EXPECT_EQ(readFile(dir / "pwold.shp") + readFile(dir / "pwold.dbf"), before);
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        left.push_back(entry.path().filename().string());
    }
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"pwold.cpg", "pwold.dbf", "pwold.prj", "pwold.shp",
                                              "pwold.shx"}));
}

struct FieldSpec {
    const char* name;
    sw::FieldType type;
    int width;
};

// A shapefile as another version of the program or another tool may have left it.
void makeShapefile(const fs::path& file, sw::ShapeType shapeType,
                   const std::vector<FieldSpec>& fields) {
    sw::ShapeFiles shapes;
    ASSERT_TRUE(shapes.OpenShapefile(file, sw::ShapeFiles::OpenMode::Create, shapeType))
        << shapes.lastError();
    for (const FieldSpec& f : fields) {
        ASSERT_TRUE(shapes.Fields().AddField(f.name, f.type, f.width)) << shapes.lastError();
    }
    ASSERT_TRUE(shapes.CommitFields() && shapes.Close()) << shapes.lastError();
}

std::vector<FieldSpec> olderFireFields() {
    constexpr sw::FieldType text = sw::FieldType::Text;
    constexpr sw::FieldType number = sw::FieldType::Double;
    constexpr sw::FieldType date = sw::FieldType::Date;
    // UTM 20 wide as files of old have it, and the names in another case.
    return {
        {"NAME", text, 45},  {"INCIDENT", text, 45}, {"REPORT", text, 10},    {"LAT", number, 0},
        {"LONG", number, 0}, {"ALBERSX", number, 0}, {"ALBERSY", number, 0},  {"UTM", text, 20},
        {"USNG", text, 20},  {"ENTRYDATE", date, 0}, {"STARTDATE", date, 0},  {"ACRES", number, 0},
        {"FUEL", text, 35},  {"CAUSE", text, 35},    {"CONTAINED", text, 10}, {"SIGNIF", text, 5}};
}

TEST_F(WildfiresWindow, AppendsToOlderFilesAndRefusesFilesThatDoNotFit) {
    enterFire();
    std::vector<FieldSpec> lacking = olderFireFields();
    lacking.erase(lacking.begin() + 14); // no CONTAINED
    struct Case {
        const char* file;
        sw::ShapeType shapeType;
        std::vector<FieldSpec> fields;
        const char* refusal; // "" when the record goes in
    };
    const Case cases[] = {
        {"pwolder.shp", sw::ShapeType::Point, olderFireFields(), ""},
        {"pwlacking.shp", sw::ShapeType::Point, lacking, "Contained"},
        {"pwpolygons.shp", sw::ShapeType::Polygon, olderFireFields(), "polygons"},
    };
    for (const Case& c : cases) {
        makeShapefile(dir / c.file, c.shapeType, c.fields);
        const std::string before = readFile(dir / c.file);
        dialogs.clear();
        click("CmdEnable");
        dialogs.fileNext(path(c.file));
        click("cmdAppendSHape");
        if (*c.refusal == '\0') {
            EXPECT_TRUE(dialogs.messages.empty())
                << c.file << ": " << ::testing::PrintToString(dialogs.messageTexts());
            continue;
        }
        ASSERT_EQ(dialogs.messages.size(), 1u) << c.file;
        EXPECT_NE(dialogs.messages[0].text.find(path(c.file)), std::string::npos)
            << dialogs.messages[0].text;
        EXPECT_NE(dialogs.messages[0].text.find(c.refusal), std::string::npos)
            << dialogs.messages[0].text;
        EXPECT_EQ(readFile(dir / c.file), before) << c.file;
    }
    // The older file took the record, its UTM text cut to the column, its significance set
    // through the field's own spelling.
    const QJsonObject values =
        gdalReading(dir / "pwolder.shp").value("features")[0]["values"].toObject();
    EXPECT_EQ(values["UTM"].toString(), q(kPoint.utm.substr(0, 20)));
    EXPECT_EQ(values["SIGNIF"].toString(), "Yes");
    EXPECT_EQ(values["ENTRYDATE"].toString(), "2026/05/01");
}

// Without its installed projection file the shapefile is still written, and the user is told
// what is missing.
TEST_F(WildfiresWindow, AMissingProjectionFileIsReportedAfterTheShapefile) {
    enterFire();
    sw::test::TempDir program;
    fs::copy(sw::programFolder() / "templates", program / "templates");
    const fs::path installed = sw::programFolder();
    sw::setProgramFolder(program.path());
    dialogs.fileNext(path("fires.shp"));
    click("cmdWriteShape");
    sw::setProgramFolder(installed);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, path("pwfires.shp") +
                                            " was written without its projection file: " +
                                            (program / "qv_albers.prj").string() + " is missing");
    EXPECT_EQ(gdalReading(dir / "pwfires.shp")["features"].toArray().size(), 1);
    EXPECT_FALSE(fs::exists(dir / "pwfires.prj"));
}

// Pictures of the window for a person to look at (SW_SCREENSHOT=file.png): as it opens, and
// with a fire ready to write.
TEST_F(WildfiresWindow, Screenshot) {
    const char* file = std::getenv("SW_SCREENSHOT");
    if (file == nullptr) {
        GTEST_SKIP() << "set SW_SCREENSHOT to a PNG path";
    }
    ASSERT_TRUE(fire->grab().save(q(file).replace(q(".png"), q("-start.png"))));
    enterFire();
    click("cmdCoordCon");
    activate(fire);
    setCoordinates();
    click("CmdEnable");
    ASSERT_TRUE(fire->grab().save(q(file)));
}

} // namespace
