// The converter window driven through real widgets: keys typed into the focused control, focus
// moving on by itself, messages and bells answered by the scripted double, results landing in
// stand-in task windows.

#include "coord/tests/converter_fixture.h"

#include <QRadioButton>

#include "coord/hand_back.h"

namespace sw::test {
namespace {

using Texts = std::vector<std::string>;

// What a correct converter shows and hands back for a point, in the order of results().
Texts expectedTexts(double latitude, double longitude) {
    const HandBackTexts t = handBackTexts(latitude, longitude);
    return {t.albersX, t.albersY, t.longitude, t.latitude, t.usng, t.utm};
}

class ConverterWindow : public ConverterFixture {};

TEST_F(ConverterWindow, FirstDisplayHasNoNotationAndOnlyTheDecimalLongitudeOpen) {
    EXPECT_EQ(converter->windowTitle().toStdString(), "Coordinate Conversion");
    for (const char* option : {"optDD", "OptDDM", "optDMS", "optTRS"}) {
        EXPECT_FALSE(child<QRadioButton>(option)->isChecked()) << option;
    }
    std::vector<std::string> enabled;
    for (const FieldInfo& info : allFields()) {
        if (field(std::string(info.name))->isEnabled()) {
            enabled.emplace_back(info.name);
        }
    }
    EXPECT_EQ(enabled, (std::vector<std::string>{"txtDDlongD", "txtDDLongDD"}));
    for (const char* trs : {"txtTown", "txtRange", "txtSection", "cmdTRS2dd", "optTnorth"}) {
        EXPECT_FALSE(child(trs)->isEnabled()) << trs;
    }
}

TEST_F(ConverterWindow, TabOrderFollowsTheFormAndQtsFocusChain) {
    const std::vector<std::string> expected = {
        "txtDMSlongdd", "txtDMSlongmm", "txtDMSlongss", "txtDMSlongssd", "txtDMSlatdd",
        "txtDMSlatmm",  "txtDMSlatss",  "txtDMSlatssd", "txtTown",       "optTnorth",
        "optTSouth",    "txtRange",     "optRangeE",    "optRangeW",     "txtSection",
        "optTRS",       "optDMS",       "cmdTRScon",    "cmdResetTRS",   "cmdTRS2dd",
        "OptDDM",       "txtDMMlongdd", "txtDMMlongmm", "txtDMMlongdm",  "txtDMMlatdd",
        "txtDMMlatmm",  "txtDMMlatdm",  "cmdconClose",  "optDD",         "txtDDlongD",
        "txtDDLongDD",  "txtDDLatD",    "txtDDLatDD",   "optSecC",       "optsecNH",
        "optSH",        "optEH",        "optWH",        "optNE",         "optNW",
        "optSE",        "optSW",        "optNWNW",      "optNWNE",       "optNENW",
        "optNENE",      "optNWSW",      "optNWSE",      "optNESW",       "optNESE",
        "optSWNW",      "optSWNE",      "optSENW",      "optSENE",       "optSWSW",
        "optSWSE",      "optSESW",      "optSESE",      "cmdEnableqs"};
    std::vector<std::string> names;
    for (QWidget* w : converter->tabOrder()) {
        names.push_back(w->objectName().toStdString());
    }
    EXPECT_EQ(names, expected);
    // The Tab key follows the same order: the next control in Qt's focus chain that can take
    // the focus at all is the next one in the list.
    for (std::size_t i = 1; i < converter->tabOrder().size(); ++i) {
        QWidget* next = converter->tabOrder()[i - 1]->nextInFocusChain();
        while (next->focusPolicy() == Qt::NoFocus) {
            next = next->nextInFocusChain();
        }
        EXPECT_EQ(next->objectName().toStdString(), expected[i]);
    }
}

TEST_F(ConverterWindow, TypingFieldByFieldAdvancesAndHandsBackInEveryNotation) {
    struct Case {
        const char* option;
        std::vector<std::pair<std::string, std::string>> entries; // field, digits typed
        double latitude;
        double longitude;
    };
    const Case cases[] = {
        {"optDD",
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
         29 + 39 / 60.0 + 5 / 3600.0 + 0.76 / 3600,
         -(84 + 30 / 60.0 + 36 / 3600.0 + 0.5 / 3600)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.option);
        openFor("frmDBMan");
        click(c.option);
        for (std::size_t i = 0; i < c.entries.size(); ++i) {
            const auto& [name, digits] = c.entries[i];
            ASSERT_EQ(focused(), name) << "before typing " << digits;
            // The field's default text is selected on entry, so the first digit replaces it.
            EXPECT_EQ(field(name)->selectedText().toStdString(), text(name));
            type(digits);
            EXPECT_EQ(text(name), digits);
        }
        EXPECT_EQ(results(), expectedTexts(c.latitude, c.longitude));
        EXPECT_EQ(received("frmDBMan"), results());
    }
    // The published example, written out.
    openFor("frmDBMan");
    click("optDD");
    type("08450003025");
    EXPECT_EQ(received("frmDBMan"), (Texts{"351936.72", "693727.66", "-084.5000", "30.2500",
                                           "16R GU 40550 49133", "16R 740550.42 3349132.77"}));
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.beeps, 0);
}

TEST_F(ConverterWindow, DegreesAtTheLimitZeroAndLockTheFinerFieldsUntilReselected) {
    struct Case {
        const char* option;
        std::string keys; // typed from the notation's first field on
        std::vector<std::pair<std::string, std::string>> locked;
        const char* resultLabel;
        const char* resultText;
    };
    const Case cases[] = {
        {"optDD", "084500090", {{"txtDDLatDD", "0000"}}, "lblDDLat", "90.0000"},
        {"optDD", "180", {{"txtDDLongDD", "00"}}, "lblDDLong", "-180.0000"},
        {"OptDDM",
         "084123090",
         {{"txtDMMlatmm", "00"}, {"txtDMMlatdm", "00"}},
         "lblDDLat",
         "90.0000"},
        {"optDMS",
         "180",
         {{"txtDMSlongmm", "00"}, {"txtDMSlongss", "00"}, {"txtDMSlongssd", "0"}},
         "lblDDLong",
         "-180.0000"},
        {"optDMS",
         "08400000090",
         {{"txtDMSlatmm", "00"}, {"txtDMSlatss", "00"}, {"txtDMSlatssd", "00"}},
         "lblDDLat",
         "90.0000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.option) + " " + c.keys);
        openFor("swFac");
        click(c.option);
        // Some finer fields hold digits first, so the clamp really changes them.
        if (std::string(c.option) == "optDMS" && c.keys == "180") {
            type("0123456");
            focus("txtDMSlongdd");
        }
        type(c.keys);
        for (const auto& [name, zero] : c.locked) {
            EXPECT_EQ(text(name), zero) << name;
            EXPECT_FALSE(field(name)->isEnabled()) << name;
        }
        EXPECT_EQ(text(c.resultLabel), c.resultText);
        EXPECT_EQ(received("swFac"), results());
        click(c.option);
        for (const auto& [name, zero] : c.locked) {
            EXPECT_TRUE(field(name)->isEnabled()) << name << " after choosing the notation again";
        }
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ConverterWindow, LockedFieldsStayLockedWhenTheDegreesDropBelowTheLimit) {
    openFor("swFac");
    click("optDMS");
    type("180");
    focus("txtDMSlongdd");
    type("179");
    EXPECT_EQ(text("lblDDLong"), "-179.0000");
    for (const char* name : {"txtDMSlongmm", "txtDMSlongss", "txtDMSlongssd"}) {
        EXPECT_FALSE(field(name)->isEnabled()) << name;
    }
}

TEST_F(ConverterWindow, RefusedEntriesShowTheMessageAndTheReplacementIsProcessed) {
    struct Case {
        const char* option;
        std::string before; // typed first, from the notation's first field
        std::string fieldName;
        std::string typed;
        std::string message;
        std::string after;    // the field's text once the replacement went in
        const char* label;    // a result that shows the replacement's value was taken
        const char* expected; // its text
    };
    const Case cases[] = {
        {"optDMS", "084300000", "txtDMSlatdd", "91", "Latitude must be between 00 and 90", "",
         "lblDDLat", "00.0000"},
        {"optDD", "0845000", "txtDDLatD", "95", "Latitude must be between 00 and 90", "00",
         "lblDDLat", "00.0000"},
        {"optDD", "", "txtDDlongD", "181", "Longitude must be between 000 and 180", "000",
         "lblDDLong", "000.0000"},
        {"OptDDM", "084300030", "txtDMMlatmm", "61", " Must Be Less Than 60", "", "lblDDLat",
         "30.0000"},
        {"OptDDM", "084300030", "txtDMMlatmm", "60", "", "60", "lblDDLat", "31.0000"},
        {"optDMS", "08430000030", "txtDMSlatmm", "60", "", "60", "lblDDLat", "31.0000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fieldName + " " + c.typed);
        openFor("swHcane");
        click(c.option);
        type(c.before);
        ASSERT_EQ(focused(), c.fieldName);
        dialogs.clear();
        type(c.typed);
        EXPECT_EQ(text(c.fieldName), c.after);
        EXPECT_EQ(text(c.label), c.expected);
        if (c.message.empty()) {
            EXPECT_TRUE(dialogs.messages.empty());
            continue;
        }
        ASSERT_EQ(dialogs.messageTexts(), Texts{c.message});
        EXPECT_EQ(dialogs.messages[0].buttons, Buttons::Ok);
        EXPECT_EQ(dialogs.messages[0].title, "");
        // The focus stays for a new try, and the next digit replaces the put-back text.
        EXPECT_EQ(focused(), c.fieldName);
        EXPECT_EQ(received("swHcane"), results());
    }
}

TEST_F(ConverterWindow, KeyFilterDropsAnythingButDigitsAndTheFewEditingCharacters) {
    openFor("swFac");
    click("optDD");
    struct Case {
        char key;
        bool accepted;
    };
    const Case cases[] = {{'a', false}, {'-', false}, {' ', false}, {'+', false}, {'e', false},
                          {'.', true},  {'%', true},  {'(', true},  {'7', true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(1, c.key));
        QLineEdit* lat = field("txtDDLatD");
        lat->setText("00");
        focus("txtDDLatD");
        lat->end(false);
        QTest::keyClick(lat, Qt::Key_Backspace); // leaves room for one more character
        const std::string trimmed = text("txtDDLatD");
        ASSERT_EQ(trimmed.size(), 1u);
        dialogs.clear();
        QTest::keyClick(lat, c.key);
        EXPECT_EQ(dialogs.beeps, c.accepted ? 0 : 1);
        EXPECT_EQ(text("txtDDLatD"), c.accepted ? trimmed + c.key : trimmed);
        EXPECT_TRUE(dialogs.messages.empty());
    }
}

TEST_F(ConverterWindow, HandsBackToEachTaskWindowOnlyTheOneThatOpenedIt) {
    std::vector<std::string> forms;
    for (const auto& [form, names] : targetLabelNames()) {
        registry.instance(QString::fromStdString(form));
        forms.push_back(form);
    }
    for (std::size_t i = 0; i < forms.size(); ++i) {
        SCOPED_TRACE(forms[i]);
        openFor(forms[i]);
        click("optDD");
        type("08450003025");
        EXPECT_EQ(received(forms[i]), expectedTexts(30.25, -84.5));
        for (std::size_t later = i + 1; later < forms.size(); ++later) {
            EXPECT_EQ(received(forms[later]), Texts(6, "")) << forms[later];
        }
        // Another point, so the next window's labels can be told apart from these.
        focus("txtDDLatD");
        type("29");
    }
    EXPECT_EQ(received("frmDBMan")[3], "29.2500");
    EXPECT_EQ(received("swFac")[3], "29.2500");
    EXPECT_EQ(received("swHcane")[3], "29.2500");
}

TEST_F(ConverterWindow, ReopeningForAnotherWindowResetsWithoutTouchingTheFirst) {
    openFor("frmDBMan");
    click("optDMS");
    type("08430365030150000");
    const Texts wildfire = received("frmDBMan");
    ASSERT_EQ(wildfire, results());

    openFor("swFac");
    EXPECT_EQ(received("frmDBMan"), wildfire);
    EXPECT_EQ(results(), Texts(6, ""));
    for (const FieldInfo& info : allFields()) {
        EXPECT_EQ(text(std::string(info.name)), info.defaultText) << info.name;
    }
    for (const char* name : {"txtTown", "txtRange"}) {
        EXPECT_EQ(text(name), "00");
    }
    EXPECT_EQ(text("txtSection"), "0000");
    EXPECT_EQ(converter->target().toStdString(), "swFac");
    EXPECT_TRUE(child<QRadioButton>("optDMS")->isChecked()) << "the notation is kept";

    // One latitude digit now composes from the reset fields, not from the old parts.
    focus("txtDMSlatdd");
    type("3");
    EXPECT_EQ(received("swFac"), expectedTexts(3, 0));
    EXPECT_EQ(received("frmDBMan"), wildfire);
}

TEST_F(ConverterWindow, TheProjectionAlwaysUsesBothCurrentValues) {
    openFor("swFac");
    click("optDD");
    focus("txtDDLatD");
    type("302500");
    focus("txtDDlongD");
    type("084");
    focus("txtDDLongDD");
    type("5");
    EXPECT_EQ(received("swFac"), expectedTexts(30.25, -84.5));
    EXPECT_EQ(text("lblAlbersX"), "351936.72");
    EXPECT_EQ(text("lblAlbersY"), "693727.66");
}

TEST_F(ConverterWindow, SwitchingNotationKeepsTheResultsUntilTheNewNotationChanges) {
    openFor("swFac");
    click("optDMS");
    type("0843036503015");
    const Texts before = results();
    click("OptDDM");
    EXPECT_EQ(focused(), "txtDMMlongdd");
    EXPECT_EQ(results(), before);
    for (const FieldInfo& info : allFields()) {
        EXPECT_EQ(field(std::string(info.name))->isEnabled(), info.notation == Notation::DMM)
            << info.name;
    }
    // The first DM.M change composes both rows from the DM.M fields alone.
    type("8");
    EXPECT_EQ(results(), expectedTexts(0, -8));
    EXPECT_EQ(received("swFac"), results());
}

TEST_F(ConverterWindow, ActiveNotationLabelsAreHighlighted) {
    openFor("swFac");
    auto yellow = [this](const char* name) {
        return child(name)->styleSheet().contains(QStringLiteral("255, 255, 128"));
    };
    click("OptDDM");
    for (const char* name : {"lblDMMM", "lblDMMlat", "lblDMMlong"}) {
        EXPECT_TRUE(yellow(name)) << name;
    }
    for (const char* name : {"lblDD", "lbDDlat", "lblDDDlong", "lblDDMMSS", "lblLAT", "lblLONG",
                             "lblenterTRS", "lblTwn", "optTnorth"}) {
        EXPECT_FALSE(yellow(name)) << name;
    }
    EXPECT_TRUE(yellow("lblDDLat"));
    EXPECT_TRUE(yellow("lblDDLong"));
    click("optTRS");
    EXPECT_TRUE(yellow("lblenterTRS"));
    EXPECT_TRUE(yellow("optRangeW"));
    EXPECT_FALSE(yellow("lblDMMM"));
}

TEST_F(ConverterWindow, CloseHidesAndTheNextOpeningStartsClean) {
    openFor("frmDBMan");
    click("optDD");
    type("08450003025");
    const Texts handed = received("frmDBMan");
    click("cmdconClose");
    EXPECT_FALSE(converter->isVisible());
    EXPECT_EQ(registry.existing(forms::kConverter), converter) << "hidden, not destroyed";
    EXPECT_EQ(results(), handed) << "Close clears nothing";

    openFor("frmDBMan");
    EXPECT_TRUE(converter->isVisible());
    EXPECT_EQ(results(), Texts(6, ""));
    EXPECT_EQ(text("txtDDlongD"), "000");
    EXPECT_EQ(received("frmDBMan"), handed);
    EXPECT_FALSE(child("txtTown")->isEnabled()) << "Close in D.D leaves the TRS fields locked";
}

TEST_F(ConverterWindow, AnUnknownTargetKeepsTheResultsInTheConverter) {
    openFor("frmDBMan");
    openFor("frmGEAddress");
    click("optDD");
    type("08450003025");
    EXPECT_EQ(results(), expectedTexts(30.25, -84.5));
    EXPECT_EQ(received("frmDBMan"), Texts(6, ""));
}

} // namespace
} // namespace sw::test
