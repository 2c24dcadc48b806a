// A point typed into the converter as a person writes it ("-84.5", Tab, "30.25", Tab), and a
// point pasted as a web map or a GPS gives it, through the real widgets: what the fields show
// is what the converter computes.

#include "coord/tests/converter_fixture.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <algorithm>

namespace sw::test {
namespace {

class ConverterTyping : public ConverterFixture {
protected:
    // The texts of a notation's fields, longitude row first.
    Texts notationTexts(Notation notation) {
        Texts out;
        for (const Field f : fieldsOf(notation)) {
            out.push_back(text(std::string(fieldInfo(f).name)));
        }
        return out;
    }

    // Pastes `pasted` into a field with the paste keys.
    void paste(const std::string& name, const char* pasted) {
        QGuiApplication::clipboard()->setText(QString::fromUtf8(pasted));
        focus(name);
        QTest::keySequence(field(name), QKeySequence::Paste);
        QApplication::processEvents();
    }
};
using ConverterPaste = ConverterTyping;

bool digitsOnly(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

TEST_F(ConverterTyping, APointTypedAsItIsWrittenGivesThatPoint) {
    struct Case {
        const char* option;
        Notation notation;
        const char* keys; // typed from the notation's first field; \t is the Tab key
        Texts shown;      // the notation's fields afterwards, longitude row first
        double latitude, longitude;
        int beeps;
    };
    const Case cases[] = {
        // The issue as reported: the "." and the "-" used to land in the wrong place.
        {"optDD", Notation::DD, "-84.5\t30.25\t", {"84", "5", "30", "25"}, 30.25, -84.5, 0},
        // Three-digit degrees fill their field: the "." that follows is dropped.
        {"optDD", Notation::DD, "084.5\t5.25\t", {"084", "5", "5", "25"}, 5.25, -84.5, 0},
        // A leading "." moves straight on to the decimals.
        {"optDD", Notation::DD, ".5\t.25\t", {"000", "5", "00", "25"}, 0.25, -0.5, 0},
        // A minus in a latitude is no sign the program knows: refused with the bell.
        {"optDD", Notation::DD, "84.5\t-30.25\t", {"84", "5", "30", "25"}, 30.25, -84.5, 1},
        // Letters and a second point in the decimals: refused, nothing stored.
        {"optDD", Notation::DD, "84.5a.5\t30\t", {"84", "55", "30", "0000"}, 30, -84.55, 2},
        {"OptDDM",
         Notation::DMM,
         "-84.30.5\t30.15.5\t",
         {"84", "30", "5", "30", "15", "5"},
         30 + 15.5 / 60,
         -(84 + 30.5 / 60),
         0},
        {"optDMS",
         Notation::DMS,
         "-84.30.36.5\t30.15.22.75",
         {"84", "30", "36", "5", "30", "15", "22", "75"},
         30 + 15 / 60.0 + 22.75 / 3600,
         -(84 + 30 / 60.0 + 36.5 / 3600),
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        openFor("swFac");
        click(c.option);
        dialogs.clear();
        QTest::keyClicks(nullptr, QString::fromLatin1(c.keys)); // to whatever has the focus
        QApplication::processEvents();
        const Texts shown = notationTexts(c.notation);
        for (const std::string& t : shown) {
            EXPECT_TRUE(digitsOnly(t)) << '"' << t << '"';
        }
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(results(), expectedTexts(c.latitude, c.longitude));
        EXPECT_EQ(received("swFac"), results());
        EXPECT_EQ(dialogs.log, Texts(static_cast<std::size_t>(c.beeps), "beep"));
        EXPECT_TRUE(dialogs.messages.empty());
    }
}

// Any text that reaches a field by another way than a key (pasted digits and letters, a
// dropped word) leaves it holding digits only.
TEST_F(ConverterTyping, FieldsHoldDigitsWhateverIsInsertedIntoThem) {
    openFor("swFac");
    click("optDD");
    QLineEdit* degrees = field("txtDDLatD");
    focus("txtDDLatD");
    degrees->selectAll();
    degrees->insert(QStringLiteral("1a")); // what a paste or a drop does
    EXPECT_EQ(text("txtDDLatD"), "00");
    degrees->selectAll();
    degrees->insert(QStringLiteral("12"));
    EXPECT_EQ(text("txtDDLatD"), "12");
    EXPECT_EQ(text("lblDDLat"), "12.0000");
}

// A point pasted into a field of a typed notation fills that notation's fields with what a
// person would type for it; the results are those of typing it.
TEST_F(ConverterPaste, APastedPointFillsThePanelOfTheField) {
    struct Case {
        const char* option;
        const char* into;
        Notation notation;
        Texts shown;
    };
    const Case cases[] = {
        {"optDD", "txtDDLatDD", Notation::DD, {"084", "5000", "30", "2500"}},
        {"OptDDM", "txtDMMlongmm", Notation::DMM, {"084", "30", "00", "30", "15", "00"}},
        {"optDMS",
         "txtDMSlatssd",
         Notation::DMS,
         {"084", "30", "00", "00", "30", "15", "00", "00"}},
    };
    for (const char* pasted : {"30.25, -84.5", "30.25 -84.5", "30\u00B015'N 84\u00B030'W",
                               "N30 15.000 W84 30.000", "30\u00B015'00.0\"N 84\u00B030'00.0\"W"}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(pasted) + " into " + c.into);
            openFor("frmDBMan");
            click(c.option);
            dialogs.clear();
            paste(c.into, pasted);
            EXPECT_EQ(notationTexts(c.notation), c.shown);
            EXPECT_EQ(results(), expectedTexts(30.25, -84.5));
            EXPECT_EQ(received("frmDBMan"), results());
            EXPECT_TRUE(dialogs.log.empty());
        }
    }
}

TEST_F(ConverterPaste, WhatIsNotAPointForTheFieldsIsRefusedAndSaysWhy) {
    struct Case {
        const char* pasted;
        const char* message; // nullptr: the field takes it
        const char* after;   // txtDDLatD afterwards
    };
    const Case cases[] = {
        {"-30.25, -84.5",
         "This point is south of the equator: the fields take north latitudes. "
         "Enter it in USNG / UTM instead.",
         "00"},
        {"30.25, 84.5",
         "This point is east of Greenwich: the fields take west longitudes (west "
         "is negative). Enter it in USNG / UTM instead.",
         "00"},
        {"91, -84.5", "latitude 91 is outside -90..90", "00"},
        {"30\u00B075'N 84\u00B030'W", "minutes 75 must be under 60", "00"},
        {"abc", "not a latitude and longitude (\"30.25,-84.5\" or \"30\u00B015'N 84\u00B030'W\")",
         "00"},
        {"12", nullptr, "12"}, // digits are typed in as they are
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pasted);
        openFor("swHcane");
        click("optDD");
        dialogs.clear();
        paste("txtDDLatD", c.pasted);
        if (c.message != nullptr) {
            EXPECT_EQ(dialogs.messageTexts(), Texts{c.message});
            EXPECT_EQ(received("swHcane"), Texts(6, ""));
        } else {
            EXPECT_TRUE(dialogs.messages.empty());
        }
        EXPECT_EQ(text("txtDDLatD"), c.after);
        EXPECT_EQ(text("txtDDlongD"), "000");
    }
}

// The field's own menu pastes the same way as the paste keys.
TEST_F(ConverterPaste, TheContextMenusPasteFillsThePanelToo) {
    openFor("swFac");
    click("optDD");
    QGuiApplication::clipboard()->setText(QStringLiteral("30.25, -84.5"));
    QLineEdit* target = field("txtDDLongDD");
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(2, 2),
                                target->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(target, &menuEvent);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    QAction* pasteAction = nullptr;
    for (QAction* action : menu->actions()) {
        if (action->text().startsWith(QLatin1String("&Paste"))) {
            pasteAction = action;
        }
    }
    ASSERT_NE(pasteAction, nullptr);
    pasteAction->trigger();
    menu->close();
    EXPECT_EQ(results(), expectedTexts(30.25, -84.5));
    EXPECT_EQ(received("swFac"), results());
}

// The grid reference field reads a pasted latitude and longitude with the same reader as
// siteward-coords: the six results are those of typing the point.
TEST_F(ConverterPaste, TheGridFieldReadsAPointAsPeopleCopyIt) {
    openFor("frmDBMan");
    click("optDD");
    QTest::keyClicks(nullptr, QStringLiteral("-84.5\t30.25\t"));
    const Texts typed = received("frmDBMan");
    ASSERT_EQ(typed, expectedTexts(30.25, -84.5));
    for (const char* pasted :
         {"30.25, -84.5", "30.25 -84.5", "30\u00B015'N 84\u00B030'W", " 30.25N 84.5W "}) {
        SCOPED_TRACE(pasted);
        openFor("frmDBMan");
        click("optGrid");
        paste("txtGridRef", pasted);
        QTest::keyClick(field("txtGridRef"), Qt::Key_Return);
        EXPECT_EQ(received("frmDBMan"), typed);
        EXPECT_EQ(results(), typed);
    }
    EXPECT_TRUE(dialogs.messages.empty());
    const QString help = field("txtGridRef")->toolTip();
    EXPECT_TRUE(help.contains(QStringLiteral("30.25, -84.5"))) << help.toStdString();
    EXPECT_TRUE(text("lblGrid").find("Latitude and Longitude") != std::string::npos);
}

} // namespace
} // namespace sw::test
