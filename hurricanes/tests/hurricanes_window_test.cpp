// The Hurricanes window driven as a user drives it: real widgets, key and mouse events, the
// converter typing the coordinates, the dialog double answering, the clock and zone fixed.
// Files written are read back: text byte for byte, shapefiles through GDAL, KML against the
// OGC schema.

#include "hurricanes/hurricanes_window.h"

#include "coord/converter_window.h"
#include "hurricanes/storm_names.h"
#include "services/base/program_folder.h"
#include "taskwindow/output_file_choice.h"
#include "testsupport/kml_checks.h"
#include "testsupport/scripted_dialogs.h"
#include "testsupport/shapefile_reading.h"
#include "testsupport/test_paths.h"
#include "testsupport/window_test.h"
#include "ui/window_kinds.h"
#include "ui/window_registry.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTest>
#include <QTimeZone>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using sw::test::readFile;

const char* const kOutputButtons[] = {"cmdAdNewHFac", "cmdAppendFile", "cmdWriteHShape",
                                      "appendHShape", "cmdKML"};
const char* const kCoordinateLabels[] = {"lblhDDLat",   "lblhDDLong",  "lblhAlbersX",
                                         "lblhAlbersY", "lblUTMCoord", "lblUSNG"};

using sw::test::q;

// A Gulf position, 27.25 N 88.5 W, as the converter shows it.
const sw::HandBackTexts kPoint = sw::handBackTexts(27.25, -88.5);
const std::string kShown[] = {kPoint.latitude, kPoint.longitude, kPoint.albersX,
                              kPoint.albersY,  kPoint.utm,       kPoint.usng};

class HurricanesWindow : public sw::test::WindowTest {
protected:
    sw::CalendarDate today = std::chrono::year{2026} / 9 / 12;
    std::string zone = "Eastern Daylight Time";
    // The machine's zone at an instant: by default one name whatever the instant.
    sw::ZoneNameAt zoneNameAt = [this](const QDateTime&) { return zone; };
    sw::HurricanesWindow* win = nullptr;

    void SetUp() override { open(); }

    void open() {
        win = qobject_cast<sw::HurricanesWindow*>(
            openWindow(sw::forms::kHurricanes, [this](sw::OpenConverter openConverter) {
                return new sw::HurricanesWindow(dialogs, std::move(openConverter),
                                                sw::Clock{[this] { return today; }, zoneNameAt});
            }));
        ASSERT_NE(win, nullptr);
    }

    QComboBox* name() const { return child<QComboBox>("cmbName"); }
    QScrollBar* bar(const char* n) const { return child<QScrollBar>(n); }
    QSlider* slider() const { return child<QSlider>("sldHwind"); }
    void typeName(const char* typed) {
        clickInto(name());
        name()->clearEditText();
        QTest::keyClicks(name(), q(typed));
        EXPECT_EQ(name()->currentText(), q(typed));
    }

    int enabledOutputs() const { return enabledCount(kOutputButtons); }

    // Ike, actual, 15:00 UTC, 115 mph, the coordinates as the converter sets them; unlocked.
    void enterPosition(const char* storm = "Ike") {
        typeName(storm);
        clickInto(child<QRadioButton>("optActual"));
        bar("HscrHour")->setValue(15);
        typeInto(edit("txtHwind"), "115");
        for (std::size_t i = 0; i < 6; ++i) {
            label(kCoordinateLabels[i])->setText(q(kShown[i]));
        }
        click("cmdEnableWriteFile");
        ASSERT_EQ(enabledOutputs(), 5) << ::testing::PrintToString(dialogs.messageTexts());
    }

    // The record line of enterPosition's position.
    std::string ikeLine(const char* storm = "Ike") const {
        return "\"" + std::string(storm) +
               "\",\"09-12-2026\",\"Actual\",\"9/12/2026 15:00:00 UTC\","
               "\"9/12/2026 11:00:00 AM EDT\",27.25,-88.5," +
               kPoint.albersX + "," + kPoint.albersY + ",\"" + kPoint.utm + "\",\"" + kPoint.usng +
               "\",115,100,\"Category 3\"\r\n";
    }
};

const std::string kTitleLine = "\"Name\",\"Date\",\"Position\",\"UTC Time\",\"Local Time\","
                               "\"Latitude\",\"Longitude\",\"AlbersX\",\"AlbersY\",\"UTM Coord\","
                               "\"USNG Coord\",\"MPH\",\"Knots\",\"Category\"\r\n";

TEST_F(HurricanesWindow, OpensWithTodayTheSeasonsNamesAndEverythingLocked) {
    EXPECT_EQ(win->windowTitle(), "Hurricanes");
    EXPECT_EQ(edit("meHEnter")->text(), "09-12-2026");
    EXPECT_EQ(name()->count(),
              static_cast<int>(sw::loadStormNames(sw::programFolder(), 2026).names.size()));
    EXPECT_EQ(name()->currentText(), "");
    EXPECT_EQ(text("lblMon") + " " + text("lblDay") + " " + text("lblsHour"), "9 12 00:00");
    EXPECT_EQ(bar("HscrDay")->maximum(), 30);
    EXPECT_EQ(text("lblUTC_Cat"), "9/12/2026 00:00:00 UTC");
    EXPECT_EQ(text("lblLtimeZ"), "9/11/2026 8:00:00 PM EDT");
    EXPECT_EQ(edit("txtHwind")->text() + "/" + edit("txtKnots")->text(), "23/0");
    EXPECT_EQ(text("lblHCat"), "");
    EXPECT_FALSE(child<QGroupBox>("frmKnots")->isEnabled());
    EXPECT_EQ(enabledOutputs(), 0);
    EXPECT_TRUE(dialogs.messages.empty()) << ::testing::PrintToString(dialogs.messageTexts());
}

TEST_F(HurricanesWindow, ScrollBarsSetTheUtcAndLocalTimesAndTheDayFollowsTheMonth) {
    struct Step {
        const char* what;
        const char* bar;
        int value;
        const char* zoneNow;
        const char* shown; // month day hour
        const char* utc;
        const char* local;
    };
    const Step steps[] = {
        {"hour 4 is local midnight", "HscrHour", 4, "Eastern Daylight Time", "9 12 04:00",
         "9/12/2026 04:00:00 UTC", "9/12/2026 00:00:00 AM EDT"},
        {"hour 3 the evening before", "HscrHour", 3, "Eastern Daylight Time", "9 12 03:00",
         "9/12/2026 03:00:00 UTC", "9/11/2026 11:00:00 PM EDT"},
        {"the zone is asked at each change", "HscrHour", 15, "Central Standard Time", "9 12 15:00",
         "9/12/2026 15:00:00 UTC", "9/12/2026 9:00:00 AM CST"},
        {"day 31 of August", "HscrMon", 8, "Central Standard Time", "8 12 15:00",
         "8/12/2026 15:00:00 UTC", "8/12/2026 9:00:00 AM CST"},
        {"", "HscrDay", 31, "Central Standard Time", "8 31 15:00", "8/31/2026 15:00:00 UTC",
         "8/31/2026 9:00:00 AM CST"},
        {"then September holds 30 days", "HscrMon", 9, "Central Standard Time", "9 30 15:00",
         "9/30/2026 15:00:00 UTC", "9/30/2026 9:00:00 AM CST"},
        {"and February 28 in 2026", "HscrMon", 2, "Central Standard Time", "2 28 15:00",
         "2/28/2026 15:00:00 UTC", "2/28/2026 9:00:00 AM CST"},
        {"a zone outside the table", "HscrHour", 0, "Europe/Berlin", "2 28 00:00",
         "2/28/2026 00:00:00 UTC", "2/28/2026 00:00:00 AM"},
    };
    for (const Step& s : steps) {
        zone = s.zoneNow;
        bar(s.bar)->setValue(s.value);
        EXPECT_EQ(text("lblMon") + " " + text("lblDay") + " " + text("lblsHour"), s.shown)
            << s.what;
        EXPECT_EQ(text("lblUTC_Cat"), s.utc) << s.what;
        EXPECT_EQ(text("lblLtimeZ"), s.local) << s.what;
    }
    EXPECT_EQ(bar("HscrDay")->maximum(), 28);
    // Keys move a bar by one, Page keys by three.
    QScrollBar* hour = bar("HscrHour");
    hour->setFocus(Qt::TabFocusReason);
    for (Qt::Key key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_PageDown, Qt::Key_Left}) {
        QTest::keyClick(hour, key);
    }
    EXPECT_EQ(text("lblsHour"), "04:00");
}

TEST_F(HurricanesWindow, ReportDateNextYearRefusedLastYearSilentTheYearBeforeAsked) {
    struct Case {
        const char* typed;
        std::optional<sw::Answer> answer;
        const char* message; // "" for none
        const char* stays;   // what the field shows afterwards
        bool keepsFocus;
    };
    const Case cases[] = {
        {"01012025", std::nullopt, "", "01-01-2025", false},
        {"01012027", std::nullopt, sw::kFutureYearMessage, "01-01-2027", true},
        {"12312024", sw::Answer::No, sw::kOldYearQuestion, "12-31-2024", true},
        {"12312024", sw::Answer::Yes, sw::kOldYearQuestion, "12-31-2024", false},
        {"02302026", std::nullopt, sw::kInvalidDateMessage, "09-12-2026", true},
    };
    for (const Case& c : cases) {
        dialogs.clear();
        if (c.answer) {
            dialogs.answerNext(*c.answer);
        }
        QLineEdit* date = edit("meHEnter");
        clickInto(date);
        date->setCursorPosition(0);
        QTest::keyClicks(date, q(c.typed));
        QTest::keyClick(date, Qt::Key_Tab);
        QApplication::processEvents();
        EXPECT_EQ(date->text(), c.stays) << c.typed;
        EXPECT_EQ(QApplication::focusWidget() == date, c.keepsFocus) << c.typed;
        if (*c.message == '\0') {
            EXPECT_TRUE(dialogs.messages.empty()) << c.typed;
            continue;
        }
        ASSERT_EQ(dialogs.messages.size(), 1u) << c.typed;
        EXPECT_EQ(dialogs.messages[0].text, c.message);
        if (c.answer) {
            EXPECT_EQ(dialogs.messages[0].title, sw::kOldYearTitle);
            EXPECT_EQ(dialogs.messages[0].buttons, sw::Buttons::YesNo);
            // Enter does not take a year typed wrong: the fire dates' questions do the same.
            EXPECT_EQ(dialogs.messages[0].defaultButton, sw::Answer::No);
        } else {
            EXPECT_EQ(dialogs.beeps, 1) << c.typed;
        }
    }
}

TEST_F(HurricanesWindow, WindTypedGivesCategoryAndKnotsAtEveryThreshold) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"22", " ", "19"},
        {"23", "Tropical Depression", "20"},
        {"38", "Tropical Depression", "33"},
        {"39", "Tropical Storm", "34"},
        {"73", "Tropical Storm", "63"},
        {"74", "Category 1", "64"},
        {"95", "Category 1", "82"},
        {"96", "Category 2", "83"},
        {"110", "Category 2", "96"},
        {"111", "Category 3", "96"},
        {"130", "Category 3", "113"},
        {"131", "Category 4", "114"},
        {"155", "Category 4", "135"},
        {"156", "Category 5", "135"},
        {"115.5", "Category 3", "101"}, // 116 mph: ties go to even
    };
    for (const auto& [mph, category, knots] : cases) {
        typeInto(edit("txtHwind"), mph);
        EXPECT_EQ(text("lblHCat"), category) << mph;
        EXPECT_EQ(edit("txtKnots")->text(), knots) << mph;
        EXPECT_EQ(slider()->value(), std::nearbyint(std::atof(mph))) << mph;
    }
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.beeps, 0);
}

// A typed 40000 used to overflow the 16-bit wind; the field now takes three whole digits.
TEST_F(HurricanesWindow, WindFieldsRefuseWhatTheirFiltersDoNotAllowWithABeep) {
    const std::tuple<const char*, const char*, const char*, int> cases[] = {
        {"txtHwind", "40000", "400", 2},   {"txtHwind", "12a5", "125", 1},
        {"txtHwind", "99.9.", "99.9.", 0}, {"txtKnots", "1000", "100", 1},
        {"txtKnots", "8.7", "87", 1},
    };
    clickInto(button("cmdCvrtKts"));
    for (const auto& [field, typed, shown, beeps] : cases) {
        dialogs.clear();
        typeInto(edit(field), typed, false);
        EXPECT_EQ(edit(field)->text(), shown) << typed;
        EXPECT_EQ(dialogs.beeps, beeps) << typed;
    }
    typeInto(edit("txtHwind"), "400");
    EXPECT_EQ(text("lblHCat"), "Category 5");
    EXPECT_EQ(edit("txtKnots")->text(), "347");
}

TEST_F(HurricanesWindow, OneCharacterWindIsReplacedBy23AndKeepsTheFocus) {
    typeInto(edit("txtHwind"), "5");
    EXPECT_EQ(edit("txtHwind")->text(), "23");
    EXPECT_EQ(QApplication::focusWidget(), edit("txtHwind"));
    EXPECT_EQ(text("lblHCat"), "Tropical Depression");
}

TEST_F(HurricanesWindow, KnotsConvertToMphAndTheFrameLocksAgain) {
    for (const auto& [knots, mph, category] :
         {std::tuple{"100", "115", "Category 3"}, std::tuple{"87", "100", "Category 2"},
          std::tuple{"20", "23", "Tropical Depression"}}) {
        click("cmdCvrtKts");
        ASSERT_TRUE(edit("txtKnots")->isEnabled() && button("cmdCkts")->isEnabled());
        typeInto(edit("txtKnots"), knots, false);
        click("cmdCkts");
        EXPECT_EQ(edit("txtHwind")->text(), mph) << knots;
        EXPECT_EQ(slider()->value(), std::atoi(mph)) << knots;
        EXPECT_EQ(text("lblHCat"), category) << knots;
        EXPECT_FALSE(edit("txtKnots")->isEnabled() || button("cmdCkts")->isEnabled() ||
                     label("lblKnots")->isEnabled());
    }
}

TEST_F(HurricanesWindow, SliderMovesTheWindAndAnUnnamedDepressionStopsAt38) {
    typeName("Unamed Depression");
    EXPECT_EQ(slider()->maximum(), 38);
    slider()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(slider(), Qt::Key_End);
    EXPECT_EQ(edit("txtHwind")->text(), "38");
    EXPECT_EQ(text("lblHCat"), "Tropical Depression");
    EXPECT_EQ(edit("txtKnots")->text(), "33"); // the knots follow where the slider stopped
    typeName("Ike");
    EXPECT_EQ(slider()->maximum(), 220);
    slider()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(slider(), Qt::Key_End);
    EXPECT_EQ(edit("txtHwind")->text() + " " + text("lblHCat"), "220 Category 5");
}

TEST_F(HurricanesWindow, TheSliderAndTheReportDateLockTheOutputs) {
    enterPosition();
    for (QWidget* input :
         {static_cast<QWidget*>(slider()), static_cast<QWidget*>(edit("meHEnter"))}) {
        click("cmdEnableWriteFile");
        ASSERT_EQ(enabledOutputs(), 5);
        activate(win); // the headless platform may leave the name's closed suggestions active
        input->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(enabledOutputs(), 0) << input->objectName().toStdString();
    }
}

TEST_F(HurricanesWindow, UnlockChecksNameWindCoordinatesAndPositionInThatOrder) {
    struct Case {
        const char* storm;
        bool wind;
        const char* longitude;
        const char* option; // "" for none chosen yet
        const char* message;
        const char* focus;
    };
    const Case cases[] = {
        // No type can be chosen back to none: this case comes first.
        {"Ike", true, "-088.5000", "", "Please Select Position Type", "optActual"},
        {"", true, "-088.5000", "optActual", "Enter Storm Name", "cmbName"},
        {"Ike", false, "-088.5000", "optActual", "Enter Windspeed", "txtHwind"},
        {"Ike", true, "", "optActual", "Please Convert Coordinates", "cmdHcoordCon"},
        {"Ike", true, "-088.5000", "optFcast", "", "cmdEnableWriteFile"},
    };
    for (const Case& c : cases) {
        dialogs.clear();
        name()->setEditText(q(c.storm));
        label("lblHCat")->setText(c.wind ? q(" ") : QString()); // a calm wind counts
        label("lblhDDLong")->setText(q(c.longitude));
        if (*c.option != '\0') {
            clickInto(child<QRadioButton>(c.option));
        }
        win->unlockOutputs(); // a failed check must lock again
        click("cmdEnableWriteFile");
        if (*c.message == '\0') {
            EXPECT_TRUE(dialogs.messages.empty());
            EXPECT_EQ(enabledOutputs(), 5);
        } else {
            ASSERT_EQ(dialogs.messages.size(), 1u) << c.message;
            EXPECT_EQ(dialogs.messages[0], (sw::MessageRequest{c.message, "", sw::Icon::None,
                                                               sw::Buttons::Ok, sw::Answer::Ok}));
            EXPECT_EQ(enabledOutputs(), 0) << c.message;
        }
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), c.focus) << c.message;
    }
}

// The road of one position: name, type, hour, wind, the converter, unlock, a new text file.
TEST_F(HurricanesWindow, OnePositionThroughTheConverterIntoANewTextFileThenAnAppend) {
    typeName("Ike");
    clickInto(child<QRadioButton>("optActual"));
    QScrollBar* hour = bar("HscrHour");
    hour->setFocus(Qt::TabFocusReason);
    for (int i = 0; i < 5; ++i) {
        QTest::keyClick(hour, Qt::Key_PageDown); // 3 hours a page
    }
    EXPECT_EQ(text("lblsHour"), "15:00");
    typeInto(edit("txtHwind"), "115");

    click("cmdHcoordCon");
    for (const char* l : kCoordinateLabels) {
        EXPECT_TRUE(label(l)->isEnabled()) << l;
        EXPECT_EQ(label(l)->palette().color(QPalette::Window), QColor(0, 0, 128)) << l;
    }
    auto* converter = registry.existingAs<sw::ConverterWindow>(q(sw::forms::kConverter));
    ASSERT_TRUE(converter != nullptr && converter->isVisible());
    activate(converter);
    QTest::mouseClick(converter->findChild<QRadioButton*>(q("optDD")), Qt::LeftButton);
    for (const auto& [field, digits] : {std::pair{"txtDDlongD", "088"},
                                        {"txtDDLongDD", "5"},
                                        {"txtDDLatD", "27"},
                                        {"txtDDLatDD", "25"}}) {
        auto* e = converter->findChild<QLineEdit*>(q(field));
        ASSERT_NE(e, nullptr) << field;
        e->setFocus(Qt::MouseFocusReason);
        e->selectAll();
        QTest::keyClicks(e, q(digits));
    }
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(label(kCoordinateLabels[i])->text(), q(kShown[i])) << kCoordinateLabels[i];
    }

    activate(win);
    click("cmdEnableWriteFile");
    ASSERT_EQ(enabledOutputs(), 5) << ::testing::PrintToString(dialogs.messageTexts());
    dialogs.fileNext(path("Ike.txt"));
    click("cmdAdNewHFac");
    EXPECT_EQ(readFile(dir / "phIke.txt"), kTitleLine + ikeLine());
    EXPECT_EQ(dialogs.files.at(0), sw::newFileRequest(".txt", "Text Files(*.txt)|*.txt"));
    // Ready for the next position: times and wind stay, and nothing is written until checked.
    EXPECT_EQ(name()->currentText(), "");
    for (const char* l : kCoordinateLabels) {
        EXPECT_EQ(label(l)->text(), "") << l;
    }
    EXPECT_EQ(text("lblUTC_Cat") + " " + text("lblHCat"), "9/12/2026 15:00:00 UTC Category 3");
    EXPECT_TRUE(name()->hasFocus());
    EXPECT_EQ(enabledOutputs(), 0);

    enterPosition();
    dialogs.fileNext(path("phIke.txt"));
    click("cmdAppendFile");
    EXPECT_EQ(readFile(dir / "phIke.txt"), kTitleLine + ikeLine() + ikeLine());
    EXPECT_EQ(dialogs.files.at(1),
              sw::outputFileRequest(".txt", "Text Files (ph*.txt)|ph*.txt", path("Ike.txt")));
    EXPECT_EQ(name()->currentText(), "Ike");
    EXPECT_TRUE(dialogs.messages.empty()) << ::testing::PrintToString(dialogs.messageTexts());
}

TEST_F(HurricanesWindow, ShapefileWriteThenAppendAsGdalReadsThem) {
    enterPosition();
    dialogs.fileNext(path("Ike.shp"));
    click("cmdWriteHShape");
    EXPECT_FALSE(button("appendHShape")->isEnabled());
    EXPECT_EQ(readFile(dir / "phIke.prj"), readFile(sw::programFolder() / "WGS1984.prj"));
    // A depression's category is kept whole.
    typeInto(edit("txtHwind"), "30");
    click("cmdEnableWriteFile");
    dialogs.fileNext(path("phIke.shp"));
    click("appendHShape");
    EXPECT_FALSE(button("cmdWriteHShape")->isEnabled());
    EXPECT_EQ(dialogs.files.at(1),
              sw::outputFileRequest(".shp", "Shape Files (ph*.shp)|ph*.shp", path("Ike.shp")));
    EXPECT_TRUE(dialogs.messages.empty()) << ::testing::PrintToString(dialogs.messageTexts());

    const sw::test::ReadBack read = sw::test::readShapefile(dir / "phIke.shp");
    ASSERT_EQ(sw::test::problemsOf(read), "");
    EXPECT_EQ(sw::test::fieldList(read),
              "Name String 30, Date String 12, Position String 12, UTC_Time String 30, "
              "Local_Time String 30, Lat Real, Long Real, AlbersX Real, AlbersY Real, "
              "UTM String 24, USNG String 20, Winds_MPH Real, Winds_KTS Real, Category String 20");
    EXPECT_EQ(read.prj["name"].toString(), "WGS 84");
    EXPECT_TRUE(read.prj["geographic"].toBool());
    const QJsonArray features = read.gdal["features"].toArray();
    ASSERT_EQ(features.size(), 2);
    for (const auto& feature : features) {
        const QJsonObject f = feature.toObject();
        const QJsonObject v = f["values"].toObject();
        EXPECT_EQ(v["Name"].toString() + "|" + v["Local_Time"].toString() + "|" +
                      v["UTM"].toString(),
                  q("Ike|9/12/2026 11:00:00 AM EDT|" + kPoint.utm));
        EXPECT_DOUBLE_EQ(v["Lat"].toDouble(), 27.25);
        EXPECT_DOUBLE_EQ(v["Long"].toDouble(), -88.5);
        EXPECT_EQ(f["wkt"].toString(), "POINT (-88.5 27.25)");
    }
    // The first as written, the depression appended after it.
    EXPECT_EQ(features[0]["values"]["Category"].toString(), "Category 3");
    EXPECT_DOUBLE_EQ(features[0]["values"]["Winds_MPH"].toDouble(), 115);
    EXPECT_EQ(features[1]["values"]["Category"].toString(), "Tropical Depression");
    EXPECT_DOUBLE_EQ(features[1]["values"]["Winds_KTS"].toDouble(), 26);
}

// Files made before the Category and UTM columns were widened still take appends: the longer
// texts are cut to the older widths.
TEST_F(HurricanesWindow, AppendToAnOlderNarrowerShapefileCutsToFit) {
    std::vector<sw::Column> older(sw::stormColumns().columns().begin(),
                                  sw::stormColumns().columns().end());
    for (sw::Column& c : older) {
        c.width = c.field == "Category" ? 10 : (c.field == "UTM" ? 20 : c.width);
    }
    sw::StormPosition first;
    first.name = "Old";
    sw::RecordRow row = sw::stormColumns().row(first);
    row.columns = older;
    sw::test::ScriptedDialogs setup;
    setup.fileNext(path("old.shp"));
    sw::RecordOutputs outputs(setup, sw::hurricaneOutputSettings());
    ASSERT_TRUE(outputs.createShapefile(row, {-80, 25}).isWritten());

    enterPosition();
    typeInto(edit("txtHwind"), "30");
    click("cmdEnableWriteFile");
    dialogs.fileNext(path("phold.shp"));
    click("appendHShape");
    EXPECT_TRUE(dialogs.messages.empty()) << ::testing::PrintToString(dialogs.messageTexts());
    const sw::test::ReadBack read = sw::test::readShapefile(dir / "phold.shp");
    ASSERT_EQ(sw::test::problemsOf(read), "");
    const QJsonArray features = read.gdal["features"].toArray();
    ASSERT_EQ(features.size(), 2);
    EXPECT_EQ(features[1]["values"]["Category"].toString(), "Tropical D");
    EXPECT_EQ(features[1]["values"]["UTM"].toString(), q(kPoint.utm.substr(0, 20)));
}

TEST_F(HurricanesWindow, KmlOfAForecastWithImageryValidAgainstTheSchema) {
    enterPosition("Ike XX YYY"); // placeholders in a name stay as typed
    clickInto(child<QRadioButton>("optFcast"));
    typeInto(edit("txtHwind"), "100");
    click("cmdEnableWriteFile");
    dialogs.fileNext(path("ike.kml"))
        .answerNext(sw::Answer::Yes) // imagery
        .answerNext(sw::Answer::No); // no link
    click("cmdKML");
    EXPECT_EQ(dialogs.files.at(0), sw::newFileRequest(".kml", "KML Files(*.kml)|*.kml",
                                                      "phForecastIke XX YYY_1500_Sep12"));
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0], (sw::MessageRequest{sw::kImageryQuestion, "", sw::Icon::Question,
                                                       sw::Buttons::YesNo, sw::Answer::Yes}));
    const std::string document = readFile(dir / "ike.kml");
    for (const std::string& part :
         {std::string("<name>Ike XX YYY , Category 2</name>"),
          std::string("<br>Ike XX YYY</br><br>Forecast Location</br>"
                      "<br>Local Time:9/12/2026 11:00:00 AM EDT</br><br>Category 2</br>"
                      "<br>Winds(kts/mph):87/100</br>"),
          std::string("icons//Fcast_Cat2Hurricane.gif"), kPoint.longitude + "," + kPoint.latitude,
          std::string("<range>500000</range>"), std::string("Wind shear (GOES-East, Atlantic)")}) {
        EXPECT_NE(document.find(part), std::string::npos) << part << "\n" << document;
    }
    EXPECT_EQ(sw::test::kmlSchemaErrors(path("ike.kml")), "");

    // No imagery: the plain template; a calm wind gives the plain icon.
    dialogs.clear();
    typeInto(edit("txtHwind"), "20");
    click("cmdEnableWriteFile");
    dialogs.fileNext(path("calm.kml")).answerNext(sw::Answer::No).answerNext(sw::Answer::No);
    click("cmdKML");
    const std::string calm = readFile(dir / "calm.kml");
    EXPECT_NE(calm.find("icons//Hurricane.gif"), std::string::npos) << calm;
    EXPECT_NE(calm.find("<name>Ike XX YYY ,  </name>"), std::string::npos) << calm;
    EXPECT_EQ(calm.find("Wind shear"), std::string::npos);
}

TEST_F(HurricanesWindow, AClickRightAfterTypingAStormNameLandsWhereItWasAimed) {
    // "Ar" begins a name of the season's list: no suggestion pop-up opens over the window to
    // take the click meant for the position type, and the name stays as typed.
    typeName("Ar");
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    clickInto(child<QRadioButton>("optActual"));
    EXPECT_TRUE(child<QRadioButton>("optActual")->isChecked());
    EXPECT_EQ(name()->currentText(), "Ar");
}

TEST_F(HurricanesWindow, ClearEmptiesThePositionLocksTheOutputsAndTimesFollowTheBars) {
    enterPosition();
    click("cmdClear");
    EXPECT_EQ(name()->currentText() + text("lblHCat") + edit("txtKnots")->text() +
                  edit("txtHwind")->text(),
              "");
    for (const char* l : kCoordinateLabels) {
        EXPECT_EQ(label(l)->text(), "") << l;
    }
    EXPECT_EQ(text("lblsHour") + " " + text("lblMon") + " " + text("lblDay"), "00:00 9 12");
    // The times are those of the bars, never empty: a record cannot leave without them.
    EXPECT_EQ(text("lblUTC_Cat") + " | " + text("lblLtimeZ"),
              "9/12/2026 00:00:00 UTC | 9/11/2026 8:00:00 PM EDT");
    EXPECT_EQ(edit("meHEnter")->text(), "09-12-2026");
    EXPECT_TRUE(child<QRadioButton>("optActual")->isChecked());
    // The emptied position is not written: the outputs wait for the next check.
    EXPECT_EQ(enabledOutputs(), 0);
    // Hovering the empty wind box brings no category back.
    QTest::mouseMove(edit("txtHwind"));
    EXPECT_EQ(text("lblHCat"), "");
    click("cmdEnableWriteFile");
    EXPECT_EQ(dialogs.messageTexts(), (std::vector<std::string>{"Enter Storm Name"}));

    click("cmdHcoordCon");
    activate(win);
    click("cmdHexit");
    EXPECT_FALSE(win->isVisible());
    EXPECT_EQ(enabledOutputs(), 0);
    for (const char* l : kCoordinateLabels) {
        EXPECT_FALSE(label(l)->isEnabled()) << l;
        EXPECT_EQ(label(l)->palette().color(QPalette::Window), QColor(128, 128, 128)) << l;
    }
    EXPECT_EQ(registry.existing(q(sw::forms::kHurricanes)), win);
}

// A machine in New York in July, its zone named at each instant as the program names it.
class HurricanesWindowInJuly : public HurricanesWindow {
protected:
    void SetUp() override {
        today = std::chrono::year{2026} / 7 / 15;
        zoneNameAt = [](const QDateTime& instant) {
            return sw::systemZoneName(QTimeZone("America/New_York"), instant);
        };
        open();
    }
};

TEST_F(HurricanesWindowInJuly, APositionOfAnotherSeasonShowsThatSeasonsLocalTime) {
    bar("HscrHour")->setValue(16);
    EXPECT_EQ(text("lblLtimeZ"), "7/15/2026 12:00:00 PM EDT");
    bar("HscrMon")->setValue(12);
    bar("HscrDay")->setValue(31);
    bar("HscrHour")->setValue(23);
    EXPECT_EQ(text("lblUTC_Cat") + " | " + text("lblLtimeZ"),
              "12/31/2026 23:00:00 UTC | 12/31/2026 6:00:00 PM EST");
}

// A season whose name list was never installed.
class HurricanesWindowIn2040 : public HurricanesWindow {
protected:
    void SetUp() override {
        today = std::chrono::year{2040} / 6 / 1;
        open();
    }
};

TEST_F(HurricanesWindowIn2040, AMissingNameListIsReportedOnceAndNamesCanStillBeTyped) {
    const std::string missing = (sw::programFolder() / "2040_hurricanes.txt").string();
    EXPECT_EQ(dialogs.messageTexts(), (std::vector<std::string>{missing + " is missing"}));
    EXPECT_EQ(name()->count(), 0);
    enterPosition("Zeta");
    win->hide();
    registry.show(q(sw::forms::kHurricanes));
    EXPECT_EQ(dialogs.messages.size(), 1u);
}

// A picture of the window for a person to look at (SW_SCREENSHOT=file.png), with a position
// ready to write.
TEST_F(HurricanesWindow, Screenshot) {
    const char* file = std::getenv("SW_SCREENSHOT");
    if (file == nullptr) {
        GTEST_SKIP() << "set SW_SCREENSHOT to a PNG path";
    }
    enterPosition();
    click("cmdHcoordCon");
    activate(win);
    for (std::size_t i = 0; i < 6; ++i) {
        label(kCoordinateLabels[i])->setText(q(kShown[i]));
    }
    click("cmdEnableWriteFile");
    ASSERT_TRUE(win->grab().save(q(file)));
}

} // namespace
