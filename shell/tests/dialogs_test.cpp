// The dialog seam: classic filters become Qt name filters, the scripted double answers in
// order and records what was shown, and the real dialogs open over the window that asks.

#include "shell/qt_dialogs.h"

#include "coord/hand_back.h"
#include "shell/about_window.h"
#include "shell/application.h"
#include "shell/main_window.h"
#include "taskwindow/result_panel.h"
#include "testsupport/scripted_dialogs.h"
#include "testsupport/test_paths.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
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

// Answers every modal dialog the program opens, as a user would, and notes the window each
// one opened over: a file dialog gets `path`, a question its "No", any other box its OK.
class Answerer : public QObject {
public:
    explicit Answerer(std::string path) : path_(std::move(path)) {
        timer_.setInterval(5);
        connect(&timer_, &QTimer::timeout, this, &Answerer::answer);
        timer_.start();
    }
    // The form name of the window under each dialog, "(none)" for one without a parent.
    std::vector<std::string> owners;

private:
    void answer() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) {
            return;
        }
        QWidget* parent = modal->parentWidget();
        owners.push_back(parent != nullptr ? parent->window()->objectName().toStdString()
                                           : std::string("(none)"));
        if (auto* files = qobject_cast<QFileDialog*>(modal)) {
            files->selectFile(QString::fromStdString(path_));
            static_cast<QDialog*>(files)->accept(); // as the dialog's own Open button
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            QAbstractButton* no = box->button(QMessageBox::No);
            (no != nullptr ? no : box->button(QMessageBox::Ok))->click();
        } else {
            modal->close();
        }
    }

    std::string path_;
    QTimer timer_;
};

template <class W = QAbstractButton> W* child(QWidget* window, const char* name) {
    W* widget = window->findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

void click(QWidget* window, const char* button) {
    QTest::mouseClick(child(window, button), Qt::LeftButton);
}

// Through the program's real dialogs, every window's boxes and file dialogs open over that
// window, while another window is the active one (as when a screen reader presses a button,
// or the activation has not come back from a file dialog yet) and the converter is open too.
TEST(QtDialogs, EveryBoxOpensOverTheWindowThatAsks) {
    struct Case {
        const char* form;
        std::function<void(QWidget*)> act;
        std::size_t dialogs;
    };
    const Case cases[] = {
        {"swFac", [](QWidget* w) { click(w, "cmdEnableWriteFile"); }, 1},
        // Output file, then "Add Image or Web link?".
        {"swFac",
         [](QWidget* w) {
             click(w, "optICS");
             QTest::keyClicks(child<QComboBox>(w, "cmbfacType"), "Camp");
             QTest::keyClicks(child<QLineEdit>(w, "txtfacName"), "Camp A");
             w->findChild<sw::ResultPanel*>()->receiveCoordinates(sw::handBackTexts(30.25, -84.5));
             click(w, "cmdEnableWriteFile");
             click(w, "cmdfKML");
         },
         2},
        {"frmDBMan", [](QWidget* w) { click(w, "CmdEnable"); }, 1},
        {"swHcane", [](QWidget* w) { click(w, "cmdEnableWriteFile"); }, 1},
        {"frmGEAddress", [](QWidget* w) { click(w, "cmdEnableKML"); }, 1},
        {"kml_firedp_0611", [](QWidget* w) { click(w, "CmdEnable"); }, 1},
        {"sw_ddc_0306",
         [](QWidget* w) {
             click(w, "optGrid");
             QTest::keyClicks(child<QLineEdit>(w, "txtGridRef"), "not a reference");
             QTest::keyClick(child<QLineEdit>(w, "txtGridRef"), Qt::Key_Return);
         },
         1},
        {"frmAbout",
         [](QWidget* w) {
             qobject_cast<sw::AboutWindow*>(w)->setSystemInfoLookup([] { return QString(); });
             click(w, "cmdSysInfo");
         },
         1},
    };
    for (const auto& c : cases) {
        sw::test::TempDir dir;
        sw::QtDialogs dialogs;
        sw::SitewardApp app(dialogs);
        QWidget* main = app.start();
        app.registry().show("sw_ddc_0306");
        QWidget* asker = app.registry().show(c.form);
        ASSERT_NE(asker, nullptr) << c.form;
        ASSERT_TRUE(QTest::qWaitForWindowExposed(asker));
        main->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(main)) << c.form;

        Answerer answerer((dir / "answer.kml").string());
        c.act(asker);
        EXPECT_EQ(answerer.owners, std::vector<std::string>(c.dialogs, c.form)) << c.form;
    }
}

// A screen reader can press a button of a window that a box keeps waiting (the box blocks
// only the mouse and keys). A window asked to go while one of the program's boxes is open
// stays until the box is answered: the box, and the work that asked it, are not pulled away
// from under the user.
TEST(QtDialogs, WindowsAskedToGoWhileABoxIsOpenStay) {
    for (const char* leave : {"cmdQuit", "cmdSWquit"}) {
        sw::QtDialogs dialogs;
        sw::SitewardApp app(dialogs);
        QWidget* main = app.start();
        QWidget* kml = app.registry().show("kml_firedp_0611");
        ASSERT_TRUE(QTest::qWaitForWindowExposed(kml));
        QPointer<QWidget> watched = kml;
        bool pressed = false;
        QTimer presser;
        presser.setInterval(5);
        QObject::connect(&presser, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) {
                return;
            }
            if (!pressed) {
                pressed = true;
                QWidget* owner = std::string(leave) == "cmdQuit" ? kml : main;
                child(owner, leave)->click();
                QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                return;
            }
            box->button(QMessageBox::Ok)->click();
        });
        presser.start();
        click(kml, "CmdEnable");
        presser.stop();
        EXPECT_TRUE(pressed) << leave;
        ASSERT_FALSE(watched.isNull()) << leave;
        EXPECT_TRUE(kml->isVisible()) << leave;
    }
}

} // namespace
