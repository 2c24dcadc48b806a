#pragma once
// A converter window with stand-in hand-back targets (one per task window that takes
// coordinates, recording the six texts they last received), typed into the way a user does.
// Message boxes and the bell go to the scripted double.

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QtTest/QTest>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "coord/converter_window.h"
#include "coord/hand_back.h"
#include "testsupport/scripted_dialogs.h"

namespace sw::test {

using Texts = std::vector<std::string>;

// Albers easting, northing, longitude, latitude, grid reference, UTM: the order the tests
// compare in.
inline Texts inTestOrder(const HandBackTexts& t) {
    return {t.albersX, t.albersY, t.longitude, t.latitude, t.usng, t.utm};
}

// A task window as the converter sees it: it only receives.
class StandInTarget : public HandBackTarget {
public:
    void receiveCoordinates(const HandBackTexts& texts) override { last = inTestOrder(texts); }
    Texts last = Texts(6, "");
};

// What a correct converter shows and hands back for a point, in that order.
inline Texts expectedTexts(double latitude, double longitude) {
    return inTestOrder(handBackTexts(latitude, longitude));
}

// The scripted double, able to do what a real message box does to the window that asked while
// it is up: take the activation away, so that window gets its focus back only later.
class ConverterDialogs : public ScriptedDialogs {
public:
    std::function<void()> whileShown;

    Answer message(const MessageRequest& request) override {
        if (whileShown) {
            whileShown();
        }
        return ScriptedDialogs::message(request);
    }
};

class ConverterFixture : public ::testing::Test {
protected:
    void SetUp() override {
        owned = std::make_unique<ConverterWindow>(dialogs);
        converter = owned.get();
    }

    // What a task window's coordinate button does; a form without a stand-in opens the
    // converter for nobody.
    void openFor(const std::string& form) {
        auto target = targets.find(form);
        converter->openFor(target == targets.end() ? nullptr : &target->second);
        QApplication::setActiveWindow(converter);
        ASSERT_TRUE(QTest::qWaitForWindowActive(converter));
    }

    template <class T = QWidget> T* child(const std::string& name) {
        T* widget = converter->findChild<T*>(QString::fromStdString(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QLineEdit* field(const std::string& name) { return child<QLineEdit>(name); }
    bool enabled(const std::string& name) { return child(name)->isEnabled(); }
    std::string text(const std::string& name) {
        QWidget* w = child(name);
        if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            return edit->text().toStdString();
        }
        if (auto* label = qobject_cast<QLabel*>(w)) {
            return label->text().toStdString();
        }
        return qobject_cast<QAbstractButton*>(w)->text().toStdString();
    }
    void click(const std::string& name) { child<QAbstractButton>(name)->click(); }

    // The six texts a task window received.
    Texts received(const std::string& form) { return targets.at(form).last; }
    // The converter's own six results, in the same order.
    Texts results() {
        return {text("lblAlbersX"), text("lblAlbersY"), text("lblDDLong"),
                text("lblDDLat"),   text("lblUSNG"),    text("lblUTMCoord")};
    }

    std::string focused() {
        QWidget* w = QApplication::focusWidget();
        return w ? w->objectName().toStdString() : "<none>";
    }
    // Puts the focus into a field as a click would (a click selects a focused field afresh).
    void focus(const std::string& name) {
        QWidget* w = child(name);
        if (w->hasFocus()) {
            w->clearFocus();
        }
        w->setFocus(Qt::MouseFocusReason);
        QApplication::processEvents();
        ASSERT_EQ(focused(), name);
    }
    // Types each character into whatever has the focus at that moment, as a user does while
    // auto-advance moves the focus along.
    void type(const std::string& keys) {
        for (const char c : keys) {
            ASSERT_NE(QApplication::focusWidget(), nullptr) << "no focus for '" << c << "'";
            QTest::keyClick(QApplication::focusWidget(), c);
        }
        QApplication::processEvents(); // focus sent back to a refused field arrives
    }

    ConverterDialogs dialogs;
    std::map<std::string, StandInTarget> targets = {
        {"frmDBMan", {}}, {"swFac", {}}, {"swHcane", {}}};
    std::unique_ptr<sw::ConverterWindow> owned; // after the dialogs and targets: goes first
    sw::ConverterWindow* converter = nullptr;
};

} // namespace sw::test
