#include "wildfires/wildfires_window.h"

#include "coord/angle_fields.h"
#include "services/dialogs.h"
#include "taskwindow/editable_list.h"
#include "taskwindow/entry_rule_guard.h"
#include "taskwindow/output_lock.h"
#include "ui/window_kinds.h"
#include "wildfires/fire_numbers.h"
#include "wildfires/fire_outputs.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFocusEvent>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr sw::DateForm kDateForm = sw::DateForm::FourDigitYear;

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}
std::string ss(const QString& text) {
    return text.toStdString();
}

template <class W> W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QPushButton* button(const char* name, const char* caption) {
    auto* b = named(new QPushButton(QString::fromUtf8(caption)), name);
    b->setMinimumHeight(30);
    return b;
}

QLabel* caption(const char* name, const char* text, QWidget* buddy) {
    auto* label = named(new QLabel(QString::fromUtf8(text)), name);
    label->setBuddy(buddy);
    return label;
}

QComboBox* suggestionBox(const char* name, const std::vector<std::string>& items) {
    auto* box = named(new QComboBox, name);
    sw::makeEditableList(box);
    for (const std::string& item : items) {
        box->addItem(qs(item));
    }
    box->setCurrentIndex(-1);
    box->clearEditText();
    return box;
}

// Focus lost to another window, a pop-up or a hidden window is no leaving of the field.
bool userFocusReason(Qt::FocusReason reason) {
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
           reason != Qt::NoFocusReason;
}

// Keys that move, delete or run a shortcut insert nothing: they are no typing to filter.
bool insertsText(const QKeyEvent* key) {
    switch (key->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        return false;
    default:
        break;
    }
    return !key->text().isEmpty() &&
           !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

} // namespace

frmDBMan::frmDBMan(sw::Dialogs& dialogs, sw::OpenConverter openConverter, Today today,
                   QWidget* parent)
    : QWidget(parent), dialogs_(dialogs), today_(std::move(today)),
      outputs_(dialogs, sw::fireOutputSettings()) {
    setObjectName(QString::fromLatin1(sw::forms::kWildfires));
    setWindowTitle(QStringLiteral("Wildfire Management"));
    coordinates_ = new sw::ResultPanel({QStringLiteral("p"),
                                        {{{"lblDDlatR", "Latitude:"},
                                          {"lblDDlongR", "Longitude:"},
                                          {"lblAlbersXcap", "Albers Easting:"},
                                          {"lblAlbersNCap", "Albers Northing:"},
                                          {"lblUTM", "UTM Coordinate (WGS 84)"},
                                          {"lblNG", "US National Grid (WGS 84):"}}}},
                                       std::move(openConverter));
    buildControls();

    lock_ = new sw::OutputLock(
        {cmdAdNewdFire_, cmdAppendFile_, cmdWriteShape_, cmdAppendSHape_, cmdwKML_}, this);
    // Every input locks the outputs when it gets the focus, so nothing changed since the last
    // check can be written.
    for (QWidget* input : std::initializer_list<QWidget*>{
             txtF_Name_, txtInc_num_, optRepI_, optRepU_, optFin_, OptfSigYes_, OptfSigNo_,
             meFireEnter_, meFireSTart_, txtArea_, cmbfFuel_, cmbfCause_, sldperCon_, txtPerCon_,
             cmdCoordCon_}) {
        lock_->lockOnFocus(input);
    }
    entryRule_ = new sw::EntryRuleGuard(dialogs_, this);
    entryRule_->guard(txtF_Name_);
    entryRule_->guard(txtInc_num_);
    entryRule_->guard(cmbfFuel_);
    entryRule_->guard(cmbfCause_);
    for (QLineEdit* field : {meFireEnter_, meFireSTart_, txtArea_, txtPerCon_}) {
        field->installEventFilter(this);
    }

    connect(sldperCon_, &QSlider::valueChanged, this,
            [this](int value) { txtPerCon_->setText(qs(sw::percentText(value))); });
    connect(cmdCoordCon_, &QPushButton::clicked, this, &frmDBMan::openConverter);
    connect(CmdEnable_, &QPushButton::clicked, this, &frmDBMan::checkAndUnlock);
    connect(cmdAdNewdFire_, &QPushButton::clicked, this, &frmDBMan::createTextFile);
    connect(cmdAppendFile_, &QPushButton::clicked, this, &frmDBMan::appendTextFile);
    connect(cmdWriteShape_, &QPushButton::clicked, this, &frmDBMan::writeShapefile);
    connect(cmdAppendSHape_, &QPushButton::clicked, this, &frmDBMan::appendShapefile);
    connect(cmdwKML_, &QPushButton::clicked, this, &frmDBMan::writeKml);
    connect(cmdClear_, &QPushButton::clicked, this, &frmDBMan::clearValues);
    connect(cmdQuit_, &QPushButton::clicked, this, &frmDBMan::leave);

    setToday(meFireEnter_);
    setToday(meFireSTart_);
    txtPerCon_->setText(qs(sw::percentText(sldperCon_->value())));
    disableWrite();
}

frmDBMan::~frmDBMan() = default;

void frmDBMan::buildControls() {
    auto* heading = named(new QLabel(QStringLiteral("Wildfires")), "lblwFires");
    QFont headingFont = heading->font();
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.5);
    headingFont.setBold(true);
    heading->setFont(headingFont);
    heading->setAlignment(Qt::AlignCenter);

    // Which fire, and which report of it.
    txtF_Name_ = named(new QLineEdit, "txtF_Name");
    txtInc_num_ = named(new QLineEdit, "txtInc_num");
    auto* reportFrame = named(new QGroupBox(QStringLiteral("Report")), "frmReport");
    optRepI_ = named(new QRadioButton(QStringLiteral("Initial")), "optRepI");
    optRepU_ = named(new QRadioButton(QStringLiteral("Update")), "optRepU");
    optFin_ = named(new QRadioButton(QStringLiteral("Final")), "optFin");
    report_ = new QButtonGroup(this);
    auto* reportRow = new QHBoxLayout(reportFrame);
    for (QRadioButton* option : {optRepI_, optRepU_, optFin_}) {
        report_->addButton(option);
        reportRow->addWidget(option);
    }
    reportRow->addStretch();
    auto* identity = new QGridLayout;
    identity->addWidget(caption("lblF_namey", "Fire Name:", txtF_Name_), 0, 0);
    identity->addWidget(txtF_Name_, 0, 1);
    identity->addWidget(caption("lblInc_num", "Incident Number:", txtInc_num_), 1, 0);
    identity->addWidget(txtInc_num_, 1, 1);
    identity->addWidget(reportFrame, 2, 0, 1, 2);
    identity->setColumnStretch(1, 1);

    // Where it is: filled only by the converter.
    cmdCoordCon_ = button("cmdCoordCon", "&Coordinate Conversion");
    auto* where = named(new QGroupBox(QStringLiteral("Location")), "frmpResults");
    auto* whereLayout = new QVBoxLayout(where);
    whereLayout->addWidget(coordinates_);
    coordinates_->addBelow(cmdCoordCon_);

    // When, how big, what burns, why, how far contained, how significant.
    const std::string mask = std::string(sw::dateMask(kDateForm));
    QString inputMask = qs(mask).replace(QLatin1Char('#'), QLatin1Char('0'));
    inputMask += QStringLiteral(";_");
    meFireEnter_ = named(new QLineEdit, "meFireEnter");
    meFireSTart_ = named(new QLineEdit, "meFireSTart");
    for (QLineEdit* date : {meFireEnter_, meFireSTart_}) {
        date->setInputMask(inputMask);
        date->setMaximumWidth(120);
    }
    txtArea_ = named(new QLineEdit, "txtArea");
    txtArea_->setMaximumWidth(160);
    cmbfFuel_ = suggestionBox("cmbfFuel", sw::fuelTypes());
    cmbfCause_ = suggestionBox("cmbfCause", sw::fireCauses());

    sldperCon_ = named(new QSlider(Qt::Horizontal), "sldperCon");
    sldperCon_->setRange(sw::kPercentMinimum, sw::kPercentMaximum);
    sldperCon_->setSingleStep(sw::kPercentArrowStep);
    sldperCon_->setPageStep(sw::kPercentPageStep);
    sldperCon_->setTickInterval(sw::kPercentTickInterval);
    sldperCon_->setTickPosition(QSlider::TicksBelow);
    sldperCon_->setAccessibleName(QStringLiteral("Percent Contained"));
    txtPerCon_ = named(new QLineEdit, "txtPerCon");
    txtPerCon_->setMaximumWidth(100);
    txtPerCon_->setAccessibleName(QStringLiteral("Percent Contained"));
    auto* percentCaption = caption(
        "lblperCon", "    Percent Contained: Use SliderBar or Enter in Box", sldperCon_);
    auto* percentRow = new QHBoxLayout;
    percentRow->addWidget(sldperCon_, 1);
    percentRow->addWidget(txtPerCon_);

    auto* significanceFrame = named(new QGroupBox, "frmfSig");
    OptfSigYes_ = named(new QRadioButton(QStringLiteral("Yes")), "OptfSigYes");
    OptfSigNo_ = named(new QRadioButton(QStringLiteral("No")), "OptfSigNo");
    significance_ = new QButtonGroup(this);
    auto* significanceRow = new QHBoxLayout(significanceFrame);
    significanceRow->addWidget(named(new QLabel(QStringLiteral("Significant:")), "lblfSig"));
    for (QRadioButton* option : {OptfSigYes_, OptfSigNo_}) {
        significance_->addButton(option);
        significanceRow->addWidget(option);
    }
    significanceRow->addStretch();

    auto* details = named(new QGroupBox(QStringLiteral("Fire")), "frmpFire");
    auto* detailGrid = new QGridLayout(details);
    int row = 0;
    auto addRow = [&](QLabel* label, QWidget* field) {
        detailGrid->addWidget(label, row, 0);
        detailGrid->addWidget(field, row, 1);
        ++row;
    };
    addRow(caption("lblDate", "Date/Time of Entry,mm/dd/yyyy:", meFireEnter_), meFireEnter_);
    addRow(caption("lblTime", "Fire Start Date, mm/dd/yyyy:", meFireSTart_), meFireSTart_);
    addRow(caption("lblArea", "Area Involved:", txtArea_), txtArea_);
    addRow(caption("lblfFuel", "Fuel Type:", cmbfFuel_), cmbfFuel_);
    addRow(caption("lblCause", "Fire Cause:", cmbfCause_), cmbfCause_);
    detailGrid->addWidget(percentCaption, row++, 0, 1, 2);
    detailGrid->addLayout(percentRow, row++, 0, 1, 2);
    detailGrid->addWidget(significanceFrame, row++, 0, 1, 2);
    detailGrid->setColumnStretch(1, 1);

    // What to write.
    CmdEnable_ = button("CmdEnable", "Enable File and Shapefile Creation");
    cmdAdNewdFire_ = button("cmdAdNewdFire", "Create New Wildfire File");
    cmdAppendFile_ = button("cmdAppendFile", "Append Existing Wildfire File");
    cmdWriteShape_ = button("cmdWriteShape", "Write to Shapefile (Albers)");
    cmdAppendSHape_ = button("cmdAppendSHape", "Append Existing Shapefile (Albers)");
    cmdwKML_ = button("cmdwKML", "Create KML for Google Earth");
    auto* outputs = named(new QGroupBox(QStringLiteral("Output")), "frmwOutput");
    auto* outputGrid = new QGridLayout(outputs);
    outputGrid->addWidget(CmdEnable_, 0, 0, 1, 2);
    outputGrid->addWidget(cmdAdNewdFire_, 1, 0);
    outputGrid->addWidget(cmdAppendFile_, 1, 1);
    outputGrid->addWidget(cmdWriteShape_, 2, 0);
    outputGrid->addWidget(cmdAppendSHape_, 2, 1);
    outputGrid->addWidget(cmdwKML_, 3, 0, 1, 2);

    cmdClear_ = button("cmdClear", "Clear Values");
    cmdQuit_ = button("cmdQuit", "E&xit");
    auto* closing = new QHBoxLayout;
    closing->addWidget(cmdClear_);
    closing->addStretch();
    closing->addWidget(cmdQuit_);

    auto* left = new QVBoxLayout;
    left->addLayout(identity);
    left->addWidget(where);
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(details);
    right->addWidget(outputs);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(columns);
    layout->addLayout(closing);

    const QList<QWidget*> tabOrder = {
        txtF_Name_,   txtInc_num_,    optRepI_,       optRepU_,       optFin_,
        cmdCoordCon_, meFireEnter_,   meFireSTart_,   txtArea_,       cmbfFuel_,
        cmbfCause_,   sldperCon_,     OptfSigYes_,    OptfSigNo_,     CmdEnable_,
        cmdAdNewdFire_, cmdAppendFile_, cmdWriteShape_, cmdAppendSHape_, cmdClear_,
        cmdQuit_,     txtPerCon_,     cmdwKML_};
    for (qsizetype i = 1; i < tabOrder.size(); ++i) {
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    }
}

void frmDBMan::disableWrite() {
    lock_->lock();
}

void frmDBMan::enableWrite() {
    lock_->unlock();
}

sw::FireRecord frmDBMan::record() const {
    auto checked = [](const QButtonGroup* group) {
        return group->checkedButton() != nullptr ? ss(group->checkedButton()->text())
                                                 : std::string();
    };
    const sw::HandBackTexts at = coordinates_->texts();
    return {ss(txtF_Name_->text()),
            ss(txtInc_num_->text()),
            checked(report_),
            at.latitude,
            at.longitude,
            at.albersX,
            at.albersY,
            at.utm,
            at.usng,
            ss(meFireEnter_->displayText()),
            ss(meFireSTart_->displayText()),
            ss(txtArea_->text()),
            ss(cmbfFuel_->currentText()),
            ss(cmbfCause_->currentText()),
            ss(txtPerCon_->text()),
            checked(significance_)};
}

void frmDBMan::setToday(QLineEdit* dateField) {
    dateField->setText(qs(sw::dateText(today_(), kDateForm)));
}

bool frmDBMan::eventFilter(QObject* watched, QEvent* event) {
    auto* field = qobject_cast<QLineEdit*>(watched);
    if (field == nullptr) {
        return QWidget::eventFilter(watched, event);
    }
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!insertsText(key)) {
            return false;
        }
        if (field == txtArea_ && areaKeyRefused(key->text())) {
            dialogs_.beep();
            dialogs_.message(sw::areaKeyMessage());
            return true;
        }
        if (field == txtPerCon_ && !sw::keyAccepted(key->text().toUcs4().value(0))) {
            dialogs_.beep();
            return true;
        }
        return false;
    }
    if (event->type() == QEvent::FocusOut &&
        userFocusReason(static_cast<QFocusEvent*>(event)->reason())) {
        if (field == meFireEnter_ || field == meFireSTart_) {
            checkDate(field);
        } else if (field == txtArea_) {
            leaveArea();
        } else if (field == txtPerCon_) {
            leavePercent();
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool frmDBMan::areaKeyRefused(const QString& typed) {
    const QList<uint> codes = typed.toUcs4();
    return std::any_of(codes.begin(), codes.end(),
                       [](uint c) { return !sw::isAreaCharacter(static_cast<char32_t>(c)); });
}

void frmDBMan::returnFocusTo(QLineEdit* field) {
    // Not while the focus is still on its way elsewhere: once the move is over, come back.
    QTimer::singleShot(0, field, [field] {
        field->setFocus(Qt::OtherFocusReason);
        field->selectAll();
    });
}

void frmDBMan::checkDate(QLineEdit* dateField) {
    const sw::FireDate which =
        dateField == meFireEnter_ ? sw::FireDate::Entry : sw::FireDate::Start;
    const sw::DateVerdict verdict =
        sw::checkDate(ss(dateField->displayText()), kDateForm, today_());
    switch (verdict) {
    case sw::DateVerdict::Accepted:
        return;
    case sw::DateVerdict::Invalid:
        dialogs_.beep();
        dialogs_.message(sw::invalidDateMessage());
        returnFocusTo(dateField);
        return;
    case sw::DateVerdict::AskOld:
        // The old date is shown selected while the question is asked, and kept in view after.
        dateField->selectAll();
        returnFocusTo(dateField);
        break;
    case sw::DateVerdict::AskFuture:
        break;
    }
    if (dialogs_.message(sw::dateQuestion(which, verdict)) == sw::Answer::No) {
        dateField->clear(); // the empty mask
        returnFocusTo(dateField);
    }
}

void frmDBMan::leaveArea() {
    const sw::AreaLeave left = sw::leaveArea(ss(txtArea_->text()));
    if (left.refused) {
        dialogs_.message(sw::areaNotNumberMessage());
        txtArea_->setText(qs(left.text));
        returnFocusTo(txtArea_);
        return;
    }
    txtArea_->setText(qs(left.text));
}

void frmDBMan::leavePercent() {
    const sw::PercentLeave left = sw::leavePercent(ss(txtPerCon_->text()), sldperCon_->value());
    if (left.value != sldperCon_->value()) {
        sldperCon_->setValue(left.value); // writes the text
    } else if (left.rewriteText) {
        txtPerCon_->setText(qs(sw::percentText(left.value)));
    }
}

void frmDBMan::openConverter() {
    disableWrite();
    coordinates_->openConverter();
}

void frmDBMan::checkAndUnlock() {
    // Leaving a field cleans it; clean here too, so nothing uncleaned can pass the check.
    sw::EntryRuleGuard::clean(txtF_Name_);
    sw::EntryRuleGuard::clean(txtInc_num_);
    sw::EntryRuleGuard::clean(cmbfFuel_);
    sw::EntryRuleGuard::clean(cmbfCause_);
    // The area and percent get the same treatment: a field can lose its focus unseen (to a
    // window that was not active), and what is written must be what leaving it gives.
    const sw::AreaLeave area = sw::leaveArea(ss(txtArea_->text()));
    txtArea_->setText(qs(area.text));
    if (area.refused) {
        dialogs_.message(sw::areaNotNumberMessage());
        txtArea_->setFocus(Qt::OtherFocusReason);
        txtArea_->selectAll();
        disableWrite();
        return;
    }
    if (!txtPerCon_->text().isEmpty()) {
        leavePercent();
    }
    // So are the dates: one that is no calendar date is not written. A start date without
    // digits is no date at all and may stay so.
    for (QLineEdit* date : {meFireEnter_, meFireSTart_}) {
        if (sw::readDate(ss(date->displayText()), kDateForm, today_()).kind ==
            sw::DateReading::Kind::Invalid) {
            dialogs_.beep();
            dialogs_.message(sw::invalidDateMessage());
            date->setFocus(Qt::OtherFocusReason);
            date->selectAll();
            disableWrite();
            return;
        }
    }
    const auto missing = sw::firstMissingValue(record(), sw::CoordinateCheck::Required);
    if (!missing) {
        enableWrite();
        return;
    }
    dialogs_.message(missing->message);
    QWidget* focus = nullptr;
    switch (missing->field) {
    case sw::FireField::Name:
        focus = txtF_Name_;
        break;
    case sw::FireField::Incident:
        focus = txtInc_num_;
        break;
    case sw::FireField::Coordinates:
        focus = cmdCoordCon_;
        break;
    case sw::FireField::EntryDate:
        focus = meFireEnter_;
        break;
    case sw::FireField::Fuel:
        focus = cmbfFuel_;
        break;
    case sw::FireField::Cause:
        focus = cmbfCause_;
        break;
    case sw::FireField::Area:
        focus = txtArea_;
        break;
    case sw::FireField::Percent:
        focus = txtPerCon_;
        break;
    }
    focus->setFocus(Qt::OtherFocusReason);
    disableWrite();
}

void frmDBMan::createTextFile() {
    report(outputs_.createTextFile(sw::fireTextRow(record())));
}

void frmDBMan::appendTextFile() {
    report(outputs_.appendTextFile(sw::fireTextRow(record())));
}

void frmDBMan::writeShapefile() {
    cmdAppendSHape_->setEnabled(false);
    sw::setBackground(cmdAppendSHape_, sw::kLockedButtonColour);
    outputs_.dialog().forget(); // the shapefile dialogs start without a file name
    const sw::FireRecord fire = record();
    report(outputs_.createShapefile(sw::fireShapeRow(fire), sw::fireShapePoint(fire)));
}

void frmDBMan::appendShapefile() {
    cmdWriteShape_->setEnabled(false);
    sw::setBackground(cmdWriteShape_, sw::kLockedButtonColour);
    outputs_.dialog().forget();
    const sw::FireRecord fire = record();
    report(outputs_.appendShapefile(sw::fireShapeRow(fire), sw::fireShapePoint(fire)));
}

void frmDBMan::writeKml() {
    report(sw::writeFireKml(dialogs_, outputs_, record()));
}

void frmDBMan::clearValues() {
    txtF_Name_->clear();
    txtInc_num_->clear();
    coordinates_->clear();
    setToday(meFireEnter_);
    setToday(meFireSTart_);
    for (QComboBox* box : {cmbfCause_, cmbfFuel_}) {
        box->setCurrentIndex(-1);
        box->clearEditText();
    }
    txtArea_->setText(QStringLiteral("0.00"));
    sldperCon_->setValue(sw::kPercentMinimum);
}

void frmDBMan::leave() {
    coordinates_->stopReceiving();
    txtF_Name_->clear();
    txtInc_num_->clear();
    txtArea_->clear();
    txtPerCon_->clear();
    coordinates_->clear();
    disableWrite();
    hide();
}

void frmDBMan::report(const sw::OutputResult& result) {
    if (result.isFailed()) {
        dialogs_.inform(result.message, {}, sw::Icon::Critical);
    }
}
