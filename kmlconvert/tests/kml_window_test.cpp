// The KML conversion window driven as a user drives it: real widgets, clicks and keys, the
// dialog double answering, a drawing converted into a shapefile.

#include "kmlconvert/kml_window.h"

#include "kmlconvert/tests/kml_test_data.h"
#include "testsupport/shapefile_reading.h"
#include "testsupport/test_paths.h"
#include "testsupport/window_test.h"
#include "ui/window_kinds.h"

#include <QApplication>
#include <QComboBox>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono;
using sw::test::q;

QStringList itemsOf(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) {
        items << box->itemText(i);
    }
    return items;
}

class KmlWindow : public sw::test::WindowTest {
protected:
    sw::KmlConversionWindow* kml = nullptr;

    void SetUp() override {
        kml = static_cast<sw::KmlConversionWindow*>(
            openWindow(sw::forms::kKmlConvert, [this](sw::OpenConverter) {
                return new sw::KmlConversionWindow(
                    dialogs, sw::Clock{[] { return year{2026} / June / 11; }, {}});
            }));
        ASSERT_NE(kml, nullptr);
    }

    QLineEdit* field(const char* n) const { return edit(n); }
    QRadioButton* option(const char* n) const { return child<QRadioButton>(n); }
    QString caption(const char* n) const { return text(n); }
    void pick(const char* n) { QTest::mouseClick(option(n), Qt::LeftButton, {}, QPoint(5, 5)); }
    bool convertEnabled() const { return button("cmdFireTab")->isEnabled(); }

    static void type(QWidget* into, const char* typed) {
        clickInto(into);
        QTest::keyClicks(into, q(typed));
    }
    // Every required attribute filled, as a user types them.
    void fillIn() {
        type(field("txtF_Name"), "Ridge Fire");
        type(field("txtInc_num"), "FL-123");
        type(field("txtArea"), "1234.5");
        type(box("cmbfFuel"), "Grass");
        type(box("cmbfCause"), "lightning");
        child<QSlider>("sldperCon")->setValue(45);
        box("cmbFtype")->setCurrentIndex(0);
        field("txtF_Name")->setFocus(); // leaves the cause box
    }
};

TEST_F(KmlWindow, OpensWithWildfireChosenTodayAndLocked) {
    EXPECT_EQ(window->windowTitle(), "Wildfire Management");
    EXPECT_EQ(caption("lblKmlConv"), "KML Conversion");
    EXPECT_EQ(caption("lblProcedures").toStdString(), sw::kml::procedureText());
    EXPECT_TRUE(caption("lblProcedures").contains("'0' when necessary. \r\n2. Click"));
    EXPECT_TRUE(option("optFire")->isChecked());
    EXPECT_EQ(box("cmbFtype")->count(), 16);
    EXPECT_EQ(field("meFireEnter")->displayText(), "06-11-26");
    EXPECT_EQ(field("meFireSTart")->displayText(), "06-11-26");
    EXPECT_EQ(field("txtPerCon")->text(), "0.00%");
    EXPECT_FALSE(convertEnabled());
    EXPECT_EQ(box("cmbfFuel")->count(), 9);

    EXPECT_EQ(tabOrder("optFire", 24),
              "optFire optNFire optFacs cmbFtype txtF_Name txtInc_num optRepI optRepU optFin "
              "optNA meFireEnter meFireSTart txtArea cmbfFuel cmbfCause sldperCon txtPerCon "
              "OptfSigYes OptfSigNo OptfSigNA CmdEnable cmdFireTab cmdClear cmdQuit");
}

// Every control is read by its caption; the drawn area's label, empty until a polygon is
// converted, by what it is for rather than by its group's title.
TEST_F(KmlWindow, EveryControlIsNamedForAScreenReader) {
    for (const char* category : {"optFire", "optNFire", "optFacs"}) {
        pick(category);
        EXPECT_EQ(unnamedControls(), QStringList()) << category;
    }
    EXPECT_EQ(field("txtF_Name")->accessibleName(), ""); // from its caption, as it changes
    EXPECT_EQ(label("lblF_namey")->buddy(), field("txtF_Name"));
    EXPECT_EQ(label("lblDrawnArea")->accessibleName(), "Drawn perimeter area");
    EXPECT_EQ(child<QWidget>("frmfSig")->accessibleName(), "Significant:");
}

// Each category sets captions, lists and presets; the last one chosen decides.
TEST_F(KmlWindow, CategoriesAndTheirEffects) {
    struct Case {
        const char* option;
        const char* nameCaption;
        const char* timeCaption;
        int types;
        const char* incident;
        const char* fuelAndCause;
        bool sliderEnabled;
        std::string report;
        std::string significance;
    };
    const Case cases[] = {
        {"optFacs", "Facility Name", "Facility Date, mm/dd/yy:", 14, "N/A", "N/A", false, "N/A",
         "N/A"},
        {"optNFire", "Incident Name", "Incident Date, mm/dd/yy:", 11, "", "N/A", false, "N/A",
         "N/A"},
        // After Facility the report stays "N/A" until Initial, Update or Final is clicked.
        {"optFire", "Fire Name", "Fire Start Date, mm/dd/yy:", 16, "", "", true, "N/A", "N/A"},
    };
    child<QSlider>("sldperCon")->setValue(30);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.option);
        pick(c.option);
        EXPECT_EQ(caption("lblF_namey"), c.nameCaption);
        EXPECT_EQ(caption("lblTime"), c.timeCaption);
        EXPECT_EQ(box("cmbFtype")->count(), c.types);
        EXPECT_EQ(field("txtInc_num")->text(), c.incident);
        EXPECT_EQ(box("cmbfFuel")->currentText(), c.fuelAndCause);
        EXPECT_EQ(box("cmbfCause")->currentText(), c.fuelAndCause);
        EXPECT_EQ(child<QSlider>("sldperCon")->isEnabled(), c.sliderEnabled);
        EXPECT_EQ(kml->attributes().fire.report, c.report);
        EXPECT_EQ(kml->attributes().fire.significant, c.significance);
    }
    EXPECT_EQ(child<QSlider>("sldperCon")->value(), 0);
    EXPECT_EQ(itemsOf(box("cmbFtype")).first(), "Fire Perimeter");
    EXPECT_EQ(itemsOf(box("cmbfFuel")).size(), 9);
    EXPECT_FALSE(option("optNA")->isEnabled());
    EXPECT_FALSE(option("optNA")->isChecked());
    EXPECT_TRUE(option("optRepU")->isEnabled());
    pick("optRepU");
    EXPECT_EQ(kml->attributes().fire.report, "Update");

    // A facility needs only name, entry date, area and percent.
    pick("optFacs");
    EXPECT_TRUE(option("optNA")->isChecked());
    EXPECT_FALSE(option("optRepU")->isEnabled());
    type(field("txtF_Name"), "Tower 4");
    type(field("txtArea"), "2");
    type(field("txtPerCon"), "0");
    field("txtF_Name")->setFocus();
    click("CmdEnable");
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.messageTexts().front();
    EXPECT_TRUE(convertEnabled());
}

// The check asks for what is missing in order, and sends the user there.
TEST_F(KmlWindow, CompletenessCheckInOrder) {
    fillIn();
    struct Case {
        const char* field;
        const char* message;
    };
    const Case cases[] = {
        {"txtF_Name", "Enter Fire Name"},
        {"txtInc_num", "Enter Incident Number"},
        {"meFireEnter", "Please Enter Data Entry Date"},
        {"cmbfFuel", "Please Select Fuel Type"},
        {"cmbfCause", "Please Select Fire Cause Type"},
        {"txtArea", "Enter Area in acres"},
        {"txtPerCon", "Please Use the Slider Control to Enter Percent Contained"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        dialogs.clear();
        click("CmdEnable");
        ASSERT_TRUE(convertEnabled());
        QWidget* widget = window->findChild<QWidget*>(q(c.field));
        QString kept;
        if (auto* line = qobject_cast<QLineEdit*>(widget)) {
            kept = line->text();
            line->clear();
        } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            kept = combo->currentText();
            combo->setEditText({});
        }
        click("CmdEnable");
        EXPECT_EQ(dialogs.messageTexts(), std::vector<std::string>{c.message});
        EXPECT_FALSE(convertEnabled());
        EXPECT_TRUE(widget->hasFocus() || widget->isAncestorOf(QApplication::focusWidget()));
        if (auto* line = qobject_cast<QLineEdit*>(widget)) {
            line->setText(kept);
        } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            combo->setEditText(kept);
        }
    }
}

TEST_F(KmlWindow, ClearKeepsDatesCategoryAndOptions) {
    pick("optNFire");
    fillIn();
    pick("optRepI");
    click("cmdClear");
    for (const char* name : {"txtF_Name", "txtInc_num", "txtPerCon"}) {
        EXPECT_EQ(field(name)->text(), "") << name;
    }
    for (const char* name : {"cmbfFuel", "cmbfCause", "cmbFtype"}) {
        EXPECT_EQ(box(name)->currentText(), "") << name;
    }
    EXPECT_EQ(field("txtArea")->text(), "0");
    EXPECT_EQ(field("meFireEnter")->displayText(), "06-11-26");
    EXPECT_TRUE(option("optNFire")->isChecked());
    EXPECT_EQ(kml->attributes().fire.report, "Initial");
    EXPECT_EQ(kml->attributes().fire.significant, "N/A");
    EXPECT_EQ(box("cmbFtype")->count(), 11);
}

// A facility's "N/A" presets are the program's own values: leaving their fields and the check
// used to clean them into "N A" for incident, fuel and cause, while report and significance
// kept "N/A".
TEST_F(KmlWindow, PresetsStayAsTheyAreThroughLeavingAndTheCheck) {
    for (const char* category : {"optFacs", "optNFire"}) {
        SCOPED_TRACE(category);
        const bool facility = std::string(category) == "optFacs";
        pick(category);
        type(field("txtF_Name"), "Tower 4");
        if (!facility) {
            type(field("txtInc_num"), "FL-9"); // only a facility has none
        }
        for (QWidget* preset :
             {static_cast<QWidget*>(field("txtInc_num")), static_cast<QWidget*>(box("cmbfFuel")),
              static_cast<QWidget*>(box("cmbfCause"))}) {
            clickInto(preset);
            QTest::keyClick(preset, Qt::Key_Tab);
        }
        type(field("txtArea"), "2");
        field("txtF_Name")->setFocus();
        click("CmdEnable");
        EXPECT_TRUE(dialogs.messages.empty()) << ::testing::PrintToString(dialogs.messageTexts());
        EXPECT_TRUE(convertEnabled());
        const sw::FireRecord fire = kml->attributes().fire;
        EXPECT_EQ(fire.incident, facility ? "N/A" : "FL-9");
        // After Facility the report stays "N/A" until another report option is clicked.
        EXPECT_EQ(fire.fuel + " " + fire.cause + " " + fire.report + " " + fire.significant,
                  "N/A N/A N/A N/A");
    }
    // A text typed around it is cleaned as any name.
    box("cmbfFuel")->setEditText(q("N/A grass"));
    click("CmdEnable");
    EXPECT_EQ(kml->attributes().fire.fuel, "N A grass");
}

// What Clear empties was never checked: the conversion locks until the check passes again, so
// a drawing cannot be converted with empty attributes.
TEST_F(KmlWindow, ClearLocksTheConversion) {
    fillIn();
    click("CmdEnable");
    ASSERT_TRUE(convertEnabled());
    click("cmdClear");
    EXPECT_FALSE(convertEnabled());
    EXPECT_EQ(button("cmdFireTab")->palette().color(QPalette::Button), QColor(224, 224, 224));
}

TEST_F(KmlWindow, ExitUnloadsTheWindow) {
    const QPointer<QWidget> shown = window;
    type(field("txtF_Name"), "Ridge Fire");
    click("cmdQuit");
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(shown.isNull());
    EXPECT_EQ(registry.existing(q(sw::forms::kKmlConvert)), nullptr);
}

// The whole road: attributes, unlock, convert, and the drawn area beside the typed one.
TEST_F(KmlWindow, ConvertsADrawingIntoAShapefile) {
    const fs::path drawing = dir / "Ridge.kml";
    fs::copy_file(sw::test::kmlTestFile("polygon_ge.kml"), drawing);
    fillIn();
    click("CmdEnable");
    ASSERT_TRUE(convertEnabled()) << ::testing::PrintToString(dialogs.messageTexts());
    // Where every control stands before the drawn area is shown beside the area field.
    const auto geometries = [&] {
        QApplication::processEvents();
        std::vector<std::pair<QString, QRect>> all;
        for (const QWidget* widget : window->findChildren<QWidget*>()) {
            if (widget->isVisible() && !widget->objectName().isEmpty()) {
                all.emplace_back(widget->objectName(), widget->geometry());
            }
        }
        return all;
    };
    const auto before = geometries();
    dialogs.clear();
    dialogs.fileNext(drawing.string()).answerNext(sw::Answer::No).answerNext(sw::Answer::No);
    click("cmdFireTab");
    EXPECT_EQ(dialogs.messageTexts().back(), "KML Converted to Polygon Shapefile");
    EXPECT_EQ(sw::test::readFile(dir / "pwattswRidge.csv"),
              "1,\"Ridge Fire\",\"FL-123\",\"\",\"06-11-26\",\"06-11-26\",\"1,234.50\","
              "\"Grass\",\"lightning\",\"Fire Perimeter\",\"45.00%\",\"\"\r\n");
    EXPECT_TRUE(fs::exists(dir / "swRidge.shp"));
    EXPECT_EQ(caption("lblDrawnArea"), "Drawn perimeter: 248.5 acres");
    EXPECT_EQ(label("lblDrawnArea")->accessibleName(), caption("lblDrawnArea"));
    // Nothing moves or shrinks when the label shows: a squeezed window cuts its options in half.
    const auto after = geometries();
    for (const auto& [name, geometry] : before) {
        const auto same = std::find_if(after.begin(), after.end(),
                                       [&](const auto& other) { return other.first == name; });
        ASSERT_NE(same, after.end()) << name.toStdString();
        if (name != "lblDrawnArea") {
            EXPECT_EQ(same->second, geometry) << name.toStdString();
        }
    }
    EXPECT_EQ(field("txtArea")->text(), "1,234.50"); // the user's own value stays
}

// A fire's edge walked with a handheld GPS, clockwise, in one track segment: the track becomes
// the perimeter polygon, its points in the order walked, closed back to the first.
TEST_F(KmlWindow, AWalkedGpsTrackBecomesThePerimeterPolygon) {
    const fs::path walk = dir / "Ridge Walk.gpx";
    fs::copy_file(sw::test::sourceDir() / "kmlconvert" / "tests" / "gpx" / "walked_loop.gpx", walk);
    fillIn();
    click("CmdEnable");
    ASSERT_TRUE(convertEnabled()) << ::testing::PrintToString(dialogs.messageTexts());
    dialogs.clear();
    // Not points; the open track is offered as a line first: build the polygon instead.
    dialogs.fileNext(walk.string()).answerNext(sw::Answer::No).answerNext(sw::Answer::Yes);
    click("cmdFireTab");
    EXPECT_EQ(dialogs.messageTexts(),
              (std::vector<std::string>{"Build all Locations as Points?",
                                        "Initial Shape Type is Line - Build as Polygon Instead?",
                                        "KML Converted to Polygon Shapefile"}));
    EXPECT_TRUE(fs::exists(dir / "swRidgeWalk.gpx"));
    const auto back = sw::test::readShapefile(dir / "swRidgeWalk.shp");
    ASSERT_EQ(sw::test::problemsOf(back), "");
    const std::vector<std::pair<double, double>> walked = {
        {-82.4103, 29.6012}, {-82.4090, 29.6015}, {-82.4078, 29.6009}, {-82.4080, 29.5998},
        {-82.4095, 29.5994}, {-82.4106, 29.6001}, {-82.4103, 29.6012}};
    const auto parts = back.raw.value("records")[0]["parts"].toArray();
    ASSERT_EQ(parts.size(), 1);
    const auto ring = parts[0].toArray();
    ASSERT_EQ(ring.size(), static_cast<qsizetype>(walked.size()));
    for (qsizetype i = 0; i < ring.size(); ++i) {
        EXPECT_EQ(ring[i][0].toDouble(), walked[static_cast<std::size_t>(i)].first) << i;
        EXPECT_EQ(ring[i][1].toDouble(), walked[static_cast<std::size_t>(i)].second) << i;
    }
    EXPECT_NE(caption("lblDrawnArea"), "");
}

} // namespace
