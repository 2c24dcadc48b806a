#include "shell/placeholder_window.h"

#include "shell/window_registry.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace sw {

PlaceholderWindow::PlaceholderWindow(const PlaceholderSpec& spec, OpenConverter openConverter,
                                     QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(spec.form);
    setWindowTitle(spec.caption);
    auto* layout = new QVBoxLayout(this);

    auto* heading = new QLabel(spec.heading, this);
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
    if (!spec.firstField.isEmpty()) {
        auto* field = new QLineEdit(this);
        field->setObjectName(spec.firstField);
        form->addRow(tr("Name:"), field);
    }
    if (!spec.labelLetter.isEmpty()) {
        const QString l = spec.labelLetter;
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
    if (!spec.coordButton.isEmpty()) {
        auto* button = new QPushButton(tr("&Coordinate Conversion"), this);
        button->setObjectName(spec.coordButton);
        layout->addWidget(button);
        const QString target = spec.form;
        connect(button, &QPushButton::clicked, this, [openConverter, target] {
            if (openConverter) {
                openConverter(target);
            }
        });
    }
    layout->addStretch();
}

PlaceholderSpec wildfiresPlaceholder() {
    return {forms::kWildfires,           QStringLiteral("Wildfire Management"),
            QStringLiteral("Wildfires"), QStringLiteral("txtF_Name"),
            QStringLiteral("p"),         QStringLiteral("cmdCoordCon")};
}

PlaceholderSpec hurricanesPlaceholder() {
    return {forms::kHurricanes, QStringLiteral("Hurricanes"), QStringLiteral("Hurricanes"),
            QString(),          QStringLiteral("h"),          QStringLiteral("cmdHcoordCon")};
}

PlaceholderSpec addressesPlaceholder() {
    return {forms::kAddresses,
            QStringLiteral("Google Earth Address Matching"),
            QStringLiteral("Facility Addresses"),
            QString(),
            QString(),
            QString()};
}

PlaceholderSpec kmlConvertPlaceholder() {
    return {forms::kKmlConvert,
            QStringLiteral("Wildfire Management"),
            QStringLiteral("KML Conversion"),
            QString(),
            QString(),
            QString()};
}

} // namespace sw
