#include "facilities/facilities_window.h"

#include "services/base/dialogs.h"
#include "taskwindow/controls.h"
#include "taskwindow/editable_list.h"
#include "taskwindow/entry_rule_guard.h"
#include "taskwindow/output_lock.h"
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

namespace {

using sw::controls::button;
using sw::controls::named;
using sw::controls::qs;
using sw::controls::ss;

} // namespace

swFac::swFac(sw::Dialogs& dialogs, sw::OpenConverter openConverter, QWidget* parent)
    : QWidget(parent), dialogs_(dialogs), outputs_(dialogs, sw::facilityOutputSettings()) {
    setObjectName(QString::fromLatin1(sw::forms::kFacilities));
    setWindowTitle(QStringLiteral("Facilities Management"));
    coordinates_ = new sw::ResultPanel({QStringLiteral("f"),
                                        {{{"lblfLatCap", "Latitude"},
                                          {"lblfLongCap", "Longitude"},
                                          {"lblfAlbersXCap", "Albers Easting"},
                                          {"lblfAlbersYCap", "Albers Northing"},
                                          {"lblfUTMCap", "UTM Coordinate (WGS 84)"},
                                          {"lblfUSNGCap", "US National Grid (WGS 84):"}}}},
                                       std::move(openConverter));
    buildControls();

    lock_ = new sw::OutputLock(
        {cmdAdNewdFac_, cmdAppendFile_, cmdWritefShape_, appendfShape_, cmdfKML_}, this);
    lock_->lockOnFocus(txtfacName_);
    lock_->lockOnFocus(cmbfacType_);
    lock_->lockOnFocus(cmdfCoordCon_);
    entryRule_ = new sw::EntryRuleGuard(dialogs_, this);
    entryRule_->guard(txtfacName_);
    entryRule_->guard(cmbfacType_);

    connect(optFac_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            chooseCategory(sw::FacilityCategory::Facilities);
        }
    });
    connect(optICS_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            chooseCategory(sw::FacilityCategory::Ics);
        }
    });
    connect(optDisease_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            chooseCategory(sw::FacilityCategory::ForestHealth);
        }
    });
    connect(cmdfCoordCon_, &QPushButton::clicked, coordinates_, &sw::ResultPanel::openConverter);
    connect(cmdEnableWriteFile_, &QPushButton::clicked, this, &swFac::checkAndUnlock);
    connect(cmdAdNewdFac_, &QPushButton::clicked, this, &swFac::createTextFile);
    connect(cmdAppendFile_, &QPushButton::clicked, this, &swFac::appendTextFile);
    connect(cmdWritefShape_, &QPushButton::clicked, this, &swFac::writeShapefile);
    connect(appendfShape_, &QPushButton::clicked, this, &swFac::appendShapefile);
    connect(cmdfKML_, &QPushButton::clicked, this, &swFac::writeKml);
    connect(cmdClear_, &QPushButton::clicked, this, &swFac::clearValues);
    connect(cmdfacDone_, &QPushButton::clicked, this, &swFac::leave);

    disablefWrite();
}

swFac::~swFac() = default;

void swFac::buildControls() {
    auto* heading = named(new QLabel(QStringLiteral("Facilities and Incidents")), "lblfHeading");
    QFont headingFont = heading->font();
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.5);
    headingFont.setBold(true);
    heading->setFont(headingFont);
    heading->setAlignment(Qt::AlignCenter);

    // What the point is.
    auto* category = named(new QGroupBox(QStringLiteral("Category")), "frmFAType");
    optFac_ = named(new QRadioButton(QStringLiteral("Facilities")), "optFac");
    optICS_ = named(new QRadioButton(QStringLiteral("ICS")), "optICS");
    optDisease_ = named(new QRadioButton(QStringLiteral("Forest Health")), "optDisease");
    auto* categoryRow = new QHBoxLayout(category);
    categoryRow->addWidget(optFac_);
    categoryRow->addWidget(optICS_);
    categoryRow->addWidget(optDisease_);
    categoryRow->addStretch();

    lblfFacType_ = named(new QLabel(QStringLiteral("Facility/Incident Type:")), "lblfFacType");
    cmbfacType_ = named(new QComboBox, "cmbfacType");
    sw::makeEditableList(cmbfacType_);
    lblfFacType_->setBuddy(cmbfacType_);
    lblfFacType_->setEnabled(false);
    cmbfacType_->setEnabled(false);
    auto* nameCaption =
        named(new QLabel(QStringLiteral("Facility/Incident  Name:")), "lblfFacName");
    txtfacName_ = named(new QLineEdit, "txtfacName");
    nameCaption->setBuddy(txtfacName_);

    auto* entry = new QGridLayout;
    entry->addWidget(category, 0, 0, 1, 2);
    entry->addWidget(lblfFacType_, 1, 0);
    entry->addWidget(cmbfacType_, 1, 1);
    entry->addWidget(nameCaption, 2, 0);
    entry->addWidget(txtfacName_, 2, 1);
    entry->setColumnStretch(1, 1);

    // Where it is: filled only by the converter.
    cmdfCoordCon_ = button("cmdfCoordCon", "&Coordinate Conversion");
    auto* results = named(new QGroupBox(QStringLiteral("Coordinates")), "frmfResults");
    auto* resultsLayout = new QVBoxLayout(results);
    resultsLayout->addWidget(coordinates_);
    coordinates_->addBelow(cmdfCoordCon_);

    // What to write.
    const auto out = sw::controls::makeOutputButtons({"frmfOutput", "cmdEnableWriteFile",
                                                      "cmdAdNewdFac", "cmdAppendFile",
                                                      "cmdWritefShape", "appendfShape", "cmdfKML"},
                                                     QStringLiteral("Facility"));
    cmdEnableWriteFile_ = out.enable;
    cmdAdNewdFac_ = out.newFile;
    cmdAppendFile_ = out.appendFile;
    cmdWritefShape_ = out.newShape;
    appendfShape_ = out.appendShape;
    cmdfKML_ = out.kml;
    QGroupBox* outputs = out.group;

    const auto foot = sw::controls::makeClosingButtons("cmdfacDone");
    cmdClear_ = foot.clear;
    cmdfacDone_ = foot.exit;
    QHBoxLayout* closing = foot.row;

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(entry);
    layout->addWidget(results);
    layout->addWidget(outputs);
    layout->addLayout(closing);

    setTabOrder(optFac_, optICS_);
    setTabOrder(optICS_, optDisease_);
    setTabOrder(optDisease_, cmbfacType_);
    setTabOrder(cmbfacType_, txtfacName_);
    setTabOrder(txtfacName_, cmdfCoordCon_);
    setTabOrder(cmdfCoordCon_, cmdEnableWriteFile_);
}

void swFac::disablefWrite() {
    lock_->lock();
}

void swFac::enablefWrite() {
    lock_->unlock();
}

sw::FacilityPoint swFac::point() const {
    const sw::HandBackTexts c = coordinates_->texts();
    return {ss(txtfacName_->text()),
            ss(cmbfacType_->currentText()),
            c.latitude,
            c.longitude,
            c.albersX,
            c.albersY,
            c.utm,
            c.usng};
}

void swFac::chooseCategory(sw::FacilityCategory category) {
    lblfFacType_->setEnabled(true);
    cmbfacType_->setEnabled(true);
    cmbfacType_->clear();
    for (const std::string& type : sw::facilityTypes(category)) {
        cmbfacType_->addItem(qs(type));
    }
    cmbfacType_->setCurrentIndex(-1);
    cmbfacType_->clearEditText();
}

void swFac::checkAndUnlock() {
    // Leaving a field cleans it; clean here too, so nothing uncleaned can pass the check.
    sw::EntryRuleGuard::clean(txtfacName_);
    sw::EntryRuleGuard::clean(cmbfacType_);
    if (txtfacName_->text().isEmpty()) {
        dialogs_.inform("Enter Facility Name");
        txtfacName_->setFocus();
        disablefWrite();
    } else if (cmbfacType_->currentText().isEmpty()) {
        dialogs_.inform("Select Facility Type");
        cmbfacType_->setFocus();
        disablefWrite();
    } else if (coordinates_->text(sw::ResultPanel::Longitude).isEmpty()) {
        dialogs_.inform("Please Convert Coordinates");
        cmdfCoordCon_->setFocus();
        disablefWrite();
    } else {
        enablefWrite();
    }
}

void swFac::createTextFile() {
    const sw::OutputResult result = outputs_.createTextFile(sw::facilityColumns().row(point()));
    if (result.isWritten()) {
        // Ready for the next point of the same type.
        txtfacName_->clear();
        coordinates_->clear();
        txtfacName_->setFocus();
        disablefWrite(); // also when the window is not active and the focus event never comes
    }
    report(result);
}

void swFac::appendTextFile() {
    report(outputs_.appendTextFile(sw::facilityColumns().row(point())));
}

void swFac::writeShapefile() {
    appendfShape_->setEnabled(false);
    sw::setBackground(appendfShape_, sw::kLockedButtonColour);
    const sw::FacilityPoint p = point();
    report(outputs_.createShapefile(sw::facilityColumns().row(p), sw::facilityShapePoint(p)));
}

void swFac::appendShapefile() {
    cmdWritefShape_->setEnabled(false);
    sw::setBackground(cmdWritefShape_, sw::kLockedButtonColour);
    const sw::FacilityPoint p = point();
    report(outputs_.appendShapefile(sw::facilityColumns().row(p), sw::facilityShapePoint(p)));
}

void swFac::writeKml() {
    report(outputs_.writeKml(sw::facilityPlacemark(point())));
}

void swFac::clearValues() {
    txtfacName_->clear();
    cmbfacType_->setCurrentIndex(-1);
    cmbfacType_->clearEditText();
    coordinates_->clear();
}

void swFac::leave() {
    coordinates_->stopReceiving();
    clearValues();
    disablefWrite();
    hide();
}

void swFac::report(const sw::OutputResult& result) {
    if (result.isFailed()) {
        dialogs_.inform(result.message, {}, sw::Icon::Critical);
    }
}
