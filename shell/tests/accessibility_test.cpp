// A screen reader finds a name for every control of the main window, About, the Facility
// Addresses window and the Facilities and Wildfires windows, each announced as a window.

#include "shell/application.h"
#include "testsupport/accessibility_walk.h"
#include "testsupport/scripted_dialogs.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(ScreenReader, EveryControlOfTheseWindowsHasAName) {
    sw::test::ScriptedDialogs dialogs;
    sw::SitewardApp app(dialogs);
    app.start();
    for (const char* form : {"sw_main", "frmAbout", "frmGEAddress", "swFac", "frmDBMan"}) {
        QWidget* window = app.registry().show(QString::fromLatin1(form));
        ASSERT_NE(window, nullptr) << form;
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window)) << form;
        EXPECT_EQ(sw::test::unnamedControls(window), std::vector<std::string>{}) << form;
    }
    // A coordinate result is read with its caption, whether it shows a value or not.
    for (const auto& node : sw::test::accessibilityTree(app.registry().existing("swFac"))) {
        if (node.path.ends_with("/lblfDDLat") || node.path.ends_with("/lblUSNG")) {
            EXPECT_EQ(node.labelledBy, node.path.ends_with("/lblfDDLat")
                                           ? "Latitude"
                                           : "US National Grid (WGS 84):");
        }
    }
}

} // namespace
