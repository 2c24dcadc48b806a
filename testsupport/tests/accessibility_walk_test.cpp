// The walk finds what a screen reader could not announce, and nothing else.

#include "testsupport/accessibility_walk.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

namespace sw::test {
namespace {

template <class T> T* add(QWidget& window, const char* name) {
    auto* w = new T(&window);
    w->setObjectName(QString::fromLatin1(name));
    window.layout()->addWidget(w);
    return w;
}

TEST(AccessibilityWalk, ReportsEachControlAScreenReaderCannotName) {
    QWidget window;
    window.setObjectName(QStringLiteral("plain"));
    new QVBoxLayout(&window);
    add<QLineEdit>(window, "bareField");
    auto* caption = add<QLabel>(window, "caption");
    caption->setText(QStringLiteral("Name:"));
    caption->setBuddy(add<QLineEdit>(window, "fieldWithBuddy"));
    add<QLineEdit>(window, "namedField")->setAccessibleName(QStringLiteral("Named"));
    add<QRadioButton>(window, "captionless");
    add<QPushButton>(window, "ampersandOnly")->setText(QStringLiteral("&"));
    add<QPushButton>(window, "ok")->setText(QStringLiteral("&OK"));
    add<QScrollBar>(window, "bareScrollBar");
    add<QLabel>(window, "emptyValue");
    auto* value = add<QLabel>(window, "labelledValue");
    auto* valueCaption = add<QLabel>(window, "valueCaption");
    valueCaption->setText(QStringLiteral("Value"));
    valueCaption->setBuddy(value);
    add<QLabel>(window, "describedValue")->setAccessibleDescription(QStringLiteral("Key"));
    window.show();

    // A plain QWidget window without a title: not announced as a window, and nameless.
    EXPECT_EQ(unnamedControls(&window),
              (std::vector<std::string>{
                  "Client plain: not announced as a window", "Client plain: no name",
                  "EditableText plain/bareField: no name", "RadioButton plain/captionless: no name",
                  "Button plain/ampersandOnly: no name", "ScrollBar plain/bareScrollBar: no name",
                  "StaticText plain/emptyValue: an empty text that nothing labels or describes"}));

    const std::vector<AccessibleNode> tree = accessibilityTree(&window);
    ASSERT_GE(tree.size(), 3u);
    EXPECT_EQ(tree[0].path, "plain");
    for (const AccessibleNode& n : tree) {
        if (n.path == "plain/fieldWithBuddy") {
            EXPECT_EQ(n.name, "Name:");
            EXPECT_EQ(n.labelledBy, "Name:");
        }
        if (n.path == "plain/labelledValue") {
            EXPECT_EQ(n.labelledBy, "Value");
        }
    }
}

} // namespace
} // namespace sw::test
