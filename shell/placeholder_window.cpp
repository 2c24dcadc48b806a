#include "shell/placeholder_window.h"

#include "shell/window_registry.h"

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
        const std::pair<QString, QString> results[] = {
            {QStringLiteral("lbl%1DDLat").arg(l), tr("Latitude")},
            {QStringLiteral("lbl%1DDLong").arg(l), tr("Longitude")},
            {QStringLiteral("lbl%1AlbersX").arg(l), tr("Albers Easting")},
            {QStringLiteral("lbl%1AlbersY").arg(l), tr("Albers Northing")},
            {QStringLiteral("lblUTMCoord"), tr("UTM Coordinate (WGS 84)")},
            {QStringLiteral("lblUSNG"), tr("US National Grid (WGS 84):")},
        };
        for (const auto& [name, caption] : results) {
            auto* value = new QLabel(this);
            value->setObjectName(name);
            value->setMinimumWidth(220);
            value->setFrameShape(QFrame::Panel);
            value->setFrameShadow(QFrame::Sunken);
            form->addRow(caption, value);
        }
    }
    if (!kind.coordButton.isEmpty()) {
        auto* button = new QPushButton(tr("&Coordinate Conversion"), this);
        button->setObjectName(kind.coordButton);
        layout->addWidget(button);
        const QString target = kind.form;
        connect(button, &QPushButton::clicked, this, [openConverter, target] {
            if (openConverter) {
                openConverter(target);
            }
        });
    }
    layout->addStretch();
}

PlaceholderKind wildfiresPlaceholder() {
    return {forms::kWildfires,           QStringLiteral("Wildfire Management"),
            QStringLiteral("Wildfires"), QStringLiteral("txtF_Name"),
            QStringLiteral("p"),         QStringLiteral("cmdCoordCon")};
}

PlaceholderKind hurricanesPlaceholder() {
    return {forms::kHurricanes, QStringLiteral("Hurricanes"), QStringLiteral("Hurricanes"),
            QString(),          QStringLiteral("h"),          QStringLiteral("cmdHcoordCon")};
}

PlaceholderKind addressesPlaceholder() {
    return {forms::kAddresses,
            QStringLiteral("Google Earth Address Matching"),
            QStringLiteral("Facility Addresses"),
            QString(),
            QString(),
            QString()};
}

PlaceholderKind kmlConvertPlaceholder() {
    return {forms::kKmlConvert,
            QStringLiteral("Wildfire Management"),
            QStringLiteral("KML Conversion"),
            QString(),
            QString(),
            QString()};
}

} // namespace sw
