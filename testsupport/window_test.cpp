#include "testsupport/window_test.h"

#include "coord/converter_window.h"
#include "ui/window_kinds.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace sw::test {

QString q(const char* text) {
    return QString::fromUtf8(text);
}

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

OpenConverter WindowTest::converterOpener() {
    return [this](HandBackTarget& target) {
        registry.instanceAs<ConverterWindow>(q(forms::kConverter))->openFor(&target);
    };
}

QWidget* WindowTest::openWindow(const char* kind, std::function<QWidget*(OpenConverter)> make) {
    registry.setFactory(q(forms::kConverter), [this] { return new ConverterWindow(dialogs); });
    registry.setFactory(q(kind),
                        [this, make = std::move(make)] { return make(converterOpener()); });
    window = registry.show(q(kind));
    EXPECT_NE(window, nullptr) << kind;
    if (window != nullptr) {
        activate(window);
    }
    return window;
}

QWidget* WindowTest::converter() const {
    return registry.existing(q(forms::kConverter));
}

void WindowTest::activate(QWidget* window) {
    QApplication::setActiveWindow(window);
    EXPECT_TRUE(QTest::qWaitForWindowActive(window));
}

QPushButton* WindowTest::button(const char* name) const {
    return child<QPushButton>(name);
}

QLineEdit* WindowTest::edit(const char* name) const {
    return child<QLineEdit>(name);
}

QComboBox* WindowTest::box(const char* name) const {
    return child<QComboBox>(name);
}

QLabel* WindowTest::label(const char* name) const {
    return child<QLabel>(name);
}

QString WindowTest::text(const char* labelName) const {
    return label(labelName)->text();
}

void WindowTest::click(const char* buttonName) {
    QTest::mouseClick(button(buttonName), Qt::LeftButton);
}

void WindowTest::clickInto(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton);
}

void WindowTest::typeInto(QLineEdit* field, const char* typed, bool leave) {
    clickInto(field);
    field->selectAll();
    QTest::keyClicks(field, q(typed));
    if (leave) {
        QTest::keyClick(field, Qt::Key_Tab);
        QApplication::processEvents();
    }
}

std::string WindowTest::path(const char* fileName) const {
    return (dir / fileName).string();
}

int WindowTest::enabledCount(std::span<const char* const> buttonNames) const {
    int enabled = 0;
    for (const char* name : buttonNames) {
        enabled += button(name)->isEnabled() ? 1 : 0;
    }
    return enabled;
}

} // namespace sw::test
