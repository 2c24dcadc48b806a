#include "coord/converter_controls.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "coord/entry_fields.h"
#include "coord/trs_panel.h"

namespace sw {
namespace {

using entry::makeLabel;
using entry::qs;

// The captions of a typed notation's box; its fields come from the field table.
struct AngleBox {
    const char* box;
    const char* heading;
    const char* headingText;
    const char* longitudeLabel;
    const char* longitudeText;
    const char* latitudeLabel;
    const char* latitudeText;
};
// Indexed by Notation.
constexpr AngleBox angleBoxes[] = {
    {"frmDD", "lblDD", "Enter Decimal Degrees", "lblDDDlong", "Longitude (west is negative)",
     "lbDDlat", "Latitude (North is assumed)"},
    {"frmDMM", "lblDMMM", "Enter Degrees Minutes Decimal Minutes", "lblDMMlong",
     "Longitude (west is Negative)", "lblDMMlat", "Latitude (North is assumed)"},
    {"frmDMS", "lblDDMMSS", "Enter Degrees Minutes Seconds", "lblLONG",
     "Longitude(West is Negative)", "lblLAT", "Latitude (North is Assumed)"}};

// The sign that follows a field: the decimal point after whole degrees or minutes that have
// decimal digits, else the unit of the part.
QString signAfter(const FieldInfo& info) {
    switch (info.role) {
    case FieldRole::Degrees:
        return info.notation == Notation::DD ? QStringLiteral(".") : QStringLiteral("°");
    case FieldRole::Minutes:
        return info.notation == Notation::DMM ? QStringLiteral(".") : QStringLiteral("'");
    case FieldRole::Seconds:
        return QStringLiteral(".");
    case FieldRole::Hundredths:
        return QStringLiteral("\"");
    case FieldRole::DecimalDigits:
        return info.notation == Notation::DD ? QStringLiteral("°") : QStringLiteral("'");
    }
    return {};
}

// Its object name: the decimal points of the D.D rows keep their old names.
QString signName(const FieldInfo& info) {
    if (info.field == Field::DDLongitudeDegrees) {
        return QStringLiteral("lblDot");
    }
    if (info.field == Field::DDLatitudeDegrees) {
        return QStringLiteral("lblDot2");
    }
    return QStringLiteral("lbl") + qs(info.name.substr(3)) + QStringLiteral("Sign");
}

// What a screen reader says for a field: "Longitude degrees", "Latitude decimals of the
// minute".
QString spokenName(const FieldInfo& info) {
    QString part;
    switch (info.role) {
    case FieldRole::Degrees:
        part = QStringLiteral("degrees");
        break;
    case FieldRole::Minutes:
        part = QStringLiteral("minutes");
        break;
    case FieldRole::Seconds:
        part = QStringLiteral("seconds");
        break;
    case FieldRole::Hundredths:
        part = QStringLiteral("decimals of the second");
        break;
    case FieldRole::DecimalDigits:
        part = info.notation == Notation::DD ? QStringLiteral("decimals of the degree")
                                             : QStringLiteral("decimals of the minute");
        break;
    }
    return (info.row == Row::Latitude ? QStringLiteral("Latitude ")
                                      : QStringLiteral("Longitude ")) +
           part;
}

QLabel* makeResult(QWidget* window, const char* name, const QString& widest,
                   const char* style = "background-color: white;") {
    QLabel* label = makeLabel(window, name, QString());
    label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setAutoFillBackground(true);
    label->setStyleSheet(QStringLiteral("%1 padding: 2px 6px;").arg(QLatin1String(style)));
    label->setMinimumHeight(label->fontMetrics().height() + 8);
    // Wide enough for the longest text it shows, frame and padding included, so a value is
    // never cut and the window never has to grow for one.
    label->ensurePolished();
    label->setText(widest);
    label->setMinimumWidth(label->sizeHint().width());
    label->clear();
    return label;
}

QLineEdit* makeAngleField(QWidget* window, const FieldInfo& info) {
    QLineEdit* edit = entry::makeDigitField(window, info.name, info.maxLength, info.defaultText);
    edit->setAccessibleName(spokenName(info));
    // Whatever reaches the field, typed, pasted or dropped, it holds digits only, so it always
    // reads as the number it shows. (The program's own texts are digits too.)
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    return edit;
}

} // namespace

ConverterMode modeOf(Notation notation) {
    constexpr ConverterMode modes[] = {ConverterMode::DD, ConverterMode::DMM, ConverterMode::DMS};
    return modes[static_cast<std::size_t>(notation)];
}

ConverterControls::ConverterControls(QWidget* window, TrsPanelHost& host) {
    window->setStyleSheet(QStringLiteral(
        "QLineEdit { font-family: monospace; background: white; color: black;"
        "  border: 1px solid #7a7a7a; border-radius: 2px; padding: 1px 2px; }"
        "QLineEdit:focus { border: 2px solid #2a6ebb; }"
        "QLineEdit:disabled { background: #c8c8c8; color: #7d7d7d; border: 1px dashed #9a9a9a; }"
        "QGroupBox { font-weight: bold; border: 1px solid #a8a8a8; border-radius: 4px;"
        "  margin-top: 8px; padding-top: 6px; }"
        "QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0 3px; }"));

    auto* heading = makeLabel(window, "lblHeading", QStringLiteral("Decimal Degrees Converter"));
    QFont headingFont = heading->font();
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.5);
    headingFont.setBold(true);
    heading->setFont(headingFont);

    trsPanel = new TrsPanel(host, window);
    modeLabels[ConverterMode::TRS] = trsPanel->labels();

    auto* entry = new QGridLayout;
    entry->setHorizontalSpacing(10);
    entry->setVerticalSpacing(8);
    for (const Notation notation : {Notation::DD, Notation::DMM, Notation::DMS}) {
        entry->addWidget(buildAngleBox(window, notation), static_cast<int>(notation), 0);
    }
    entry->addWidget(trsPanel, 0, 1, 3, 1);
    entry->addWidget(buildGridBox(window), 3, 0, 1, 2);
    entry->setColumnStretch(0, 1);
    entry->setColumnStretch(1, 1);

    closeButton = new QPushButton(QStringLiteral("&Close"), window);
    closeButton->setObjectName(QStringLiteral("cmdconClose"));
    auto* closeRow = new QHBoxLayout;
    closeRow->addStretch(1);
    closeRow->addWidget(closeButton);

    auto* main = new QVBoxLayout(window);
    main->setContentsMargins(12, 10, 12, 10);
    main->setSpacing(8);
    main->addWidget(heading);
    main->addWidget(buildNotationChoice(window));
    main->addLayout(entry);
    main->addWidget(buildResultsBox(window));
    main->addLayout(closeRow);
    buildTabOrder(window);
}

QWidget* ConverterControls::buildNotationChoice(QWidget* window) {
    auto* box = new QGroupBox(QStringLiteral("Notation"), window);
    box->setObjectName(QStringLiteral("frmNotation"));
    auto* grid = new QGridLayout(box);
    grid->setVerticalSpacing(2);
    auto* group = new QButtonGroup(window);

    struct Choice {
        const char* name;
        const char* caption;
        const char* label;
        const char* instruction;
        ConverterMode mode;
    };
    const Choice choices[] = {
        {"optDD", "D.D", "lblInstruction",
         "Select D.D to Convert Decimal Degrees to Tolvane Albers", ConverterMode::DD},
        {"OptDDM", "DM.M", "lblIns2",
         "Select DM.M to Convert Degrees Minutes Decimal Minutes to Tolvane Albers",
         ConverterMode::DMM},
        {"optDMS", "DMS.S", "lblInss2",
         "Select DMS.S to Convert Degrees Minutes Seconds to Tolvane Albers", ConverterMode::DMS},
        {"optTRS", "TRS", "lblIns3",
         "Select TRS to Convert Township Range and Section to Tolvane Albers", ConverterMode::TRS},
        {"optGrid", "USNG / UTM", "lblIns4",
         "Select USNG / UTM to Convert a Grid Reference, UTM Coordinate or Latitude, "
         "Longitude to Tolvane Albers",
         ConverterMode::Grid}};
    int row = 0;
    for (const Choice& c : choices) {
        auto* option = new QRadioButton(QString::fromLatin1(c.caption), box);
        option->setObjectName(QString::fromLatin1(c.name));
        group->addButton(option);
        // As wide as its caption, not as the column: a click anywhere on it chooses it.
        grid->addWidget(option, row, 0, Qt::AlignLeft);
        QLabel* instruction = makeLabel(window, c.label, QString::fromLatin1(c.instruction));
        // The caption is terse ("D.D"); the instruction beside it says what it chooses.
        option->setAccessibleDescription(instruction->text());
        grid->addWidget(instruction, row, 1);
        options[c.mode] = option;
        ++row;
    }
    grid->setColumnStretch(1, 1);
    return box;
}

QWidget* ConverterControls::buildAngleBox(QWidget* window, Notation notation) {
    const AngleBox& captions = angleBoxes[static_cast<std::size_t>(notation)];
    QLabel* heading =
        makeLabel(window, captions.heading, QString::fromLatin1(captions.headingText));
    QLabel* lon =
        makeLabel(window, captions.longitudeLabel, QString::fromLatin1(captions.longitudeText));
    QLabel* lat =
        makeLabel(window, captions.latitudeLabel, QString::fromLatin1(captions.latitudeText));
    QGridLayout* grid = nullptr;
    QGroupBox* box = entry::entryBox(window, captions.box, heading, grid);
    box->setAccessibleName(heading->text());
    std::vector<QWidget*> longitudeRow;
    std::vector<QWidget*> latitudeRow;
    for (const Field field : fieldsOf(notation)) {
        const FieldInfo& info = fieldInfo(field);
        auto& row = info.row == Row::Longitude ? longitudeRow : latitudeRow;
        QLineEdit* edit = makeAngleField(window, info);
        angleFields[static_cast<std::size_t>(field)] = edit;
        if (row.empty()) {
            (info.row == Row::Longitude ? lon : lat)->setBuddy(edit);
        }
        row.push_back(edit);
        row.push_back(makeLabel(window, entry::str(signName(info)), signAfter(info)));
    }
    entry::addRow(grid, 0, lon, longitudeRow);
    entry::addRow(grid, 1, lat, latitudeRow);
    modeLabels[modeOf(notation)] = {heading, lat, lon};
    return box;
}

QWidget* ConverterControls::buildGridBox(QWidget* window) {
    QLabel* heading = makeLabel(
        window, "lblGrid",
        QStringLiteral("Enter a US National Grid Reference, a UTM Coordinate or a Latitude and "
                       "Longitude"));
    QLabel* label = makeLabel(window, "lblGridRef", QStringLiteral("Reference or point"));
    QGridLayout* grid = nullptr;
    QGroupBox* box = entry::entryBox(window, "frmGrid", heading, grid);
    box->setAccessibleName(heading->text());

    gridReference = new QLineEdit(window);
    gridReference->setObjectName(QStringLiteral("txtGridRef"));
    gridReference->setMaxLength(64);
    gridReference->setPlaceholderText(
        QStringLiteral("17R MH 90932 88611, 17R 490932 2788611 or 30.25, -84.5, then Enter"));
    // Measured in the font the window's style sheet gives the field.
    gridReference->ensurePolished();
    gridReference->setMinimumWidth(
        gridReference->fontMetrics().horizontalAdvance(gridReference->placeholderText()) + 24);
    gridReference->setAccessibleName(
        QStringLiteral("US National Grid reference, UTM coordinate or latitude and longitude"));
    gridReference->setToolTip(QStringLiteral(
        "A US National Grid reference (17R MH 90932 88611), a UTM coordinate (17R 490932 "
        "2788611) or a latitude and longitude as a web map or a GPS gives it (30.25, -84.5 or "
        "30°15'N 84°30'W). Enter, or leaving the field, converts it."));
    label->setBuddy(gridReference);

    entry::addRow(grid, 0, label, {gridReference});
    modeLabels[ConverterMode::Grid] = {heading, label};
    return box;
}

QWidget* ConverterControls::buildResultsBox(QWidget* window) {
    auto* box = new QGroupBox(window);
    box->setObjectName(QStringLiteral("frmResults"));
    auto* outer = new QVBoxLayout(box);
    outer->setContentsMargins(8, 4, 8, 8);
    QLabel* heading = makeLabel(window, "lblconRes", QStringLiteral("Conversion Results:"));
    box->setAccessibleName(QStringLiteral("Conversion Results"));
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    outer->addWidget(heading);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    latitude = makeResult(window, "lblDDLat", QStringLiteral("-00.0000"), entry::activeStyle);
    longitude = makeResult(window, "lblDDLong", QStringLiteral("-000.0000"), entry::activeStyle);
    // Albers values south and west of the grid's origin are negative and run to seven digits.
    albersEasting = makeResult(window, "lblAlbersX", QStringLiteral("-0000000.00"));
    albersNorthing = makeResult(window, "lblAlbersY", QStringLiteral("-0000000.00"));
    utm = makeResult(window, "lblUTMCoord", QStringLiteral("00R 000000.00 0000000.00"));
    usng = makeResult(window, "lblUSNG", QStringLiteral("00R 000000.00 0000000.00"));

    const std::pair<const char*, const char*> captions[] = {
        {"lblDDlatR", "Latitude"},           {"lblDDlongR", "Longitude"},
        {"lblAlbersXcap", "Albers Easting"}, {"lblAlbersNCap", "Albers Northing"},
        {"lblUTM", "UTM Coordinate:"},       {"lblNGS", "US National Grid Coordinate (WGS 84):"}};
    QLabel* const values[] = {latitude, longitude, albersEasting, albersNorthing, utm, usng};
    for (int i = 0; i < 6; ++i) {
        const auto& [name, caption] = captions[i];
        QLabel* label = makeLabel(window, name, QString::fromLatin1(caption));
        // The caption labels its value for a screen reader (and names it while it is empty).
        label->setBuddy(values[i]);
        grid->addWidget(label, i % 2, (i / 2) * 2);
        grid->addWidget(values[i], i % 2, (i / 2) * 2 + 1);
    }
    grid->setColumnStretch(5, 1);
    grid->setColumnMinimumWidth(2, 20);
    outer->addLayout(grid);
    return box;
}

void ConverterControls::buildTabOrder(QWidget* window) {
    // Auto-advance and the Tab key follow this order; each notation's fields stay together,
    // longitude before latitude, and the grid reference follows the township-range-section
    // fields.
    static constexpr const char* names[] = {
        "txtDMSlongdd", "txtDMSlongmm", "txtDMSlongss", "txtDMSlongssd", "txtDMSlatdd",
        "txtDMSlatmm",  "txtDMSlatss",  "txtDMSlatssd", "txtTown",       "optTnorth",
        "optTSouth",    "txtRange",     "optRangeE",    "optRangeW",     "txtSection",
        "txtGridRef",   "optGrid",      "optTRS",       "optDMS",        "cmdTRScon",
        "cmdResetTRS",  "cmdTRS2dd",    "OptDDM",       "txtDMMlongdd",  "txtDMMlongmm",
        "txtDMMlongdm", "txtDMMlatdd",  "txtDMMlatmm",  "txtDMMlatdm",   "cmdconClose",
        "optDD",        "txtDDlongD",   "txtDDLongDD",  "txtDDLatD",     "txtDDLatDD"};
    for (const char* name : names) {
        tabOrder.push_back(window->findChild<QWidget*>(QString::fromLatin1(name)));
    }
    tabOrder.insert(tabOrder.end(), trsPanel->partOptions().begin(), trsPanel->partOptions().end());
    tabOrder.push_back(trsPanel->quarterQuarterSwitch());
    for (std::size_t i = 1; i < tabOrder.size(); ++i) {
        QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);
    }
}

} // namespace sw
