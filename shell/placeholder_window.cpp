#include "shell/placeholder_window.h"

#include "taskwindow/result_panel.h"
#include "ui/window_kinds.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace sw {

PlaceholderWindow::PlaceholderWindow(const PlaceholderKind& kind, OpenConverter openConverter,
                                     QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(kind.form);
    setWindowTitle(kind.caption);
    auto* layout = new QVBoxLayout(this);

    auto* heading = new QLabel(kind.heading, this);
    QFont headingFont = heading->font();
    headingFont.setPointSize(headingFont.pointSize() + 4);
    headingFont.setBold(true);
    heading->setFont(headingFont);
    layout->addWidget(heading);

    auto* note =
        new QLabel(tr("This window is being built. Its fields arrive in a later version."), this);
    note->setWordWrap(true);
    layout->addWidget(note);

    auto* form = new QFormLayout;
    layout->addLayout(form);
    if (!kind.firstField.isEmpty()) {
        auto* field = new QLineEdit(this);
        field->setObjectName(kind.firstField);
        form->addRow(tr("Name:"), field);
    }
    if (!kind.labelLetter.isEmpty()) {
        const QString l = kind.labelLetter;
        auto* results =
            new ResultPanel({l,
                             {{{"lbl" + l + "LatCap", tr("Latitude")},
                               {"lbl" + l + "LongCap", tr("Longitude")},
                               {"lbl" + l + "AlbersXCap", tr("Albers Easting")},
                               {"lbl" + l + "AlbersYCap", tr("Albers Northing")},
                               {"lbl" + l + "UTMCap", tr("UTM Coordinate (WGS 84)")},
                               {"lbl" + l + "USNGCap", tr("US National Grid (WGS 84):")}}}},
                            std::move(openConverter), this);
        layout->addWidget(results);
        if (!kind.coordButton.isEmpty()) {
            auto* button = new QPushButton(tr("&Coordinate Conversion"), this);
            button->setObjectName(kind.coordButton);
            results->addBelow(button);
            connect(button, &QPushButton::clicked, results, &ResultPanel::openConverter);
        }
    }
    layout->addStretch();
}

PlaceholderKind hurricanesPlaceholder() {
    return {forms::kHurricanes, QStringLiteral("Hurricanes"), QStringLiteral("Hurricanes"),
            QString(),          QStringLiteral("h"),          QStringLiteral("cmdHcoordCon")};
}

} // namespace sw
