#include "wildfires/wildfires_window.h"

#include "services/base/dialogs.h"
#include "taskwindow/controls.h"
#include "taskwindow/editable_list.h"
#include "taskwindow/entry_rule_guard.h"
#include "taskwindow/output_panel.h"
#include "ui/window_kinds.h"
#include "wildfires/fire_fields.h"
#include "wildfires/fire_numbers.h"
#include "wildfires/fire_outputs.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

namespace {

constexpr sw::DateForm kDateForm = sw::DateForm::FourDigitYear;

using sw::controls::button;
using sw::controls::caption;
using sw::controls::named;
using sw::controls::qs;
using sw::controls::ss;

} // namespace

frmDBMan::frmDBMan(sw::Dialogs& dialogs, sw::OpenConverter openConverter, sw::Clock clock,
                   QWidget* parent)
    : QWidget(parent), dialogs_(dialogs), clock_(std::move(clock)) {
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

    // Every input locks the outputs when it gets the focus, so nothing changed since the last
    // check can be written.
    for (QWidget* input : std::initializer_list<QWidget*>{
             txtF_Name_, txtInc_num_, optRepI_, optRepU_, optFin_, OptfSigYes_, OptfSigNo_,
             meFireEnter_, meFireSTart_, txtArea_, cmbfFuel_, cmbfCause_, sldperCon_, txtPerCon_,
             cmdCoordCon_}) {
        outputs_->lockOnFocus(input);
    }
    entryRule_ = new sw::EntryRuleGuard(dialogs_, this);
    entryRule_->guard(txtF_Name_);
    entryRule_->guard(txtInc_num_);
    entryRule_->guard(cmbfFuel_);
    entryRule_->guard(cmbfCause_);
    fireFields_ = new sw::FireFieldRules(
        dialogs_, kDateForm, clock_, {meFireEnter_, meFireSTart_, txtArea_, sldperCon_, txtPerCon_},
        this);
    connect(cmdCoordCon_, &QPushButton::clicked, this, &frmDBMan::openConverter);
    outputs_->setCheck([this] { return recordIsComplete(); });
    outputs_->setRecord([this] {
        const sw::FireRecord fire = record();
        return sw::OutputRecord{sw::fireTextRow(fire), sw::fireShapeRow(fire),
                                sw::fireShapePoint(fire)};
    });
    outputs_->setKml(
        [this](sw::RecordOutputs& out) { return sw::writeFireKml(dialogs_, out, record()); });
    connect(cmdClear_, &QPushButton::clicked, this, &frmDBMan::clearValues);
    connect(cmdQuit_, &QPushButton::clicked, this, &frmDBMan::leave);

    fireFields_->setDatesToToday();
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
    meFireEnter_ = sw::makeDateField("meFireEnter", kDateForm);
    meFireSTart_ = sw::makeDateField("meFireSTart", kDateForm);
    txtArea_ = named(new QLineEdit, "txtArea");
    txtArea_->setMaximumWidth(160);
    cmbfFuel_ = sw::makeSuggestionBox("cmbfFuel", sw::fuelTypes());
    cmbfCause_ = sw::makeSuggestionBox("cmbfCause", sw::fireCauses());
    sldperCon_ = sw::makePercentSlider("sldperCon");
    txtPerCon_ = named(new QLineEdit, "txtPerCon");
    txtPerCon_->setMaximumWidth(100);
    txtPerCon_->setAccessibleName(QStringLiteral("Percent Contained"));
    auto* percentCaption =
        caption("lblperCon", "    Percent Contained: Use SliderBar or Enter in Box", sldperCon_);
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
    outputs_ =
        new sw::OutputPanel(dialogs_, {{"frmwOutput", "CmdEnable", "cmdAdNewdFire", "cmdAppendFile",
                                        "cmdWriteShape", "cmdAppendSHape", "cmdwKML"},
                                       QStringLiteral("Wildfire"),
                                       sw::fireOutputSettings(),
                                       true});
    CmdEnable_ = outputs_->enableButton();
    const QList<QPushButton*> outputButtons = outputs_->outputButtons();
    cmdAdNewdFire_ = outputButtons[0];
    cmdAppendFile_ = outputButtons[1];
    cmdWriteShape_ = outputButtons[2];
    cmdAppendSHape_ = outputButtons[3];
    cmdwKML_ = outputButtons[4];
    QGroupBox* outputs = outputs_;

    const auto foot = sw::controls::makeClosingButtons("cmdQuit");
    cmdClear_ = foot.clear;
    cmdQuit_ = foot.exit;
    QHBoxLayout* closing = foot.row;

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
        txtF_Name_,      txtInc_num_,  optRepI_,   optRepU_,       optFin_,        cmdCoordCon_,
        meFireEnter_,    meFireSTart_, txtArea_,   cmbfFuel_,      cmbfCause_,     sldperCon_,
        OptfSigYes_,     OptfSigNo_,   CmdEnable_, cmdAdNewdFire_, cmdAppendFile_, cmdWriteShape_,
        cmdAppendSHape_, cmdClear_,    cmdQuit_,   txtPerCon_,     cmdwKML_};
    for (qsizetype i = 1; i < tabOrder.size(); ++i) {
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    }
}

void frmDBMan::disableWrite() {
    outputs_->lock();
}

void frmDBMan::enableWrite() {
    outputs_->unlock();
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

void frmDBMan::openConverter() {
    disableWrite();
    coordinates_->openConverter();
}

bool frmDBMan::recordIsComplete() {
    // Leaving a field cleans it; clean here too, so nothing uncleaned can pass the check.
    sw::EntryRuleGuard::clean(txtF_Name_);
    sw::EntryRuleGuard::clean(txtInc_num_);
    sw::EntryRuleGuard::clean(cmbfFuel_);
    sw::EntryRuleGuard::clean(cmbfCause_);
    if (!fireFields_->settle()) {
        return false;
    }
    const auto missing = sw::firstMissingValue(record(), sw::CoordinateCheck::Required);
    if (!missing) {
        return true;
    }
    dialogs_.message(missing->message);
    sw::focusMissing(missing->field, {txtF_Name_, txtInc_num_, cmdCoordCon_, meFireEnter_,
                                      cmbfFuel_, cmbfCause_, txtArea_, txtPerCon_});
    return false;
}

void frmDBMan::clearValues() {
    txtF_Name_->clear();
    txtInc_num_->clear();
    coordinates_->clear();
    fireFields_->setDatesToToday();
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
