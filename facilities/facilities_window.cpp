#include "facilities/facilities_window.h"

#include "coord/converter_window.h"
#include "facilities/entry_rule_guard.h"
#include "facilities/facility_outputs.h"
#include "facilities/output_lock.h"
#include "services/dialogs.h"
#include "shell/window_registry.h"

#include <QComboBox>
#include <QCompleter>
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

const QColor kCoordinatesOpen{0, 0, 128}; // navy while the converter fills them
const QColor kCoordinatesClosed{128, 128, 128};

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

} // namespace

swFac::swFac(sw::WindowRegistry& registry, sw::Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), registry_(registry), dialogs_(dialogs) {
    setWindowTitle(QStringLiteral("Facilities Management"));
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
    connect(cmdfCoordCon_, &QPushButton::clicked, this, &swFac::openConverter);
    connect(cmdEnableWriteFile_, &QPushButton::clicked, this, &swFac::checkAndUnlock);
    connect(cmdAdNewdFac_, &QPushButton::clicked, this, &swFac::createTextFile);
    connect(cmdAppendFile_, &QPushButton::clicked, this, &swFac::appendTextFile);
    connect(cmdWritefShape_, &QPushButton::clicked, this, &swFac::writeShapefile);
    connect(appendfShape_, &QPushButton::clicked, this, &swFac::appendShapefile);
    connect(cmdfKML_, &QPushButton::clicked, this, &swFac::writeKml);
    connect(cmdClear_, &QPushButton::clicked, this, &swFac::clearValues);
    connect(cmdfacDone_, &QPushButton::clicked, this, &swFac::leave);

    for (QLabel* value : coordinates_) {
        value->setEnabled(false);
        sw::setBackground(value, kCoordinatesClosed, Qt::white);
    }
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
    cmbfacType_->setEditable(true);
    cmbfacType_->setInsertPolicy(QComboBox::NoInsert);
    cmbfacType_->setMaxVisibleItems(16);
    // A typed type stays as typed: suggestions only in a pop-up, and "camp" is not "Camp"
    // (the icon depends on the exact text).
    cmbfacType_->completer()->setCaseSensitivity(Qt::CaseSensitive);
    cmbfacType_->completer()->setCompletionMode(QCompleter::PopupCompletion);
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
    auto* grid = new QGridLayout(results);
    struct Row {
        const char* caption;
        const char* captionName;
        const char* valueName;
    };
    const Row rows[] = {
        {"Latitude", "lblfLatCap", "lblfDDLat"},
        {"Longitude", "lblfLongCap", "lblfDDLong"},
        {"Albers Easting", "lblfAlbersXCap", "lblfAlbersX"},
        {"Albers Northing", "lblfAlbersYCap", "lblfAlbersY"},
        {"UTM Coordinate (WGS 84)", "lblfUTMCap", "lblUTMCoord"},
        {"US National Grid (WGS 84):", "lblfUSNGCap", "lblUSNG"},
    };
    int row = 0;
    for (const Row& r : rows) {
        auto* caption = named(new QLabel(QString::fromLatin1(r.caption)), r.captionName);
        auto* value = named(new QLabel, r.valueName);
        value->setMinimumWidth(220);
        value->setMinimumHeight(24);
        value->setContentsMargins(6, 2, 6, 2);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid->addWidget(caption, row, 0);
        grid->addWidget(value, row, 1);
        coordinates_.append(value);
        ++row;
    }
    grid->setColumnStretch(1, 1);
    grid->addWidget(cmdfCoordCon_, row, 0, 1, 2);

    // What to write.
    cmdEnableWriteFile_ = button("cmdEnableWriteFile", "Enable File and Shapefile Creation");
    cmdAdNewdFac_ = button("cmdAdNewdFac", "Create New Facility File");
    cmdAppendFile_ = button("cmdAppendFile", "Append Existing Facility File");
    cmdWritefShape_ = button("cmdWritefShape", "Write to Shapefile (Albers)");
    appendfShape_ = button("appendfShape", "Append Existing Shapefile (Albers)");
    cmdfKML_ = button("cmdfKML", "Create KML for Google Earth");
    auto* outputs = named(new QGroupBox(QStringLiteral("Output")), "frmfOutput");
    auto* outputGrid = new QGridLayout(outputs);
    outputGrid->addWidget(cmdEnableWriteFile_, 0, 0, 1, 2);
    outputGrid->addWidget(cmdAdNewdFac_, 1, 0);
    outputGrid->addWidget(cmdAppendFile_, 1, 1);
    outputGrid->addWidget(cmdWritefShape_, 2, 0);
    outputGrid->addWidget(appendfShape_, 2, 1);
    outputGrid->addWidget(cmdfKML_, 3, 0, 1, 2);

    cmdClear_ = button("cmdClear", "Clear Values");
    cmdfacDone_ = button("cmdfacDone", "E&xit");
    auto* closing = new QHBoxLayout;
    closing->addWidget(cmdClear_);
    closing->addStretch();
    closing->addWidget(cmdfacDone_);

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
    return {ss(txtfacName_->text()),     ss(cmbfacType_->currentText()),
            ss(coordinates_[0]->text()), ss(coordinates_[1]->text()),
            ss(coordinates_[2]->text()), ss(coordinates_[3]->text()),
            ss(coordinates_[4]->text()), ss(coordinates_[5]->text())};
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

void swFac::openConverter() {
    for (QLabel* value : coordinates_) {
        value->setEnabled(true);
        sw::setBackground(value, kCoordinatesOpen, Qt::white);
    }
    if (auto* converter = registry_.instanceAs<sw_ddc_0306>(sw::forms::kConverter)) {
        converter->openFor(QString::fromLatin1(sw::forms::kFacilities));
    }
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
    } else if (coordinates_[1]->text().isEmpty()) {
        dialogs_.inform("Please Convert Coordinates");
        cmdfCoordCon_->setFocus();
        disablefWrite();
    } else {
        enablefWrite();
    }
}

void swFac::createTextFile() {
    const sw::OutputResult result = sw::createFacilityTextFile(dialogs_, commonDialog1_, point());
    if (result.kind == sw::OutputResult::Kind::Written) {
        // Ready for the next point of the same type.
        txtfacName_->clear();
        for (QLabel* value : coordinates_) {
            value->clear();
        }
        txtfacName_->setFocus();
        disablefWrite(); // also when the window is not active and the focus event never comes
    }
    report(result);
}

void swFac::appendTextFile() {
    report(sw::appendFacilityTextFile(dialogs_, commonDialog1_, point()));
}

void swFac::writeShapefile() {
    appendfShape_->setEnabled(false);
    sw::setBackground(appendfShape_, sw::kLockedButtonColour);
    report(sw::writeFacilityShapefile(dialogs_, commonDialog1_, shapeOut_, point()));
}

void swFac::appendShapefile() {
    cmdWritefShape_->setEnabled(false);
    sw::setBackground(cmdWritefShape_, sw::kLockedButtonColour);
    report(sw::appendFacilityShapefile(dialogs_, commonDialog1_, shapeOut_, point()));
}

void swFac::writeKml() {
    report(sw::writeFacilityKml(dialogs_, commonDialog1_, point()));
}

void swFac::clearValues() {
    txtfacName_->clear();
    cmbfacType_->setCurrentIndex(-1);
    cmbfacType_->clearEditText();
    for (QLabel* value : coordinates_) {
        value->clear();
    }
}

void swFac::leave() {
    for (QLabel* value : coordinates_) {
        value->setEnabled(false);
        sw::setBackground(value, kCoordinatesClosed, Qt::white);
    }
    clearValues();
    disablefWrite();
    hide();
}

void swFac::report(const sw::OutputResult& result) {
    if (result.kind == sw::OutputResult::Kind::Failed) {
        dialogs_.inform(result.message, {}, sw::Icon::Critical);
    }
}
