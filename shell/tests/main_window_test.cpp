// The main window through real widgets: captions and menus, the window registry's reuse,
// the focus rules, and the order in which Exit closes windows.

#include "shell/application.h"
#include "shell/main_window.h"
#include "testsupport/scripted_dialogs.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QtTest/qtestspontaneevent.h>
#include <gtest/gtest.h>

namespace {

using sw::MainWindow;
using sw::SitewardApp;

class MainWindowTest : public ::testing::Test {
protected:
    sw::test::ScriptedDialogs dialogs;
    SitewardApp app{dialogs};
    MainWindow* main = app.start();

    QPushButton* button(const char* name) {
        auto* b = main->findChild<QPushButton*>(QString::fromUtf8(name));
        EXPECT_NE(b, nullptr) << name;
        return b;
    }
    QAction* action(const char* name) {
        auto* a = main->findChild<QAction*>(QString::fromUtf8(name));
        EXPECT_NE(a, nullptr) << name;
        return a;
    }
    void click(const char* name) { QTest::mouseClick(button(name), Qt::LeftButton); }
    QWidget* live(const char* form) { return app.registry().existing(QString::fromUtf8(form)); }
    // The window system activates a shown window asynchronously; the focus set while it was
    // being shown takes effect once it is active.
    QWidget* focusIn(const char* form) {
        QWidget* window = live(form);
        EXPECT_NE(window, nullptr) << form;
        if (window == nullptr || !QTest::qWaitForWindowActive(window)) {
            return nullptr;
        }
        return QApplication::focusWidget();
    }
};

TEST_F(MainWindowTest, ButtonsMenusAndCaptionsAreTheProgramsOwn) {
    EXPECT_EQ(main->windowTitle(), "Siteward");
    EXPECT_EQ(main->findChild<QLabel*>("sw_greet")->text(), "Welcome to Tarn Siteward");
    const std::pair<const char*, const char*> buttons[] = {
        {"cmdSwfire", "&WildFires"},
        {"cmdSWfacilities", "Fa&cility and Incidents"},
        {"cmdSWHurricanes", "&Hurricanes"},
        {"cmdSWAddress", "Facility Addresses"},
        {"cmdSWKPoly", "Convert KML to Fire Shapefile"},
        {"cmdSWquit", "E&xit"},
    };
    for (const auto& [name, caption] : buttons) {
        EXPECT_EQ(button(name)->text(), caption) << name;
    }
    const std::pair<const char*, const char*> items[] = {
        {"mnuwildfires", "Wildfires"},
        {"mnuFacilitues", "Facilities and Incidents"},
        {"mnuHurricanes", "Hurricanes"},
        {"mnuFacAdd", "Facility Addresses"},
        {"mnuKML", "Convert KML to Shapefile "},
        {"mnuExit", "Exit"},
        {"mnuAbout", "About"},
    };
    for (const auto& [name, caption] : items) {
        EXPECT_EQ(action(name)->text(), caption) << name;
    }
    // "About" sits on the menu bar itself, beside the File menu.
    const auto barActions = main->menuBar()->actions();
    ASSERT_EQ(barActions.size(), 2);
    EXPECT_EQ(barActions[0]->text(), "File");
    EXPECT_EQ(barActions[1], action("mnuAbout"));
}

TEST_F(MainWindowTest, EachCommandShowsItsWindowWithItsCaption) {
    const std::tuple<const char*, const char*, const char*> commands[] = {
        {"cmdSwfire", "frmDBMan", "Wildfire Management"},
        {"cmdSWfacilities", "swFac", "Facilities Management"},
        {"cmdSWHurricanes", "swHcane", "Hurricanes"},
        {"cmdSWAddress", "frmGEAddress", "Google Earth Address Matching"},
        {"cmdSWKPoly", "kml_firedp_0611", "Wildfire Management"},
    };
    for (const auto& [buttonName, form, caption] : commands) {
        EXPECT_EQ(live(form), nullptr) << form << " exists before it is asked for";
        click(buttonName);
        QWidget* window = live(form);
        ASSERT_NE(window, nullptr) << form;
        EXPECT_TRUE(window->isVisible()) << form;
        EXPECT_EQ(window->windowTitle(), caption) << form;
    }
    action("mnuAbout")->trigger();
    ASSERT_NE(live("frmAbout"), nullptr);
    EXPECT_EQ(live("frmAbout")->windowTitle(), "About Tarn Siteward");
}

TEST_F(MainWindowTest, ShowingAgainReusesTheWindowWithWhatWasTyped) {
    const std::tuple<const char*, const char*, const char*> commands[] = {
        {"cmdSWfacilities", "mnuFacilitues", "swFac"},
        {"cmdSwfire", "mnuwildfires", "frmDBMan"},
    };
    for (const auto& [buttonName, menuName, form] : commands) {
        click(buttonName);
        QWidget* first = focusIn(form);
        auto* field = qobject_cast<QLineEdit*>(first);
        ASSERT_NE(field, nullptr) << buttonName;
        QTest::keyClicks(field, "Camp A");
        QWidget* window = field->window();
        window->hide();

        action(menuName)->trigger();
        EXPECT_EQ(field->window(), window);
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(field->text(), "Camp A") << buttonName;
    }
}

TEST_F(MainWindowTest, WildfiresAndFacilitiesPutTheCursorInTheirFirstField) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"cmdSwfire", "frmDBMan", "txtF_Name"},
        {"cmdSWfacilities", "swFac", "txtfacName"},
        {"mnuwildfires", "frmDBMan", "txtF_Name"},
        {"mnuFacilitues", "swFac", "txtfacName"},
    };
    for (const auto& [command, form, field] : cases) {
        main->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(main));
        if (QString(command).startsWith("mnu")) {
            action(command)->trigger();
        } else {
            click(command);
        }
        QWidget* focus = focusIn(form);
        ASSERT_NE(focus, nullptr) << command;
        EXPECT_EQ(focus->objectName(), field) << command;
    }
}

TEST_F(MainWindowTest, ExitClosesTheListedWindowsInOrderAndLeavesTheOthersOpen) {
    for (bool converterOpened : {true, false}) {
        SitewardApp other(dialogs);
        MainWindow* window = other.start();
        for (const char* form :
             {"frmDBMan", "swFac", "swHcane", "frmGEAddress", "kml_firedp_0611", "frmAbout"}) {
            other.registry().show(form);
        }
        if (converterOpened) {
            other.registry().existing("swFac")->findChild<QPushButton*>("cmdfCoordCon")->click();
        }
        std::vector<QString> closed;
        for (const char* form :
             {"swFac", "swHcane", "sw_ddc_0306", "frmGEAddress", "frmDBMan", "sw_main"}) {
            if (QWidget* live = other.registry().existing(form)) {
                QObject::connect(live, &QObject::destroyed,
                                 [&closed, form] { closed.push_back(form); });
            }
        }
        QTest::mouseClick(window->findChild<QPushButton*>("cmdSWquit"), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        // A window that was never opened is simply not there to close.
        std::vector<QString> expected = {"swFac",        "swHcane",  "sw_ddc_0306",
                                         "frmGEAddress", "frmDBMan", "sw_main"};
        if (!converterOpened) {
            expected.erase(expected.begin() + 2);
        }
        EXPECT_EQ(closed, expected);
        for (const char* stays : {"kml_firedp_0611", "frmAbout"}) {
            ASSERT_NE(other.registry().existing(stays), nullptr) << stays;
            EXPECT_TRUE(other.registry().existing(stays)->isVisible()) << stays;
        }
    }
}

TEST_F(MainWindowTest, FileExitAndTheCloseBoxUnloadLikeExit) {
    for (const char* how : {"menu", "close box"}) {
        SitewardApp other(dialogs);
        MainWindow* window = other.start();
        other.registry().show("swHcane");
        other.registry().show("frmGEAddress");
        if (QString(how) == "menu") {
            window->findChild<QAction*>("mnuExit")->trigger();
        } else {
            window->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(other.registry().existing("swHcane"), nullptr) << how;
        EXPECT_EQ(other.registry().existing("frmGEAddress"), nullptr) << how;
        EXPECT_EQ(other.registry().existing("sw_main"), nullptr) << how;
    }
}

TEST_F(MainWindowTest, AWindowClosedByUnloadIsBuiltAfreshNextTime) {
    click("cmdSWfacilities");
    QWidget* field = focusIn("swFac");
    ASSERT_NE(field, nullptr);
    QTest::keyClicks(field, "Tower 7");
    main->closeAllWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    auto* window = app.registry().show("swFac");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->findChild<QLineEdit*>("txtfacName")->text(), "");
}

} // namespace

namespace {

// What a user sees of a window: every named field's text and every chosen option.
std::vector<std::string> shownState(QWidget* window) {
    std::vector<std::string> state;
    for (const auto* field : window->findChildren<QLineEdit*>()) {
        if (!field->objectName().isEmpty()) {
            state.push_back((field->objectName() + "=" + field->text()).toStdString());
        }
    }
    for (const auto* option : window->findChildren<QAbstractButton*>()) {
        if (option->isChecked()) {
            state.push_back(option->objectName().toStdString() + " chosen");
        }
    }
    return state;
}

// Each window kind leaves as its own way out says (Exit, "&Close", OK): a hidden window comes
// back with what the user chose, an unloaded one is built afresh in its load state. The window
// system's close box leaves it exactly as that button does, what it clears included.
TEST_F(MainWindowTest, EachKindLeavesAsItsOwnButtonSaysAndTheCloseBoxDoesTheSame) {
    struct Case {
        const char* form;
        const char* leave;  // the window's own way out
        const char* option; // something the user chose, which only a hidden window keeps
        const char* field;  // something the user typed
        bool unloads;
    };
    const Case cases[] = {
        {"swFac", "cmdfacDone", "optICS", "txtfacName", false},
        {"frmDBMan", "cmdQuit", "optRepU", "txtF_Name", false},
        {"swHcane", "cmdHexit", "optFcast", "txtHwind", false},
        {"frmGEAddress", "cmdExit", "optICSAdd", "txtPaname", false},
        {"sw_ddc_0306", "cmdconClose", "optTRS", "txtTown", false},
        {"kml_firedp_0611", "cmdQuit", "optRepU", "txtF_Name", true},
        {"frmAbout", "cmdOK", nullptr, nullptr, true},
    };
    for (const Case& c : cases) {
        std::vector<std::string> seenAgain[2];
        for (const bool closeBox : {false, true}) {
            const std::string how = std::string(c.form) + (closeBox ? " close box" : " own button");
            SitewardApp other(dialogs);
            other.start();
            QWidget* window = other.registry().show(c.form);
            ASSERT_TRUE(QTest::qWaitForWindowExposed(window)) << how;
            if (c.option != nullptr) {
                auto* option = window->findChild<QAbstractButton*>(c.option);
                ASSERT_FALSE(option->isChecked()) << how;
                option->click();
                QTest::keyClicks(window->findChild<QLineEdit*>(c.field), "12");
            }
            if (closeBox) {
                QCloseEvent fromWindowSystem;
                QSpontaneKeyEvent::setSpontaneous(&fromWindowSystem);
                QApplication::instance()->notify(window, &fromWindowSystem);
            } else {
                window->findChild<QAbstractButton*>(c.leave)->click();
            }
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

            EXPECT_EQ(other.registry().existing(c.form), c.unloads ? nullptr : window) << how;
            EXPECT_FALSE(!c.unloads && window->isVisible()) << how;
            QWidget* again = other.registry().show(c.form);
            if (c.option != nullptr) {
                EXPECT_EQ(again->findChild<QAbstractButton*>(c.option)->isChecked(), !c.unloads)
                    << how;
            }
            seenAgain[closeBox ? 1 : 0] = shownState(again);
        }
        EXPECT_EQ(seenAgain[1], seenAgain[0]) << c.form;
    }
}

} // namespace
