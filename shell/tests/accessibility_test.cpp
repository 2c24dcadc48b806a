// A screen reader finds a name for every control of every window of the program, each
// announced as a window: a control added without a name fails here, whichever window it is in.

#include "shell/application.h"
#include "testsupport/accessibility_walk.h"
#include "testsupport/scripted_dialogs.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(ScreenReader, EveryControlOfEveryWindowHasAName) {
    sw::test::ScriptedDialogs dialogs;
    sw::SitewardApp app(dialogs);
    app.start();
    for (const char* form : {"sw_main", "frmAbout", "frmGEAddress", "swFac", "frmDBMan", "swHcane",
                             "kml_firedp_0611", "sw_ddc_0306"}) {
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
