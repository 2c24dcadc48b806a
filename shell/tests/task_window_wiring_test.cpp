// Through the program's own wiring, the wildfire and hurricane windows open the real converter
// for themselves and receive its six results.

#include "shell/application.h"
#include "testsupport/scripted_dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(TaskWindowWiring, CoordinateButtonOpensTheConverterAndReceivesItsResults) {
    struct Case {
        const char* form;
        const char* button;
        const char* letter;
    };
    const Case cases[] = {{"frmDBMan", "cmdCoordCon", "p"}, {"swHcane", "cmdHcoordCon", "h"}};
    for (const auto& c : cases) {
        sw::test::ScriptedDialogs dialogs;
        sw::SitewardApp app(dialogs);
        app.start();
        QWidget* task = app.registry().show(c.form);
        ASSERT_NE(task, nullptr) << c.form;
        QTest::mouseClick(task->findChild<QAbstractButton*>(c.button), Qt::LeftButton);

        QWidget* converter = app.registry().existing("sw_ddc_0306");
        ASSERT_NE(converter, nullptr) << c.form;
        ASSERT_TRUE(converter->isVisible());
        QApplication::setActiveWindow(converter);
        ASSERT_TRUE(QTest::qWaitForWindowActive(converter));
        QTest::mouseClick(converter->findChild<QAbstractButton*>("optDD"), Qt::LeftButton);
        // Longitude 084.5, latitude 30.25: a full field moves on by itself, the one-digit
        // decimals are left with Tab.
        QTest::keyClicks(QApplication::focusWidget(), "084");
        QTest::keyClicks(QApplication::focusWidget(), "5");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClicks(QApplication::focusWidget(), "30");
        QTest::keyClicks(QApplication::focusWidget(), "25");

        const QString l = QString::fromUtf8(c.letter);
        const std::pair<QString, QString> expected[] = {
            {"lbl" + l + "DDLat", "30.2500"},
            {"lbl" + l + "DDLong", "-084.5000"},
            {"lbl" + l + "AlbersX", "351936.72"},
            {"lbl" + l + "AlbersY", "693727.66"},
            {"lblUTMCoord", "16R 740550.42 3349132.77"},
            {"lblUSNG", "16R GU 40550 49133"},
        };
        for (const auto& [label, text] : expected) {
            auto* shown = task->findChild<QLabel*>(label);
            ASSERT_NE(shown, nullptr) << label.toStdString();
            EXPECT_EQ(shown->text().toStdString(), text.toStdString())
                << c.form << " " << label.toStdString();
        }
        EXPECT_TRUE(dialogs.messages.empty());
    }
}

} // namespace
