#pragma once
// Small helpers every task window uses to build its controls: the control names of the forms
// (object names, which tests and the accessibility tree see), buttons of one height, captions
// tied to their field, and the text conversions between the logic and Qt.

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

// A caption whose mnemonic and accessible relation lead to `buddy`. A label that shows a value
// is no buddy: it keeps its own text as its name, so a screen reader reads the value.
inline QLabel* caption(const char* name, const char* text, QWidget* buddy) {
    auto* label = named(new QLabel(QString::fromUtf8(text)), name);
    if (qobject_cast<QLabel*>(buddy) == nullptr) {
        label->setBuddy(buddy);
    }
    return label;
}

// The output group of a record window: the button that checks the record and unlocks the
// others, a new and an appended text file, a new and an appended shapefile, and KML.
struct OutputNames {
    const char* group;
    const char* enable;
    const char* newFile;
    const char* appendFile;
    const char* newShape;
    const char* appendShape;
    const char* kml;
};

struct OutputButtons {
    QGroupBox* group;
    QPushButton* enable;
    QPushButton* newFile;
    QPushButton* appendFile;
    QPushButton* newShape;
    QPushButton* appendShape;
    QPushButton* kml;
};

// `record` names what the files hold: "Facility" gives "Create New Facility File".
inline OutputButtons makeOutputButtons(const OutputNames& names, const QString& record) {
    OutputButtons out{};
    out.enable = button(names.enable, "Enable File and Shapefile Creation");
    out.newFile = button(names.newFile, QStringLiteral("Create New %1 File").arg(record));
    out.appendFile =
        button(names.appendFile, QStringLiteral("Append Existing %1 File").arg(record));
    out.newShape = button(names.newShape, "Write to Shapefile (Albers)");
    out.appendShape = button(names.appendShape, "Append Existing Shapefile (Albers)");
    out.kml = button(names.kml, "Create KML for Google Earth");
    out.group = named(new QGroupBox(QStringLiteral("Output")), names.group);
    auto* grid = new QGridLayout(out.group);
    grid->addWidget(out.enable, 0, 0, 1, 2);
    grid->addWidget(out.newFile, 1, 0);
    grid->addWidget(out.appendFile, 1, 1);
    grid->addWidget(out.newShape, 2, 0);
    grid->addWidget(out.appendShape, 2, 1);
    grid->addWidget(out.kml, 3, 0, 1, 2);
    return out;
}

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
