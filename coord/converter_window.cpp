#include "coord/converter_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "coord/entry_fields.h"
#include "coord/grid_reference.h"
#include "ui/option_choice.h"
#include "ui/window_kinds.h"

namespace {

using sw::Field;
using sw::Notation;
using sw::entry::qs;
using sw::entry::str;

// The captions of a typed notation's box; its fields come from the field table.
struct AngleBox {
    Notation notation;
    const char* box;
    const char* heading;
    const char* headingText;
    const char* longitudeLabel;
    const char* longitudeText;
    const char* latitudeLabel;
    const char* latitudeText;
};
constexpr AngleBox angleBoxes[] = {
    {Notation::DD, "frmDD", "lblDD", "Enter Decimal Degrees", "lblDDDlong",
     "Longitude (west is negative)", "lbDDlat", "Latitude (North is assumed)"},
    {Notation::DMM, "frmDMM", "lblDMMM", "Enter Degrees Minutes Decimal Minutes", "lblDMMlong",
     "Longitude (west is Negative)", "lblDMMlat", "Latitude (North is assumed)"},
    {Notation::DMS, "frmDMS", "lblDDMMSS", "Enter Degrees Minutes Seconds", "lblLONG",
     "Longitude(West is Negative)", "lblLAT", "Latitude (North is Assumed)"}};

// The sign that follows a field: the decimal point after whole degrees or minutes that have
// decimal digits, else the unit of the part.
QString signAfter(const sw::FieldInfo& info) {
    switch (info.role) {
    case sw::FieldRole::Degrees:
        return info.notation == Notation::DD ? QStringLiteral(".") : QStringLiteral("°");
    case sw::FieldRole::Minutes:
        return info.notation == Notation::DMM ? QStringLiteral(".") : QStringLiteral("'");
    case sw::FieldRole::Seconds:
        return QStringLiteral(".");
    case sw::FieldRole::Hundredths:
        return QStringLiteral("\"");
    case sw::FieldRole::DecimalDigits:
        return info.notation == Notation::DD ? QStringLiteral("°") : QStringLiteral("'");
    }
    return {};
}

// Its object name: the decimal points of the D.D rows keep their old names.
QString signName(const sw::FieldInfo& info) {
    if (info.field == Field::txtDDlongD) {
        return QStringLiteral("lblDot");
    }
    if (info.field == Field::txtDDLatD) {
        return QStringLiteral("lblDot2");
    }
    return QStringLiteral("lbl") + qs(info.name.substr(3)) + QStringLiteral("Sign");
}

} // namespace

sw_ddc_0306::sw_ddc_0306(sw::Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), dialogs_(dialogs), model_(*this) {
    setObjectName(QString::fromLatin1(sw::forms::kConverter));
    setWindowTitle(QStringLiteral("Coordinate Conversion"));
    buildUi();
    buildTabOrder();
    showFirstState();
}

sw_ddc_0306::~sw_ddc_0306() {
    // The fields outlive this part of the object (QWidget deletes them later): the focus they
    // lose and the editing they finish then must not reach it.
    for (QLineEdit* edit : angleFields_) {
        edit->removeEventFilter(this);
        edit->disconnect(this);
    }
    txtGridRef_->removeEventFilter(this);
    txtGridRef_->disconnect(this);
}

// ---------------------------------------------------------------------------------------------
// Building the window

QLabel* sw_ddc_0306::makeResult(const char* name, const QString& widest, const char* style) {
    QLabel* label = sw::entry::makeLabel(this, name, QString());
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
    QLineEdit* edit = sw::entry::makeDigitField(this, info.name, info.maxLength, info.defaultText);
    edit->installEventFilter(this);
    angleFields_[static_cast<std::size_t>(field)] = edit;
    fieldOf_.insert(edit, field);
    connect(edit, &QLineEdit::textChanged, this,
            [this, field, edit] { model_.edited(field, str(edit->text())); });
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

    auto* heading =
        sw::entry::makeLabel(this, "lblHeading", QStringLiteral("Decimal Degrees Converter"));
    QFont headingFont = heading->font();
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.5);
    headingFont.setBold(true);
    heading->setFont(headingFont);

    panel_ = new sw::TrsPanel(*this, this);
    notationLabels_[Mode::TRS] = panel_->labels();

    auto* entry = new QGridLayout;
    entry->setHorizontalSpacing(10);
    entry->setVerticalSpacing(8);
    for (int row = 0; row < 3; ++row) {
        entry->addWidget(buildAngleBox(angleBoxes[row].notation), row, 0);
    }
    entry->addWidget(panel_, 0, 1, 3, 1);
    entry->addWidget(buildGridBox(), 3, 0, 1, 2);
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
    main->addWidget(buildNotationChoice());
    main->addLayout(entry);
    main->addWidget(buildResultsBox());
    main->addLayout(closeRow);
}

QWidget* sw_ddc_0306::buildNotationChoice() {
    auto* box = new QGroupBox(QStringLiteral("Notation"), this);
    box->setObjectName(QStringLiteral("frmNotation"));
    auto* grid = new QGridLayout(box);
    grid->setVerticalSpacing(2);
    auto* group = new QButtonGroup(this);

    struct Choice {
        const char* name;
        const char* caption;
        const char* label;
        const char* instruction;
        Mode mode;
    };
    const Choice choices[] = {
        {"optDD", "D.D", "lblInstruction",
         "Select D.D to Convert Decimal Degrees to Tolvane Albers", Mode::DD},
        {"OptDDM", "DM.M", "lblIns2",
         "Select DM.M to Convert Degrees Minutes Decimal Minutes to Tolvane Albers", Mode::DMM},
        {"optDMS", "DMS.S", "lblInss2",
         "Select DMS.S to Convert Degrees Minutes Seconds to Tolvane Albers", Mode::DMS},
        {"optTRS", "TRS", "lblIns3",
         "Select TRS to Convert Township Range and Section to Tolvane Albers", Mode::TRS},
        {"optGrid", "USNG / UTM", "lblIns4",
         "Select USNG / UTM to Convert a US National Grid Reference or UTM Coordinate to "
         "Tolvane Albers",
         Mode::Grid}};
    int row = 0;
    for (const Choice& c : choices) {
        auto* option = new QRadioButton(QString::fromLatin1(c.caption), box);
        option->setObjectName(QString::fromLatin1(c.name));
        group->addButton(option);
        // As wide as its caption, not as the column: a click anywhere on it chooses it.
        grid->addWidget(option, row, 0, Qt::AlignLeft);
        grid->addWidget(sw::entry::makeLabel(this, c.label, QString::fromLatin1(c.instruction)),
                        row, 1);
        const Mode mode = c.mode;
        sw::onOptionChosen(option, this, [this, mode] { selectNotation(mode); });
        ++row;
    }
    grid->setColumnStretch(1, 1);
    return box;
}

QWidget* sw_ddc_0306::buildAngleBox(Notation notation) {
    const AngleBox& captions = angleBoxes[static_cast<std::size_t>(notation)];
    QLabel* heading =
        sw::entry::makeLabel(this, captions.heading, QString::fromLatin1(captions.headingText));
    QLabel* lon = sw::entry::makeLabel(this, captions.longitudeLabel,
                                       QString::fromLatin1(captions.longitudeText));
    QLabel* lat = sw::entry::makeLabel(this, captions.latitudeLabel,
                                       QString::fromLatin1(captions.latitudeText));
    QGridLayout* grid = nullptr;
    QGroupBox* box = sw::entry::entryBox(this, captions.box, heading, grid);
    std::vector<QWidget*> longitudeRow;
    std::vector<QWidget*> latitudeRow;
    for (const Field field : sw::fieldsOf(notation)) {
        const sw::FieldInfo& info = sw::fieldInfo(field);
        auto& row = info.row == sw::Row::Longitude ? longitudeRow : latitudeRow;
        row.push_back(makeAngleField(field));
        row.push_back(sw::entry::makeLabel(this, str(signName(info)), signAfter(info)));
    }
    sw::entry::addRow(grid, 0, lon, longitudeRow);
    sw::entry::addRow(grid, 1, lat, latitudeRow);
    const Mode modes[] = {Mode::DD, Mode::DMM, Mode::DMS};
    notationLabels_[modes[static_cast<std::size_t>(notation)]] = {heading, lat, lon};
    return box;
}

QWidget* sw_ddc_0306::buildGridBox() {
    QLabel* heading = sw::entry::makeLabel(
        this, "lblGrid", QStringLiteral("Enter a US National Grid Reference or UTM Coordinate"));
    QLabel* label = sw::entry::makeLabel(this, "lblGridRef", QStringLiteral("Reference"));
    QGridLayout* grid = nullptr;
    QGroupBox* box = sw::entry::entryBox(this, "frmGrid", heading, grid);

    txtGridRef_ = new QLineEdit(this);
    txtGridRef_->setObjectName(QStringLiteral("txtGridRef"));
    txtGridRef_->setMaxLength(64);
    txtGridRef_->setPlaceholderText(
        QStringLiteral("17R MH 90932 88611 or 17R 490932 2788611, then Enter"));
    txtGridRef_->setMinimumWidth(
        txtGridRef_->fontMetrics().horizontalAdvance(txtGridRef_->placeholderText()) + 24);
    txtGridRef_->setAccessibleName(QStringLiteral("US National Grid reference or UTM coordinate"));
    label->setBuddy(txtGridRef_);
    txtGridRef_->installEventFilter(this);
    // Enter, or leaving the field after a change, converts.
    connect(txtGridRef_, &QLineEdit::editingFinished, this, [this] { gridReferenceEntered(); });

    sw::entry::addRow(grid, 0, label, {txtGridRef_});
    notationLabels_[Mode::Grid] = {heading, label};
    return box;
}

QWidget* sw_ddc_0306::buildResultsBox() {
    auto* box = new QGroupBox(this);
    box->setObjectName(QStringLiteral("frmResults"));
    auto* outer = new QVBoxLayout(box);
    outer->setContentsMargins(8, 4, 8, 8);
    QLabel* heading =
        sw::entry::makeLabel(this, "lblconRes", QStringLiteral("Conversion Results:"));
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    outer->addWidget(heading);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    lblDDLat_ = makeResult("lblDDLat", QStringLiteral("-00.0000"), sw::entry::activeStyle);
    lblDDLong_ = makeResult("lblDDLong", QStringLiteral("-000.0000"), sw::entry::activeStyle);
    // Albers values south and west of the grid's origin are negative and run to seven digits.
    lblAlbersX_ = makeResult("lblAlbersX", QStringLiteral("-0000000.00"));
    lblAlbersY_ = makeResult("lblAlbersY", QStringLiteral("-0000000.00"));
    lblUTMCoord_ = makeResult("lblUTMCoord", QStringLiteral("00R 000000.00 0000000.00"));
    lblUSNG_ = makeResult("lblUSNG", QStringLiteral("00R 000000.00 0000000.00"));

    const std::pair<const char*, const char*> captions[] = {
        {"lblDDlatR", "Latitude"},           {"lblDDlongR", "Longitude"},
        {"lblAlbersXcap", "Albers Easting"}, {"lblAlbersNCap", "Albers Northing"},
        {"lblUTM", "UTM Coordinate:"},       {"lblNGS", "US National Grid Coordinate (WGS 84):"}};
    QLabel* const values[] = {lblDDLat_,   lblDDLong_,   lblAlbersX_,
                              lblAlbersY_, lblUTMCoord_, lblUSNG_};
    for (int i = 0; i < 6; ++i) {
        const auto& [name, caption] = captions[i];
        grid->addWidget(sw::entry::makeLabel(this, name, QString::fromLatin1(caption)), i % 2,
                        (i / 2) * 2);
        grid->addWidget(values[i], i % 2, (i / 2) * 2 + 1);
    }
    grid->setColumnStretch(5, 1);
    grid->setColumnMinimumWidth(2, 20);
    outer->addLayout(grid);
    return box;
}

void sw_ddc_0306::buildTabOrder() {
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
        tabOrder_.push_back(findChild<QWidget*>(QString::fromLatin1(name)));
    }
    tabOrder_.insert(tabOrder_.end(), panel_->partOptions().begin(), panel_->partOptions().end());
    tabOrder_.push_back(panel_->quarterQuarterSwitch());
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
    txtGridRef_->setEnabled(false);
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
    model_.reset();
    panel_->clearForOpening();
    sw::entry::showProgramText(txtGridRef_, QString());
    showResults();
    target_ = target;
    targetObject_ = dynamic_cast<QObject*>(target);
    targetIsObject_ = targetObject_ != nullptr;
}

sw::HandBackTarget* sw_ddc_0306::target() const {
    return targetIsObject_ && targetObject_.isNull() ? nullptr : target_;
}

void sw_ddc_0306::cmdconClose_Click() {
    panel_->reset();
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
            panel_->clearPreview();
        }
    }
    return QWidget::event(e);
}

void sw_ddc_0306::tell(const std::string& message, sw::Icon icon) {
    ++dialogDepth_;
    dialogs_.inform(message, {}, icon);
    --dialogDepth_;
}

void sw_ddc_0306::beep() {
    dialogs_.beep();
}

// ---------------------------------------------------------------------------------------------
// Keys and focus of the entry fields (the township-range-section panel minds its own)

bool sw_ddc_0306::eventFilter(QObject* watched, QEvent* e) {
    auto* edit = qobject_cast<QLineEdit*>(watched);
    const bool angleField = edit != nullptr && fieldOf_.contains(edit);
    if (!angleField && (edit == nullptr || edit != txtGridRef_)) {
        return QWidget::eventFilter(watched, e);
    }
    if (e->type() == QEvent::KeyPress && angleField) {
        const auto* key = static_cast<QKeyEvent*>(e);
        if (sw::entry::insertsText(key) && !sw::keyAccepted(key->text().toUcs4().value(0))) {
            dialogs_.beep();
            return true;
        }
        return false;
    }
    if (e->type() == QEvent::FocusIn) {
        const auto* focus = static_cast<QFocusEvent*>(e);
        if (sw::entry::userFocusReason(focus)) {
            sw::entry::selectOnEntry(edit, focus);
        }
        return false;
    }
    return QWidget::eventFilter(watched, e);
}

void sw_ddc_0306::applyAutoAdvance() {
    auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (edit == nullptr || edit->window() != this ||
        (!fieldOf_.contains(edit) && !panel_->isField(edit))) {
        return;
    }
    // With the whole text selected (just entered) the caret counts as standing at the start.
    const int caret = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
    const sw::AutoAdvance decision = sw::autoAdvance(str(edit->text()), edit->maxLength(), caret);
    switch (decision.action) {
    case sw::AutoAdvance::Action::None:
        break;
    case sw::AutoAdvance::Action::Cut:
        if (auto it = fieldOf_.constFind(edit); it != fieldOf_.constEnd()) {
            model_.put(*it, decision.text);
        } else {
            panel_->put(edit, QString::fromStdString(decision.text));
        }
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
    const auto start = static_cast<std::size_t>(it - tabOrder_.begin());
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
    QLineEdit* first = nullptr;
    switch (mode) {
    case Mode::TRS:
        panel_->enter();
        return;
    case Mode::DD:
        first = angleFields_[static_cast<std::size_t>(Field::txtDDlongD)];
        break;
    case Mode::DMM:
        first = angleFields_[static_cast<std::size_t>(Field::txtDMMlongdd)];
        break;
    case Mode::DMS:
        first = angleFields_[static_cast<std::size_t>(Field::txtDMSlongdd)];
        break;
    case Mode::Grid:
        first = txtGridRef_;
        break;
    case Mode::None:
        return;
    }
    first->setFocus(Qt::OtherFocusReason);
    // A field that had the focus already gets no focus entry: select it all the same.
    if (first->hasFocus()) {
        first->selectAll();
    }
    if (mode != Mode::Grid) {
        applyAutoAdvance();
    }
}

void sw_ddc_0306::setUpNotation(Mode mode) {
    mode_ = mode;
    const Mode byNotation[] = {Mode::DD, Mode::DMM, Mode::DMS};
    // The chosen notation's fields all come back, those a clamp at 90 or 180 had locked too.
    for (const sw::FieldInfo& info : sw::allFields()) {
        angleFields_[static_cast<std::size_t>(info.field)]->setEnabled(
            byNotation[static_cast<std::size_t>(info.notation)] == mode);
    }
    if (mode != Mode::TRS) {
        panel_->lock();
    }
    txtGridRef_->setEnabled(mode == Mode::Grid);
    colourLabels(mode);
}

void sw_ddc_0306::colourLabels(Mode mode) {
    for (const auto& [labelsMode, labels] : notationLabels_) {
        const QString style = QString::fromLatin1(labelsMode == mode ? sw::entry::activeStyle
                                                                     : sw::entry::inactiveStyle);
        for (QWidget* w : labels) {
            w->setStyleSheet(style);
        }
    }
}

// ---------------------------------------------------------------------------------------------
// What the model asks of the window

void sw_ddc_0306::showMessage(const std::string& message) {
    tell(message);
}

void sw_ddc_0306::showFieldText(Field field, const std::string& text) {
    sw::entry::showProgramText(angleFields_[static_cast<std::size_t>(field)],
                               QString::fromStdString(text));
}

void sw_ddc_0306::lockField(Field field) {
    angleFields_[static_cast<std::size_t>(field)]->setEnabled(false);
}

void sw_ddc_0306::refused(Field field) {
    // Selected, so the user's next try replaces it (the caret still counts as at the start).
    // The message box has taken the activation, so ask whether the field is where this
    // window's focus returns, not whether it has the focus now.
    QLineEdit* edit = angleFields_[static_cast<std::size_t>(field)];
    if (edit == focusWidget()) {
        edit->selectAll();
    }
}

void sw_ddc_0306::advance() {
    applyAutoAdvance();
}

void sw_ddc_0306::resultsChanged() {
    showResults();
    handBack();
}

// ---------------------------------------------------------------------------------------------
// Results and hand-back

void sw_ddc_0306::showResults() {
    const sw::HandBackTexts& r = model_.results();
    const std::pair<QLabel*, const std::string*> shown[] = {
        {lblDDLat_, &r.latitude},  {lblDDLong_, &r.longitude}, {lblAlbersX_, &r.albersX},
        {lblAlbersY_, &r.albersY}, {lblUTMCoord_, &r.utm},     {lblUSNG_, &r.usng}};
    for (const auto& [label, text] : shown) {
        label->setText(QString::fromStdString(*text));
    }
}

void sw_ddc_0306::handBack() {
    if (sw::HandBackTarget* receiver = target()) {
        receiver->receiveCoordinates(model_.results());
    }
}

void sw_ddc_0306::located(double latitude, double longitude) {
    model_.setLocation(latitude, longitude);
}

void sw_ddc_0306::notLocated() {
    model_.showNoLocation();
    showResults();
}

void sw_ddc_0306::latitudeLongitudeCleared() {
    model_.clearLatitudeLongitude();
    showResults();
}

void sw_ddc_0306::gridReferenceEntered() {
    if (txtGridRef_->text().trimmed().isEmpty()) {
        return;
    }
    const sw::GridReading reading = sw::readGridReference(str(txtGridRef_->text()));
    if (reading.kind != sw::GridReading::Kind::Point) {
        // Refused: the target keeps what it has, and the reference stays to be corrected.
        tell(reading.problem);
        sw::entry::returnFocusTo(txtGridRef_);
        return;
    }
    model_.setLocation(reading.latitude, reading.longitude);
}
