// The dialog seam: classic filters become Qt name filters, and the scripted double answers in
// order and records what was shown.

#include "shell/qt_dialogs.h"
#include "testsupport/scripted_dialogs.h"

#include <gtest/gtest.h>

namespace {

TEST(QtNameFilters, ClassicFiltersBecomeQtFilters) {
    const std::pair<const char*, QStringList> cases[] = {
        {"Text Files(*.txt)|*.txt", {"Text Files (*.txt)"}},
        {"Text Files (pf*.txt)|pf*.txt", {"Text Files (pf*.txt)"}},
        {"Shape Files(*.shp)|*.shp", {"Shape Files (*.shp)"}},
        {"KML Files(*.kml)|*.kml|All Files(*.*)|*.*", {"KML Files (*.kml)", "All Files (*.*)"}},
        {"Pictures|*.png;*.jpg", {"Pictures (*.png *.jpg)"}},
        {"", {}},
        {"caption without pattern", {}},
    };
    for (const auto& [classic, expected] : cases) {
        EXPECT_EQ(sw::qtNameFilters(classic), expected) << classic;
    }
}

TEST(ScriptedDialogs, AnswersInOrderAndRecordsEverything) {
    sw::test::ScriptedDialogs dialogs;
    dialogs.answerNext(sw::Answer::No).answerNext(sw::Answer::Yes);
    dialogs.inputNext("http://x").inputNext(std::nullopt);
    dialogs.fileNext("/tmp/a.txt");

    dialogs.inform("plain");
    EXPECT_FALSE(dialogs.askYesNo("first?", "T", sw::Icon::Question));
    EXPECT_TRUE(dialogs.askYesNo("second?", "T", sw::Icon::Question));
    EXPECT_EQ(dialogs.input({"link", "", ""}), std::optional<std::string>("http://x"));
    EXPECT_EQ(dialogs.input({"link", "", ""}), std::nullopt);
    EXPECT_EQ(dialogs.file({}), std::optional<std::string>("/tmp/a.txt"));
    {
        sw::WaitCursor wait(dialogs);
        EXPECT_TRUE(dialogs.waitCursorOn);
    }
    EXPECT_FALSE(dialogs.waitCursorOn);
    dialogs.beep();

    EXPECT_TRUE(dialogs.allAnswersUsed());
    EXPECT_EQ(dialogs.messageTexts(), (std::vector<std::string>{"plain", "first?", "second?"}));
    EXPECT_EQ(dialogs.log,
              (std::vector<std::string>{"message: plain", "message: first?", "message: second?",
                                        "input: link", "input: link", "file: ", "wait on",
                                        "wait off", "beep"}));
}

} // namespace
