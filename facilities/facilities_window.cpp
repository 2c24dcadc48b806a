#include "facilities/facilities_window.h"

#include "services/base/dialogs.h"
#include "taskwindow/controls.h"
#include "taskwindow/editable_list.h"
#include "taskwindow/entry_rule_guard.h"
#include "taskwindow/output_panel.h"
#include "taskwindow/result_panel.h"
#include "ui/window_kinds.h"

#include <QComboBox>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace sw {

namespace {

using controls::button;
using controls::named;
using controls::qs;
using controls::ss;

QLabel* heading(const QString& text, const char* name) {
    auto* label = named(new QLabel(text), name);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 1.5);
    font.setBold(true);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

} // namespace

FacilitiesWindow::FacilitiesWindow(Dialogs& dialogs, OpenConverter openConverter, QWidget* parent)
    : QWidget(parent, Qt::Window), dialogs_(dialogs) {
    setObjectName(QString::fromLatin1(forms::kFacilities));
    setWindowTitle(QStringLiteral("Facilities Management"));
    coordinates_ = new ResultPanel({QStringLiteral("f"),
                                    {{{"lblfLatCap", "Latitude"},
                                      {"lblfLongCap", "Longitude"},
                                      {"lblfAlbersXCap", "Albers Easting"},
                                      {"lblfAlbersYCap", "Albers Northing"},
                                      {"lblfUTMCap", "UTM Coordinate (WGS 84)"},
                                      {"lblfUSNGCap", "US National Grid (WGS 84):"}}}},
                                   std::move(openConverter));
    outputs_ =
        new OutputPanel(dialogs_, {{"frmfOutput", "cmdEnableWriteFile", "cmdAdNewdFac",
                                    "cmdAppendFile", "cmdWritefShape", "appendfShape", "cmdfKML"},
                                   QStringLiteral("Facility"),
                                   facilityOutputSettings()});

    // Where it is: filled only by the converter.
    coordinateButton_ = button("cmdfCoordCon", "&Coordinate Conversion");
    auto* results = named(new QGroupBox(QStringLiteral("Coordinates")), "frmfResults");
    (new QVBoxLayout(results))->addWidget(coordinates_);
    coordinates_->addBelow(coordinateButton_);

    const auto foot = controls::makeClosingButtons("cmdfacDone");
    clearButton_ = foot.clear;
    exitButton_ = foot.exit;

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading(QStringLiteral("Facilities and Incidents"), "lblfHeading"));
    layout->addLayout(buildEntry());
    layout->addWidget(results);
    layout->addWidget(outputs_);
    layout->addLayout(foot.row);
    for (auto [from, to] : {std::pair<QWidget*, QWidget*>{facilitiesOption_, icsOption_},
                            {icsOption_, forestHealthOption_},
                            {forestHealthOption_, typeBox_},
                            {typeBox_, nameField_},
                            {nameField_, coordinateButton_},
                            {coordinateButton_, outputs_->enableButton()}}) {
        setTabOrder(from, to);
    }

    for (QWidget* input :
         std::initializer_list<QWidget*>{nameField_, typeBox_, coordinateButton_}) {
        outputs_->lockOnFocus(input);
    }
    entryRule_ = new EntryRuleGuard(dialogs_, this);
    entryRule_->guard(nameField_);
    entryRule_->guard(typeBox_);

    outputs_->setCheck([this] { return pointIsComplete(); });
    outputs_->setRecord([this] {
        const FacilityPoint p = point();
        return OutputRecord{facilityColumns().row(p), facilityColumns().row(p),
                            facilityShapePoint(p)};
    });
    outputs_->setKml(
        [this](RecordOutputs& out) { return out.writeKml(facilityPlacemark(point())); });
    outputs_->setAfterNewTextFile([this] { prepareNextPoint(); });

    connect(coordinateButton_, &QPushButton::clicked, coordinates_, &ResultPanel::openConverter);
    connect(clearButton_, &QPushButton::clicked, this, &FacilitiesWindow::clearValues);
    connect(exitButton_, &QPushButton::clicked, this, &FacilitiesWindow::leave);
    lockOutputs();
}

FacilitiesWindow::~FacilitiesWindow() = default;

// What the point is: its category, type and name.
QLayout* FacilitiesWindow::buildEntry() {
    auto* category = named(new QGroupBox(QStringLiteral("Category")), "frmFAType");
    facilitiesOption_ = named(new QRadioButton(QStringLiteral("Facilities")), "optFac");
    icsOption_ = named(new QRadioButton(QStringLiteral("ICS")), "optICS");
    forestHealthOption_ = named(new QRadioButton(QStringLiteral("Forest Health")), "optDisease");
    auto* categoryRow = new QHBoxLayout(category);
    for (auto [option, kind] : {std::pair{facilitiesOption_, FacilityCategory::Facilities},
                                {icsOption_, FacilityCategory::Ics},
                                {forestHealthOption_, FacilityCategory::ForestHealth}}) {
        categoryRow->addWidget(option);
        connect(option, &QRadioButton::toggled, this, [this, kind = kind](bool on) {
            if (on) {
                chooseCategory(kind);
            }
        });
    }
    categoryRow->addStretch();

    typeCaption_ = named(new QLabel(QStringLiteral("Facility/Incident Type:")), "lblfFacType");
    typeBox_ = named(new QComboBox, "cmbfacType");
    makeEditableList(typeBox_);
    typeCaption_->setBuddy(typeBox_);
    typeCaption_->setEnabled(false);
    typeBox_->setEnabled(false);
    auto* nameCaption =
        named(new QLabel(QStringLiteral("Facility/Incident  Name:")), "lblfFacName");
    nameField_ = named(new QLineEdit, "txtfacName");
    nameCaption->setBuddy(nameField_);

    auto* entry = new QGridLayout;
    entry->addWidget(category, 0, 0, 1, 2);
    entry->addWidget(typeCaption_, 1, 0);
    entry->addWidget(typeBox_, 1, 1);
    entry->addWidget(nameCaption, 2, 0);
    entry->addWidget(nameField_, 2, 1);
    entry->setColumnStretch(1, 1);
    return entry;
}

void FacilitiesWindow::lockOutputs() {
    outputs_->lock();
}

void FacilitiesWindow::unlockOutputs() {
    outputs_->unlock();
}

FacilityPoint FacilitiesWindow::point() const {
    const HandBackTexts c = coordinates_->texts();
    return {ss(nameField_->text()),
            ss(typeBox_->currentText()),
            c.latitude,
            c.longitude,
            c.albersX,
            c.albersY,
            c.utm,
            c.usng};
}

void FacilitiesWindow::chooseCategory(FacilityCategory category) {
    typeCaption_->setEnabled(true);
    typeBox_->setEnabled(true);
    typeBox_->clear();
    for (const std::string& type : facilityTypes(category)) {
        typeBox_->addItem(qs(type));
    }
    typeBox_->setCurrentIndex(-1);
    typeBox_->clearEditText();
}

bool FacilitiesWindow::pointIsComplete() {
    // Leaving a field cleans it; clean here too, so nothing uncleaned can pass the check.
    EntryRuleGuard::clean(nameField_);
    EntryRuleGuard::clean(typeBox_);
    if (nameField_->text().isEmpty()) {
        dialogs_.inform("Enter Facility Name");
        nameField_->setFocus();
        return false;
    }
    if (typeBox_->currentText().isEmpty()) {
        dialogs_.inform("Select Facility Type");
        typeBox_->setFocus();
        return false;
    }
    if (coordinates_->text(ResultPanel::Longitude).isEmpty()) {
        dialogs_.inform("Please Convert Coordinates");
        coordinateButton_->setFocus();
        return false;
    }
    return true;
}

// After a new text file: ready for the next point of the same type.
void FacilitiesWindow::prepareNextPoint() {
    nameField_->clear();
    coordinates_->clear();
    nameField_->setFocus();
    lockOutputs(); // also when the window is not active and the focus event never comes
}

// An emptied point is no longer the one that was checked: the outputs lock until the next
// check, as in the other record windows, so no empty record at 0,0 can be written.
void FacilitiesWindow::clearValues() {
    nameField_->clear();
    typeBox_->setCurrentIndex(-1);
    typeBox_->clearEditText();
    coordinates_->clear();
    lockOutputs();
}

void FacilitiesWindow::leave() {
    coordinates_->stopReceiving();
    clearValues();
    hide();
}

} // namespace sw
