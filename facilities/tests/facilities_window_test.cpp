// The Facilities and Incidents window driven as a user drives it: real widgets, real key and
// mouse events, the converter typing the coordinates, and the dialog double answering. Every
// file written is read back: text byte for byte, shapefiles through GDAL, KML against the
// OGC schema.

#include "facilities/facilities_window.h"

#include "coord/converter_window.h"
#include "coord/hand_back.h"
#include "facilities/entry_rule.h"
#include "facilities/facility_point.h"
#include "facilities/output_file_choice.h"
#include "facilities/output_lock.h"
#include "services/program_folder.h"
#include "shell/window_registry.h"
#include "testsupport/scripted_dialogs.h"
#include "testsupport/test_paths.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

// Readable failure output for the values these tests compare.
void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
namespace sw {
void PrintTo(const FileRequest& r, std::ostream* out) {
    *out << "{kind " << static_cast<int>(r.kind) << ", title \"" << r.title << "\", file \""
         << r.fileName << "\", extension \"" << r.defaultExtension << "\", filter \"" << r.filter
         << "\", index " << r.filterIndex << ", hideReadOnly " << r.hideReadOnly << "}";
}
} // namespace sw

namespace {

namespace fs = std::filesystem;
using sw::test::readFile;
using sw::test::ScriptedDialogs;
using sw::test::TempDir;

const char* const kOutputButtons[] = {"cmdAdNewdFac", "cmdAppendFile", "cmdWritefShape",
                                      "appendfShape", "cmdfKML"};
const char* const kCoordinateLabels[] = {"lblfDDLat",   "lblfDDLong",  "lblfAlbersX",
                                         "lblfAlbersY", "lblUTMCoord", "lblUSNG"};
const char* const kHeader =
    "\"Name\",\"Type\",\"Latitude\",\"Longitude\",\"AlbersX\",\"AlbersY\",\"UTM\",\"USNG\"\r\n";

QString q(const char* text) {
    return QString::fromUtf8(text);
}

class FacilitiesWindow : public ::testing::Test {
protected:
    ScriptedDialogs dialogs;
    sw::WindowRegistry registry; // after the dialogs: its windows go first
    TempDir dir;
    swFac* fac = nullptr;

    void SetUp() override {
        registry.setFactory(q(sw::forms::kFacilities),
                            [this] { return new swFac(registry, dialogs); });
        registry.setFactory(q(sw::forms::kConverter),
                            [this] { return new sw_ddc_0306(registry, dialogs); });
        fac = qobject_cast<swFac*>(registry.show(q(sw::forms::kFacilities)));
        ASSERT_NE(fac, nullptr);
        activate(fac);
    }

    static void activate(QWidget* window) {
        window->activateWindow();
        QApplication::setActiveWindow(window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    }

    template <class W> W* child(const char* name) const {
        W* widget = fac->findChild<W*>(q(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QPushButton* button(const char* name) const { return child<QPushButton>(name); }
    QLineEdit* name() const { return child<QLineEdit>("txtfacName"); }
    QComboBox* type() const { return child<QComboBox>("cmbfacType"); }
    QLabel* label(const char* objectName) const { return child<QLabel>(objectName); }

    void click(const char* buttonName) { QTest::mouseClick(button(buttonName), Qt::LeftButton); }
    void clickInto(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }

    bool unlocked() const {
        for (const char* b : kOutputButtons) {
            if (!button(b)->isEnabled()) {
                return false;
            }
        }
        return true;
    }
    bool locked() const {
        for (const char* b : kOutputButtons) {
            if (button(b)->isEnabled()) {
                return false;
            }
        }
        return true;
    }

    // Category, type and name typed in; coordinates as the converter would leave them.
    void enterPoint(const char* typeText, const char* nameText, const sw::HandBackTexts& at) {
        clickInto(child<QRadioButton>("optICS"));
        clickInto(type());
        QTest::keyClicks(type(), q(typeText));
        clickInto(name());
        QTest::keyClicks(name(), q(nameText));
        const std::string texts[] = {at.latitude, at.longitude, at.albersX,
                                     at.albersY,  at.utm,       at.usng};
        for (std::size_t i = 0; i < 6; ++i) {
            label(kCoordinateLabels[i])->setText(QString::fromStdString(texts[i]));
        }
        click("cmdEnableWriteFile");
        ASSERT_TRUE(unlocked()) << ::testing::PrintToString(dialogs.messageTexts());
    }

    std::string path(const char* fileName) const { return (dir / fileName).string(); }
};

// The point of the examples: 30.25 N, 84.5 W.
const sw::HandBackTexts kPoint = sw::handBackTexts(30.25, -84.5);

std::string recordOf(const char* nameText, const char* typeText, const sw::HandBackTexts& at) {
    return sw::facilityRecordLine(
        {nameText, typeText, at.latitude, at.longitude, at.albersX, at.albersY, at.utm, at.usng});
}

TEST_F(FacilitiesWindow, StartsLockedWithNothingChosen) {
    EXPECT_EQ(fac->windowTitle(), "Facilities Management");
    EXPECT_NE(fac->findChild<QLabel*>(q("lblfHeading")), nullptr);
    EXPECT_EQ(fac->findChild<QLabel*>(q("lblfHeading"))->text(), "Facilities and Incidents");
    for (const char* option : {"optFac", "optICS", "optDisease"}) {
        EXPECT_FALSE(child<QRadioButton>(option)->isChecked()) << option;
    }
    EXPECT_FALSE(type()->isEnabled());
    EXPECT_FALSE(label("lblfFacType")->isEnabled());
    EXPECT_EQ(type()->count(), 0);
    for (const char* l : kCoordinateLabels) {
        EXPECT_FALSE(label(l)->isEnabled()) << l;
        EXPECT_EQ(label(l)->palette().color(QPalette::Window), QColor(128, 128, 128)) << l;
    }
    for (const char* b : kOutputButtons) {
        EXPECT_FALSE(button(b)->isEnabled()) << b;
        EXPECT_EQ(button(b)->palette().color(QPalette::Button), QColor(224, 224, 224)) << b;
    }
    EXPECT_TRUE(button("cmdEnableWriteFile")->isEnabled());
}

TEST_F(FacilitiesWindow, ACategoryLoadsItsTypesAndAnotherEmptiesTheChoice) {
    struct Case {
        const char* option;
        sw::FacilityCategory category;
    };
    for (const Case& c : {Case{"optFac", sw::FacilityCategory::Facilities},
                          Case{"optICS", sw::FacilityCategory::Ics},
                          Case{"optDisease", sw::FacilityCategory::ForestHealth}}) {
        clickInto(type()); // typed text from the round before must go
        QTest::keyClicks(type(), q("Typed"));
        clickInto(child<QRadioButton>(c.option));
        EXPECT_TRUE(type()->isEnabled());
        EXPECT_TRUE(label("lblfFacType")->isEnabled());
        EXPECT_EQ(type()->currentIndex(), -1) << c.option;
        EXPECT_EQ(type()->currentText(), "") << c.option;
        const auto& expected = sw::facilityTypes(c.category);
        ASSERT_EQ(type()->count(), static_cast<int>(expected.size())) << c.option;
        for (int i = 0; i < type()->count(); ++i) {
            EXPECT_EQ(type()->itemText(i).toStdString(), expected[static_cast<std::size_t>(i)]);
        }
    }
}

TEST_F(FacilitiesWindow, ATypedTypeStaysAsTyped) {
    struct Case {
        const char* option;
        const char* typed;
        Qt::Key leaveBy;
    };
    for (const Case& c :
         {Case{"optICS", "camp", Qt::Key_Tab}, Case{"optICS", "camp", Qt::Key_Return},
          Case{"optICS", "Ca", Qt::Key_Tab}, Case{"optDisease", "Other", Qt::Key_Tab},
          Case{"optDisease", "Other", Qt::Key_Return},
          Case{"optFac", "Staging Area", Qt::Key_Tab}}) {
        clickInto(child<QRadioButton>(c.option));
        clickInto(type());
        type()->clearEditText();
        QTest::keyClicks(type(), q(c.typed));
        QTest::keyClick(QApplication::focusWidget(), c.leaveBy);
        EXPECT_EQ(type()->currentText(), q(c.typed)) << c.option << " " << c.typed;
    }
}

TEST_F(FacilitiesWindow, RestrictedCharactersAreRefusedWhileTyping) {
    clickInto(child<QRadioButton>("optFac"));
    for (QWidget* field : {static_cast<QWidget*>(name()), static_cast<QWidget*>(type())}) {
        for (char restricted : std::string("\"&'/:<>\\")) {
            dialogs.clear();
            clickInto(field);
            if (auto* line = qobject_cast<QLineEdit*>(field)) {
                line->clear();
            } else {
                type()->clearEditText();
            }
            QTest::keyClicks(field, q("ab"));
            QTest::keyClick(field, restricted);
            QTest::keyClicks(field, q("c?"));
            const QString text = field == name() ? name()->text() : type()->currentText();
            EXPECT_EQ(text, "abc?") << restricted;
            ASSERT_EQ(dialogs.messages.size(), 1u) << restricted;
            EXPECT_EQ(dialogs.messages[0], sw::restrictedCharacterMessage());
        }
    }
}

TEST_F(FacilitiesWindow, LeavingAFieldCleansWhatIsThereTypedOrPasted) {
    clickInto(child<QRadioButton>("optICS"));
    struct Case {
        const char* text;
        const char* cleaned;
    };
    for (const Case& c :
         {Case{"  Camp A?  ", "Camp A"}, Case{"Camp\\", "Camp "}, Case{"a/b:\"c\"", "a b  c "}}) {
        // Pasting bypasses the key filter; leaving the field cleans it.
        QApplication::clipboard()->setText(q(c.text));
        clickInto(name());
        name()->clear();
        name()->paste();
        clickInto(type());
        EXPECT_EQ(name()->text(), c.cleaned) << c.text;
        type()->clearEditText();
        type()->lineEdit()->paste();
        QTest::keyClick(type(), Qt::Key_Tab);
        EXPECT_EQ(type()->currentText(), c.cleaned) << c.text;
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
        {"  ?  ", "Camp", "-084.5000", "Enter Facility Name", "txtfacName"},
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
        fac->enablefWrite(); // a failed check must lock again
        click("cmdEnableWriteFile");
        if (*c.message == '\0') {
            EXPECT_TRUE(dialogs.messages.empty());
            EXPECT_TRUE(unlocked());
            for (const char* b : kOutputButtons) {
                EXPECT_EQ(button(b)->palette().color(QPalette::Button), QColor(255, 255, 192));
            }
        } else {
            ASSERT_EQ(dialogs.messages.size(), 1u) << c.message;
            const sw::MessageRequest expected{c.message, "", sw::Icon::None, sw::Buttons::Ok,
                                              sw::Answer::Ok};
            EXPECT_EQ(dialogs.messages[0], expected);
            EXPECT_TRUE(locked()) << c.message;
        }
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), c.focus) << c.message;
    }
}

TEST_F(FacilitiesWindow, FocusOnAnInputLocksWithoutAMessage) {
    enterPoint("Camp", "Camp A", kPoint);
    for (QWidget* input : {static_cast<QWidget*>(name()), static_cast<QWidget*>(type()),
                           static_cast<QWidget*>(button("cmdfCoordCon"))}) {
        click("cmdEnableWriteFile");
        ASSERT_TRUE(unlocked());
        input->setFocus(Qt::MouseFocusReason);
        EXPECT_TRUE(locked()) << input->objectName().toStdString();
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

// The road of one point: category, type, name, converter, unlock, then each output.
TEST_F(FacilitiesWindow, OnePointThroughTheConverterIntoANewTextFile) {
    clickInto(child<QRadioButton>("optICS"));
    clickInto(type());
    type()->setCurrentIndex(type()->findText(q("Camp")));
    clickInto(name());
    QTest::keyClicks(name(), q("  Camp A?  "));

    click("cmdfCoordCon");
    for (const char* l : kCoordinateLabels) {
        EXPECT_TRUE(label(l)->isEnabled()) << l;
        EXPECT_EQ(label(l)->palette().color(QPalette::Window), QColor(0, 0, 128)) << l;
    }
    auto* converter = registry.existingAs<sw_ddc_0306>(q(sw::forms::kConverter));
    ASSERT_NE(converter, nullptr);
    ASSERT_TRUE(converter->isVisible());
    activate(converter);
    QTest::mouseClick(converter->findChild<QRadioButton*>(q("optDD")), Qt::LeftButton);
    const std::pair<const char*, const char*> typing[] = {
        {"txtDDlongD", "084"}, {"txtDDLongDD", "5"}, {"txtDDLatD", "30"}, {"txtDDLatDD", "25"}};
    for (const auto& [field, digits] : typing) {
        auto* edit = converter->findChild<QLineEdit*>(q(field));
        ASSERT_NE(edit, nullptr) << field;
        edit->setFocus(Qt::MouseFocusReason);
        edit->selectAll();
        QTest::keyClicks(edit, q(digits));
    }
    const std::string shown[] = {kPoint.latitude, kPoint.longitude, kPoint.albersX,
                                 kPoint.albersY,  kPoint.utm,       kPoint.usng};
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(label(kCoordinateLabels[i])->text().toStdString(), shown[i])
            << kCoordinateLabels[i];
    }
    EXPECT_EQ(kPoint.albersX, "351936.72");
    EXPECT_EQ(kPoint.albersY, "693727.66");

    activate(fac);
    click("cmdEnableWriteFile");
    EXPECT_EQ(name()->text(), "Camp A"); // cleaned on leaving
    ASSERT_TRUE(unlocked());

    dialogs.fileNext(path("camps.txt"));
    click("cmdAdNewdFac");
    EXPECT_EQ(readFile(dir / "pfcamps.txt"), kHeader + recordOf("Camp A", "Camp", kPoint));
    EXPECT_FALSE(fs::exists(dir / "camps.txt"));
    const sw::FileRequest expected = sw::outputFileRequest(".txt", "Text Files(*.txt)|*.txt");
    EXPECT_EQ(dialogs.files.at(0), expected);
    // Ready for the next point of the same type.
    EXPECT_EQ(name()->text(), "");
    EXPECT_EQ(type()->currentText(), "Camp");
    for (const char* l : kCoordinateLabels) {
        EXPECT_EQ(label(l)->text(), "") << l;
    }
    EXPECT_EQ(QApplication::focusWidget(), name());
    EXPECT_TRUE(locked());
    EXPECT_TRUE(dialogs.messages.empty()) << ::testing::PrintToString(dialogs.messageTexts());
}

TEST_F(FacilitiesWindow, CreateReplacesAnExistingFileOnlyAfterYes) {
    enterPoint("Camp", "Camp A", kPoint);
    sw::test::writeFile(dir / "pfcamps.txt", "older\r\n");
    dialogs.fileNext(path("camps.txt")).answerNext(sw::Answer::No).fileNext(std::nullopt);
    click("cmdAdNewdFac");
    EXPECT_EQ(readFile(dir / "pfcamps.txt"), "older\r\n");
    EXPECT_EQ(dialogs.messages.at(0), sw::overwriteQuestion());
    EXPECT_TRUE(unlocked()); // nothing happened

    dialogs.fileNext(path("camps.txt")).answerNext(sw::Answer::Yes);
    click("cmdAdNewdFac");
    EXPECT_EQ(readFile(dir / "pfcamps.txt"), kHeader + recordOf("Camp A", "Camp", kPoint));
}

TEST_F(FacilitiesWindow, AppendAddsTheSameRecordEachTimeWithoutHeader) {
    enterPoint("Camp", "Camp A", kPoint);
    dialogs.fileNext(path("pfmissing.txt")).fileNext(path("pfmissing.txt"));
    click("cmdAppendFile");
    click("cmdAppendFile");
    const std::string record = recordOf("Camp A", "Camp", kPoint);
    EXPECT_EQ(readFile(dir / "pfmissing.txt"), record + record);
    EXPECT_EQ(dialogs.files.at(0), sw::outputFileRequest(".txt", "Text Files (pf*.txt)|pf*.txt"));
    // The second dialog starts from the file chosen in the first.
    EXPECT_EQ(dialogs.files.at(1).fileName, path("pfmissing.txt"));
    EXPECT_EQ(name()->text(), "Camp A");
    EXPECT_TRUE(unlocked());
}

TEST_F(FacilitiesWindow, ClearAfterUnlockKeepsTheButtonsAndWritesEmptiesAndZeros) {
    enterPoint("Camp", "Camp A", kPoint);
    click("cmdClear");
    EXPECT_TRUE(unlocked());
    EXPECT_EQ(type()->count(), 15);
    EXPECT_TRUE(child<QRadioButton>("optICS")->isChecked());
    dialogs.fileNext(path("pfcleared.txt"));
    click("cmdAppendFile");
    EXPECT_EQ(readFile(dir / "pfcleared.txt"), "\"\",\"\",0,0,0,0,\"\",\"\"\r\n");
}

TEST_F(FacilitiesWindow, AFailedWriteIsReportedAndKeepsThePoint) {
    enterPoint("Camp", "Camp A", kPoint);
    const std::string missing = (dir / "no such folder" / "camps.txt").string();
    struct Case {
        const char* button;
        std::string chosen;
    };
    for (const Case& c :
         {Case{"cmdAdNewdFac", missing}, Case{"cmdAppendFile", missing},
          Case{"cmdWritefShape", missing}, Case{"appendfShape", (dir / "pfnone.shp").string()},
          Case{"cmdfKML", missing}}) {
        dialogs.clear();
        fac->enablefWrite();
        dialogs.fileNext(c.chosen);
        click(c.button);
        ASSERT_EQ(dialogs.messages.size(), 1u) << c.button;
        EXPECT_EQ(dialogs.messages[0].icon, sw::Icon::Critical) << c.button;
        const std::string& text = dialogs.messages[0].text;
        EXPECT_TRUE(text.find("camps") != std::string::npos ||
                    text.find("pfnone") != std::string::npos)
            << c.button << ": " << text;
        EXPECT_EQ(name()->text(), "Camp A") << c.button;
        EXPECT_EQ(label("lblfDDLong")->text().toStdString(), kPoint.longitude) << c.button;
    }
}

TEST_F(FacilitiesWindow, ExitHidesClearsAndLocks) {
    enterPoint("Camp", "Camp A", kPoint);
    click("cmdfacDone");
    EXPECT_FALSE(fac->isVisible());
    EXPECT_EQ(registry.existing(q(sw::forms::kFacilities)), fac);
    EXPECT_EQ(name()->text(), "");
    EXPECT_EQ(type()->currentText(), "");
    EXPECT_EQ(type()->count(), 15); // the list stays
    for (const char* l : kCoordinateLabels) {
        EXPECT_EQ(label(l)->text(), "") << l;
        EXPECT_FALSE(label(l)->isEnabled()) << l;
        EXPECT_EQ(label(l)->palette().color(QPalette::Window), QColor(128, 128, 128)) << l;
    }
    EXPECT_TRUE(locked());
}

// Runs a program to the end; its exit code and standard output.
std::pair<int, std::string> run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000)) {
        return {-1, "did not finish: " + program.toStdString()};
    }
    return {process.exitCode(),
            (process.readAllStandardOutput() + process.readAllStandardError()).toStdString()};
}

// The shapefile as GDAL reads it.
QJsonObject readShapefile(const fs::path& shp) {
    const auto [code, output] =
        run(q("/usr/bin/python3"),
            {QString::fromStdString(
                 (sw::test::sourceDir() / "facilities/tests/read_shapefile.py").string()),
             QString::fromStdString(shp.string())});
    EXPECT_EQ(code, 0) << output;
    return QJsonDocument::fromJson(QByteArray::fromStdString(output)).object();
}

TEST_F(FacilitiesWindow, ShapefileWriteThenAppendAsGdalReadsThem) {
    enterPoint("Camp", "Camp A", kPoint);
    // A cancelled write still leaves the other shapefile button disabled.
    dialogs.fileNext(std::nullopt);
    click("cmdWritefShape");
    EXPECT_FALSE(button("appendfShape")->isEnabled());
    EXPECT_TRUE(button("cmdWritefShape")->isEnabled());
    EXPECT_TRUE(fs::is_empty(dir.path()));

    dialogs.fileNext(path("camps.shp"));
    click("cmdWritefShape");
    EXPECT_TRUE(dialogs.messages.empty()) << ::testing::PrintToString(dialogs.messageTexts());
    EXPECT_EQ(dialogs.files.at(1), sw::outputFileRequest(".shp", "Shape Files(*.shp)|*.shp"));
    for (const char* file : {"pfcamps.shp", "pfcamps.shx", "pfcamps.dbf", "pfcamps.prj"}) {
        EXPECT_TRUE(fs::exists(dir / file)) << file;
    }
    EXPECT_EQ(readFile(dir / "pfcamps.prj"), readFile(sw::programFolder() / "qv_albers.prj"));
    EXPECT_FALSE(button("appendfShape")->isEnabled());
    EXPECT_EQ(name()->text(), "Camp A"); // the fields stay

    click("cmdEnableWriteFile");
    ASSERT_TRUE(unlocked());
    dialogs.fileNext(path("pfcamps.shp"));
    click("appendfShape");
    EXPECT_TRUE(dialogs.messages.empty()) << ::testing::PrintToString(dialogs.messageTexts());
    // The window's one dialog starts from the file last chosen in it.
    EXPECT_EQ(dialogs.files.at(2),
              sw::outputFileRequest(".shp", "Shape Files (pf*.shp)|pf*.shp", path("camps.shp")));
    EXPECT_FALSE(button("cmdWritefShape")->isEnabled());
    EXPECT_TRUE(button("appendfShape")->isEnabled());

    const QJsonObject read = readShapefile(dir / "pfcamps.shp");
    EXPECT_EQ(read["geometry"].toString(), "Point");
    EXPECT_EQ(read["projection"].toString(), "Albers_Conic_Equal_Area");
    struct Column {
        const char* name;
        const char* type;
        int width; // 0: not checked
    };
    const Column columns[] = {{"Name", "String", 45}, {"Type", "String", 45},
                              {"Lat", "Real", 0},     {"Long", "Real", 0},
                              {"AlbersX", "Real", 0}, {"AlbersY", "Real", 0},
                              {"UTM", "String", 24},  {"USNG", "String", 20}};
    const QJsonArray fields = read["fields"].toArray();
    ASSERT_EQ(fields.size(), 8);
    for (int i = 0; i < 8; ++i) {
        const QJsonObject field = fields[i].toObject();
        EXPECT_EQ(field["name"].toString(), columns[i].name);
        EXPECT_EQ(field["type"].toString(), columns[i].type) << columns[i].name;
        if (columns[i].width != 0) {
            EXPECT_EQ(field["width"].toInt(), columns[i].width) << columns[i].name;
        }
    }
    const QJsonArray features = read["features"].toArray();
    ASSERT_EQ(features.size(), 2);
    for (const auto& feature : features) {
        const QJsonArray values = feature.toObject()["values"].toArray();
        EXPECT_EQ(values[0].toString(), "Camp A");
        EXPECT_EQ(values[1].toString(), "Camp");
        EXPECT_DOUBLE_EQ(values[2].toDouble(), 30.25);
        EXPECT_DOUBLE_EQ(values[3].toDouble(), -84.5); // shown as -084.5000
        EXPECT_DOUBLE_EQ(values[4].toDouble(), 351936.72);
        EXPECT_DOUBLE_EQ(values[5].toDouble(), 693727.66);
        EXPECT_EQ(values[6].toString().toStdString(), kPoint.utm);
        EXPECT_EQ(values[7].toString().toStdString(), kPoint.usng);
        EXPECT_DOUBLE_EQ(feature.toObject()["x"].toDouble(), 351936.72);
        EXPECT_DOUBLE_EQ(feature.toObject()["y"].toDouble(), 693727.66);
    }
}

TEST_F(FacilitiesWindow, KmlDocumentOfThePointValidAgainstTheSchema) {
    enterPoint("Camp", "Camp A", kPoint);
    dialogs.fileNext(path("camp.kml")).answerNext(sw::Answer::No);
    click("cmdfKML");
    EXPECT_EQ(dialogs.files.at(0),
              sw::outputFileRequest(".kml", "KML Files(*.kml)|*.kml", "pfCamp A"));
    const fs::path kml = dir / "camp.kml";
    const std::string document = readFile(kml);
    EXPECT_NE(document.find("<br>Camp A</br><br>Camp</br><br>UTM Coord: " + kPoint.utm +
                            "</br><br>National Grid Coord: " + kPoint.usng + "</br>"),
              std::string::npos)
        << document;
    EXPECT_NE(document.find("icons/campa.png"), std::string::npos);
    EXPECT_NE(document.find(kPoint.longitude + "," + kPoint.latitude), std::string::npos);
    EXPECT_NE(document.find("<range>5000</range>"), std::string::npos);
    const auto [code, output] =
        run(q("xmllint"),
            {q("--noout"), q("--schema"),
             QString::fromStdString((sw::test::sharedDir() / "kml-schema/ogckml22.xsd").string()),
             QString::fromStdString(kml.string())});
    EXPECT_EQ(code, 0) << output;
    EXPECT_EQ(name()->text(), "Camp A");
    EXPECT_TRUE(unlocked());

    // The second time to the same path asks first.
    dialogs.clear();
    dialogs.fileNext(path("camp.kml")).answerNext(sw::Answer::Yes).answerNext(sw::Answer::No);
    click("cmdfKML");
    EXPECT_EQ(dialogs.messages.at(0), sw::overwriteQuestion());
    EXPECT_TRUE(dialogs.allAnswersUsed());
}

// Saves pictures of the window for a person to look at (SW_SCREENSHOT=file.png): as it opens
// and with a point ready to write.
TEST_F(FacilitiesWindow, Screenshot) {
    const char* file = std::getenv("SW_SCREENSHOT");
    if (file == nullptr) {
        GTEST_SKIP() << "set SW_SCREENSHOT to a PNG path";
    }
    ASSERT_TRUE(fac->grab().save(QString::fromUtf8(file).replace(q(".png"), q("-start.png"))));
    clickInto(child<QRadioButton>("optICS"));
    type()->setCurrentIndex(type()->findText(q("Helibase")));
    name()->setText(q("Helibase North"));
    click("cmdfCoordCon");
    activate(fac);
    const std::string texts[] = {kPoint.latitude, kPoint.longitude, kPoint.albersX,
                                 kPoint.albersY,  kPoint.utm,       kPoint.usng};
    for (std::size_t i = 0; i < 6; ++i) {
        label(kCoordinateLabels[i])->setText(QString::fromStdString(texts[i]));
    }
    click("cmdEnableWriteFile");
    dialogs.fileNext(std::nullopt);
    click("cmdWritefShape");
    ASSERT_TRUE(fac->grab().save(QString::fromUtf8(file)));
}

} // namespace
