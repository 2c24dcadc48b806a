#pragma once
// The fixture every window test starts from: the dialog double, the window registry with the
// real converter in it, a temporary folder, the window under test shown and active, and the
// ways a test reaches and drives its controls (by the object names of the form, as a user
// reaches them by caption). A test derives from WindowTest, opens its window in SetUp and
// tests the wiring; the rules themselves are tested in plain logic tests.
//
//     class FacilitiesWindowTest : public sw::test::WindowTest {
//         void SetUp() override {
//             window = openWindow(forms::kFacilities, [this](OpenConverter open) {
//                 return new FacilitiesWindow(dialogs, std::move(open));
//             });
//         }
//     };

#include "coord/hand_back.h"
#include "testsupport/scripted_dialogs.h"
#include "testsupport/test_paths.h"
#include "ui/window_registry.h"

#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>
#include <span>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

void PrintTo(const QString& text, std::ostream* out);

namespace sw::test {

QString q(const char* text);
QString q(const std::string& text);

class WindowTest : public ::testing::Test {
protected:
    ScriptedDialogs dialogs;
    WindowRegistry registry; // after the dialogs: its windows go first
    TempDir dir;
    QWidget* window = nullptr; // the window under test

    // Registers the window kind with `make` (which receives the call that opens the real
    // converter for a target), shows it through the registry and makes it the active window.
    QWidget* openWindow(const char* kind, std::function<QWidget*(OpenConverter)> make);
    // The call a window's coordinate button makes: the registry's converter opened for it.
    OpenConverter converterOpener();
    static void activate(QWidget* window);
    // The converter, once a coordinate button has opened it (nothing before).
    QWidget* converter() const;

    template <class W> W* child(const char* name) const {
        W* widget = window->findChild<W*>(q(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QPushButton* button(const char* name) const;
    QLineEdit* edit(const char* name) const;
    QComboBox* box(const char* name) const;
    QLabel* label(const char* name) const;
    QString text(const char* labelName) const;

    void click(const char* buttonName);
    static void clickInto(QWidget* widget);
    // Types into a field as a user does: click, select what is there, type, and leave it by
    // Tab unless told not to (a refused field takes the focus back).
    static void typeInto(QLineEdit* field, const char* typed, bool leave = true);
    std::string path(const char* fileName) const;

    // The object names of `count` controls in the order Tab reaches them, from `first` on
    // (controls without a name, such as an editable list's own text field, are passed over).
    QString tabOrder(const char* first, int count) const;

    // How many of these buttons are enabled.
    int enabledCount(std::span<const char* const> buttonNames) const;

    // What a screen reader finds without a name in the window under test: every shown input,
    // option, button, slider and scroll bar whose accessible name is empty or only the title
    // of the group around it, as "role objectName" (an editable list's own text field goes by
    // the list's name).
    QStringList unnamedControls() const;
};

} // namespace sw::test
