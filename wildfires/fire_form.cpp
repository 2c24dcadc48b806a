#include "wildfires/fire_form.h"

#include "services/base/dialogs.h"
#include "taskwindow/controls.h"
#include "taskwindow/editable_list.h"
#include "taskwindow/result_panel.h"
#include "ui/option_choice.h"
#include "wildfires/fire_fields.h"
#include "wildfires/fire_numbers.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>

namespace sw {

namespace {

using controls::caption;
using controls::named;
using controls::qs;
using controls::ss;

QLineEdit* makeDateField(const char* name, DateForm form) {
    QString inputMask = qs(std::string(dateMask(form))).replace(QLatin1Char('#'), QLatin1Char('0'));
    inputMask += QStringLiteral(";_");
    auto* field = named(new QLineEdit, name);
    field->setInputMask(inputMask);
    field->setMaximumWidth(120);
    return field;
}

// The fuel and cause boxes suggest without completing while the user types: a completion
// pop-up would take the click meant for the next field, and inline completion would change
// what was typed.
QComboBox* makeSuggestionBox(const char* name, const std::vector<std::string>& items) {
    auto* box = named(new QComboBox, name);
    makeEditableList(box);
    offerItems(box, items);
    return box;
}

QSlider* makePercentSlider() {
    auto* slider = named(new QSlider(Qt::Horizontal), "sldperCon");
    slider->setRange(kPercentMinimum, kPercentMaximum);
    slider->setSingleStep(kPercentArrowStep);
    slider->setPageStep(kPercentPageStep);
    slider->setTickInterval(kPercentTickInterval);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setAccessibleName(QStringLiteral("Percent Contained"));
    return slider;
}

// A row of options in a frame; each option's caption is the value it records.
QList<QRadioButton*> addOptions(QBoxLayout* row, QButtonGroup* group,
                                const std::vector<std::string>& captions,
                                std::initializer_list<const char*> names) {
    Q_ASSERT(captions.size() <= names.size());
    QList<QRadioButton*> options;
    auto name = names.begin();
    for (const std::string& text : captions) {
        auto* option = named(new QRadioButton(qs(text)), *name++);
        group->addButton(option);
        row->addWidget(option);
        options << option;
    }
    row->addStretch();
    return options;
}

// Sets an option without the group's exclusivity getting in the way of un-choosing it.
void setChosen(QButtonGroup* group, QAbstractButton* option, bool chosen) {
    group->setExclusive(false);
    option->setChecked(chosen);
    group->setExclusive(true);
}

// "N/A" chosen records "N/A"; un-choosing it leaves the recorded value alone.
void applyNaOptions(QButtonGroup* group, const QList<QRadioButton*>& options, const NaOptions& rule,
                    std::string& recorded) {
    QRadioButton* na = options.back();
    setChosen(group, na, rule.naChosen);
    na->setEnabled(rule.naEnabled);
    if (rule.naChosen) {
        recorded = kNotApplicable;
    }
    for (QRadioButton* option : options.sliced(0, options.size() - 1)) {
        option->setEnabled(rule.othersEnabled);
    }
}

} // namespace

void offerItems(QComboBox* box, const std::vector<std::string>& items) {
    box->clear();
    for (const std::string& item : items) {
        box->addItem(qs(item));
    }
    box->setCurrentIndex(-1);
    box->clearEditText();
}

FireAttributesForm::FireAttributesForm(Dialogs& dialogs, Clock clock, const FireFormSetup& setup,
                                       QWidget* window)
    : QObject(window), dialogs_(dialogs), notApplicable_(setup.notApplicable),
      cleaning_(
          [na = setup.notApplicable](std::string_view text) { return cleanFireText(text, na); }) {
    buildIdentity(setup);
    buildDetails(setup);

    entryRule_ = new EntryRuleGuard(dialogs_, this, cleaning_);
    entryRule_->guard(controls_.name);
    entryRule_->guard(controls_.incident);
    entryRule_->guard(controls_.fuel);
    entryRule_->guard(controls_.cause);
    fieldRules_ = new FireFieldRules(dialogs_, setup.dates, std::move(clock),
                                     {controls_.entryDate, controls_.startDate, controls_.area,
                                      controls_.percentSlider, controls_.percentText},
                                     this);
    recordChoices();
    setDatesToToday();
}

FireAttributesForm::~FireAttributesForm() = default;

// Which fire, and which report of it.
void FireAttributesForm::buildIdentity(const FireFormSetup& setup) {
    controls_.name = named(new QLineEdit, "txtF_Name");
    controls_.nameCaption = caption("lblF_namey", setup.nameCaption, controls_.name);
    controls_.incident = named(new QLineEdit, "txtInc_num");
    incidentCaption_ = caption("lblInc_num", "Incident Number:", controls_.incident);
    reportFrame_ = named(new QGroupBox(QStringLiteral("Report")), "frmReport");
    reportGroup_ = new QButtonGroup(this);
    controls_.reportOptions =
        addOptions(new QHBoxLayout(reportFrame_), reportGroup_, reportTypes(setup.notApplicable),
                   {"optRepI", "optRepU", "optFin", "optNA"});
}

int FireAttributesForm::addIdentityRows(QGridLayout* grid, int row) const {
    grid->addWidget(controls_.nameCaption, row, 0);
    grid->addWidget(controls_.name, row++, 1);
    grid->addWidget(incidentCaption_, row, 0);
    grid->addWidget(controls_.incident, row++, 1);
    grid->addWidget(reportFrame_, row++, 0, 1, 2);
    return row;
}

QGroupBox* FireAttributesForm::buildSignificance(NotApplicable na) {
    auto* frame = named(new QGroupBox, "frmfSig");
    auto* row = new QHBoxLayout(frame);
    auto* label = named(new QLabel(QStringLiteral("Significant:")), "lblfSig");
    row->addWidget(label);
    // The frame has no title of its own: a screen reader names its options by the caption.
    frame->setAccessibleName(label->text());
    significanceGroup_ = new QButtonGroup(this);
    controls_.significanceOptions = addOptions(row, significanceGroup_, significanceOptions(na),
                                               {"OptfSigYes", "OptfSigNo", "OptfSigNA"});
    return frame;
}

// When, how big, what burns, why, how far contained, how significant.
void FireAttributesForm::buildDetails(const FireFormSetup& setup) {
    FireFormControls& c = controls_;
    c.entryDate = makeDateField("meFireEnter", setup.dates);
    c.startDate = makeDateField("meFireSTart", setup.dates);
    c.startDateCaption = caption("lblTime", setup.startDateCaption, c.startDate);
    c.area = named(new QLineEdit, "txtArea");
    c.area->setMaximumWidth(160);
    c.fuel = makeSuggestionBox("cmbfFuel", fuelTypes());
    c.cause = makeSuggestionBox("cmbfCause", fireCauses());
    c.percentSlider = makePercentSlider();
    c.percentText = named(new QLineEdit, "txtPerCon");
    c.percentText->setMaximumWidth(100);
    c.percentText->setAccessibleName(QStringLiteral("Percent Contained"));
    auto* percentRow = new QHBoxLayout;
    percentRow->addWidget(c.percentSlider, 1);
    percentRow->addWidget(c.percentText);

    details_ = named(new QGroupBox(QString::fromUtf8(setup.detailsTitle)), setup.detailsName);
    auto* grid = new QGridLayout(details_);
    int row = 0;
    auto addRow = [&](QLabel* label, QWidget* field) {
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row++, 1);
    };
    addRow(caption("lblDate", setup.entryDateCaption, c.entryDate), c.entryDate);
    addRow(c.startDateCaption, c.startDate);
    auto* areaCaption = caption("lblArea", "Area Involved:", c.area);
    if (setup.besideArea != nullptr) {
        c.area->setMinimumWidth(110); // "100,000.00" whole, beside what is shown there
        auto* areaRow = new QHBoxLayout;
        areaRow->addWidget(c.area);
        areaRow->addWidget(setup.besideArea, 1);
        grid->addWidget(areaCaption, row, 0);
        grid->addLayout(areaRow, row++, 1);
    } else {
        addRow(areaCaption, c.area);
    }
    addRow(caption("lblfFuel", "Fuel Type:", c.fuel), c.fuel);
    addRow(caption("lblCause", "Fire Cause:", c.cause), c.cause);
    grid->addWidget(caption("lblperCon", "    Percent Contained: Use SliderBar or Enter in Box",
                            c.percentSlider),
                    row++, 0, 1, 2);
    grid->addLayout(percentRow, row++, 0, 1, 2);
    grid->addWidget(buildSignificance(setup.notApplicable), row++, 0, 1, 2);
    grid->setColumnStretch(1, 1);
}

// Options record their caption when the user picks them.
void FireAttributesForm::recordChoices() {
    for (QRadioButton* option : controls_.reportOptions) {
        onOptionChosen(option, this, [this, option] { reportType_ = ss(option->text()); });
    }
    for (QRadioButton* option : controls_.significanceOptions) {
        onOptionChosen(option, this, [this, option] { significance_ = ss(option->text()); });
    }
}

QList<QWidget*> FireAttributesForm::inputs() const {
    const FireFormControls& c = controls_;
    QList<QWidget*> all = {c.name, c.incident};
    for (QRadioButton* option : c.reportOptions + c.significanceOptions) {
        all << option;
    }
    all << c.entryDate << c.startDate << c.area << c.fuel << c.cause << c.percentSlider
        << c.percentText;
    return all;
}

void FireAttributesForm::setLocation(const ResultPanel* location, QWidget* converterButton) {
    location_ = location;
    converterButton_ = converterButton;
}

FireRecord FireAttributesForm::record() const {
    const FireFormControls& c = controls_;
    FireRecord r;
    r.name = ss(c.name->text());
    r.incident = ss(c.incident->text());
    r.report = reportType_;
    if (location_ != nullptr) {
        const HandBackTexts at = location_->texts();
        r.latitude = at.latitude;
        r.longitude = at.longitude;
        r.albersX = at.albersX;
        r.albersY = at.albersY;
        r.utm = at.utm;
        r.usng = at.usng;
    }
    r.entryDate = ss(c.entryDate->displayText());
    r.startDate = ss(c.startDate->displayText());
    r.area = ss(c.area->text());
    r.fuel = ss(c.fuel->currentText());
    r.cause = ss(c.cause->currentText());
    r.percent = ss(c.percentText->text());
    r.significant = significance_;
    return r;
}

bool FireAttributesForm::checkComplete() {
    // Leaving a field cleans it; clean here too, so nothing uncleaned can pass the check.
    EntryRuleGuard::clean(controls_.name, cleaning_);
    EntryRuleGuard::clean(controls_.incident, cleaning_);
    EntryRuleGuard::clean(controls_.fuel, cleaning_);
    EntryRuleGuard::clean(controls_.cause, cleaning_);
    if (!fieldRules_->settle()) {
        return false;
    }
    const auto missing = firstMissingValue(
        record(), location_ != nullptr ? CoordinateCheck::Required : CoordinateCheck::Absent);
    if (!missing) {
        return true;
    }
    dialogs_.message(missing->message);
    focusMissing(missing->field);
    return false;
}

void FireAttributesForm::focusMissing(FireField field) {
    const FireFormControls& c = controls_;
    QWidget* focus = c.name;
    switch (field) {
    case FireField::Name:
        break;
    case FireField::Incident:
        focus = c.incident;
        break;
    case FireField::Coordinates:
        focus = converterButton_ != nullptr ? converterButton_ : c.name;
        break;
    case FireField::EntryDate:
        focus = c.entryDate;
        break;
    case FireField::Fuel:
        focus = c.fuel;
        break;
    case FireField::Cause:
        focus = c.cause;
        break;
    case FireField::Area:
        focus = c.area;
        break;
    case FireField::Percent:
        focus = c.percentText;
        break;
    }
    focus->setFocus(Qt::OtherFocusReason);
}

void FireAttributesForm::applyPresets(const FirePresets& presets) {
    const FireFormControls& c = controls_;
    c.nameCaption->setText(qs(presets.nameCaption));
    c.startDateCaption->setText(qs(presets.startDateCaption));
    if (!presets.percentEnabled) {
        c.percentSlider->setValue(kPercentMinimum);
    }
    c.percentSlider->setEnabled(presets.percentEnabled);
    c.incident->setText(qs(presets.incidentNumber.value_or("")));
    if (notApplicable_ == NotApplicable::With) {
        applyNaOptions(reportGroup_, c.reportOptions, presets.report, reportType_);
        applyNaOptions(significanceGroup_, c.significanceOptions, presets.significance,
                       significance_);
    }
    if (presets.fuelAndCause) {
        c.fuel->setEditText(qs(*presets.fuelAndCause));
        c.cause->setEditText(qs(*presets.fuelAndCause));
    } else {
        offerItems(c.fuel, fuelTypes());
        offerItems(c.cause, fireCauses());
    }
}

void FireAttributesForm::clear(const FireClearing& clearing) {
    const FireFormControls& c = controls_;
    c.name->clear();
    c.incident->clear();
    if (clearing.datesToToday) {
        setDatesToToday();
    }
    for (QComboBox* box : {c.cause, c.fuel}) {
        box->setCurrentIndex(-1);
        box->clearEditText();
    }
    c.area->setText(QString::fromUtf8(clearing.area));
    if (clearing.percent == FireClearing::Percent::SliderToZero) {
        c.percentSlider->setValue(kPercentMinimum);
    } else {
        c.percentText->clear();
    }
}

void FireAttributesForm::setDatesToToday() {
    fieldRules_->setDatesToToday();
}

} // namespace sw
