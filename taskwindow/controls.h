#pragma once
// Small helpers every task window uses to build its controls: the control names of the forms
// (object names, which tests and the accessibility tree see), buttons of one height, captions
// tied to their field, and the text conversions between the logic and Qt.

#include <QLabel>
#include <QPushButton>
#include <QString>
#include <string>

namespace sw::controls {

inline QString qs(const std::string& text) {
    return QString::fromStdString(text);
}
inline std::string ss(const QString& text) {
    return text.toStdString();
}

// `widget`, named as the form names it ("txtF_Name").
template <class W> W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

inline QPushButton* button(const char* name, const char* caption) {
    auto* b = named(new QPushButton(QString::fromUtf8(caption)), name);
    b->setMinimumHeight(30);
    return b;
}

// A caption whose mnemonic and accessible relation lead to `buddy`.
inline QLabel* caption(const char* name, const char* text, QWidget* buddy) {
    auto* label = named(new QLabel(QString::fromUtf8(text)), name);
    label->setBuddy(buddy);
    return label;
}

} // namespace sw::controls
