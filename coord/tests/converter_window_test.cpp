// The converter driven through real widgets: keys typed into the focused control, the focus
// moving on by itself, results landing in stand-in task windows.

#include "coord/tests/converter_fixture.h"

#include "coord/point_csv.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QRadioButton>

namespace sw::test {
namespace {

using ConverterWindow = ConverterFixture;

TEST_F(ConverterWindow, TabOrderAndFirstDisplay) {
    const Texts expected = {
        "txtDMSlongdd", "txtDMSlongmm", "txtDMSlongss", "txtDMSlongssd", "txtDMSlatdd",
        "txtDMSlatmm",  "txtDMSlatss",  "txtDMSlatssd", "txtTown",       "optTnorth",
        "optTSouth",    "txtRange",     "optRangeE",    "optRangeW",     "txtSection",
        "txtGridRef",   "optGrid",      "optTRS",       "optDMS",        "cmdTRScon",
        "cmdResetTRS",  "cmdTRS2dd",    "OptDDM",       "txtDMMlongdd",  "txtDMMlongmm",
        "txtDMMlongdm", "txtDMMlatdd",  "txtDMMlatmm",  "txtDMMlatdm",   "cmdconClose",
        "optDD",        "txtDDlongD",   "txtDDLongDD",  "txtDDLatD",     "txtDDLatDD",
        "optSecC",      "optsecNH",     "optSH",        "optEH",         "optWH",
        "optNE",        "optNW",        "optSE",        "optSW",         "optNWNW",
        "optNWNE",      "optNENW",      "optNENE",      "optNWSW",       "optNWSE",
        "optNESW",      "optNESE",      "optSWNW",      "optSWNE",       "optSENW",
        "optSENE",      "optSWSW",      "optSWSE",      "optSESW",       "optSESE",
        "cmdEnableqs"};
    const auto& order = converter->tabOrder();
    ASSERT_EQ(order.size(), expected.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        EXPECT_EQ(order[i]->objectName().toStdString(), expected[i]);
        // The Tab key goes the same way: the next control in Qt's chain that takes focus.
        QWidget* next = order[i]->nextInFocusChain();
        while (next->focusPolicy() == Qt::NoFocus) {
            next = next->nextInFocusChain();
        }
        if (i + 1 < order.size()) {
            EXPECT_EQ(next, order[i + 1]) << expected[i];
        }
    }
    // No notation chosen yet: only the decimal-degree longitude can be typed.
    Texts open;
    for (const FieldInfo& info : allFields()) {
        if (enabled(std::string(info.name))) {
            open.emplace_back(info.name);
        }
    }
    EXPECT_EQ(open, (Texts{"txtDDlongD", "txtDDLongDD"}));
    EXPECT_FALSE(enabled("txtSection"));
    EXPECT_FALSE(enabled("txtGridRef"));
}

TEST_F(ConverterWindow, TypingFieldByFieldAdvancesAndHandsBack) {
    struct Case {
        const char* option;
        std::vector<std::pair<std::string, std::string>> entries; // field, digits
        double latitude, longitude;
    };
    const Case cases[] = {{"optDD",
                           {{"txtDDlongD", "084"},
                            {"txtDDLongDD", "5000"},
                            {"txtDDLatD", "30"},
                            {"txtDDLatDD", "2500"}},
                           30.25,
                           -84.5},
                          {"OptDDM",
                           {{"txtDMMlongdd", "084"},
                            {"txtDMMlongmm", "30"},
                            {"txtDMMlongdm", "50"},
                            {"txtDMMlatdd", "30"},
                            {"txtDMMlatmm", "15"},
                            {"txtDMMlatdm", "50"}},
                           30 + 15.5 / 60,
                           -(84 + 30.5 / 60)},
                          {"optDMS",
                           {{"txtDMSlongdd", "084"},
                            {"txtDMSlongmm", "30"},
                            {"txtDMSlongss", "36"},
                            {"txtDMSlongssd", "50"},
                            {"txtDMSlatdd", "29"},
                            {"txtDMSlatmm", "39"},
                            {"txtDMSlatss", "05"},
                            {"txtDMSlatssd", "76"}},
                           29 + 39 / 60.0 + 5.76 / 3600,
                           -(84 + 30 / 60.0 + 36.5 / 3600)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.option);
        openFor("frmDBMan");
        click(c.option);
        for (const auto& [name, digits] : c.entries) {
            ASSERT_EQ(focused(), name) << "before " << digits;
            // Selected on entry, so the first digit replaces the default text.
            EXPECT_EQ(field(name)->selectedText().toStdString(), text(name));
            type(digits);
            EXPECT_EQ(text(name), digits);
        }
        EXPECT_EQ(results(), expectedTexts(c.latitude, c.longitude));
        EXPECT_EQ(received("frmDBMan"), results());
    }
    // The published example, in full.
    openFor("frmDBMan");
    click("optDD");
    type("08450003025");
    EXPECT_EQ(received("frmDBMan"), (Texts{"351936.72", "693727.66", "-084.5000", "30.2500",
                                           "16R GU 40550 49133", "16R 740550.42 3349132.77"}));
    EXPECT_TRUE(dialogs.log.empty());
}

TEST_F(ConverterWindow, DegreesAtTheLimitZeroAndLockTheFinerFields) {
    struct Case {
        const char* option;
        std::string filled; // typed first; then the degrees field is entered again
        std::string keys;
        Texts locked; // field, zero text, field, zero text...
        const char* label;
        const char* shown;
    };
    const Case cases[] = {
        {"optDD", "", "084500090", {"txtDDLatDD", "0000"}, "lblDDLat", "90.0000"},
        {"optDD", "0841234", "180", {"txtDDLongDD", "00"}, "lblDDLong", "-180.0000"},
        {"OptDDM",
         "",
         "084123090",
         {"txtDMMlatmm", "00", "txtDMMlatdm", "00"},
         "lblDDLat",
         "90.0000"},
        {"optDMS",
         "0841234",
         "180",
         {"txtDMSlongmm", "00", "txtDMSlongss", "00", "txtDMSlongssd", "0"},
         "lblDDLong",
         "-180.0000"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        openFor("swFac");
        click(c.option);
        if (!c.filled.empty()) {
            const std::string first = focused();
            type(c.filled);
            focus(first);
        }
        type(c.keys);
        for (std::size_t i = 0; i < c.locked.size(); i += 2) {
            EXPECT_EQ(text(c.locked[i]), c.locked[i + 1]);
            EXPECT_FALSE(enabled(c.locked[i])) << c.locked[i];
        }
        EXPECT_EQ(text(c.label), c.shown);
        EXPECT_EQ(received("swFac"), results());
    }
    // Below the limit again the fields stay locked, until the notation is chosen again.
    focus("txtDMSlongdd");
    type("179");
    EXPECT_EQ(text("lblDDLong"), "-179.0000");
    EXPECT_FALSE(enabled("txtDMSlongss"));
    click("optDMS");
    EXPECT_TRUE(enabled("txtDMSlongss"));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ConverterWindow, RefusalsPutTheReplacementInAndKeepTheFocus) {
    struct Case {
        const char* option;
        std::string before; // brings the focus to the field
        std::string name, typed, message, after;
        const char* latitude; // shows the replacement's value was taken
    };
    const Case cases[] = {
        {"optDMS", "084300000", "txtDMSlatdd", "91", "Latitude must be between 00 and 90", "",
         "00.0000"},
        {"optDD", "0845000", "txtDDLatD", "95", "Latitude must be between 00 and 90", "00",
         "00.0000"},
        {"OptDDM", "084300030", "txtDMMlatmm", "61", " Must Be Less Than 60", "", "30.0000"},
        {"OptDDM", "084300030", "txtDMMlatmm", "60", "", "60", "31.0000"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name + " " + c.typed);
        openFor("swHcane");
        click(c.option);
        type(c.before);
        dialogs.clear();
        type(c.typed);
        EXPECT_EQ(text(c.name), c.after);
        EXPECT_EQ(text("lblDDLat"), c.latitude);
        EXPECT_EQ(received("swHcane"), results());
        if (!c.message.empty()) {
            EXPECT_EQ(dialogs.messageTexts(), Texts{c.message});
            EXPECT_EQ(focused(), c.name);
            EXPECT_EQ(field(c.name)->selectedText().toStdString(), c.after);
        }
    }
}

TEST_F(ConverterWindow, AfterARefusalTheNextDigitsReplaceTheFullReplacement) {
    // As with a real message box: the converter is not the active window while the message is
    // up and gets the focus back only once the box is gone. A replacement that fills the field
    // ("00", "000") must still be selected then, or the field takes no digit at all.
    QWidget elsewhere;
    elsewhere.show();
    dialogs.whileShown = [&elsewhere] {
        QApplication::setActiveWindow(&elsewhere);
        QApplication::processEvents();
    };
    struct Case {
        const char* option;
        std::string before; // brings the focus to the field
        std::string name, typed, replacement, retyped;
        const char* label;
        const char* shown;
    };
    const Case cases[] = {
        {"optDD", "0845000", "txtDDLatD", "95", "00", "30", "lblDDLat", "30.0000"},
        {"optDD", "", "txtDDlongD", "190", "000", "084", "lblDDLong", "-084.0000"},
        {"optDMS", "", "txtDMSlongdd", "190", "", "084", "lblDDLong", "-084.0000"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name + " " + c.typed);
        openFor("swFac");
        click(c.option);
        type(c.before);
        dialogs.clear();
        type(c.typed);
        EXPECT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(text(c.name), c.replacement);
        QApplication::setActiveWindow(converter);
        ASSERT_TRUE(QTest::qWaitForWindowActive(converter));
        ASSERT_EQ(focused(), c.name);
        type(c.retyped);
        EXPECT_EQ(text(c.name), c.retyped);
        EXPECT_EQ(text(c.label), c.shown);
        EXPECT_EQ(received("swFac"), results());
    }
}

TEST_F(ConverterWindow, HandBackGoesToTheOpenerAndEachOpeningStartsClean) {
    openFor("frmDBMan");
    click("optDMS");
    type("08430365030150000");
    const Texts wildfire = received("frmDBMan");
    EXPECT_EQ(wildfire, expectedTexts(30.25, -(84 + 30 / 60.0 + 36.5 / 3600)));
    click("cmdconClose");
    EXPECT_FALSE(converter->isVisible());
    EXPECT_EQ(results(), wildfire) << "Close clears nothing";

    openFor("swFac");
    EXPECT_EQ(received("frmDBMan"), wildfire) << "resetting hands nothing back";
    EXPECT_EQ(results(), Texts(6, ""));
    for (const FieldInfo& info : allFields()) {
        EXPECT_EQ(text(std::string(info.name)), info.defaultText);
    }
    EXPECT_TRUE(child<QRadioButton>("optDMS")->isChecked()) << "the notation is kept";
    // One digit now composes from the reset fields, not from the parts typed before.
    focus("txtDMSlatdd");
    type("3");
    EXPECT_EQ(received("swFac"), expectedTexts(3, 0));
    EXPECT_EQ(received("swHcane"), Texts(6, ""));

    openFor("frmGEAddress"); // no task window of ours: results stay in the converter
    focus("txtDMSlatdd");
    type("29");
    EXPECT_EQ(results(), expectedTexts(29, 0));
    EXPECT_EQ(received("swFac"), expectedTexts(3, 0));
    EXPECT_EQ(received("frmDBMan"), wildfire);
}

// A reference pasted into the USNG / UTM field converts on Enter or on leaving the field; a
// refused one shows its message and leaves the results and the target as they were. (Points
// pasted there as latitude and longitude: converter_paste_test.cpp.)
TEST_F(ConverterWindow, GridReferencesPastedConvertAndRefusedOnesChangeNothing) {
    openFor("frmDBMan");
    click("optGrid");
    EXPECT_EQ(focused(), "txtGridRef");
    EXPECT_FALSE(enabled("txtDDlongD"));
    EXPECT_FALSE(enabled("txtSection"));
    QLineEdit* reference = field("txtGridRef");
    const auto paste = [&](const char* text, bool enter) {
        focus("txtGridRef");
        reference->setText(QString::fromLatin1(text));
        if (enter) {
            QTest::keyClick(reference, Qt::Key_Return);
        } else {
            QTest::keyClick(reference, Qt::Key_Tab); // leaving the field converts too
        }
        QApplication::processEvents();
    };
    struct Case {
        const char* text;
        bool enter;
        const char* refusal; // nullptr: converted
    };
    const Case cases[] = {
        {"16R GU 40550 49133", true, nullptr},
        {"17R HV 12345 12345", true, "100 km square letters HV do not exist in zone 17"},
        {"  17rmh9093288611 ", false, nullptr},
        {"17R MH 9093 88611", false, "easting and northing must have the same number of digits"},
        {"17X 490932 2788611", true, "Band letter X does not match zone 17 at this northing"},
        {"not a reference", true, "neither a latitude and longitude nor a USNG or UTM reference"},
        {"16R 740550.42 3349132.77", true, nullptr},
        {"17 490932 2788611 N", false, nullptr}};
    for (const Case& c : cases) {
        const Texts before = received("frmDBMan");
        dialogs.clear();
        paste(c.text, c.enter);
        if (c.refusal != nullptr) {
            EXPECT_EQ(dialogs.messageTexts(), Texts{c.refusal}) << c.text;
            EXPECT_EQ(received("frmDBMan"), before) << c.text;
            EXPECT_EQ(results(), before) << c.text;
            EXPECT_EQ(focused(), "txtGridRef") << c.text << ": back to be corrected";
            EXPECT_EQ(text("txtGridRef"), c.text);
            continue;
        }
        const PointLine point = parseInputLine(c.text, InputForm::Any);
        EXPECT_TRUE(dialogs.messages.empty()) << c.text;
        EXPECT_EQ(received("frmDBMan"), expectedTexts(point.latitude, point.longitude)) << c.text;
        EXPECT_EQ(results(), received("frmDBMan")) << c.text;
    }
    // The same pasted reference written by the converter comes back to itself.
    EXPECT_EQ(received("frmDBMan")[4], "17R MH 90932 88611");

    // Another notation takes over from the results a reference gave.
    click("optDD");
    EXPECT_FALSE(enabled("txtGridRef"));
    focus("txtDDLatD");
    type("30");
    EXPECT_EQ(received("frmDBMan"), expectedTexts(30, 0));
    openFor("swFac");
    EXPECT_EQ(text("txtGridRef"), "");
}

TEST_F(ConverterWindow, ResultsWaitForTheNewNotationAndUseBothCurrentValues) {
    openFor("swFac");
    click("optDMS");
    type("0843036503015");
    const Texts before = results();
    click("OptDDM");
    EXPECT_EQ(focused(), "txtDMMlongdd");
    EXPECT_EQ(results(), before);
    type("8"); // both rows now come from the DM.M fields alone
    EXPECT_EQ(received("swFac"), expectedTexts(0, -8));

    // Latitude first, then a single longitude digit: the projection takes both.
    click("optDD");
    focus("txtDDLatD");
    type("302500");
    focus("txtDDLongDD");
    type("5");
    focus("txtDDlongD");
    type("084");
    EXPECT_EQ(received("swFac"), expectedTexts(30.25, -84.5));
    EXPECT_EQ(text("lblAlbersX"), "351936.72");
    EXPECT_EQ(text("lblAlbersY"), "693727.66");
}

} // namespace
} // namespace sw::test

namespace sw::test {
namespace {

// What a screen reader or an automation tool does: the option's own "Toggle" action, which
// checks it without any click.
void toggleThroughAccessibility(QWidget* option) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(option);
    ASSERT_NE(accessible, nullptr);
    ASSERT_NE(accessible->actionInterface(), nullptr);
    accessible->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QApplication::processEvents();
}

TEST_F(ConverterWindow, OptionsChosenThroughTheAccessibilityInterfaceSetUpAsAClickDoes) {
    struct Case {
        const char* option;
        const char* opened; // a field the choice enables
        const char* focus;  // where the focus goes, if the choice moves it
    };
    const Case cases[] = {
        {"OptDDM", "txtDMMlatdd", "txtDMMlongdd"}, {"optDMS", "txtDMSlatss", "txtDMSlongdd"},
        {"optDD", "txtDDLatD", "txtDDlongD"},      {"optTRS", "optTSouth", nullptr},
        {"optTSouth", "txtTown", nullptr},         {"optRangeW", "txtRange", nullptr}};
    openFor("swFac");
    for (const Case& c : cases) {
        toggleThroughAccessibility(child(c.option));
        EXPECT_TRUE(child<QRadioButton>(c.option)->isChecked()) << c.option;
        EXPECT_TRUE(enabled(c.opened)) << c.option;
        if (c.focus != nullptr) {
            EXPECT_EQ(focused(), c.focus) << c.option;
        }
    }
    // A click on the option already chosen still repeats its set-up (it reopens fields that a
    // limit had locked), and only once.
    click("optDD");
    focus("txtDDlongD");
    type("180");
    EXPECT_FALSE(enabled("txtDDLongDD"));
    click("optDD");
    EXPECT_TRUE(enabled("txtDDLongDD"));
    EXPECT_EQ(focused(), "txtDDlongD");
}

TEST_F(ConverterWindow, ResultBoxesShowTheLongestTextsWhole) {
    openFor("swFac");
    const std::pair<const char*, const char*> longest[] = {
        {"lblDDLat", "90.0000"},
        {"lblDDLong", "-180.0000"},
        {"lblAlbersX", "-1234567.89"},
        {"lblAlbersY", "-2534807.94"},
        {"lblUTMCoord", "16R 740550.42 3349132.77"},
        {"lblUSNG", "16R GU 40550 49133"}};
    for (const auto& [name, text] : longest) {
        auto* label = child<QLabel>(name);
        label->setText(QString::fromLatin1(text));
        QApplication::processEvents();
        EXPECT_GE(label->width(), label->sizeHint().width()) << name << " cuts " << text;
    }
}

// Nothing in the window grows to make room once it is shown: a refused value's message, the
// widest results and a close and reopening leave it the size it opened with.
TEST_F(ConverterWindow, KeepsItsSizeThroughAMessageWideResultsAndReopening) {
    openFor("swFac");
    const auto size = [this] { return std::pair{converter->width(), converter->height()}; };
    const auto opened = size();
    click("optDD");
    focus("txtDDlongD");
    type("190");
    ASSERT_EQ(dialogs.messageTexts(), Texts{"Longitude must be between 000 and 180"});
    for (const auto& [name, text] :
         {std::pair{"lblAlbersX", "-1234567.89"}, std::pair{"lblAlbersY", "-2534807.94"},
          std::pair{"lblUTMCoord", "16R 740550.42 3349132.77"}}) {
        child<QLabel>(name)->setText(QString::fromLatin1(text));
    }
    QApplication::processEvents();
    EXPECT_EQ(size(), opened);
    click("cmdconClose");
    openFor("swFac");
    EXPECT_EQ(size(), opened);
}

} // namespace
} // namespace sw::test
namespace sw::test {
namespace {

// A mouse click on an option, where its caption is, chooses it, the widest caption beside.
TEST_F(ConverterWindow, AMouseClickOnAnOptionChoosesIt) {
    openFor("swFac");
    for (const char* option : {"optDD", "OptDDM", "optDMS", "optTRS", "optGrid"}) {
        QTest::mouseClick(child(option), Qt::LeftButton);
        EXPECT_TRUE(child<QRadioButton>(option)->isChecked()) << option;
    }
}

} // namespace
} // namespace sw::test
