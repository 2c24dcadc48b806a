#include "testsupport/window_test.h"

#include "coord/converter_window.h"
#include "ui/window_kinds.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMetaEnum>
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

QString WindowTest::tabOrder(const char* first, int count) const {
    QStringList order;
    QWidget* widget = child<QWidget>(first);
    for (int i = 0; i < count && widget != nullptr; ++i, widget = widget->nextInFocusChain()) {
        while (widget->focusPolicy() == Qt::NoFocus || widget->objectName().isEmpty()) {
            widget = widget->nextInFocusChain();
        }
        order << widget->objectName();
    }
    return order.join(QLatin1Char(' '));
}

int WindowTest::enabledCount(std::span<const char* const> buttonNames) const {
    int enabled = 0;
    for (const char* name : buttonNames) {
        enabled += button(name)->isEnabled() ? 1 : 0;
    }
    return enabled;
}

namespace {

bool isControl(QAccessible::Role role) {
    switch (role) {
    case QAccessible::EditableText:
    case QAccessible::ComboBox:
    case QAccessible::RadioButton:
    case QAccessible::CheckBox:
    case QAccessible::PushButton:
    case QAccessible::Slider:
    case QAccessible::ScrollBar:
    case QAccessible::SpinBox:
        return true;
    default:
        return false;
    }
}

// Qt names a control that has neither a name nor a caption after the group around it
// ("Fire"): that says where it is, not what it is.
void collectUnnamed(QAccessibleInterface* node, const QString& groupName, QStringList& unnamed) {
    if (node == nullptr || node->state().invisible) {
        return;
    }
    const QString name = node->text(QAccessible::Name).trimmed();
    const bool ownTextOfAList =
        node->parent() != nullptr && node->parent()->role() == QAccessible::ComboBox;
    if (isControl(node->role()) && !ownTextOfAList && (name.isEmpty() || name == groupName)) {
        const QObject* object = node->object();
        unnamed << QStringLiteral("%1 %2").arg(
            QString::fromLatin1(QMetaEnum::fromType<QAccessible::Role>().valueToKey(node->role())),
            object != nullptr ? object->objectName() : QString());
    }
    const QString inner = node->role() == QAccessible::Grouping ? name : groupName;
    for (int i = 0; i < node->childCount(); ++i) {
        collectUnnamed(node->child(i), inner, unnamed);
    }
}

} // namespace

QStringList WindowTest::unnamedControls() const {
    QStringList unnamed;
    collectUnnamed(QAccessible::queryAccessibleInterface(window), {}, unnamed);
    return unnamed;
}

} // namespace sw::test
