// The Facilities and Incidents window driven as a user drives it: real widgets, key and mouse
// events, the converter typing the coordinates, the dialog double answering. Files written are
// read back: text byte for byte, shapefiles through GDAL, KML against the OGC schema.

#include "facilities/facilities_window.h"

#include "coord/hand_back.h"
#include "services/base/program_folder.h"
#include "taskwindow/entry_rule.h"
#include "taskwindow/output_file_choice.h"
#include "testsupport/kml_checks.h"
#include "testsupport/shapefile_reading.h"
#include "testsupport/test_paths.h"
#include "testsupport/window_test.h"
#include "ui/window_kinds.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCompleter>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using sw::test::q;
using sw::test::readFile;

const char* const kOutputButtons[] = {"cmdAdNewdFac", "cmdAppendFile", "cmdWritefShape",
                                      "appendfShape", "cmdfKML"};
const char* const kCoordinateLabels[] = {"lblfDDLat",   "lblfDDLong",  "lblfAlbersX",
                                         "lblfAlbersY", "lblUTMCoord", "lblUSNG"};

// The point of the examples, 30.25 N 84.5 W, as the converter shows it.
const sw::HandBackTexts kPoint = sw::handBackTexts(30.25, -84.5);
const std::string kShown[] = {kPoint.latitude, kPoint.longitude, kPoint.albersX,
                              kPoint.albersY,  kPoint.utm,       kPoint.usng};
const std::string kCampA =
    sw::facilityRecordLine({"Camp A", "Camp", kPoint.latitude, kPoint.longitude, kPoint.albersX,
                            kPoint.albersY, kPoint.utm, kPoint.usng});

class FacilitiesWindow : public sw::test::WindowTest {
protected:
    sw::FacilitiesWindow* fac = nullptr;

    void SetUp() override {
        fac = static_cast<sw::FacilitiesWindow*>(
            openWindow(sw::forms::kFacilities, [this](sw::OpenConverter open) {
                return new sw::FacilitiesWindow(dialogs, std::move(open));
            }));
        ASSERT_NE(fac, nullptr);
    }

    QLineEdit* name() const { return edit("txtfacName"); }
    QComboBox* type() const { return box("cmbfacType"); }
    int enabledOutputs() const { return enabledCount(kOutputButtons); }

    // Camp A of type Camp at kPoint, unlocked; the coordinates set as the converter sets them.
    void enterPoint() {
        clickInto(child<QRadioButton>("optICS"));
        clickInto(type());
        QTest::keyClicks(type(), q("Camp"));
        clickInto(name());
        QTest::keyClicks(name(), q("Camp A"));
        for (std::size_t i = 0; i < 6; ++i) {
            label(kCoordinateLabels[i])->setText(q(kShown[i]));
        }
        click("cmdEnableWriteFile");
        ASSERT_EQ(enabledOutputs(), 5) << ::testing::PrintToString(dialogs.messageTexts());
    }
};

TEST_F(FacilitiesWindow, ACategoryLoadsItsListAndAnotherEmptiesTheType) {
    for (const auto& [option, count] :
         {std::pair{"optFac", 13}, std::pair{"optICS", 15}, std::pair{"optDisease", 8}}) {
        clickInto(type()); // the type typed in the round before must go
        QTest::keyClicks(type(), q("Typed"));
        clickInto(child<QRadioButton>(option));
        EXPECT_TRUE(type()->isEnabled() && label("lblfFacType")->isEnabled());
        EXPECT_EQ(type()->count(), count) << option;
        EXPECT_EQ(type()->itemText(count - 1), "Other") << option;
        EXPECT_EQ(type()->currentIndex(), -1) << option;
        EXPECT_EQ(type()->currentText(), "") << option;
    }
}

// Qt's editable drop-down would turn "camp" into "Camp" and "Other" into the first entry
// starting with it; the icon and the records depend on the exact text.
TEST_F(FacilitiesWindow, ATypedTypeStaysAsTyped) {
    const std::tuple<const char*, const char*, Qt::Key> cases[] = {
        {"optICS", "camp", Qt::Key_Tab},
        {"optICS", "camp", Qt::Key_Return},
        {"optICS", "Ca", Qt::Key_Tab},
        {"optDisease", "Other", Qt::Key_Tab},
        {"optDisease", "Other", Qt::Key_Return}};
    for (const auto& [option, typed, leaveBy] : cases) {
        clickInto(child<QRadioButton>(option));
        clickInto(type());
        type()->clearEditText();
        QTest::keyClicks(type(), q(typed));
        QTest::keyClick(QApplication::focusWidget(), leaveBy);
        EXPECT_EQ(type()->currentText(), q(typed)) << option;
    }
}

TEST_F(FacilitiesWindow, RestrictedCharactersAreRefusedWhileTyping) {
    clickInto(child<QRadioButton>("optFac"));
    for (QWidget* field : {static_cast<QWidget*>(name()), static_cast<QWidget*>(type())}) {
        for (char restricted : std::string("\"&'/:<>\\")) {
            dialogs.clear();
            name()->clear();
            type()->clearEditText();
            clickInto(field);
            QTest::keyClicks(field, q("ab"));
            QTest::keyClick(field, restricted);
            QTest::keyClicks(field, q("c?"));
            EXPECT_EQ(field == name() ? name()->text() : type()->currentText(), "abc?")
                << restricted;
            ASSERT_EQ(dialogs.messages.size(), 1u) << restricted;
            EXPECT_EQ(dialogs.messages[0], sw::restrictedCharacterMessage());
        }
    }
}

TEST_F(FacilitiesWindow, LeavingAFieldCleansWhatIsThereEvenPasted) {
    clickInto(child<QRadioButton>("optICS"));
    for (const auto& [text, cleaned] :
         {std::pair{"  Camp A?  ", "Camp A"}, std::pair{"a/b:\"c\\", "a b  c "}}) {
        QApplication::clipboard()->setText(q(text)); // pasting bypasses the key filter
        clickInto(name());
        name()->clear();
        name()->paste();
        clickInto(type());
        EXPECT_EQ(name()->text(), cleaned);
        type()->clearEditText();
        type()->lineEdit()->paste();
        QTest::keyClick(type(), Qt::Key_Tab);
        EXPECT_EQ(type()->currentText(), cleaned);
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(FacilitiesWindow, UnlockChecksNameThenTypeThenCoordinates) {
    struct Case {
        const char* nameText;
        const char* typeText;
        const char* longitude;
        const char* message; // "" for success
        const char* focus;
    };
    const Case cases[] = {
        {"", "Camp", "-084.5000", "Enter Facility Name", "txtfacName"},
        {"  ?  ", "Camp", "-084.5000", "Enter Facility Name", "txtfacName"}, // cleaned first
        {"Camp A", "", "-084.5000", "Select Facility Type", "cmbfacType"},
        {"Camp A", "Camp", "", "Please Convert Coordinates", "cmdfCoordCon"},
        {"Camp A", "Camp", "-084.5000", "", "cmdEnableWriteFile"},
    };
    clickInto(child<QRadioButton>("optICS"));
    for (const Case& c : cases) {
        dialogs.clear();
        name()->setText(q(c.nameText));
        type()->setEditText(q(c.typeText));
        label("lblfDDLong")->setText(q(c.longitude));
        fac->unlockOutputs(); // a failed check must lock again
        click("cmdEnableWriteFile");
        if (*c.message == '\0') {
            EXPECT_TRUE(dialogs.messages.empty());
            EXPECT_EQ(enabledOutputs(), 5);
            EXPECT_EQ(button("cmdfKML")->palette().color(QPalette::Button), QColor(255, 255, 192));
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

// What the user sees, not just what the palette says: the style must not wash the colours out
// (a gradient drawn from the palette never shows the light yellow itself).
TEST_F(FacilitiesWindow, OutputButtonsAreDrawnInTheirLockColours) {
    auto drawn = [](QPushButton* b) {
        const QImage image = b->grab().toImage();
        // Above and below the caption, away from the border.
        return std::pair{image.pixelColor(image.width() / 2, 4).name(),
                         image.pixelColor(image.width() / 2, image.height() - 5).name()};
    };
    enterPoint();
    for (const auto& [unlocked, colour] :
         {std::pair{true, QColor(255, 255, 192)}, std::pair{false, QColor(224, 224, 224)}}) {
        unlocked ? fac->unlockOutputs() : fac->lockOutputs();
        for (const char* b : kOutputButtons) {
            EXPECT_EQ(drawn(button(b)), std::pair(colour.name(), colour.name()))
                << b << " " << unlocked;
        }
    }
}

TEST_F(FacilitiesWindow, FocusOnAnInputLocksWithoutAMessage) {
    enterPoint();
    for (const char* input : {"txtfacName", "cmbfacType", "cmdfCoordCon"}) {
        click("cmdEnableWriteFile");
        ASSERT_EQ(enabledOutputs(), 5);
        child<QWidget>(input)->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(enabledOutputs(), 0) << input;
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

// The road of one point: category, type, name, the converter, unlock, a new text file.
TEST_F(FacilitiesWindow, OnePointThroughTheConverterIntoANewTextFile) {
    clickInto(child<QRadioButton>("optICS"));
    type()->setCurrentIndex(type()->findText(q("Camp")));
    clickInto(name());
    QTest::keyClicks(name(), q("  Camp A?  "));

    click("cmdfCoordCon");
    for (const char* l : kCoordinateLabels) {
        EXPECT_TRUE(label(l)->isEnabled()) << l;
        EXPECT_EQ(label(l)->palette().color(QPalette::Window), QColor(0, 0, 128)) << l;
    }
    QWidget* converter = this->converter();
    ASSERT_TRUE(converter != nullptr && converter->isVisible());
    activate(converter);
    QTest::mouseClick(converter->findChild<QRadioButton*>(q("optDD")), Qt::LeftButton);
    for (const auto& [field, digits] : {std::pair{"txtDDlongD", "084"},
                                        {"txtDDLongDD", "5"},
                                        {"txtDDLatD", "30"},
                                        {"txtDDLatDD", "25"}}) {
        auto* edit = converter->findChild<QLineEdit*>(q(field));
        ASSERT_NE(edit, nullptr) << field;
        edit->setFocus(Qt::MouseFocusReason);
        edit->selectAll();
        QTest::keyClicks(edit, q(digits));
    }
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(label(kCoordinateLabels[i])->text(), q(kShown[i])) << kCoordinateLabels[i];
    }
    EXPECT_EQ(kPoint.albersX + " " + kPoint.albersY, "351936.72 693727.66");

    activate(fac);
    click("cmdEnableWriteFile");
    EXPECT_EQ(name()->text(), "Camp A"); // cleaned on leaving
    ASSERT_EQ(enabledOutputs(), 5);
    dialogs.fileNext(path("camps.txt"));
    click("cmdAdNewdFac");
    EXPECT_EQ(readFile(dir / "pfcamps.txt"), sw::facilityHeaderLine() + kCampA);
    EXPECT_EQ(dialogs.files.at(0), sw::newFileRequest(".txt", "Text Files(*.txt)|*.txt"));
    // Ready for the next point of the same type.
    EXPECT_EQ(name()->text(), "");
    EXPECT_EQ(type()->currentText(), "Camp");
    for (const char* l : kCoordinateLabels) {
        EXPECT_EQ(label(l)->text(), "") << l;
    }
    EXPECT_EQ(QApplication::focusWidget(), name());
    EXPECT_EQ(enabledOutputs(), 0);
    EXPECT_TRUE(dialogs.messages.empty()) << ::testing::PrintToString(dialogs.messageTexts());
}

TEST_F(FacilitiesWindow, AppendAddsTheSameRecordEachTimeWithoutHeader) {
    enterPoint();
    dialogs.fileNext(path("pfmissing.txt")).fileNext(path("pfmissing.txt"));
    click("cmdAppendFile");
    click("cmdAppendFile");
    EXPECT_EQ(readFile(dir / "pfmissing.txt"), kCampA + kCampA);
    EXPECT_EQ(dialogs.files.at(0), sw::outputFileRequest(".txt", "Text Files (pf*.txt)|pf*.txt"));
    EXPECT_EQ(dialogs.files.at(1).fileName, path("pfmissing.txt")); // the one dialog remembers
    EXPECT_EQ(name()->text(), "Camp A");
    EXPECT_EQ(enabledOutputs(), 5);
}

TEST_F(FacilitiesWindow, ClearEmptiesThePointAndLocksTheOutputsUntilTheNextCheck) {
    enterPoint();
    click("cmdClear");
    EXPECT_EQ(enabledOutputs(), 0);
    EXPECT_EQ(type()->count(), 15);
    EXPECT_EQ(name()->text(), "");
    click("cmdEnableWriteFile");
    EXPECT_EQ(enabledOutputs(), 0);
    EXPECT_EQ(dialogs.messages.size(), 1u);
}

TEST_F(FacilitiesWindow, AFailedWriteIsReportedAndKeepsThePoint) {
    enterPoint();
    const std::string missing = path("no such folder/camps.txt");
    for (const auto& [button, chosen] : {std::pair{"cmdAdNewdFac", missing},
                                         {"cmdAppendFile", missing},
                                         {"cmdWritefShape", missing},
                                         {"appendfShape", path("camps.shp")},
                                         {"cmdfKML", missing}}) {
        dialogs.clear();
        fac->unlockOutputs();
        dialogs.fileNext(chosen);
        click(button);
        ASSERT_EQ(dialogs.messages.size(), 1u) << button;
        EXPECT_EQ(dialogs.messages[0].icon, sw::Icon::Critical) << button;
        EXPECT_NE(dialogs.messages[0].text.find("camps"), std::string::npos)
            << button << ": " << dialogs.messages[0].text;
        EXPECT_EQ(name()->text(), "Camp A") << button;
        EXPECT_EQ(label("lblfDDLong")->text(), q(kPoint.longitude)) << button;
    }
}

// Exit hides the window (the registry keeps it) and leaves it as it first opened, but for the
// category and its list.
TEST_F(FacilitiesWindow, StartsLockedAndExitReturnsThere) {
    EXPECT_EQ(fac->windowTitle(), "Facilities Management");
    EXPECT_EQ(label("lblfHeading")->text(), "Facilities and Incidents");
    EXPECT_FALSE(type()->isEnabled() || label("lblfFacType")->isEnabled());
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(name()->text() + type()->currentText(), "");
        for (const char* l : kCoordinateLabels) {
            EXPECT_EQ(label(l)->text(), "") << l;
            EXPECT_FALSE(label(l)->isEnabled()) << l;
            EXPECT_EQ(label(l)->palette().color(QPalette::Window), QColor(128, 128, 128)) << l;
        }
        EXPECT_EQ(enabledOutputs(), 0);
        EXPECT_EQ(button("cmdfKML")->palette().color(QPalette::Button), QColor(224, 224, 224));
        if (round == 0) {
            enterPoint();
            click("cmdfCoordCon");
            activate(fac);
            click("cmdfacDone");
        }
    }
    EXPECT_FALSE(fac->isVisible());
    EXPECT_EQ(registry.existing(q(sw::forms::kFacilities)), fac);
    EXPECT_EQ(type()->count(), 15);
}

TEST_F(FacilitiesWindow, ShapefileWriteThenAppendAsGdalReadsThem) {
    enterPoint();
    dialogs.fileNext(std::nullopt); // cancelled: the other button stays disabled all the same
    click("cmdWritefShape");
    EXPECT_FALSE(button("appendfShape")->isEnabled());
    EXPECT_TRUE(fs::is_empty(dir.path()));

    dialogs.fileNext(path("camps.shp"));
    click("cmdWritefShape");
    EXPECT_EQ(dialogs.files.at(1), sw::newFileRequest(".shp", "Shape Files(*.shp)|*.shp"));
    EXPECT_EQ(readFile(dir / "pfcamps.prj"), readFile(sw::programFolder() / "qv_albers.prj"));
    EXPECT_EQ(enabledOutputs(), 4);
    click("cmdEnableWriteFile");
    dialogs.fileNext(path("pfcamps.shp"));
    click("appendfShape");
    EXPECT_EQ(dialogs.files.at(2),
              sw::outputFileRequest(".shp", "Shape Files (pf*.shp)|pf*.shp", path("camps.shp")));
    EXPECT_FALSE(button("cmdWritefShape")->isEnabled());
    EXPECT_TRUE(dialogs.messages.empty()) << ::testing::PrintToString(dialogs.messageTexts());

    const sw::test::ReadBack read = sw::test::readShapefile(path("pfcamps.shp"));
    ASSERT_EQ(sw::test::problemsOf(read), "");
    EXPECT_EQ(read.gdal["geometry_type"].toString(), "Point");
    EXPECT_EQ(read.prj["projection"].toString(), "Albers_Conic_Equal_Area");
    // Name, type and widths of the columns; the UTM column holds a whole UTM text.
    EXPECT_EQ(sw::test::fieldList(read),
              "Name String 45, Type String 45, Lat Real, Long Real, "
              "AlbersX Real, AlbersY Real, UTM String 24, USNG String 20");
    const QJsonArray features = read.gdal["features"].toArray();
    ASSERT_EQ(features.size(), 2);
    for (const auto& feature : features) {
        const QJsonObject f = feature.toObject();
        const QJsonObject v = f["values"].toObject();
        EXPECT_EQ(v["Name"].toString() + "|" + v["Type"].toString() + "|" + v["UTM"].toString() +
                      "|" + v["USNG"].toString(),
                  q("Camp A|Camp|" + kPoint.utm + "|" + kPoint.usng));
        EXPECT_DOUBLE_EQ(v["Lat"].toDouble(), 30.25);
        EXPECT_DOUBLE_EQ(v["Long"].toDouble(), -84.5); // shown as -084.5000
        EXPECT_DOUBLE_EQ(v["AlbersX"].toDouble(), 351936.72);
        EXPECT_DOUBLE_EQ(v["AlbersY"].toDouble(), 693727.66);
        EXPECT_DOUBLE_EQ(f["point"][0].toDouble(), 351936.72);
        EXPECT_DOUBLE_EQ(f["point"][1].toDouble(), 693727.66);
    }
}

TEST_F(FacilitiesWindow, KmlDocumentOfThePointValidAgainstTheSchema) {
    enterPoint();
    dialogs.fileNext(path("camp.kml")).answerNext(sw::Answer::No); // no link
    click("cmdfKML");
    EXPECT_EQ(dialogs.files.at(0),
              sw::newFileRequest(".kml", "KML Files(*.kml)|*.kml", "pfCamp A"));
    const std::string document = readFile(dir / "camp.kml");
    for (const std::string& part :
         {"<br>Camp A</br><br>Camp</br><br>UTM Coord: " + kPoint.utm +
              "</br><br>National Grid Coord: " + kPoint.usng + "</br>",
          std::string("icons//campa.png"), kPoint.longitude + "," + kPoint.latitude,
          std::string("<range>5000</range>")}) {
        EXPECT_NE(document.find(part), std::string::npos) << part << "\n" << document;
    }
    EXPECT_EQ(sw::test::kmlSchemaErrors(path("camp.kml")), "");
    EXPECT_EQ(enabledOutputs(), 5);

    // The second time to the same path asks first.
    dialogs.clear();
    dialogs.fileNext(path("camp.kml")).answerNext(sw::Answer::Yes).answerNext(sw::Answer::No);
    click("cmdfKML");
    EXPECT_EQ(dialogs.messages.at(0), sw::overwriteQuestion());
    EXPECT_TRUE(dialogs.allAnswersUsed());
}

// Pictures of the window for a person to look at (SW_SCREENSHOT=file.png): as it opens, and
// with a point ready to write.
TEST_F(FacilitiesWindow, Screenshot) {
    const char* file = std::getenv("SW_SCREENSHOT");
    if (file == nullptr) {
        GTEST_SKIP() << "set SW_SCREENSHOT to a PNG path";
    }
    ASSERT_TRUE(fac->grab().save(q(file).replace(q(".png"), q("-start.png"))));
    enterPoint();
    click("cmdfCoordCon");
    activate(fac);
    for (std::size_t i = 0; i < 6; ++i) {
        label(kCoordinateLabels[i])->setText(q(kShown[i]));
    }
    click("cmdEnableWriteFile");
    dialogs.fileNext(std::nullopt);
    click("cmdWritefShape");
    ASSERT_TRUE(fac->grab().save(q(file)));
}

} // namespace

namespace {

// A type typed in part, then a click into the name field: the click and the keys after it
// belong to the name field, never to a suggestion list over it.
TEST_F(FacilitiesWindow, TheTypeBoxNeverTakesAClickOrKeysMeantForTheName) {
    for (const char* typed : {"Forestry", "Forestry Center", "Camp"}) {
        clickInto(child<QRadioButton>("optFac"));
        clickInto(type());
        type()->clearEditText();
        QTest::keyClicks(type(), q(typed));
        QApplication::processEvents();
        // Nothing opens over the fields below while typing.
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << typed;
        clickInto(name());
        QTest::keyClicks(QApplication::focusWidget(), q("Tower 7"));
        EXPECT_EQ(type()->currentText(), q(typed));
        EXPECT_EQ(name()->text(), q("Tower 7")) << typed;
        name()->clear();
    }
}

} // namespace
