// The Facility Addresses window driven as a user drives it: real widgets, keys and clicks, the
// dialog double answering. Lists written are read back byte for byte and through GDAL.

#include "addresses/address_window.h"

#include "addresses/zip_lookup.h"
#include "services/base/program_folder.h"
#include "services/kml/kml_writer.h"
#include "testsupport/kml_checks.h"
#include "testsupport/scripted_dialogs.h"
#include "testsupport/test_paths.h"
#include "testsupport/window_test.h"
#include "ui/window_kinds.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;
using sw::test::readFile;

const QColor kGrey{224, 224, 224};
const QColor kYellow{255, 255, 192};
const QColor kPink{255, 192, 255};

using sw::test::q;

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++n;
    }
    return n;
}

// The icon style the installed fragment gives for an icon file.
std::string installedStyle(const std::string& iconFile) {
    return sw::iconStyleFragment(readFile(sw::iconStyleFile()), sw::iconReference(iconFile));
}

class AddressWindow : public sw::test::WindowTest {
protected:
    sw::AddressesWindow* addresses = nullptr;

    void SetUp() override { open(); }

    // A new window, as the program makes one (the one before, if any, goes).
    void open() {
        delete registry.existing(q(sw::forms::kAddresses));
        addresses = qobject_cast<sw::AddressesWindow*>(
            openWindow(sw::forms::kAddresses,
                       [this](sw::OpenConverter) { return new sw::AddressesWindow(dialogs); }));
        ASSERT_NE(addresses, nullptr);
    }

    QLineEdit* field(const char* name) const { return child<QLineEdit>(name); }
    QComboBox* type() const { return child<QComboBox>("cmbPAType"); }
    QComboBox* state() const { return child<QComboBox>("cmbPaState"); }
    QLineEdit* zip() const { return field("meZip"); }
    QPlainTextEdit* text() const { return child<QPlainTextEdit>("txtAdAdd"); }
    // A check box or option button takes a click on its box, not on the empty space beside it.
    void clickBox(QWidget* widget) {
        QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(8, widget->height() / 2));
    }

    static QColor background(QWidget* widget) {
        return widget->palette().color(QPalette::Active, QPalette::Base);
    }

    // Types a facility into the fields, as a user would, field after field.
    void enter(const sw::AddressEntry& facility) {
        if (!type()->isEnabled()) {
            clickBox(child<QRadioButton>("optTarnAdd"));
        }
        const std::pair<QWidget*, const std::string*> fields[] = {
            {field("txtPaname"), &facility.name},
            {type(), &facility.type},
            {field("txtPastreet"), &facility.street},
            {field("txtPacity"), &facility.city},
            {zip(), &facility.zip},
        };
        for (const auto& [widget, value] : fields) {
            clickInto(widget);
            if (auto* line = qobject_cast<QLineEdit*>(widget)) {
                line->clear();
            } else {
                static_cast<QComboBox*>(widget)->clearEditText();
            }
            QTest::keyClicks(widget, q(*value));
        }
        state()->setEditText(q(facility.state));
    }
    // Previews a facility with no link.
    void preview(const sw::AddressEntry& facility) {
        enter(facility);
        dialogs.answerNext(sw::Answer::No);
        click("cmdEnableKML");
        EXPECT_TRUE(addresses->documentText().ends_with("</Placemark>"))
            << ::testing::PrintToString(dialogs.log);
    }
};

const sw::AddressEntry kStation12{"Station 12", "Tower", "100 Main St", "Ocean", "QV", "12345"};
const sw::AddressEntry kCamp{"Camp 1", "Camp", "2 Oak Rd", "Allston", "QV", "02134"};

TEST_F(AddressWindow, StartsWithTheStartListAndEverythingLocked) {
    EXPECT_EQ(addresses->windowTitle(), "Google Earth Address Matching");
    EXPECT_EQ(child<QLabel>("lblPAFac")->text(), "Facility Addresses");
    EXPECT_FALSE(type()->isEnabled());
    EXPECT_FALSE(child<QLabel>("lblPAType")->isEnabled());
    EXPECT_EQ(type()->count(), 11);
    EXPECT_EQ(type()->itemText(10), "DOT Fuel Station");
    EXPECT_EQ(state()->currentText(), "QV");
    EXPECT_GE(state()->count(), 52);
    for (const char* name : {"cmdZipSearch", "cmdCreateKML"}) {
        EXPECT_FALSE(button(name)->isEnabled()) << name;
        EXPECT_EQ(button(name)->palette().color(QPalette::Button), kGrey) << name;
    }
    EXPECT_TRUE(text()->isReadOnly());
    EXPECT_FALSE(child<QRadioButton>("optTarnAdd")->isChecked());
    EXPECT_FALSE(child<QRadioButton>("optICSAdd")->isChecked());
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(AddressWindow, CategoryLoadsItsListAndKeepsTheTypedType) {
    struct Case {
        const char* option;
        int count;
        const char* first;
        const char* last;
    };
    const Case cases[] = {{"optTarnAdd", 12, "Accident", "Other"},
                          {"optICSAdd", 15, "Aerial Hazard", "Other"}};
    for (const Case& c : cases) {
        type()->setEditText("Tower");
        clickBox(child<QRadioButton>(c.option));
        EXPECT_TRUE(type()->isEnabled());
        EXPECT_TRUE(child<QLabel>("lblPAType")->isEnabled());
        EXPECT_EQ(type()->count(), c.count) << c.option;
        EXPECT_EQ(type()->itemText(0), c.first);
        EXPECT_EQ(type()->itemText(c.count - 1), c.last);
        EXPECT_EQ(type()->currentText(), "Tower");
    }
}

// Clear Values loads the start list and leaves the option chosen: choosing that option again
// brings its list back.
TEST_F(AddressWindow, ChoosingTheChosenCategoryAgainReloadsItsList) {
    clickBox(child<QRadioButton>("optICSAdd"));
    click("cmdClear");
    EXPECT_EQ(type()->itemText(0), "Area Command");
    clickBox(child<QRadioButton>("optICSAdd"));
    EXPECT_EQ(type()->itemText(0), "Aerial Hazard");
}

// A type typed in part is not completed, and no suggestion pop-up opens to swallow the click
// meant for the next field.
TEST_F(AddressWindow, TypingATypeDoesNotCompleteIt) {
    clickBox(child<QRadioButton>("optTarnAdd"));
    clickInto(type());
    QTest::keyClicks(type(), "Tow");
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    clickInto(field("txtPastreet"));
    QTest::keyClicks(QApplication::focusWidget(), "9 Elm");
    EXPECT_EQ(type()->currentText(), "Tow");
    EXPECT_EQ(field("txtPastreet")->text(), "9 Elm");
}

TEST_F(AddressWindow, ZipKeysEnableOrGreyTheSearch) {
    clickInto(zip());
    struct Step {
        const char* keys;
        bool searchEnabled;
        const char* shown;
        int beeps;
    };
    const Step steps[] = {
        {"12345", true, "12345", 0},
        {"a", false, "12345", 1}, // even with five digits there
        {"6", true, "123456", 1}, // another digit enables it again
        {"-", false, "123456", 2},
    };
    for (const Step& s : steps) {
        QTest::keyClicks(zip(), s.keys);
        EXPECT_EQ(button("cmdZipSearch")->isEnabled(), s.searchEnabled) << s.keys;
        EXPECT_EQ(button("cmdZipSearch")->palette().color(QPalette::Button),
                  s.searchEnabled ? kYellow : kGrey)
            << s.keys;
        EXPECT_EQ(zip()->text(), s.shown);
        EXPECT_EQ(dialogs.beeps, s.beeps);
    }
    QTest::keyClick(zip(), Qt::Key_Backspace);
    EXPECT_TRUE(button("cmdZipSearch")->isEnabled());
    EXPECT_EQ(zip()->text(), "12345");
}

TEST_F(AddressWindow, LeavingAShortZipWarnsAndMovesOn) {
    const std::pair<const char*, int> cases[] = {{"123", 1}, {"12345", 0}, {"", 1}};
    for (const auto& [typed, warnings] : cases) {
        dialogs.clear();
        clickInto(zip());
        zip()->setText(typed);
        clickInto(field("txtPaname"));
        EXPECT_EQ(dialogs.messageTexts(),
                  std::vector<std::string>(warnings, sw::kInvalidZipMessage))
            << typed;
        EXPECT_EQ(dialogs.beeps, warnings);
        EXPECT_EQ(zip()->text(), typed);
        EXPECT_TRUE(field("txtPaname")->hasFocus());
    }
    EXPECT_TRUE(button("cmdZipSearch")->isEnabled());
}

// A click on a button that leaves a short ZIP brings up the message box, which takes the
// click's release: the button must not stay down, and nothing is searched.
TEST_F(AddressWindow, AButtonClickedOffAShortZipIsLetUp) {
    clickInto(zip());
    QTest::keyClicks(zip(), "2134");
    QTest::mousePress(button("cmdZipSearch"), Qt::LeftButton);
    EXPECT_EQ(dialogs.messageTexts(), std::vector<std::string>{sw::kInvalidZipMessage});
    QCoreApplication::processEvents();
    EXPECT_FALSE(button("cmdZipSearch")->isDown());
    QTest::mouseRelease(button("cmdZipSearch"), Qt::LeftButton);
    EXPECT_EQ(field("txtPacity")->text(), "");
}

TEST_F(AddressWindow, ZipSearchFillsTheCity) {
    struct Case {
        const char* zip;
        const char* cityBefore;
        const char* cityAfter;
        const char* stateAfter;
        const char* message; // empty: none
    };
    const Case cases[] = {
        {"02134", "", "Allston", "QV", ""},
        {"021341234", "x", "Allston", "QV", ""},
        {"96860", "", "Jbphh", "QV", ""}, // two rows for the code: the first one
        {"99999", "Somewhere", "", "FL", "No Records Found."},
        // A paste can bring anything: refused before the lookup, the city left alone.
        {"32301' OR '1'='1", "Kept", "Kept", "FL", "You must enter a valid zip code"},
    };
    for (const Case& c : cases) {
        dialogs.clear();
        field("txtPacity")->setText(c.cityBefore);
        state()->setEditText("FL");
        zip()->setText(c.zip);
        button("cmdZipSearch")->setEnabled(true);
        click("cmdZipSearch");
        EXPECT_EQ(field("txtPacity")->text(), c.cityAfter) << c.zip;
        EXPECT_EQ(state()->currentText(), c.stateAfter) << c.zip;
        EXPECT_EQ(dialogs.messageTexts(),
                  *c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{})
            << c.zip;
    }
}

TEST_F(AddressWindow, PreviewChecksEachFieldInOrder) {
    struct Case {
        sw::AddressEntry entry;
        const char* message;
        const char* focus;
    };
    const Case cases[] = {
        {{"", "Tower", "s", "c", "QV", "12345"}, "Enter Facility Name", "txtPaname"},
        {{"n", "", "s", "c", "QV", "12345"}, "Select Facility Type", "cmbPAType"},
        {{"n", "Tower", "", "c", "QV", "12345"},
         "Please Enter Street Name and Number",
         "txtPastreet"},
        {{"n", "Tower", "s", "", "QV", "12345"}, "Please Enter the City or Town", "txtPacity"},
        {{"n", "Tower", "s", "c", "", "12345"}, "Please Select the State", "cmbPaState"},
        {{"n", "Tower", "s", "c", "QV", ""}, "Please Enter the Zip Code", "meZip"},
    };
    preview(kStation12);
    ASSERT_TRUE(button("cmdCreateKML")->isEnabled());
    const std::string before = addresses->documentText();
    for (const Case& c : cases) {
        enter(c.entry);
        clickInto(field("txtPaname")); // leaves the ZIP field with its own check
        dialogs.clear();
        click("cmdEnableKML");
        EXPECT_EQ(dialogs.messageTexts(), std::vector<std::string>{c.message});
        EXPECT_EQ(QApplication::focusWidget()->objectName(), c.focus) << c.message;
        EXPECT_FALSE(button("cmdCreateKML")->isEnabled()) << c.message;
        EXPECT_EQ(addresses->documentText(), before);
    }
}

TEST_F(AddressWindow, PlacemarkIconsByExactType) {
    const std::pair<const char*, const char*> cases[] = {
        {"Tower", "towera.png"},
        {"tower", "other.png"},
        {"DOT Fuel Station", "other.png"},
    };
    for (const auto& [typed, icon] : cases) {
        click("cmdClear");
        sw::AddressEntry facility = kStation12;
        facility.type = typed;
        preview(facility);
        const std::string shown = addresses->documentText();
        EXPECT_NE(shown.find("<name>" + facility.type + "</name>"), std::string::npos);
        EXPECT_NE(shown.find("icons//" + std::string(icon) + "<"), std::string::npos)
            << typed << "\n"
            << shown;
    }
}

TEST_F(AddressWindow, TwoPreviewsThenCreateWriteTheWholeListAndReset) {
    preview(kStation12);
    preview(kCamp);
    // Only one head, blocks in order, no end yet.
    const std::string shown = addresses->documentText();
    EXPECT_EQ(count(shown, "<kml"), 1u);
    EXPECT_EQ(count(shown, "</kml>"), 0u);
    EXPECT_LT(shown.find("Station 12"), shown.find("Camp 1"));

    field("txtPaname")->setText("Station 12");
    dialogs.fileNext(path("paStation 12.kml"));
    click("cmdCreateKML");

    ASSERT_EQ(dialogs.files.size(), 1u);
    const sw::FileRequest& request = dialogs.files[0];
    EXPECT_EQ(request.kind, sw::FileRequest::Kind::Save);
    EXPECT_EQ(request.fileName, "paStation 12");
    EXPECT_EQ(request.defaultExtension, ".kml");
    EXPECT_EQ(request.filter, "KML Files(*.kml)|*.kml");
    EXPECT_EQ(request.filterIndex, 2);
    EXPECT_TRUE(request.hideReadOnly);

    const std::string expected =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
        "<kml xmlns=\"http://earth.google.com/kml/2.0\">\r\n"
        "<Document>\r\n<name>Address List</name>\r\n<Folder>\r\n<name>Locations</name>\r\n"
        "<open>1</open>\r\n"
        "<Placemark>\r\n<name>Tower</name>\r\n<address>100 Main St,Ocean,QV 12345</address>\r\n"
        "<description>Station 12</description>\r\n" +
        installedStyle("towera.png") +
        "\r\n</Placemark>\r\n"
        "<Placemark>\r\n<name>Camp</name>\r\n<address>2 Oak Rd,Allston,QV 02134</address>\r\n"
        "<description>Camp 1</description>\r\n" +
        installedStyle("campa.png") +
        "\r\n</Placemark>\r\n"
        "</Folder>\r\n</Document>\r\n</kml>\r\n";
    EXPECT_EQ(readFile(path("paStation 12.kml")), expected);

    // GDAL's reader of placemarks without coordinates finds both, with their texts.
    const std::string features = sw::test::gdalFeatures(path("paStation 12.kml"), "LIBKML");
    EXPECT_EQ(count(features, "OGRFeature("), 2u) << features;
    EXPECT_NE(features.find("description (String) = Camp 1"), std::string::npos) << features;

    // Written: the window starts a new list.
    EXPECT_EQ(addresses->documentText(), "");
    EXPECT_FALSE(button("cmdCreateKML")->isEnabled());
    EXPECT_FALSE(button("cmdZipSearch")->isEnabled());
    EXPECT_EQ(field("txtPaname")->text(), "");
    EXPECT_EQ(state()->currentText(), "QV");
    EXPECT_EQ(type()->count(), 11);
    EXPECT_TRUE(dialogs.messages.size() == 2) << ::testing::PrintToString(dialogs.messageTexts());
}

// Cancelling the file dialog, or a write that fails, must not cost the user the list: it stays
// as it was, without closing lines, ready for more placemarks or another try.
TEST_F(AddressWindow, CancelOrFailedWriteKeepsTheList) {
    preview(kStation12);
    const std::string before = addresses->documentText();
    fs::create_directory(dir / "locked");
    ::chmod((dir / "locked").c_str(), 0500);
    const bool rootIgnoresModes = ::access((dir / "locked").c_str(), W_OK) == 0;
    struct Case {
        const char* what;
        std::optional<std::string> chosen;
        bool reported;
    };
    const Case cases[] = {
        {"cancelled", std::nullopt, false},
        {"no such folder", path("gone/list.kml"), true},
        {"folder not writable", path("locked/list.kml"), true},
    };
    for (const Case& c : cases) {
        if (rootIgnoresModes && std::string(c.what) == "folder not writable") {
            continue;
        }
        dialogs.clear();
        dialogs.fileNext(c.chosen);
        click("cmdCreateKML");
        EXPECT_EQ(addresses->documentText(), before) << c.what;
        EXPECT_TRUE(button("cmdCreateKML")->isEnabled()) << c.what;
        ASSERT_EQ(dialogs.messages.size(), c.reported ? 1u : 0u) << c.what;
        if (c.reported) {
            EXPECT_NE(dialogs.messages[0].text.find(*c.chosen), std::string::npos)
                << dialogs.messages[0].text;
        }
    }
    ::chmod((dir / "locked").c_str(), 0700);

    // The kept list goes on and is written once, whole.
    preview(kCamp);
    dialogs.fileNext(path("list.kml"));
    click("cmdCreateKML");
    const std::string written = readFile(path("list.kml"));
    EXPECT_EQ(count(written, "<Placemark>"), 2u);
    EXPECT_EQ(count(written, "</kml>"), 1u);
    EXPECT_EQ(addresses->documentText(), "");
}

TEST_F(AddressWindow, ExistingFileIsReplacedOnlyAfterTheQuestion) {
    sw::test::writeFile(dir / "old.kml", "keep me");
    preview(kStation12);
    dialogs.fileNext(path("old.kml")).answerNext(sw::Answer::No).fileNext(path("new.kml"));
    click("cmdCreateKML");
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1].text, "File Already Exists  - Overwrite?");
    EXPECT_EQ(dialogs.messages[1].title, "File Exists");
    EXPECT_EQ(readFile(dir / "old.kml"), "keep me");
    EXPECT_EQ(count(readFile(dir / "new.kml"), "<Placemark>"), 1u);
}

TEST_F(AddressWindow, HandEditsStayAndLaterBlocksFollowThem) {
    preview(kStation12);
    auto* edit = child<QCheckBox>("chkKMLEd");
    clickBox(edit);
    EXPECT_FALSE(text()->isReadOnly());
    EXPECT_EQ(background(text()), kPink);
    EXPECT_EQ(edit->text(), "Uncheck to Lock");

    clickInto(text());
    QTest::keyClick(text(), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(text(), Qt::Key_Return);
    QTest::keyClicks(text(), "<!-- checked");
    text()->insertPlainText(QString::fromUtf8("\xC2\xA0"
                                              "by J -->")); // pasted
    const std::string edited = addresses->documentText();
    ASSERT_TRUE(edited.ends_with("</Placemark>\n<!-- checked\xC2\xA0"
                                 "by J -->"))
        << edited;

    clickBox(edit);
    EXPECT_TRUE(text()->isReadOnly());
    EXPECT_EQ(background(text()), kYellow);
    EXPECT_FALSE(text()->font().italic());
    EXPECT_EQ(edit->text(), "Edit KML Data");

    preview(kCamp);
    const std::string after = addresses->documentText();
    EXPECT_TRUE(after.starts_with(edited)) << after;
    EXPECT_TRUE(after.ends_with("</Placemark>")) << after;
    EXPECT_EQ(count(after, "<kml"), 1u);
}

TEST_F(AddressWindow, ABrokenListIsWrittenOnlyWhenTheUserSaysSo) {
    preview(kStation12);
    clickBox(child<QCheckBox>("chkKMLEd"));
    clickInto(text());
    QTest::keyClick(text(), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(text(), Qt::Key_Return);
    QTest::keyClicks(text(), "<oops>");
    const std::string broken = addresses->documentText();

    dialogs.answerNext(sw::Answer::No);
    click("cmdCreateKML");
    ASSERT_EQ(dialogs.messages.size(), 2u);
    const sw::MessageRequest& question = dialogs.messages[1];
    EXPECT_NE(question.text.find("\nline 15, column 9: "), std::string::npos) << question.text;
    EXPECT_EQ(question.buttons, sw::Buttons::YesNo);
    EXPECT_EQ(question.defaultButton, sw::Answer::No);
    EXPECT_TRUE(dialogs.files.empty());
    EXPECT_EQ(addresses->documentText(), broken);

    dialogs.answerNext(sw::Answer::Yes).fileNext(path("broken.kml"));
    click("cmdCreateKML");
    EXPECT_TRUE(readFile(dir / "broken.kml")
                    .ends_with("<oops>\r\n</Folder>\r\n</Document>\r\n"
                               "</kml>\r\n"));
}

TEST_F(AddressWindow, LinkGoesIntoTheDescription) {
    enter(kStation12);
    state()->setEditText("Q&V");
    dialogs.answerNext(sw::Answer::Yes).inputNext("http://x.org/?a=1&b=2");
    click("cmdEnableKML");
    const std::string shown = addresses->documentText();
    EXPECT_NE(shown.find("<description><![CDATA[<br>Station 12</br><br>"
                         "<a href=\"http://x.org/?a=1&b=2\">Display Link</a></br>]]>"
                         "</description>"),
              std::string::npos)
        << shown;
    EXPECT_NE(shown.find("<address>100 Main St,Ocean,Q&amp;V 12345</address>"), std::string::npos);
    EXPECT_EQ(sw::xmlWellFormednessError(sw::withDocumentEnd(shown)), std::nullopt);
}

TEST_F(AddressWindow, ClearEmptiesAndExitKeeps) {
    clickBox(child<QRadioButton>("optICSAdd"));
    preview(kCamp);
    addresses->hide();
    addresses->show();
    EXPECT_NE(addresses->documentText(), "");
    EXPECT_EQ(field("txtPaname")->text(), "Camp 1");

    clickBox(child<QCheckBox>("chkKMLEd"));
    click("cmdClear");
    EXPECT_EQ(addresses->documentText(), "");
    for (const char* name : {"txtPaname", "txtPastreet", "txtPacity", "meZip"}) {
        EXPECT_EQ(field(name)->text(), "") << name;
    }
    EXPECT_EQ(type()->currentText(), "");
    EXPECT_EQ(type()->itemText(0), "Area Command");
    EXPECT_TRUE(child<QRadioButton>("optICSAdd")->isChecked());
    EXPECT_TRUE(type()->isEnabled());
    EXPECT_FALSE(text()->isReadOnly()); // the edit box is left as it was
    EXPECT_FALSE(button("cmdCreateKML")->isEnabled());

    click("cmdExit");
    EXPECT_FALSE(addresses->isVisible());
}

// Without its installed data the window still works: the state is typed, placemarks go
// without icons, the city is typed; each missing file is named once.
TEST_F(AddressWindow, MissingDataFilesAreNamedAndTheWindowStaysUsable) {
    const fs::path installed = sw::programFolder();
    sw::setProgramFolder(dir.path());
    dialogs.clear();
    open();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].text.find((dir / "states.txt").string()), std::string::npos);
    EXPECT_EQ(state()->currentText(), "QV");

    dialogs.clear();
    zip()->setText("32301");
    button("cmdZipSearch")->setEnabled(true);
    click("cmdZipSearch");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].text.find((dir / "databases" / "zipcode2.mdb").string()),
              std::string::npos);

    dialogs.clear();
    preview(kStation12);
    preview(kCamp);
    const auto texts = dialogs.messageTexts();
    EXPECT_EQ(std::count_if(texts.begin(), texts.end(),
                            [&](const std::string& t) {
                                return t.find((dir / "iconpath.txt").string()) != std::string::npos;
                            }),
              1)
        << ::testing::PrintToString(texts);
    EXPECT_EQ(count(addresses->documentText(), "<Placemark>"), 2u);
    EXPECT_EQ(count(addresses->documentText(), "<Style>"), 0u);
    sw::setProgramFolder(installed);
}

} // namespace
