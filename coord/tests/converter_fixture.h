#pragma once
// A converter window with stand-in task windows, ready to be typed into the way a user does:
// the stand-ins carry only the six labels the converter writes, registered under the task
// windows' form names, and every message box and bell goes to a scripted double.

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>
#include <QtTest/QTest>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "coord/converter_window.h"
#include "shell/window_registry.h"
#include "testsupport/scripted_dialogs.h"

namespace sw::test {

// The labels each task window gives the converter, in the order: Albers easting, northing,
// longitude, latitude, grid reference, UTM.
inline const std::map<std::string, std::vector<std::string>>& targetLabelNames() {
    static const std::map<std::string, std::vector<std::string>> names = {
        {"frmDBMan",
         {"lblpAlbersX", "lblpAlbersY", "lblpDDLong", "lblpDDLat", "lblUSNG", "lblUTMCoord"}},
        {"swFac",
         {"lblfAlbersX", "lblfAlbersY", "lblfDDLong", "lblfDDLat", "lblUSNG", "lblUTMCoord"}},
        {"swHcane",
         {"lblhAlbersX", "lblhAlbersY", "lblhDDLong", "lblhDDLat", "lblUSNG", "lblUTMCoord"}},
    };
    return names;
}

class ConverterFixture : public ::testing::Test {
protected:
    void SetUp() override {
        for (const auto& [form, labels] : targetLabelNames()) {
            registry.setFactory(QString::fromStdString(form), [labels] {
                auto* window = new QWidget;
                for (const std::string& name : labels) {
                    auto* label = new QLabel(window);
                    label->setObjectName(QString::fromStdString(name));
                }
                return window;
            });
        }
        registry.setFactory(forms::kConverter,
                            [this] { return new sw_ddc_0306(registry, dialogs); });
        converter = registry.instanceAs<sw_ddc_0306>(forms::kConverter);
        ASSERT_NE(converter, nullptr);
    }

    // What a task window's coordinate button does.
    void openFor(const std::string& form) {
        registry.instance(QString::fromStdString(form));
        converter->openFor(QString::fromStdString(form));
        QApplication::setActiveWindow(converter);
        ASSERT_TRUE(QTest::qWaitForWindowActive(converter));
    }

    template <class T = QWidget> T* child(const std::string& name) {
        T* widget = converter->findChild<T*>(QString::fromStdString(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QLineEdit* field(const std::string& name) { return child<QLineEdit>(name); }
    std::string text(const std::string& name) {
        QWidget* w = child(name);
        if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            return edit->text().toStdString();
        }
        if (auto* label = qobject_cast<QLabel*>(w)) {
            return label->text().toStdString();
        }
        if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            return button->text().toStdString();
        }
        return {};
    }
    void click(const std::string& name) { child<QAbstractButton>(name)->click(); }

    // The six texts a task window received, in targetLabelNames() order.
    std::vector<std::string> received(const std::string& form) {
        std::vector<std::string> texts;
        QWidget* window = registry.existing(QString::fromStdString(form));
        if (window == nullptr) {
            return texts;
        }
        for (const std::string& name : targetLabelNames().at(form)) {
            auto* label = window->findChild<QLabel*>(QString::fromStdString(name));
            texts.push_back(label ? label->text().toStdString() : "<missing>");
        }
        return texts;
    }
    // The converter's own six results, in the same order.
    std::vector<std::string> results() {
        return {text("lblAlbersX"), text("lblAlbersY"), text("lblDDLong"),
                text("lblDDLat"),   text("lblUSNG"),    text("lblUTMCoord")};
    }

    std::string focused() {
        QWidget* w = QApplication::focusWidget();
        return w ? w->objectName().toStdString() : "<none>";
    }
    // Puts the focus into a field as a click would.
    void focus(const std::string& name) {
        QWidget* w = child(name);
        if (w->hasFocus()) {
            w->clearFocus(); // clicking a field that has the focus selects it afresh
        }
        w->setFocus(Qt::MouseFocusReason);
        QApplication::processEvents();
        ASSERT_EQ(focused(), name);
    }
    // Types each character into whatever control has the focus at that moment, as a user does
    // while auto-advance moves the focus along.
    void type(const std::string& keys) {
        for (const char c : keys) {
            QWidget* target = QApplication::focusWidget();
            ASSERT_NE(target, nullptr) << "no focus for '" << c << "'";
            QTest::keyClick(target, c);
        }
        // Focus returned to a field after a refused entry comes back once events are processed.
        QApplication::processEvents();
    }

    ScriptedDialogs dialogs;
    WindowRegistry registry; // after the dialogs: the windows go first
    sw_ddc_0306* converter = nullptr;
};

} // namespace sw::test
