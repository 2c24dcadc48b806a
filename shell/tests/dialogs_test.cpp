// The dialog seam: classic filters become Qt name filters, and the scripted double answers in
// order and records what was shown.

#include "shell/qt_dialogs.h"
#include "testsupport/scripted_dialogs.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>
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

namespace {

// A box asked right after a file dialog closed, while the activation is still on its way back
// to the window: the box still opens over that window, not in the middle of the screen.
TEST(QtDialogs, ABoxOpensOverTheWindowThatWasActive) {
    sw::QtDialogs dialogs;
    QWidget window;
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QApplication::setActiveWindow(nullptr);
    ASSERT_EQ(QApplication::activeWindow(), nullptr);

    QWidget* parent = nullptr;
    bool shown = false;
    QTimer::singleShot(0, [&] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            shown = true;
            parent = box->parentWidget();
            box->close();
        }
    });
    dialogs.inform("Add Image or Web link?");
    EXPECT_TRUE(shown);
    EXPECT_EQ(parent, &window);
}

} // namespace
