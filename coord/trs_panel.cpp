#include "coord/trs_panel.h"

#include <QButtonGroup>
#include <QEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <filesystem>
#include <map>

#include "coord/entry_fields.h"
#include "ui/option_choice.h"

namespace sw {

using entry::qs;
using entry::str;

TrsPanel::TrsPanel(TrsPanelHost& host, QWidget* parent) : QGroupBox(parent), host_(host) {
    QLabel* heading =
        entry::makeLabel(this, "lblenterTRS", QStringLiteral("Enter Township Range Section"));
    setObjectName(QStringLiteral("frmTRS"));
    setAccessibleName(heading->text());
    QGridLayout* grid = nullptr;
    entry::fillEntryBox(this, heading, grid);
    buildDescriptionRows(grid, heading);

    auto* layout = qobject_cast<QVBoxLayout*>(this->layout());
    layout->addWidget(buildSectionPartBox());
    buildButtons(layout);

    // Nothing can be typed here until the notation is chosen.
    lockControls();
    setQuarterQuartersEnabled(false);
}

void TrsPanel::buildDescriptionRows(QGridLayout* grid, QLabel* heading) {
    QLabel* twn = entry::makeLabel(this, "lblTwn", QStringLiteral("Township:"));
    QLabel* rng = entry::makeLabel(this, "lblRange", QStringLiteral("Range:"));
    QLabel* sec = entry::makeLabel(this, "lblSection", QStringLiteral("Section:"));
    townshipField_ = makeField("txtTown", 2, "00");
    rangeField_ = makeField("txtRange", 2, "00");
    sectionField_ = makeField("txtSection", 4, "0000");
    twn->setBuddy(townshipField_);
    rng->setBuddy(rangeField_);
    sec->setBuddy(sectionField_);

    // The captions are single letters; a screen reader says what they choose.
    auto direction = [this](QRadioButton*& option, const char* name, const char* caption,
                            const char* spoken) {
        option = new QRadioButton(QString::fromLatin1(caption), this);
        option->setObjectName(QString::fromLatin1(name));
        option->setAccessibleName(QString::fromLatin1(spoken));
        return option;
    };
    auto* townshipGroup = new QButtonGroup(this);
    townshipGroup->addButton(direction(townshipNorth_, "optTnorth", "N", "Township north"));
    townshipGroup->addButton(direction(townshipSouth_, "optTSouth", "S", "Township south"));
    auto* rangeGroup = new QButtonGroup(this);
    rangeGroup->addButton(direction(rangeEast_, "optRangeE", "E", "Range east"));
    rangeGroup->addButton(direction(rangeWest_, "optRangeW", "W", "Range west"));

    entry::addRow(grid, 0, twn, {townshipField_, townshipNorth_, townshipSouth_});
    entry::addRow(grid, 1, rng, {rangeField_, rangeEast_, rangeWest_});
    entry::addRow(grid, 2, sec, {sectionField_});
    grid->setColumnStretch(1, 1);
    labels_ = {heading, twn, rng, sec, townshipNorth_, townshipSouth_, rangeEast_, rangeWest_};

    // Choosing a direction opens its number field.
    auto townshipDirection = [this](trs::TownshipDirection d) {
        trs_.townshipDirection = d;
        townshipField_->setEnabled(true);
        trs_.township = trs::wholeNumber(str(townshipField_->text()));
    };
    onOptionChosen(townshipNorth_, this,
                   [townshipDirection] { townshipDirection(trs::TownshipDirection::North); });
    onOptionChosen(townshipSouth_, this,
                   [townshipDirection] { townshipDirection(trs::TownshipDirection::South); });
    auto rangeDirection = [this](trs::RangeDirection d) {
        trs_.rangeDirection = d;
        rangeField_->setEnabled(true);
    };
    onOptionChosen(rangeEast_, this,
                   [rangeDirection] { rangeDirection(trs::RangeDirection::East); });
    onOptionChosen(rangeWest_, this,
                   [rangeDirection] { rangeDirection(trs::RangeDirection::West); });
}

void TrsPanel::buildButtons(QVBoxLayout* layout) {
    previewButton_ = new QPushButton(QStringLiteral("Preview TRS"), this);
    previewButton_->setObjectName(QStringLiteral("cmdTRScon"));
    resetButton_ = new QPushButton(QStringLiteral("&Reset TRS"), this);
    resetButton_->setObjectName(QStringLiteral("cmdResetTRS"));
    resetButton_->setToolTip(QStringLiteral("Cancels Conversion, Resets Fields to 0"));
    convertButton_ = new QPushButton(QStringLiteral("&Convert"), this);
    convertButton_->setObjectName(QStringLiteral("cmdTRS2dd"));
    connect(previewButton_, &QPushButton::clicked, this, [this] { preview(); });
    connect(resetButton_, &QPushButton::clicked, this, [this] { resetPressed(); });
    connect(convertButton_, &QPushButton::clicked, this, [this] { convert(); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(previewButton_);
    buttons->addWidget(resetButton_);
    buttons->addWidget(convertButton_);
    layout->addLayout(buttons);

    previewLabel_ = entry::makeLabel(this, "lblTRScon", QString());
    previewLabel_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    previewLabel_->setMinimumHeight(previewLabel_->fontMetrics().height() + 8);
    previewLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // It shows the key that Preview and Convert look up; empty until then.
    previewLabel_->setAccessibleDescription(
        QStringLiteral("The township, range and section key that Preview TRS and Convert look up"));
    layout->addWidget(previewLabel_);
    layout->addStretch(1);
}

TrsPanel::~TrsPanel() {
    // The fields outlive this part of the object: the focus they lose then is no user leaving.
    for (QLineEdit* edit : {townshipField_, rangeField_, sectionField_}) {
        edit->removeEventFilter(this);
        edit->disconnect(this);
    }
}

QLineEdit* TrsPanel::makeField(const char* name, int maxLength, const char* text) {
    QLineEdit* edit = entry::makeDigitField(this, name, maxLength, text);
    edit->installEventFilter(this);
    connect(edit, &QLineEdit::textChanged, this, [this, edit] { fieldChanged(edit); });
    return edit;
}

QWidget* TrsPanel::buildSectionPartBox() {
    sectionPartFrame_ = new QFrame(this);
    sectionPartFrame_->setObjectName(QStringLiteral("frmsubSec"));
    sectionPartFrame_->setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
    auto* layout = new QGridLayout(sectionPartFrame_);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setHorizontalSpacing(14);

    auto* title = new QLabel(QStringLiteral("Part of the section"), sectionPartFrame_);
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
    auto* square = new QFrame(sectionPartFrame_);
    square->setObjectName(QStringLiteral("frmQuarterQuarters"));
    square->setStyleSheet(QStringLiteral(
        "QFrame#frmQuarterQuarters { background-color: #2f5538; border: 1px solid #1d3323; }"));
    auto* qq = new QGridLayout(square);
    qq->setContentsMargins(6, 4, 6, 4);
    qq->setHorizontalSpacing(6);
    qq->setVerticalSpacing(1);
    qq->setRowMinimumHeight(2, 6);
    qq->setColumnMinimumWidth(2, 6);

    auto* partGroup = new QButtonGroup(this);
    for (const trs::SectionPart& part : trs::sectionParts()) {
        auto* option = new QRadioButton(sectionPartFrame_);
        option->setObjectName(qs(part.control));
        partGroup->addButton(option);
        partOptions_.push_back(option);
        onOptionChosen(option, this, [this, &part] { trs_.part = &part; });
        option->setToolTip(qs(part.description));
        // The quarter-quarters show no caption while they are off, and a corner's caption
        // ("NE") says nothing of the quarter it lies in.
        option->setAccessibleName(qs(trs::spokenName(part)));
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
            // A gap between the quarters: each quarter's four corners read as one block.
            qq->addWidget(option, part.gridRow - 1 + (part.gridRow > 2 ? 1 : 0),
                          part.gridColumn - 1 + (part.gridColumn > 2 ? 1 : 0));
        } else {
            option->setText(qs(part.caption));
            const auto place = compassPlace.at(part.control);
            compass->addWidget(option, place.first, place.second);
        }
    }

    layout->addLayout(compass, 1, 0, Qt::AlignTop);
    layout->addWidget(square, 1, 1, Qt::AlignTop);

    quarterQuarterSwitch_ = new QPushButton(sectionPartFrame_);
    quarterQuarterSwitch_->setObjectName(QStringLiteral("cmdEnableqs"));
    connect(quarterQuarterSwitch_, &QPushButton::clicked, this,
            [this] { setQuarterQuartersEnabled(!quarterQuarters_); });
    layout->addWidget(quarterQuarterSwitch_, 2, 1, Qt::AlignLeft);
    layout->setColumnStretch(2, 1);
    return sectionPartFrame_;
}

void TrsPanel::lockControls() {
    // The part-of-section options go with their frame.
    for (QWidget* w : std::initializer_list<QWidget*>{
             townshipField_, rangeField_, sectionField_, townshipNorth_, townshipSouth_, rangeEast_,
             rangeWest_, sectionPartFrame_, previewButton_, resetButton_, convertButton_}) {
        w->setEnabled(false);
    }
}

void TrsPanel::enter() {
    active_ = true;
    // The township and range fields open once a direction is chosen.
    for (QWidget* w : std::initializer_list<QWidget*>{
             sectionField_, townshipNorth_, townshipSouth_, rangeEast_, rangeWest_,
             sectionPartFrame_, previewButton_, resetButton_, convertButton_}) {
        w->setEnabled(true);
    }
    for (std::size_t i = 0; i < partOptions_.size(); ++i) {
        if (!trs::sectionParts()[i].isQuarterQuarter()) {
            partOptions_[i]->setEnabled(true);
        }
    }
    put(townshipField_, QStringLiteral("00"));
    put(rangeField_, QStringLiteral("00"));
    put(sectionField_, QStringLiteral("0000"));
    previewLabel_->clear();

    trs_.township = 0;
    trs_.townshipDirection = trs::TownshipDirection::North;
    trs_.range = 0;
    trs_.rangeDirection = trs::RangeDirection::East;
    trs_.section = 0;
    // The options show the directions that the key will carry; showing them is not the user
    // choosing one, so the township and range fields stay closed.
    for (QRadioButton* option : {townshipNorth_, rangeEast_}) {
        const QSignalBlocker quiet(option);
        option->setChecked(true);
    }
}

void TrsPanel::lock() {
    active_ = false;
    lockControls();
}

void TrsPanel::clearForOpening() {
    for (auto [edit, text] :
         {std::pair{townshipField_, "00"}, {rangeField_, "00"}, {sectionField_, "0000"}}) {
        entry::showProgramText(edit, QString::fromLatin1(text));
    }
    trs_.township = 0;
    trs_.range = 0;
    trs_.section = 0;
}

void TrsPanel::reset() {
    put(townshipField_, QStringLiteral("00"));
    put(rangeField_, QStringLiteral("00"));
    put(sectionField_, QStringLiteral("0000"));
    if (active_) {
        for (QWidget* w : std::initializer_list<QWidget*>{townshipField_, rangeField_,
                                                          sectionField_, townshipNorth_,
                                                          townshipSouth_, rangeEast_, rangeWest_}) {
            w->setEnabled(true);
        }
    }
}

void TrsPanel::clearPreview() {
    previewLabel_->clear();
}

bool TrsPanel::isField(const QLineEdit* edit) const {
    return edit == townshipField_ || edit == rangeField_ || edit == sectionField_;
}

void TrsPanel::put(QLineEdit* edit, const QString& text) {
    if (edit->text() == text) {
        return;
    }
    entry::showProgramText(edit, text);
    fieldChanged(edit);
}

bool TrsPanel::eventFilter(QObject* watched, QEvent* e) {
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (edit == nullptr || !isField(edit)) {
        return QGroupBox::eventFilter(watched, e);
    }
    if (e->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(e);
        if (entry::insertsText(key) && !trs::keyAccepted(key->text().toUcs4().value(0))) {
            host_.beep();
            host_.tell(std::string(trs::numbersOnlyMessage), Icon::None);
            return true;
        }
        return false;
    }
    if (e->type() == QEvent::FocusIn) {
        const auto* focus = static_cast<QFocusEvent*>(e);
        if (entry::userFocusReason(focus)) {
            focusIn(edit);
            entry::selectOnEntry(edit, focus);
        }
        return false;
    }
    if (e->type() == QEvent::FocusOut) {
        if (entry::userFocusReason(static_cast<QFocusEvent*>(e))) {
            focusOut(edit);
        }
        return false;
    }
    return QGroupBox::eventFilter(watched, e);
}

void TrsPanel::fieldChanged(QLineEdit* edit) {
    const std::string text = str(edit->text());
    if (edit == townshipField_) {
        trs_.township = trs::wholeNumber(text);
    } else if (edit == rangeField_) {
        trs_.range = trs::wholeNumber(text);
    } else if (auto refusal = trs::checkSection(text)) {
        host_.tell(refusal->message, Icon::None);
        put(edit, QString::fromStdString(refusal->replacement));
        trs_.section = 0;
        edit->selectAll();
    } else {
        trs_.section = trs::wholeNumber(text);
    }
    host_.advance();
}

bool TrsPanel::checkTownship() {
    if (auto refusal = trs::checkTownship(trs_.townshipDirection, str(townshipField_->text()))) {
        host_.tell(refusal->message, Icon::None);
        put(townshipField_, QString::fromStdString(refusal->replacement));
        return false;
    }
    return true;
}

bool TrsPanel::checkRange() {
    if (auto refusal = trs::checkRange(trs_.rangeDirection, str(rangeField_->text()))) {
        host_.tell(refusal->message, Icon::None);
        return false;
    }
    return true;
}

void TrsPanel::focusIn(QLineEdit* edit) {
    if (edit == townshipField_) {
        if (edit->text().isEmpty()) {
            put(edit, QStringLiteral("00"));
        } else {
            checkTownship();
        }
        trs_.township = trs::wholeNumber(str(edit->text()));
    } else if (edit == rangeField_) {
        if (edit->text().isEmpty() || !checkRange()) {
            put(edit, QStringLiteral("00"));
        }
        trs_.range = trs::wholeNumber(str(edit->text()));
    }
}

void TrsPanel::focusOut(QLineEdit* edit) {
    if (edit == townshipField_) {
        if (!checkTownship()) {
            entry::returnFocusTo(edit);
        }
        if (edit->text().isEmpty()) {
            put(edit, QStringLiteral("00"));
        }
    } else if (edit == rangeField_) {
        if (!checkRange()) {
            // A range outside the survey puts the whole description in doubt: start it again.
            reset();
            entry::returnFocusTo(edit);
        }
        if (edit->text().isEmpty()) {
            put(edit, QStringLiteral("00"));
        }
    } else if (edit->text().isEmpty()) {
        put(edit, QStringLiteral("0000"));
    }
}

bool TrsPanel::commitFields() {
    // The key is built from what the fields show now, checked as if each had just been left:
    // a direction changed after typing, or a button pressed by its shortcut without leaving
    // the field, must not look up a number the checks would refuse or one no longer shown.
    if (!checkTownship()) {
        entry::returnFocusTo(townshipField_);
        return false;
    }
    if (!checkRange()) {
        reset();
        entry::returnFocusTo(rangeField_);
        return false;
    }
    trs_.township = trs::wholeNumber(str(townshipField_->text()));
    trs_.range = trs::wholeNumber(str(rangeField_->text()));
    trs_.section = trs::wholeNumber(str(sectionField_->text()));
    return true;
}

void TrsPanel::setQuarterQuartersEnabled(bool enabled) {
    quarterQuarters_ = enabled;
    for (std::size_t i = 0; i < partOptions_.size(); ++i) {
        const trs::SectionPart& part = trs::sectionParts()[i];
        if (part.isQuarterQuarter()) {
            partOptions_[i]->setEnabled(enabled);
            partOptions_[i]->setText(enabled ? qs(part.caption) : QString());
        }
    }
    quarterQuarterSwitch_->setText(enabled ? QStringLiteral("Disable 1/4 1/4 Sections")
                                           : QStringLiteral("Enable 1/4 1/4 Sections"));
}

void TrsPanel::preview() {
    if (commitFields()) {
        previewLabel_->setText(qs(trs::previewText(trs_)));
    }
}

void TrsPanel::convert() {
    if (!commitFields()) {
        return;
    }
    const std::filesystem::path file = trs::lookupFile();
    const trs::Conversion conversion = trs::convert(
        trs_, [&file](const std::string& key) { return trs::lookupCentroid(file, key); });
    previewLabel_->setText(qs(conversion.key));

    switch (conversion.status) {
    case trs::Conversion::Status::Failed:
        host_.tell(conversion.message, Icon::Critical);
        return;
    case trs::Conversion::Status::NoRecord:
        // A key the survey does not have is no location: nothing is handed back, no point at
        // 0, 0 is computed, and the description stays so it can be corrected.
        host_.tell(conversion.message, Icon::None);
        host_.notLocated();
        return;
    case trs::Conversion::Status::Converted:
        break;
    }
    host_.located(conversion.point.latitude, conversion.point.longitude);
    reset();
}

void TrsPanel::resetPressed() {
    reset();
    previewLabel_->clear();
    host_.latitudeLongitudeCleared();
}

} // namespace sw
