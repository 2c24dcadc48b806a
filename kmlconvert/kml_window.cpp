#include "kmlconvert/kml_window.h"

#include "kmlconvert/conversion.h"
#include "kmlconvert/perimeter_area.h"
#include "services/base/dialogs.h"
#include "taskwindow/controls.h"
#include "taskwindow/editable_list.h"
#include "taskwindow/output_lock.h"
#include "ui/option_choice.h"
#include "ui/window_kinds.h"
#include "wildfires/fire_form.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

namespace sw {

namespace {

using controls::button;
using controls::caption;
using controls::named;
using controls::qs;
using controls::ss;
using kml::FeatureCategory;

} // namespace

KmlConversionWindow::KmlConversionWindow(Dialogs& dialogs, Clock clock, QWidget* parent)
    : QWidget(parent), dialogs_(dialogs) {
    setObjectName(QString::fromLatin1(forms::kKmlConvert));
    setWindowTitle(QStringLiteral("Wildfire Management"));
    // The area the drawn perimeter encloses, beside the area the user gives. Its room is kept
    // from the start: a label that widens the column when it appears would narrow the other,
    // wrap the procedure text and squeeze the option rows below it.
    drawnArea_ = named(new QLabel, "lblDrawnArea");
    drawnArea_->setMinimumWidth(drawnArea_->fontMetrics().horizontalAdvance(
        QStringLiteral("Drawn perimeter: 99,999,999.9 acres")));
    drawnArea_->setAccessibleDescription(
        QStringLiteral("The area the converted perimeter encloses"));
    showDrawnArea({});
    form_ =
        new FireAttributesForm(dialogs_, std::move(clock),
                               {DateForm::TwoDigitYear, NotApplicable::With, "Fire Name",
                                "Date/Time of Entry:", "Fire Start Date, mm/dd/yy:", "Attributes",
                                "frmAttributes", drawnArea_},
                               this);

    auto* columns = new QHBoxLayout;
    columns->addLayout(buildLeftColumn(), 1);
    columns->addWidget(form_->details(), 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(controls::heading("lblKmlConv", "KML Conversion"));
    layout->addLayout(columns);
    layout->addLayout(buildButtonRow());
    orderTabs();

    lock_ = new OutputLock({convertButton_}, this);
    // Every attribute locks the conversion when it gets the focus: nothing changed since the
    // last check can be converted.
    QList<QWidget*> inputs = form_->inputs();
    inputs << wildfireOption_ << otherIncidentOption_ << facilityOption_ << typeBox_;
    for (QWidget* input : inputs) {
        lock_->lockOnFocus(input);
    }
    for (auto [option, category] : {std::pair{wildfireOption_, FeatureCategory::Wildfire},
                                    {otherIncidentOption_, FeatureCategory::OtherIncident},
                                    {facilityOption_, FeatureCategory::Facility}}) {
        onOptionChosen(option, this, [this, category = category] { chooseCategory(category); });
    }
    connect(enableButton_, &QPushButton::clicked, this, &KmlConversionWindow::checkAndUnlock);
    connect(convertButton_, &QPushButton::clicked, this, &KmlConversionWindow::convert);
    connect(clearButton_, &QPushButton::clicked, this, &KmlConversionWindow::clearValues);
    connect(exitButton_, &QPushButton::clicked, this, &KmlConversionWindow::leave);

    wildfireOption_->setChecked(true); // and its set-up runs
    lockConversion();
}

KmlConversionWindow::~KmlConversionWindow() = default;

// The procedure; what the drawing is; which fire or incident, and which report of it.
QLayout* KmlConversionWindow::buildLeftColumn() {
    auto* procedure = named(new QGroupBox(QStringLiteral("PROCEDURES")), "frmProcedure");
    auto* procedureText = named(new QLabel(qs(kml::procedureText())), "lblProcedures");
    procedureText->setWordWrap(true);
    (new QVBoxLayout(procedure))->addWidget(procedureText);

    auto* category = named(new QGroupBox(QStringLiteral("Feature Category")), "frmFType");
    wildfireOption_ = named(new QRadioButton(QStringLiteral("Wildfire")), "optFire");
    otherIncidentOption_ = named(new QRadioButton(QStringLiteral("Other Incident")), "optNFire");
    facilityOption_ = named(new QRadioButton(QStringLiteral("Facility")), "optFacs");
    auto* categoryRow = new QHBoxLayout(category);
    for (QRadioButton* option : {wildfireOption_, otherIncidentOption_, facilityOption_}) {
        categoryRow->addWidget(option);
    }
    categoryRow->addStretch();
    typeBox_ = named(new QComboBox, "cmbFtype");
    makeEditableList(typeBox_);
    typeCaption_ = caption("lblFtype", "Feature Type:", typeBox_);

    auto* identity = new QGridLayout;
    identity->addWidget(category, 0, 0, 1, 2);
    identity->addWidget(typeCaption_, 1, 0);
    identity->addWidget(typeBox_, 1, 1);
    form_->addIdentityRows(identity, 2);
    identity->setColumnStretch(1, 1);

    auto* left = new QVBoxLayout;
    left->addWidget(procedure);
    left->addLayout(identity);
    left->addStretch();
    return left;
}

QLayout* KmlConversionWindow::buildButtonRow() {
    enableButton_ = button("CmdEnable", "Enable KML to Shapefile Conversion");
    convertButton_ = button("cmdFireTab", "Convert KML to Shapefile");
    clearButton_ = button("cmdClear", "Clear Values");
    exitButton_ = button("cmdQuit", "E&xit");
    auto* row = new QHBoxLayout;
    row->addWidget(enableButton_);
    row->addWidget(convertButton_);
    row->addStretch();
    row->addWidget(clearButton_);
    row->addWidget(exitButton_);
    return row;
}

void KmlConversionWindow::orderTabs() {
    const FireFormControls& form = form_->controls();
    QList<QWidget*> order = {wildfireOption_, otherIncidentOption_, facilityOption_, typeBox_,
                             form.name,       form.incident};
    for (QRadioButton* option : form.reportOptions) {
        order << option;
    }
    order << form.entryDate << form.startDate << form.area << form.fuel << form.cause
          << form.percentSlider << form.percentText;
    for (QRadioButton* option : form.significanceOptions) {
        order << option;
    }
    order << enableButton_ << convertButton_ << clearButton_ << exitButton_;
    for (qsizetype i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }
}

void KmlConversionWindow::lockConversion() {
    lock_->lock();
}

void KmlConversionWindow::unlockConversion() {
    lock_->unlock();
}

kml::FireAttributes KmlConversionWindow::attributes() const {
    return {form_->record(), ss(typeBox_->currentText())};
}

void KmlConversionWindow::chooseCategory(FeatureCategory category) {
    form_->applyPresets(kml::categoryEffects(category));
    typeBox_->setEnabled(true);
    typeCaption_->setEnabled(true);
    offerItems(typeBox_, kml::featureTypes(category));
}

void KmlConversionWindow::checkAndUnlock() {
    // Every failed check locks, not only some: a conversion must never stay enabled for
    // attributes that did not pass.
    if (form_->checkComplete()) {
        unlockConversion();
    } else {
        lockConversion();
    }
}

void KmlConversionWindow::convert() {
    const auto outcome = kml::convertKml(dialogs_, attributes(), kmlDialog_);
    if (!outcome.completed) {
        return;
    }
    // The label speaks of the last drawing converted, and only a polygon encloses an area.
    showDrawnArea(outcome.drawnAcres ? qs(kml::drawnPerimeterText(*outcome.drawnAcres))
                                     : QString());
}

// Empty, the label is read by what it is for; once it shows an area, by what it shows.
void KmlConversionWindow::showDrawnArea(const QString& text) {
    drawnArea_->setText(text);
    drawnArea_->setAccessibleName(text.isEmpty() ? QStringLiteral("Drawn perimeter area") : text);
}

// What Clear empties was never checked: the conversion locks until the check passes again, so
// a drawing cannot be converted with empty attributes.
void KmlConversionWindow::clearValues() {
    form_->clear({false, "0", FireClearing::Percent::TextEmptied});
    typeBox_->setCurrentIndex(-1);
    typeBox_->clearEditText();
    showDrawnArea({});
    lockConversion();
}

void KmlConversionWindow::leave() {
    // Not while one of the program's boxes is open (a screen reader can still press Exit):
    // the conversion that asked is waiting for the answer, in this window.
    if (QApplication::activeModalWidget() != nullptr) {
        return;
    }
    lockConversion();
    // Unloaded, not hidden: the next opening starts from the load state.
    close();
    if (!testAttribute(Qt::WA_DeleteOnClose)) {
        deleteLater();
    }
}

} // namespace sw
