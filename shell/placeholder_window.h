#pragma once
// A task window whose real contents are not built yet: a real window of its kind, with its
// caption and heading, and — for the windows that take coordinates — the first field that the
// main window focuses, the six-result panel the converter fills, and the coordinate button.

#include "coord/hand_back.h"

#include <QString>
#include <QWidget>

namespace sw {

struct PlaceholderKind {
    QString form;        // registry name, e.g. "frmDBMan"
    QString caption;     // window caption
    QString heading;     // heading label text
    QString firstField;  // objectName of the first entry field, empty for none
    QString labelLetter; // "p", "h", "f": the six result labels' letter, empty for none
    QString coordButton; // objectName of the coordinate button, empty for none
};

class PlaceholderWindow : public QWidget {
    Q_OBJECT
public:
    PlaceholderWindow(const PlaceholderKind& kind, OpenConverter openConverter,
                      QWidget* parent = nullptr);
};

// The placeholders of the task windows that are not built yet.
PlaceholderKind hurricanesPlaceholder();

} // namespace sw
