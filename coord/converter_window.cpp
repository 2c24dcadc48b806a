#include "coord/converter_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <map>
#include <optional>

#include "coord/hand_back.h"
#include "coord/utm_usng.h"
#include "services/dialogs.h"
#include "ui/option_choice.h"
#include "ui/window_kinds.h"

namespace {

using sw::Field;

QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string str(const QString& text) {
    return text.toStdString();
}

// The active notation's headings and labels, and the two result values, stand out in light
// yellow; the others take the neutral colour of window frames.
constexpr const char* activeStyle = "background-color: rgb(255, 255, 128); color: black;";
constexpr const char* inactiveStyle = "background-color: palette(midlight); color: black;";

// Focus that moves because a window (ours or another) was activated or a popup opened is not
// the user entering or leaving a field.
bool userFocusReason(Qt::FocusReason reason) {
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
           reason != Qt::NoFocusReason;
}

} // namespace

sw_ddc_0306::sw_ddc_0306(sw::Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), dialogs_(dialogs) {
    setObjectName(QString::fromLatin1(sw::forms::kConverter));
    setWindowTitle(QStringLiteral("Coordinate Conversion"));
    buildUi();
    buildTabOrder();
    showFirstState();
}

// ---------------------------------------------------------------------------------------------
// Building the window

QLabel* sw_ddc_0306::makeLabel(const char* name, const QString& text) {
    auto* label = new QLabel(text, this);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QLabel* sw_ddc_0306::makeResult(const char* name, const QString& widest, const char* style) {
    QLabel* label = makeLabel(name, QString());
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

QLineEdit* sw_ddc_0306::makeAngleField(Field field) {
    const sw::FieldInfo& info = sw::fieldInfo(field);
    auto* edit = new QLineEdit(qs(info.defaultText), this);
    edit->setObjectName(qs(info.name));
    edit->setMaxLength(info.maxLength);
    edit->setAlignment(Qt::AlignCenter);
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QString(info.maxLength, '0')) + 18);
    edit->installEventFilter(this);
    angleFields_[static_cast<std::size_t>(field)] = edit;
    fieldOf_.insert(edit, field);
    connect(edit, &QLineEdit::textChanged, this, [this, field] { angleFieldChanged(field); });
    return edit;
}

QLineEdit* sw_ddc_0306::makeTrsField(const char* name, int maxLength, const char* text) {
    auto* edit = new QLineEdit(QString::fromLatin1(text), this);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(maxLength);
    edit->setAlignment(Qt::AlignCenter);
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QString(maxLength, '0')) + 18);
    edit->installEventFilter(this);
    connect(edit, &QLineEdit::textChanged, this, [this, edit] { trsFieldChanged(edit); });
    return edit;
}

void sw_ddc_0306::buildUi() {
    setStyleSheet(QStringLiteral(
        "QLineEdit { font-family: monospace; background: white; color: black;"
        "  border: 1px solid #7a7a7a; border-radius: 2px; padding: 1px 2px; }"
        "QLineEdit:focus { border: 2px solid #2a6ebb; }"
        "QLineEdit:disabled { background: #c8c8c8; color: #7d7d7d; border: 1px dashed #9a9a9a; }"
        "QGroupBox { font-weight: bold; border: 1px solid #a8a8a8; border-radius: 4px;"
        "  margin-top: 8px; padding-top: 6px; }"
        "QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0 3px; }"));

    auto* heading = makeLabel("lblHeading", QStringLiteral("Decimal Degrees Converter"));
    QFont headingFont = heading->font();
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.5);
    headingFont.setBold(true);
    heading->setFont(headingFont);

    auto* entry = new QGridLayout;
    entry->setHorizontalSpacing(10);
    entry->setVerticalSpacing(8);
    entry->addWidget(buildDdBox(), 0, 0);
    entry->addWidget(buildDmmBox(), 1, 0);
    entry->addWidget(buildDmsBox(), 2, 0);
    entry->addWidget(buildTrsBox(), 0, 1, 3, 1);
    entry->setColumnStretch(0, 1);
    entry->setColumnStretch(1, 1);

    cmdconClose_ = new QPushButton(QStringLiteral("&Close"), this);
    cmdconClose_->setObjectName(QStringLiteral("cmdconClose"));
    connect(cmdconClose_, &QPushButton::clicked, this, [this] { cmdconClose_Click(); });
    auto* closeRow = new QHBoxLayout;
    closeRow->addStretch(1);
    closeRow->addWidget(cmdconClose_);

    auto* main = new QVBoxLayout(this);
    main->setContentsMargins(12, 10, 12, 10);
    main->setSpacing(8);
    main->addWidget(heading);
    main->addWidget(buildNotationBox());
    main->addLayout(entry);
    main->addWidget(buildResultsBox());
    main->addLayout(closeRow);
}

QWidget* sw_ddc_0306::buildNotationBox() {
    auto* box = new QGroupBox(QStringLiteral("Notation"), this);
    box->setObjectName(QStringLiteral("frmNotation"));
    auto* grid = new QGridLayout(box);
    grid->setVerticalSpacing(2);
    notationGroup_ = new QButtonGroup(this);

    struct Choice {
        QRadioButton** option;
        const char* name;
        const char* caption;
        const char* label;
        const char* instruction;
        Mode mode;
    };
    const Choice choices[] = {
        {&optDD_, "optDD", "D.D", "lblInstruction",
         "Select D.D to Convert Decimal Degrees to Tolvane Albers", Mode::DD},
        {&optDDM_, "OptDDM", "DM.M", "lblIns2",
         "Select DM.M to Convert Degrees Minutes Decimal Minutes to Tolvane Albers", Mode::DMM},
        {&optDMS_, "optDMS", "DMS.S", "lblInss2",
         "Select DMS.S to Convert Degrees Minutes Seconds to Tolvane Albers", Mode::DMS},
        {&optTRS_, "optTRS", "TRS", "lblIns3",
         "Select TRS to Convert Township Range and Section to Tolvane Albers", Mode::TRS}};
    int row = 0;
    for (const Choice& c : choices) {
        auto* option = new QRadioButton(QString::fromLatin1(c.caption), box);
        option->setObjectName(QString::fromLatin1(c.name));
        notationGroup_->addButton(option);
        *c.option = option;
        grid->addWidget(option, row, 0);
        grid->addWidget(makeLabel(c.label, QString::fromLatin1(c.instruction)), row, 1);
        const Mode mode = c.mode;
        sw::onOptionChosen(option, this, [this, mode] { selectNotation(mode); });
        ++row;
    }
    grid->setColumnStretch(1, 1);
    return box;
}

namespace {

// A small caption between two fields of a row (the decimal point, a degree or minute sign).
QLabel* sign(QWidget* parent, const QString& name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

// One row of entry fields: label, then fields separated by their signs.
void addRow(QGridLayout* grid, int row, QLabel* label, const std::vector<QWidget*>& parts) {
    grid->addWidget(label, row, 0);
    auto* line = new QHBoxLayout;
    line->setSpacing(3);
    for (QWidget* part : parts) {
        line->addWidget(part);
    }
    line->addStretch(1);
    grid->addLayout(line, row, 1);
}

QGroupBox* entryBox(QWidget* parent, const char* name, QLabel* heading, QGridLayout*& grid) {
    auto* box = new QGroupBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(8, 4, 8, 8);
    heading->setMargin(2);
    layout->addWidget(heading);
    grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
    return box;
}

} // namespace

QWidget* sw_ddc_0306::buildDdBox() {
    QLabel* heading = makeLabel("lblDD", QStringLiteral("Enter Decimal Degrees"));
    QLabel* lat = makeLabel("lbDDlat", QStringLiteral("Latitude (North is assumed)"));
    QLabel* lon = makeLabel("lblDDDlong", QStringLiteral("Longitude (west is negative)"));
    QGridLayout* grid = nullptr;
    QGroupBox* box = entryBox(this, "frmDD", heading, grid);
    addRow(grid, 0, lon,
           {makeAngleField(Field::txtDDlongD), sign(this, QStringLiteral("lblDot"), "."),
            makeAngleField(Field::txtDDLongDD), sign(this, QStringLiteral("lblDDlongDeg"), "°")});
    addRow(grid, 1, lat,
           {makeAngleField(Field::txtDDLatD), sign(this, QStringLiteral("lblDot2"), "."),
            makeAngleField(Field::txtDDLatDD), sign(this, QStringLiteral("lblDDlatDeg"), "°")});
    ddLabels_ = {heading, lat, lon};
    return box;
}

QWidget* sw_ddc_0306::buildDmmBox() {
    QLabel* heading = makeLabel("lblDMMM", QStringLiteral("Enter Degrees Minutes Decimal Minutes"));
    QLabel* lat = makeLabel("lblDMMlat", QStringLiteral("Latitude (North is assumed)"));
    QLabel* lon = makeLabel("lblDMMlong", QStringLiteral("Longitude (west is Negative)"));
    QGridLayout* grid = nullptr;
    QGroupBox* box = entryBox(this, "frmDMM", heading, grid);
    addRow(grid, 0, lon,
           {makeAngleField(Field::txtDMMlongdd), sign(this, QStringLiteral("lblDMMlongDeg"), "°"),
            makeAngleField(Field::txtDMMlongmm), sign(this, QStringLiteral("lblDMMlongDot"), "."),
            makeAngleField(Field::txtDMMlongdm), sign(this, QStringLiteral("lblDMMlongMin"), "'")});
    addRow(grid, 1, lat,
           {makeAngleField(Field::txtDMMlatdd), sign(this, QStringLiteral("lblDMMlatDeg"), "°"),
            makeAngleField(Field::txtDMMlatmm), sign(this, QStringLiteral("lblDMMlatDot"), "."),
            makeAngleField(Field::txtDMMlatdm), sign(this, QStringLiteral("lblDMMlatMin"), "'")});
    dmmLabels_ = {heading, lat, lon};
    return box;
}

QWidget* sw_ddc_0306::buildDmsBox() {
    QLabel* heading = makeLabel("lblDDMMSS", QStringLiteral("Enter Degrees Minutes Seconds"));
    QLabel* lat = makeLabel("lblLAT", QStringLiteral("Latitude (North is Assumed)"));
    QLabel* lon = makeLabel("lblLONG", QStringLiteral("Longitude(West is Negative)"));
    QGridLayout* grid = nullptr;
    QGroupBox* box = entryBox(this, "frmDMS", heading, grid);
    addRow(grid, 0, lon,
           {makeAngleField(Field::txtDMSlongdd), sign(this, QStringLiteral("lblDMSlongDeg"), "°"),
            makeAngleField(Field::txtDMSlongmm), sign(this, QStringLiteral("lblDMSlongMin"), "'"),
            makeAngleField(Field::txtDMSlongss), sign(this, QStringLiteral("lblDMSlongDot"), "."),
            makeAngleField(Field::txtDMSlongssd),
            sign(this, QStringLiteral("lblDMSlongSec"), "\"")});
    addRow(grid, 1, lat,
           {makeAngleField(Field::txtDMSlatdd), sign(this, QStringLiteral("lblDMSlatDeg"), "°"),
            makeAngleField(Field::txtDMSlatmm), sign(this, QStringLiteral("lblDMSlatMin"), "'"),
            makeAngleField(Field::txtDMSlatss), sign(this, QStringLiteral("lblDMSlatDot"), "."),
            makeAngleField(Field::txtDMSlatssd), sign(this, QStringLiteral("lblDMSlatSec"), "\"")});
    dmsLabels_ = {heading, lat, lon};
    return box;
}

QWidget* sw_ddc_0306::buildTrsBox() {
    QLabel* heading = makeLabel("lblenterTRS", QStringLiteral("Enter Township Range Section"));
    QLabel* twn = makeLabel("lblTwn", QStringLiteral("Township:"));
    QLabel* rng = makeLabel("lblRange", QStringLiteral("Range:"));
    QLabel* sec = makeLabel("lblSection", QStringLiteral("Section:"));
    QGridLayout* grid = nullptr;
    QGroupBox* box = entryBox(this, "frmTRS", heading, grid);

    txtTown_ = makeTrsField("txtTown", 2, "00");
    txtRange_ = makeTrsField("txtRange", 2, "00");
    txtSection_ = makeTrsField("txtSection", 4, "0000");

    auto direction = [this](QRadioButton*& option, const char* name, const char* caption) {
        option = new QRadioButton(QString::fromLatin1(caption), this);
        option->setObjectName(QString::fromLatin1(name));
        return option;
    };
    auto* townshipGroup = new QButtonGroup(this);
    townshipGroup->addButton(direction(optTnorth_, "optTnorth", "N"));
    townshipGroup->addButton(direction(optTSouth_, "optTSouth", "S"));
    auto* rangeGroup = new QButtonGroup(this);
    rangeGroup->addButton(direction(optRangeE_, "optRangeE", "E"));
    rangeGroup->addButton(direction(optRangeW_, "optRangeW", "W"));

    addRow(grid, 0, twn, {txtTown_, optTnorth_, optTSouth_});
    addRow(grid, 1, rng, {txtRange_, optRangeE_, optRangeW_});
    addRow(grid, 2, sec, {txtSection_});
    grid->setColumnStretch(1, 1);

    auto townshipDirection = [this](sw::trs::TownshipDirection d) {
        trs_.townshipDirection = d;
        txtTown_->setEnabled(true);
        trs_.township = sw::trs::wholeNumber(str(txtTown_->text()));
    };
    sw::onOptionChosen(optTnorth_, this, [townshipDirection] {
        townshipDirection(sw::trs::TownshipDirection::North);
    });
    sw::onOptionChosen(optTSouth_, this, [townshipDirection] {
        townshipDirection(sw::trs::TownshipDirection::South);
    });
    auto rangeDirection = [this](sw::trs::RangeDirection d) {
        trs_.rangeDirection = d;
        txtRange_->setEnabled(true);
    };
    sw::onOptionChosen(optRangeE_, this,
                       [rangeDirection] { rangeDirection(sw::trs::RangeDirection::East); });
    sw::onOptionChosen(optRangeW_, this,
                       [rangeDirection] { rangeDirection(sw::trs::RangeDirection::West); });

    auto* layout = qobject_cast<QVBoxLayout*>(box->layout());
    layout->addWidget(buildSectionPartBox());

    cmdTRScon_ = new QPushButton(QStringLiteral("Preview TRS"), this);
    cmdTRScon_->setObjectName(QStringLiteral("cmdTRScon"));
    cmdResetTRS_ = new QPushButton(QStringLiteral("&Reset TRS"), this);
    cmdResetTRS_->setObjectName(QStringLiteral("cmdResetTRS"));
    cmdResetTRS_->setToolTip(QStringLiteral("Cancels Conversion, Resets Fields to 0"));
    cmdTRS2dd_ = new QPushButton(QStringLiteral("&Convert"), this);
    cmdTRS2dd_->setObjectName(QStringLiteral("cmdTRS2dd"));
    connect(cmdTRScon_, &QPushButton::clicked, this, [this] { cmdTRScon_Click(); });
    connect(cmdResetTRS_, &QPushButton::clicked, this, [this] { cmdResetTRS_Click(); });
    connect(cmdTRS2dd_, &QPushButton::clicked, this, [this] { cmdTRS2dd_Click(); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdTRScon_);
    buttons->addWidget(cmdResetTRS_);
    buttons->addWidget(cmdTRS2dd_);
    layout->addLayout(buttons);

    lblTRScon_ = makeLabel("lblTRScon", QString());
    lblTRScon_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    lblTRScon_->setMinimumHeight(lblTRScon_->fontMetrics().height() + 8);
    lblTRScon_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(lblTRScon_);
    layout->addStretch(1);

    trsLabels_ = {heading, twn, rng, sec, optTnorth_, optTSouth_, optRangeE_, optRangeW_};
    return box;
}

QWidget* sw_ddc_0306::buildSectionPartBox() {
    frmsubSec_ = new QFrame(this);
    frmsubSec_->setObjectName(QStringLiteral("frmsubSec"));
    frmsubSec_->setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
    auto* layout = new QGridLayout(frmsubSec_);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setHorizontalSpacing(14);

    auto* title = new QLabel(QStringLiteral("Part of the section"), frmsubSec_);
    title->setObjectName(QStringLiteral("lblsubSec"));
    layout->addWidget(title, 0, 0, 1, 2);

    // Halves, quarters and centre laid out as on a map, north up.
    auto* compass = new QGridLayout;
    compass->setSpacing(2);
    const std::map<std::string_view, std::pair<int, int>> compassPlace = {
        {"optNW", {0, 0}}, {"optsecNH", {0, 1}}, {"optNE", {0, 2}},
        {"optWH", {1, 0}}, {"optSecC", {1, 1}},  {"optEH", {1, 2}},
        {"optSW", {2, 0}}, {"optSH", {2, 1}},    {"optSE", {2, 2}}};

    // The quarter-quarters on a dark square, so their small white corner names read well.
    auto* square = new QFrame(frmsubSec_);
    square->setObjectName(QStringLiteral("frmQuarterQuarters"));
    square->setStyleSheet(QStringLiteral(
        "QFrame#frmQuarterQuarters { background-color: #2f5538; border: 1px solid #1d3323; }"));
    auto* qq = new QGridLayout(square);
    qq->setContentsMargins(6, 4, 6, 4);
    qq->setHorizontalSpacing(6);
    qq->setVerticalSpacing(1);
    qq->setRowMinimumHeight(2, 6);
    qq->setColumnMinimumWidth(2, 6);

    partGroup_ = new QButtonGroup(this);
    for (const sw::trs::SectionPart& part : sw::trs::sectionParts()) {
        auto* option = new QRadioButton(frmsubSec_);
        option->setObjectName(qs(part.control));
        partGroup_->addButton(option);
        partOptions_.push_back(option);
        sw::onOptionChosen(option, this, [this, option] { sectionPartChosen(option); });
        if (part.isQuarterQuarter()) {
            QFont small = option->font();
            small.setPointSizeF(6);
            small.setBold(true);
            option->setFont(small);
            // White captions, but the check mark keeps its dark colour inside the white dot.
            QPalette white = option->palette();
            white.setColor(QPalette::WindowText, Qt::white);
            option->setPalette(white);
            option->setMinimumWidth(option->fontMetrics().horizontalAdvance(QStringLiteral("NW")) +
                                    24);
            option->setToolTip(qs(part.description));
            // A gap between the quarters: each quarter's four corners read as one block.
            qq->addWidget(option, part.gridRow - 1 + (part.gridRow > 2 ? 1 : 0),
                          part.gridColumn - 1 + (part.gridColumn > 2 ? 1 : 0));
        } else {
            option->setText(qs(part.caption));
            option->setToolTip(qs(part.description));
            const auto place = compassPlace.at(part.control);
            compass->addWidget(option, place.first, place.second);
        }
    }

    layout->addLayout(compass, 1, 0, Qt::AlignTop);
    layout->addWidget(square, 1, 1, Qt::AlignTop);

    cmdEnableqs_ = new QPushButton(QStringLiteral("Enable 1/4 1/4 Sections"), frmsubSec_);
    cmdEnableqs_->setObjectName(QStringLiteral("cmdEnableqs"));
    connect(cmdEnableqs_, &QPushButton::clicked, this, [this] { cmdEnableqs_Click(); });
    layout->addWidget(cmdEnableqs_, 2, 1, Qt::AlignLeft);
    layout->setColumnStretch(2, 1);
    return frmsubSec_;
}

QWidget* sw_ddc_0306::buildResultsBox() {
    auto* box = new QGroupBox(this);
    box->setObjectName(QStringLiteral("frmResults"));
    auto* outer = new QVBoxLayout(box);
    outer->setContentsMargins(8, 4, 8, 8);
    QLabel* heading = makeLabel("lblconRes", QStringLiteral("Conversion Results:"));
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    outer->addWidget(heading);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    lblDDLat_ = makeResult("lblDDLat", QStringLiteral("-00.0000"), activeStyle);
    lblDDLong_ = makeResult("lblDDLong", QStringLiteral("-000.0000"), activeStyle);
    // Albers values south and west of the grid's origin are negative and run to seven digits.
    lblAlbersX_ = makeResult("lblAlbersX", QStringLiteral("-0000000.00"));
    lblAlbersY_ = makeResult("lblAlbersY", QStringLiteral("-0000000.00"));
    lblUTMCoord_ = makeResult("lblUTMCoord", QStringLiteral("00R 000000.00 0000000.00"));
    lblUSNG_ = makeResult("lblUSNG", QStringLiteral("00R 000000.00 0000000.00"));

    grid->addWidget(makeLabel("lblDDlatR", QStringLiteral("Latitude")), 0, 0);
    grid->addWidget(lblDDLat_, 0, 1);
    grid->addWidget(makeLabel("lblDDlongR", QStringLiteral("Longitude")), 1, 0);
    grid->addWidget(lblDDLong_, 1, 1);
    grid->addWidget(makeLabel("lblAlbersXcap", QStringLiteral("Albers Easting")), 0, 2);
    grid->addWidget(lblAlbersX_, 0, 3);
    grid->addWidget(makeLabel("lblAlbersNCap", QStringLiteral("Albers Northing")), 1, 2);
    grid->addWidget(lblAlbersY_, 1, 3);
    grid->addWidget(makeLabel("lblUTM", QStringLiteral("UTM Coordinate:")), 0, 4);
    grid->addWidget(lblUTMCoord_, 0, 5);
    grid->addWidget(makeLabel("lblNGS", QStringLiteral("US National Grid Coordinate (WGS 84):")), 1,
                    4);
    grid->addWidget(lblUSNG_, 1, 5);
    grid->setColumnStretch(5, 1);
    grid->setColumnMinimumWidth(2, 20);
    outer->addLayout(grid);

    // The full-precision values behind the grid computations; kept, not shown.
    lblddlatraw_ = makeLabel("lblddlatraw", QString());
    lblddlongraw_ = makeLabel("lblddlongraw", QString());
    lblddlatraw_->hide();
    lblddlongraw_->hide();
    return box;
}

void sw_ddc_0306::buildTabOrder() {
    // Auto-advance and the Tab key follow this order; each notation's fields stay together,
    // longitude before latitude.
    static constexpr const char* names[] = {
        "txtDMSlongdd", "txtDMSlongmm", "txtDMSlongss", "txtDMSlongssd", "txtDMSlatdd",
        "txtDMSlatmm",  "txtDMSlatss",  "txtDMSlatssd", "txtTown",       "optTnorth",
        "optTSouth",    "txtRange",     "optRangeE",    "optRangeW",     "txtSection",
        "optTRS",       "optDMS",       "cmdTRScon",    "cmdResetTRS",   "cmdTRS2dd",
        "OptDDM",       "txtDMMlongdd", "txtDMMlongmm", "txtDMMlongdm",  "txtDMMlatdd",
        "txtDMMlatmm",  "txtDMMlatdm",  "cmdconClose",  "optDD",         "txtDDlongD",
        "txtDDLongDD",  "txtDDLatD",    "txtDDLatDD"};
    for (const char* name : names) {
        tabOrder_.push_back(findChild<QWidget*>(QString::fromLatin1(name)));
    }
    tabOrder_.insert(tabOrder_.end(), partOptions_.begin(), partOptions_.end());
    tabOrder_.push_back(cmdEnableqs_);
    for (std::size_t i = 1; i < tabOrder_.size(); ++i) {
        setTabOrder(tabOrder_[i - 1], tabOrder_[i]);
    }
}

void sw_ddc_0306::showFirstState() {
    // No notation is chosen yet: only the decimal-degree longitude can be typed.
    for (QLineEdit* edit : angleFields_) {
        edit->setEnabled(false);
    }
    angleFields_[static_cast<std::size_t>(Field::txtDDlongD)]->setEnabled(true);
    angleFields_[static_cast<std::size_t>(Field::txtDDLongDD)]->setEnabled(true);
    for (QWidget* w : std::initializer_list<QWidget*>{
             txtTown_, txtRange_, txtSection_, optTnorth_, optTSouth_, optRangeE_, optRangeW_,
             frmsubSec_, cmdTRScon_, cmdResetTRS_, cmdTRS2dd_}) {
        w->setEnabled(false);
    }
    setQuarterQuartersEnabled(false);
    colourLabels(Mode::None);
}

// ---------------------------------------------------------------------------------------------
// Opening, closing, activation

void sw_ddc_0306::openFor(sw::HandBackTarget* target) {
    show();
    raise();
    activateWindow();

    // Back to the default texts without processing them as edits: a reset must hand nothing to
    // the window that the converter served last.
    for (const sw::FieldInfo& info : sw::allFields()) {
        QLineEdit* edit = angleFields_[static_cast<std::size_t>(info.field)];
        const QSignalBlocker blocker(edit);
        edit->setText(qs(info.defaultText));
        edit->setCursorPosition(0);
    }
    for (auto [edit, text] :
         {std::pair{txtTown_, "00"}, {txtRange_, "00"}, {txtSection_, "0000"}}) {
        const QSignalBlocker blocker(edit);
        edit->setText(QString::fromLatin1(text));
        edit->setCursorPosition(0);
    }
    angles_ = sw::AngleState{};
    trs_.township = 0;
    trs_.range = 0;
    trs_.section = 0;

    for (QLabel* result :
         {lblDDLong_, lblDDLat_, lblAlbersX_, lblAlbersY_, lblUSNG_, lblUTMCoord_}) {
        result->clear();
    }
    target_ = target;
    targetObject_ = dynamic_cast<QObject*>(target);
    targetIsObject_ = targetObject_ != nullptr;
}

sw::HandBackTarget* sw_ddc_0306::target() const {
    return targetIsObject_ && targetObject_.isNull() ? nullptr : target_;
}

void sw_ddc_0306::cmdconClose_Click() {
    fncResetTRS();
    hide();
}

bool sw_ddc_0306::event(QEvent* e) {
    if (e->type() == QEvent::WindowDeactivate && dialogDepth_ > 0) {
        deactivatedByDialog_ = true;
    } else if (e->type() == QEvent::WindowActivate) {
        // Coming back to the converter from another window drops an old preview; coming back
        // from one of its own message boxes does not.
        if (deactivatedByDialog_) {
            deactivatedByDialog_ = false;
        } else {
            lblTRScon_->clear();
        }
    }
    return QWidget::event(e);
}

void sw_ddc_0306::tell(const std::string& message, sw::Icon icon) {
    ++dialogDepth_;
    dialogs_.inform(message, {}, icon);
    --dialogDepth_;
}

// ---------------------------------------------------------------------------------------------
// Keys and focus of the entry fields

bool sw_ddc_0306::eventFilter(QObject* watched, QEvent* e) {
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (edit == nullptr) {
        return QWidget::eventFilter(watched, e);
    }
    const bool trsField = edit == txtTown_ || edit == txtRange_ || edit == txtSection_;
    const bool angleField = fieldOf_.contains(edit);
    if (!trsField && !angleField) {
        return QWidget::eventFilter(watched, e);
    }

    if (e->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(e);
        // Navigation, deletion and shortcuts insert nothing: they are not for the filter.
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab ||
            key->key() == Qt::Key_Delete ||
            (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) ||
            key->text().isEmpty()) {
            return false;
        }
        const char32_t code = key->text().toUcs4().value(0);
        if (angleField && !sw::keyAccepted(code)) {
            dialogs_.beep();
            return true;
        }
        if (trsField && !sw::trs::keyAccepted(code)) {
            dialogs_.beep();
            tell(std::string(sw::trs::numbersOnlyMessage));
            return true;
        }
        return false;
    }

    if (e->type() == QEvent::FocusIn) {
        const auto* focus = static_cast<QFocusEvent*>(e);
        if (!userFocusReason(focus->reason())) {
            return false;
        }
        if (trsField) {
            trsFocusIn(edit);
        }
        // The whole text is selected so the next digit replaces it; a mouse click would place
        // the caret after this, so select again once the click is through.
        edit->selectAll();
        if (focus->reason() == Qt::MouseFocusReason) {
            QTimer::singleShot(0, edit, [edit] {
                if (edit->hasFocus()) {
                    edit->selectAll();
                }
            });
        }
        return false;
    }

    if (e->type() == QEvent::FocusOut && trsField) {
        if (userFocusReason(static_cast<QFocusEvent*>(e)->reason())) {
            trsFocusOut(edit);
        }
        return false;
    }
    return QWidget::eventFilter(watched, e);
}

void sw_ddc_0306::putText(QLineEdit* edit, const QString& text) {
    if (edit->text() == text) {
        return;
    }
    {
        const QSignalBlocker blocker(edit);
        edit->setText(text);
        // A field filled by the program has its caret at the start, so it keeps the focus.
        edit->setCursorPosition(0);
    }
    if (auto it = fieldOf_.constFind(edit); it != fieldOf_.constEnd()) {
        angleFieldChanged(*it);
    } else {
        trsFieldChanged(edit);
    }
}

void sw_ddc_0306::returnFocusTo(QLineEdit* edit) {
    // Not while the focus is still on its way elsewhere: once the move is over, come back.
    QTimer::singleShot(0, edit, [edit] {
        edit->setFocus(Qt::OtherFocusReason);
        // Selected even when the focus never really left: the next digit starts afresh.
        edit->selectAll();
    });
}

void sw_ddc_0306::applyAutoAdvance() {
    auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (edit == nullptr || edit->window() != this ||
        (!fieldOf_.contains(edit) && edit != txtTown_ && edit != txtRange_ &&
         edit != txtSection_)) {
        return;
    }
    // With the whole text selected (just entered) the caret counts as standing at the start.
    const int caret = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
    const sw::AutoAdvance decision = sw::autoAdvance(str(edit->text()), edit->maxLength(), caret);
    switch (decision.action) {
    case sw::AutoAdvance::Action::None:
        break;
    case sw::AutoAdvance::Action::Cut:
        putText(edit, QString::fromStdString(decision.text));
        break;
    case sw::AutoAdvance::Action::MoveOn:
        moveFocusOn(edit);
        break;
    }
}

void sw_ddc_0306::moveFocusOn(QWidget* from) {
    const auto it = std::find(tabOrder_.begin(), tabOrder_.end(), from);
    if (it == tabOrder_.end()) {
        return;
    }
    const std::size_t start = static_cast<std::size_t>(it - tabOrder_.begin());
    for (std::size_t step = 1; step < tabOrder_.size(); ++step) {
        QWidget* next = tabOrder_[(start + step) % tabOrder_.size()];
        if (next->isEnabled() && next->isVisibleTo(this) &&
            (next->focusPolicy() & Qt::TabFocus) == Qt::TabFocus) {
            next->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Notations

void sw_ddc_0306::selectNotation(Mode mode) {
    setUpNotation(mode);
    Field first = Field::txtDDlongD;
    switch (mode) {
    case Mode::TRS:
        enableTRS();
        return;
    case Mode::DD:
        first = Field::txtDDlongD;
        break;
    case Mode::DMM:
        first = Field::txtDMMlongdd;
        break;
    case Mode::DMS:
        first = Field::txtDMSlongdd;
        break;
    case Mode::None:
        return;
    }
    QLineEdit* edit = angleFields_[static_cast<std::size_t>(first)];
    edit->setFocus(Qt::OtherFocusReason);
    // A field that had the focus already gets no focus entry: select it all the same.
    if (edit->hasFocus()) {
        edit->selectAll();
    }
    applyAutoAdvance();
}

void sw_ddc_0306::setUpNotation(Mode mode) {
    mode_ = mode;
    auto notationOf = [](Mode m) -> std::optional<sw::Notation> {
        switch (m) {
        case Mode::DD:
            return sw::Notation::DD;
        case Mode::DMM:
            return sw::Notation::DMM;
        case Mode::DMS:
            return sw::Notation::DMS;
        default:
            return std::nullopt;
        }
    };
    const auto chosen = notationOf(mode);
    // The chosen notation's fields all come back, those a clamp at 90 or 180 had locked too.
    for (const sw::FieldInfo& info : sw::allFields()) {
        angleFields_[static_cast<std::size_t>(info.field)]->setEnabled(chosen == info.notation);
    }
    if (mode != Mode::TRS) {
        for (QWidget* w : std::initializer_list<QWidget*>{
                 txtTown_, txtRange_, txtSection_, optTnorth_, optTSouth_, optRangeE_, optRangeW_,
                 frmsubSec_, cmdTRScon_, cmdResetTRS_, cmdTRS2dd_}) {
            w->setEnabled(false);
        }
    }
    colourLabels(mode);
}

void sw_ddc_0306::colourLabels(Mode mode) {
    const std::pair<Mode, std::vector<QWidget*>*> groups[] = {{Mode::DD, &ddLabels_},
                                                              {Mode::DMM, &dmmLabels_},
                                                              {Mode::DMS, &dmsLabels_},
                                                              {Mode::TRS, &trsLabels_}};
    for (const auto& [groupMode, labels] : groups) {
        const QString style = QString::fromLatin1(groupMode == mode ? activeStyle : inactiveStyle);
        for (QWidget* w : *labels) {
            w->setStyleSheet(style);
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Angle fields: every accepted change recomputes both rows, the projections and the hand-back

void sw_ddc_0306::angleFieldChanged(Field field) {
    QLineEdit* edit = angleFields_[static_cast<std::size_t>(field)];
    const sw::FieldChange change = sw::fieldChanged(angles_, field, str(edit->text()));
    if (!change.accepted) {
        tell(*change.message);
        // The replacement is a change of its own, processed in full before this one ends.
        putText(edit, QString::fromStdString(*change.replacement));
        // Selected, so the user's next try replaces it (the caret still counts as at the start).
        // The message box has taken the activation, so ask whether the field is where this
        // window's focus returns, not whether it has the focus now.
        if (edit == focusWidget()) {
            edit->selectAll();
        }
        return;
    }
    for (const sw::ClampedField& clamped : change.clamp) {
        QLineEdit* finer = angleFields_[static_cast<std::size_t>(clamped.field)];
        finer->setEnabled(false);
        putText(finer, QString::fromStdString(clamped.text));
    }
    const sw::FieldInfo& info = sw::fieldInfo(field);
    const sw::Row row = change.recompose.value_or(info.row);
    composeAndShow(info.notation, row);
    if (change.autoAdvance) {
        applyAutoAdvance();
    }
    composeAndShow(info.notation,
                   row == sw::Row::Latitude ? sw::Row::Longitude : sw::Row::Latitude);
    albers_ = sw::lltoAlbers::AlbersFromLatLong(angles_.latitude, angles_.longitude);
    AlbCap();
}

void sw_ddc_0306::composeAndShow(sw::Notation notation, sw::Row row) {
    const double value = sw::composeRow(angles_, notation, row);
    if (row == sw::Row::Latitude) {
        lblddlatraw_->setText(QString::fromStdString(sw::rawText(value)));
        lblDDLat_->setText(QString::fromStdString(sw::latitudeText(value)));
    } else {
        lblddlongraw_->setText(QString::fromStdString(sw::rawText(value)));
        lblDDLong_->setText(QString::fromStdString(sw::longitudeText(value)));
    }
    const auto grid =
        sw::utmUsngFromRawTexts(str(lblddlatraw_->text()), str(lblddlongraw_->text()));
    lblUTMCoord_->setText(QString::fromStdString(grid.utm));
    lblUSNG_->setText(QString::fromStdString(grid.usng));
}

void sw_ddc_0306::AlbCap() {
    lblAlbersX_->setText(QString::fromStdString(sw::albersText(albers_.x)));
    lblAlbersY_->setText(QString::fromStdString(sw::albersText(albers_.y)));
    if (sw::HandBackTarget* receiver = target()) {
        receiver->receiveCoordinates({str(lblDDLat_->text()), str(lblDDLong_->text()),
                                      str(lblAlbersX_->text()), str(lblAlbersY_->text()),
                                      str(lblUTMCoord_->text()), str(lblUSNG_->text())});
    }
}

// ---------------------------------------------------------------------------------------------
// Township-range-section mode

void sw_ddc_0306::enableTRS() {
    for (QWidget* w : std::initializer_list<QWidget*>{txtSection_, optTnorth_, optTSouth_,
                                                      optRangeE_, optRangeW_, frmsubSec_,
                                                      cmdTRScon_, cmdResetTRS_, cmdTRS2dd_}) {
        w->setEnabled(true);
    }
    for (std::size_t i = 0; i < partOptions_.size(); ++i) {
        if (!sw::trs::sectionParts()[i].isQuarterQuarter()) {
            partOptions_[i]->setEnabled(true);
        }
    }
    // The township and range fields open once a direction is chosen.
    putText(txtTown_, QStringLiteral("00"));
    putText(txtRange_, QStringLiteral("00"));
    putText(txtSection_, QStringLiteral("0000"));
    lblTRScon_->clear();

    trs_.township = 0;
    trs_.townshipDirection = sw::trs::TownshipDirection::North;
    trs_.range = 0;
    trs_.rangeDirection = sw::trs::RangeDirection::East;
    trs_.section = 0;
    // The options show the directions that the key will carry; showing them is not the user
    // choosing one, so the township and range fields stay closed.
    for (QRadioButton* option : {optTnorth_, optRangeE_}) {
        const QSignalBlocker quiet(option);
        option->setChecked(true);
    }
}

void sw_ddc_0306::trsFieldChanged(QLineEdit* edit) {
    const std::string text = str(edit->text());
    if (edit == txtTown_) {
        trs_.township = sw::trs::wholeNumber(text);
    } else if (edit == txtRange_) {
        trs_.range = sw::trs::wholeNumber(text);
    } else if (auto refusal = sw::trs::checkSection(text)) {
        tell(refusal->message);
        putText(edit, QString::fromStdString(refusal->replacement));
        trs_.section = 0;
        edit->selectAll();
    } else {
        trs_.section = sw::trs::wholeNumber(text);
    }
    applyAutoAdvance();
}

bool sw_ddc_0306::checkTownshipField() {
    if (auto refusal = sw::trs::checkTownship(trs_.townshipDirection, str(txtTown_->text()))) {
        tell(refusal->message);
        putText(txtTown_, QString::fromStdString(refusal->replacement));
        return false;
    }
    return true;
}

bool sw_ddc_0306::checkRangeField() {
    if (auto refusal = sw::trs::checkRange(trs_.rangeDirection, str(txtRange_->text()))) {
        tell(refusal->message);
        return false;
    }
    return true;
}

void sw_ddc_0306::trsFocusIn(QLineEdit* edit) {
    if (edit == txtTown_) {
        if (edit->text().isEmpty()) {
            putText(edit, QStringLiteral("00"));
        } else {
            checkTownshipField();
        }
        trs_.township = sw::trs::wholeNumber(str(edit->text()));
    } else if (edit == txtRange_) {
        if (edit->text().isEmpty()) {
            putText(edit, QStringLiteral("00"));
        } else if (!checkRangeField()) {
            putText(edit, QStringLiteral("00"));
        }
        trs_.range = sw::trs::wholeNumber(str(edit->text()));
    }
}

void sw_ddc_0306::trsFocusOut(QLineEdit* edit) {
    if (edit == txtTown_) {
        if (!checkTownshipField()) {
            returnFocusTo(edit);
        }
        if (edit->text().isEmpty()) {
            putText(edit, QStringLiteral("00"));
        }
    } else if (edit == txtRange_) {
        if (!checkRangeField()) {
            // A range outside the survey puts the whole description in doubt: start it again.
            fncResetTRS();
            returnFocusTo(edit);
        }
        if (edit->text().isEmpty()) {
            putText(edit, QStringLiteral("00"));
        }
    } else if (edit->text().isEmpty()) {
        putText(edit, QStringLiteral("0000"));
    }
}

bool sw_ddc_0306::commitTrsFields() {
    // The key is built from what the fields show now, checked as if each had just been left:
    // a direction changed after typing, or a button pressed by its shortcut without leaving
    // the field, must not look up a number the checks would refuse or one no longer shown.
    if (!checkTownshipField()) {
        returnFocusTo(txtTown_);
        return false;
    }
    if (!checkRangeField()) {
        fncResetTRS();
        returnFocusTo(txtRange_);
        return false;
    }
    trs_.township = sw::trs::wholeNumber(str(txtTown_->text()));
    trs_.range = sw::trs::wholeNumber(str(txtRange_->text()));
    trs_.section = sw::trs::wholeNumber(str(txtSection_->text()));
    return true;
}

void sw_ddc_0306::sectionPartChosen(QAbstractButton* button) {
    trs_.part = sw::trs::sectionPartByControl(str(button->objectName()));
}

void sw_ddc_0306::setQuarterQuartersEnabled(bool enabled) {
    for (std::size_t i = 0; i < partOptions_.size(); ++i) {
        const sw::trs::SectionPart& part = sw::trs::sectionParts()[i];
        if (part.isQuarterQuarter()) {
            partOptions_[i]->setEnabled(enabled);
            partOptions_[i]->setText(enabled ? qs(part.caption) : QString());
        }
    }
    cmdEnableqs_->setText(enabled ? QStringLiteral("Disable 1/4 1/4 Sections")
                                  : QStringLiteral("Enable 1/4 1/4 Sections"));
}

void sw_ddc_0306::cmdEnableqs_Click() {
    setQuarterQuartersEnabled(cmdEnableqs_->text() == QStringLiteral("Enable 1/4 1/4 Sections"));
}

void sw_ddc_0306::cmdTRScon_Click() {
    if (!commitTrsFields()) {
        return;
    }
    lblTRScon_->setText(QString::fromStdString(sw::trs::previewText(trs_)));
}

void sw_ddc_0306::cmdTRS2dd_Click() {
    if (!commitTrsFields()) {
        return;
    }
    const std::filesystem::path file = sw::trs::lookupFile();
    const sw::trs::Conversion conversion = sw::trs::convert(
        trs_, [&file](const std::string& key) { return sw::trs::lookupCentroid(file, key); });
    lblTRScon_->setText(QString::fromStdString(conversion.key));

    switch (conversion.status) {
    case sw::trs::Conversion::Status::Failed:
        tell(conversion.message, sw::Icon::Critical);
        return;
    case sw::trs::Conversion::Status::NoRecord:
        // A key the survey does not have is no location: nothing is handed back, no point at
        // 0, 0 is computed, and the description stays so it can be corrected.
        tell(conversion.message);
        lblDDLat_->setText(QStringLiteral("00"));
        lblDDLong_->setText(QStringLiteral("00"));
        for (QLabel* result : {lblAlbersX_, lblAlbersY_, lblUTMCoord_, lblUSNG_}) {
            result->clear();
        }
        return;
    case sw::trs::Conversion::Status::Converted:
        break;
    }

    const std::string latitude = sw::latitudeText(conversion.point.latitude);
    const std::string longitude = sw::longitudeText(conversion.point.longitude);
    lblDDLat_->setText(QString::fromStdString(latitude));
    lblDDLong_->setText(QString::fromStdString(longitude));
    angles_.latitude = conversion.point.latitude;
    angles_.longitude = conversion.point.longitude;
    albers_ = sw::lltoAlbers::AlbersFromLatLong(angles_.latitude, angles_.longitude);
    const auto grid = sw::lltoAlbers::UtmUsngFromLatLong(angles_.latitude, angles_.longitude);
    lblUTMCoord_->setText(QString::fromStdString(grid.utm));
    lblUSNG_->setText(QString::fromStdString(grid.usng));
    AlbCap();
    fncResetTRS();
}

void sw_ddc_0306::fncResetTRS() {
    putText(txtTown_, QStringLiteral("00"));
    putText(txtRange_, QStringLiteral("00"));
    putText(txtSection_, QStringLiteral("0000"));
    // Only while the description is being typed: in another notation the TRS fields stay
    // locked (Close runs this reset whatever the notation).
    if (mode_ == Mode::TRS) {
        for (QWidget* w :
             std::initializer_list<QWidget*>{txtTown_, txtRange_, txtSection_, optTnorth_,
                                             optTSouth_, optRangeE_, optRangeW_}) {
            w->setEnabled(true);
        }
    }
}

void sw_ddc_0306::cmdResetTRS_Click() {
    fncResetTRS();
    lblTRScon_->clear();
    lblDDLong_->clear();
    lblDDLat_->clear();
}
