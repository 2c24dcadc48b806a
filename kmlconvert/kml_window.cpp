#include "kmlconvert/kml_window.h"

#include "kmlconvert/conversion.h"
#include "kmlconvert/perimeter_area.h"
#include "services/base/dialogs.h"
#include "taskwindow/controls.h"
#include "taskwindow/entry_rule_guard.h"
#include "taskwindow/output_lock.h"
#include "ui/option_choice.h"
#include "ui/window_kinds.h"
#include "wildfires/fire_fields.h"
#include "wildfires/fire_numbers.h"
#include "wildfires/fire_record.h"

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

using sw::kml::FeatureCategory;

constexpr sw::DateForm kDateForm = sw::DateForm::TwoDigitYear;

using sw::controls::button;
using sw::controls::caption;
using sw::controls::named;
using sw::controls::qs;
using sw::controls::ss;

void fill(QComboBox* box, const std::vector<std::string>& items) {
    box->clear();
    for (const std::string& item : items) {
        box->addItem(qs(item));
    }
    box->setCurrentIndex(-1);
    box->clearEditText();
}

// Sets an option without the group's exclusivity getting in the way of un-choosing it.
void setChosen(QButtonGroup* group, QRadioButton* option, bool chosen) {
    group->setExclusive(false);
    option->setChecked(chosen);
    group->setExclusive(true);
}

} // namespace

kml_firedp_0611::kml_firedp_0611(sw::Dialogs& dialogs, sw::Clock clock, QWidget* parent)
    : QWidget(parent), dialogs_(dialogs) {
    setObjectName(QString::fromLatin1(sw::forms::kKmlConvert));
    setWindowTitle(QStringLiteral("Wildfire Management"));
    buildControls();

    lock_ = new sw::OutputLock({cmdFireTab_}, this);
    // Every attribute locks the conversion when it gets the focus: nothing changed since the
    // last check can be converted.
    for (QWidget* input : std::initializer_list<QWidget*>{
             txtF_Name_, txtInc_num_, optRepI_,     optRepU_,     optFin_,  optNA_,    OptfSigYes_,
             OptfSigNo_, OptfSigNA_,  meFireEnter_, meFireSTart_, txtArea_, cmbfFuel_, cmbfCause_,
             sldperCon_, txtPerCon_,  optFire_,     optNFire_,    optFacs_, cmbFtype_}) {
        lock_->lockOnFocus(input);
    }
    entryRule_ = new sw::EntryRuleGuard(dialogs_, this);
    entryRule_->guard(txtF_Name_);
    entryRule_->guard(txtInc_num_);
    entryRule_->guard(cmbfFuel_);
    entryRule_->guard(cmbfCause_);
    fireFields_ = new sw::FireFieldRules(
        dialogs_, kDateForm, std::move(clock),
        {meFireEnter_, meFireSTart_, txtArea_, sldperCon_, txtPerCon_}, this);
    fireFields_->setDatesToToday();

    // Options record their caption when the user picks them.
    for (QRadioButton* option : {optRepI_, optRepU_, optFin_, optNA_}) {
        sw::onOptionChosen(option, this, [this, option] { report_ = ss(option->text()); });
    }
    for (QRadioButton* option : {OptfSigYes_, OptfSigNo_, OptfSigNA_}) {
        sw::onOptionChosen(option, this, [this, option] { significance_ = ss(option->text()); });
    }
    sw::onOptionChosen(optFire_, this, [this] { chooseCategory(FeatureCategory::Wildfire); });
    sw::onOptionChosen(optNFire_, this, [this] { chooseCategory(FeatureCategory::OtherIncident); });
    sw::onOptionChosen(optFacs_, this, [this] { chooseCategory(FeatureCategory::Facility); });
    connect(CmdEnable_, &QPushButton::clicked, this, &kml_firedp_0611::checkAndUnlock);
    connect(cmdFireTab_, &QPushButton::clicked, this, &kml_firedp_0611::convert);
    connect(cmdClear_, &QPushButton::clicked, this, &kml_firedp_0611::clearValues);
    connect(cmdQuit_, &QPushButton::clicked, this, &kml_firedp_0611::leave);

    optFire_->setChecked(true); // and its set-up runs
    disableWrite();
}

kml_firedp_0611::~kml_firedp_0611() = default;

void kml_firedp_0611::buildControls() {
    auto* heading = named(new QLabel(QStringLiteral("KML Conversion")), "lblKmlConv");
    QFont headingFont = heading->font();
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.5);
    headingFont.setBold(true);
    heading->setFont(headingFont);
    heading->setAlignment(Qt::AlignCenter);

    auto* procedure = named(new QGroupBox(QStringLiteral("PROCEDURES")), "frmProcedure");
    auto* procedureText = named(new QLabel(qs(sw::kml::procedureText())), "lblProcedures");
    procedureText->setWordWrap(true);
    (new QVBoxLayout(procedure))->addWidget(procedureText);

    // What the drawing is.
    auto* category = named(new QGroupBox(QStringLiteral("Feature Category")), "frmFType");
    optFire_ = named(new QRadioButton(QStringLiteral("Wildfire")), "optFire");
    optNFire_ = named(new QRadioButton(QStringLiteral("Other Incident")), "optNFire");
    optFacs_ = named(new QRadioButton(QStringLiteral("Facility")), "optFacs");
    auto* categoryRow = new QHBoxLayout(category);
    for (QRadioButton* option : {optFire_, optNFire_, optFacs_}) {
        categoryRow->addWidget(option);
    }
    categoryRow->addStretch();
    cmbFtype_ = named(new QComboBox, "cmbFtype");
    cmbFtype_->setEditable(true);
    cmbFtype_->setInsertPolicy(QComboBox::NoInsert);
    lblFtype_ = caption("lblFtype", "Feature Type:", cmbFtype_);

    // Which fire or incident, and which report of it.
    txtF_Name_ = named(new QLineEdit, "txtF_Name");
    lblF_namey_ = caption("lblF_namey", "Fire Name", txtF_Name_);
    txtInc_num_ = named(new QLineEdit, "txtInc_num");
    auto* reportFrame = named(new QGroupBox(QStringLiteral("Report")), "frmReport");
    optRepI_ = named(new QRadioButton(QStringLiteral("Initial")), "optRepI");
    optRepU_ = named(new QRadioButton(QStringLiteral("Update")), "optRepU");
    optFin_ = named(new QRadioButton(QStringLiteral("Final")), "optFin");
    optNA_ = named(new QRadioButton(QStringLiteral("N/A")), "optNA");
    reportGroup_ = new QButtonGroup(this);
    auto* reportRow = new QHBoxLayout(reportFrame);
    for (QRadioButton* option : {optRepI_, optRepU_, optFin_, optNA_}) {
        reportGroup_->addButton(option);
        reportRow->addWidget(option);
    }
    reportRow->addStretch();

    auto* identity = new QGridLayout;
    identity->addWidget(category, 0, 0, 1, 2);
    identity->addWidget(lblFtype_, 1, 0);
    identity->addWidget(cmbFtype_, 1, 1);
    identity->addWidget(lblF_namey_, 2, 0);
    identity->addWidget(txtF_Name_, 2, 1);
    identity->addWidget(caption("lblInc_num", "Incident Number:", txtInc_num_), 3, 0);
    identity->addWidget(txtInc_num_, 3, 1);
    identity->addWidget(reportFrame, 4, 0, 1, 2);
    identity->setColumnStretch(1, 1);

    // When, how big, what burns, why, how far contained, how significant.
    meFireEnter_ = sw::makeDateField("meFireEnter", kDateForm);
    meFireSTart_ = sw::makeDateField("meFireSTart", kDateForm);
    lblTime_ = caption("lblTime", "Fire Start Date, mm/dd/yy:", meFireSTart_);
    txtArea_ = named(new QLineEdit, "txtArea");
    txtArea_->setMinimumWidth(110); // "100,000.00" whole, beside the drawn area
    txtArea_->setMaximumWidth(160);
    // The area the drawn perimeter encloses, beside the area the user gives.
    lblDrawnArea_ = named(new QLabel, "lblDrawnArea");
    // Its room is kept from the start: a label that widens the column when it appears would
    // narrow the other, wrap the procedure text and squeeze the option rows below it.
    lblDrawnArea_->setMinimumWidth(lblDrawnArea_->fontMetrics().horizontalAdvance(
        QStringLiteral("Drawn perimeter: 99,999,999.9 acres")));
    auto* areaRow = new QHBoxLayout;
    areaRow->addWidget(txtArea_);
    areaRow->addWidget(lblDrawnArea_, 1);
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
    OptfSigNA_ = named(new QRadioButton(QStringLiteral("N/A")), "OptfSigNA");
    significanceGroup_ = new QButtonGroup(this);
    auto* significanceRow = new QHBoxLayout(significanceFrame);
    significanceRow->addWidget(named(new QLabel(QStringLiteral("Significant:")), "lblfSig"));
    for (QRadioButton* option : {OptfSigYes_, OptfSigNo_, OptfSigNA_}) {
        significanceGroup_->addButton(option);
        significanceRow->addWidget(option);
    }
    significanceRow->addStretch();

    auto* details = named(new QGroupBox(QStringLiteral("Attributes")), "frmAttributes");
    auto* detailGrid = new QGridLayout(details);
    int row = 0;
    auto addRow = [&](QLabel* label, QWidget* field) {
        detailGrid->addWidget(label, row, 0);
        detailGrid->addWidget(field, row, 1);
        ++row;
    };
    addRow(caption("lblDate", "Date/Time of Entry:", meFireEnter_), meFireEnter_);
    addRow(lblTime_, meFireSTart_);
    detailGrid->addWidget(caption("lblArea", "Area Involved:", txtArea_), row, 0);
    detailGrid->addLayout(areaRow, row++, 1);
    addRow(caption("lblfFuel", "Fuel Type:", cmbfFuel_), cmbfFuel_);
    addRow(caption("lblCause", "Fire Cause:", cmbfCause_), cmbfCause_);
    detailGrid->addWidget(percentCaption, row++, 0, 1, 2);
    detailGrid->addLayout(percentRow, row++, 0, 1, 2);
    detailGrid->addWidget(significanceFrame, row++, 0, 1, 2);
    detailGrid->setColumnStretch(1, 1);

    CmdEnable_ = button("CmdEnable", "Enable KML to Shapefile Conversion");
    cmdFireTab_ = button("cmdFireTab", "Convert KML to Shapefile");
    cmdClear_ = button("cmdClear", "Clear Values");
    cmdQuit_ = button("cmdQuit", "E&xit");
    auto* actions = new QHBoxLayout;
    actions->addWidget(CmdEnable_);
    actions->addWidget(cmdFireTab_);
    actions->addStretch();
    actions->addWidget(cmdClear_);
    actions->addWidget(cmdQuit_);

    auto* left = new QVBoxLayout;
    left->addWidget(procedure);
    left->addLayout(identity);
    left->addStretch();
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addWidget(details, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(columns);
    layout->addLayout(actions);

    const QList<QWidget*> tabOrder = {
        optFire_,   optNFire_,  optFacs_,   cmbFtype_,   txtF_Name_,   txtInc_num_,
        optRepI_,   optRepU_,   optFin_,    optNA_,      meFireEnter_, meFireSTart_,
        txtArea_,   cmbfFuel_,  cmbfCause_, sldperCon_,  txtPerCon_,   OptfSigYes_,
        OptfSigNo_, OptfSigNA_, CmdEnable_, cmdFireTab_, cmdClear_,    cmdQuit_};
    for (qsizetype i = 1; i < tabOrder.size(); ++i) {
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    }
}

void kml_firedp_0611::disableWrite() {
    lock_->lock();
}

void kml_firedp_0611::enableWrite() {
    lock_->unlock();
}

sw::kml::FireAttributes kml_firedp_0611::attributes() const {
    sw::kml::FireAttributes a;
    a.fire.name = ss(txtF_Name_->text());
    a.fire.incident = ss(txtInc_num_->text());
    a.fire.report = report_;
    a.fire.entryDate = ss(meFireEnter_->displayText());
    a.fire.startDate = ss(meFireSTart_->displayText());
    a.fire.area = ss(txtArea_->text());
    a.fire.fuel = ss(cmbfFuel_->currentText());
    a.fire.cause = ss(cmbfCause_->currentText());
    a.fire.percent = ss(txtPerCon_->text());
    a.fire.significant = significance_;
    a.featureType = ss(cmbFtype_->currentText());
    return a;
}

void kml_firedp_0611::chooseCategory(FeatureCategory category) {
    const auto& effects = sw::kml::categoryEffects(category);
    lblF_namey_->setText(qs(effects.nameCaption));
    lblTime_->setText(qs(effects.timeCaption));
    if (!effects.percentEnabled) {
        sldperCon_->setValue(sw::kPercentMinimum);
    }
    sldperCon_->setEnabled(effects.percentEnabled);
    txtInc_num_->setText(qs(effects.incidentNumber.value_or("")));

    // "N/A" chosen records "N/A"; un-choosing it leaves the recorded value alone.
    auto applyOptions = [](QButtonGroup* group, QRadioButton* na,
                           std::initializer_list<QRadioButton*> others,
                           const sw::kml::NaOptions& rule, std::string& recorded) {
        setChosen(group, na, rule.naChosen);
        na->setEnabled(rule.naEnabled);
        if (rule.naChosen) {
            recorded = ss(na->text());
        }
        for (QRadioButton* option : others) {
            option->setEnabled(rule.othersEnabled);
        }
    };
    applyOptions(reportGroup_, optNA_, {optRepI_, optRepU_, optFin_}, effects.report, report_);
    applyOptions(significanceGroup_, OptfSigNA_, {OptfSigYes_, OptfSigNo_}, effects.significance,
                 significance_);

    if (effects.fuelAndCause) {
        cmbfFuel_->setEditText(qs(*effects.fuelAndCause));
        cmbfCause_->setEditText(qs(*effects.fuelAndCause));
    } else {
        fill(cmbfFuel_, sw::fuelTypes());
        fill(cmbfCause_, sw::fireCauses());
    }
    cmbFtype_->setEnabled(true);
    lblFtype_->setEnabled(true);
    fill(cmbFtype_, sw::kml::featureTypes(category));
}

void kml_firedp_0611::checkAndUnlock() {
    // Leaving a field cleans it; clean here too, so nothing uncleaned can pass the check.
    sw::EntryRuleGuard::clean(txtF_Name_);
    sw::EntryRuleGuard::clean(txtInc_num_);
    sw::EntryRuleGuard::clean(cmbfFuel_);
    sw::EntryRuleGuard::clean(cmbfCause_);
    if (!fireFields_->settle()) {
        disableWrite();
        return;
    }
    const auto missing = sw::firstMissingValue(attributes().fire, sw::CoordinateCheck::Absent);
    if (!missing) {
        enableWrite();
        return;
    }
    // Every failed check locks, not only some: a conversion must never stay enabled for
    // attributes that did not pass.
    disableWrite();
    dialogs_.message(missing->message);
    sw::focusMissing(missing->field, {txtF_Name_, txtInc_num_, nullptr, meFireEnter_, cmbfFuel_,
                                      cmbfCause_, txtArea_, txtPerCon_});
}

void kml_firedp_0611::convert() {
    const auto outcome = sw::kml::convertKml(dialogs_, attributes());
    if (!outcome.completed) {
        return;
    }
    // The label speaks of the last drawing converted, and only a polygon encloses an area.
    lblDrawnArea_->setText(outcome.drawnAcres ? qs(sw::kml::drawnPerimeterText(*outcome.drawnAcres))
                                              : QString());
}

void kml_firedp_0611::clearValues() {
    txtF_Name_->clear();
    txtInc_num_->clear();
    for (QComboBox* box : {cmbfFuel_, cmbfCause_, cmbFtype_}) {
        box->setCurrentIndex(-1);
        box->clearEditText();
    }
    txtPerCon_->clear();
    txtArea_->setText(QStringLiteral("0"));
    lblDrawnArea_->clear();
}

void kml_firedp_0611::leave() {
    disableWrite();
    // Unloaded, not hidden: the next opening starts from the load state.
    close();
    if (!testAttribute(Qt::WA_DeleteOnClose)) {
        deleteLater();
    }
}
