#pragma once
// Small helpers every task window uses to build its controls: the control names of the forms
// (object names, which tests and the accessibility tree see), buttons of one height, captions
// tied to their field, and the text conversions between the logic and Qt.

#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
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

inline QPushButton* button(const char* name, const QString& caption) {
    auto* b = named(new QPushButton(caption), name);
    b->setMinimumHeight(30);
    return b;
}
inline QPushButton* button(const char* name, const char* caption) {
    return button(name, QString::fromUtf8(caption));
}

// The window's heading above everything else: its caption half as large again, bold, centred.
inline QLabel* heading(const char* name, const char* text) {
    auto* label = named(new QLabel(QString::fromUtf8(text)), name);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 1.5);
    font.setBold(true);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

// A caption whose mnemonic and accessible relation lead to `buddy`. A label that shows a value
// is no buddy: it keeps its own text as its name, so a screen reader reads the value.
inline QLabel* caption(const char* name, const char* text, QWidget* buddy) {
    auto* label = named(new QLabel(QString::fromUtf8(text)), name);
    if (qobject_cast<QLabel*>(buddy) == nullptr) {
        label->setBuddy(buddy);
    }
    return label;
}

// The object names of a record window's output group (taskwindow/output_panel.h): the group,
// the button that checks the record and unlocks the others, a new and an appended text file, a
// new and an appended shapefile, and KML.
struct OutputNames {
    const char* group;
    const char* enable;
    const char* newFile;
    const char* appendFile;
    const char* newShape;
    const char* appendShape;
    const char* kml;
};

// "Clear Values" at the left of the window's foot, its way out at the right.
struct ClosingButtons {
    QHBoxLayout* row;
    QPushButton* clear;
    QPushButton* exit;
};

inline ClosingButtons makeClosingButtons(const char* exitName) {
    ClosingButtons out{new QHBoxLayout, button("cmdClear", "Clear Values"),
                       button(exitName, "E&xit")};
    out.row->addWidget(out.clear);
    out.row->addStretch();
    out.row->addWidget(out.exit);
    return out;
}

} // namespace sw::controls
