// The main window through real widgets: captions and menus, the window registry's reuse,
// the focus rules, and the order in which Exit closes windows.

#include "shell/application.h"
#include "shell/main_window.h"
#include "testsupport/scripted_dialogs.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using sw::SitewardApp;
using sw::sw_main;

class MainWindowTest : public ::testing::Test {
protected:
    sw::test::ScriptedDialogs dialogs;
    SitewardApp app{dialogs};
    sw_main* main = app.start();

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
        sw_main* window = other.start();
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
        sw_main* window = other.start();
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
    main->UnloadAllForms();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    auto* window = app.registry().show("swFac");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->findChild<QLineEdit*>("txtfacName")->text(), "");
}

} // namespace

namespace {

TEST_F(MainWindowTest, TheCloseBoxHidesTaskWindowsAndTheConverterButDestroysAbout) {
    struct Case {
        const char* form;
        bool kept;
    };
    const Case cases[] = {{"swFac", true},        {"frmDBMan", true},        {"swHcane", true},
                          {"frmGEAddress", true}, {"kml_firedp_0611", true}, {"sw_ddc_0306", true},
                          {"frmAbout", false}};
    for (const Case& c : cases) {
        QWidget* window = app.registry().show(c.form);
        ASSERT_NE(window, nullptr) << c.form;
        window->close(); // what the title bar's close box does
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(live(c.form), c.kept ? window : nullptr) << c.form;
        if (c.kept) {
            EXPECT_FALSE(window->isVisible()) << c.form;
        }
    }
    // The converter keeps its notation across a close box, as across "&Close".
    click("cmdSWfacilities");
    live("swFac")->findChild<QPushButton*>("cmdfCoordCon")->click();
    QWidget* converter = live("sw_ddc_0306");
    converter->findChild<QAbstractButton*>("optDMS")->click();
    converter->close();
    live("swFac")->findChild<QPushButton*>("cmdfCoordCon")->click();
    EXPECT_EQ(live("sw_ddc_0306"), converter);
    EXPECT_TRUE(converter->findChild<QAbstractButton*>("optDMS")->isChecked());
    EXPECT_TRUE(converter->findChild<QLineEdit*>("txtDMSlongdd")->isEnabled());
}

} // namespace
