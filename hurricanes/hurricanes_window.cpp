#include "hurricanes/hurricanes_window.h"

#include "hurricanes/storm_names.h"
#include "hurricanes/wind.h"
#include "services/base/dialogs.h"
#include "services/base/program_folder.h"
#include "taskwindow/controls.h"
#include "taskwindow/entry_rule_guard.h"
#include "taskwindow/output_panel.h"
#include "taskwindow/result_panel.h"
#include "ui/window_kinds.h"

#include <QComboBox>
#include <QCompleter>
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
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>
#include <QValidator>

namespace {

using sw::controls::button;
using sw::controls::named;
using sw::controls::qs;
using sw::controls::ss;

// The caption beside a control. An input control is also named by its caption, trimmed, for
// screen readers.
QLabel* caption(const char* name, const char* text, QWidget* buddy) {
    QLabel* label = sw::controls::caption(name, text, buddy);
    if (label->buddy() != nullptr) {
        buddy->setAccessibleName(label->text().trimmed().remove(QLatin1Char('&')));
    }
    return label;
}

// A label that shows a value: framed, so an empty one still shows where the value goes.
QLabel* valueLabel(const char* name) {
    auto* label = named(new QLabel, name);
    label->setFrameShape(QFrame::StyledPanel);
    label->setMinimumHeight(24);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QScrollBar* scrollBar(const char* name, int minimum, int maximum) {
    auto* bar = named(new QScrollBar(Qt::Horizontal), name);
    bar->setRange(minimum, maximum);
    bar->setSingleStep(1);
    bar->setPageStep(3);
    bar->setFocusPolicy(Qt::StrongFocus);
    bar->setMinimumWidth(160);
    return bar;
}

// Focus that moved because the user (or the program) moved it, not because the window was
// re-activated or a pop-up closed.
bool userFocusReason(Qt::FocusReason reason) {
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
           reason != Qt::NoFocusReason;
}

// Keeps the wind and knots fields to what their key filters allow, also for pasted text.
class SpeedValidator : public QValidator {
public:
    SpeedValidator(bool decimals, QObject* parent) : QValidator(parent), decimals_(decimals) {}
    State validate(QString& input, int&) const override {
        const std::string text = input.toStdString();
        return (decimals_ ? sw::acceptableWindText(text) : sw::acceptableKnotsText(text))
                   ? Acceptable
                   : Invalid;
    }

private:
    bool decimals_;
};

} // namespace

swHcane::swHcane(sw::Dialogs& dialogs, sw::OpenConverter openConverter, sw::Clock clock,
                 QWidget* parent)
    : QWidget(parent), dialogs_(dialogs), clock_(std::move(clock)) {
    setObjectName(QString::fromLatin1(sw::forms::kHurricanes));
    setWindowTitle(QStringLiteral("Hurricanes"));
    coordinates_ = new sw::ResultPanel({QStringLiteral("h"),
                                        {{{"lblhLatCap", "Latitude"},
                                          {"lblhLongCap", "Longitude"},
                                          {"lblhAlbersXCap", "Albers Easting"},
                                          {"lblhAlbersYCap", "Albers Northing"},
                                          {"lblhUTMCap", "UTM Coordinate (WGS 84):"},
                                          {"lblhUSNGCap", "US National Grid (WGS 84):"}}}},
                                       std::move(openConverter));
    buildControls();

    outputs_->lockOnFocus(sldHwind_);
    outputs_->lockOnFocus(meHEnter_);
    entryRule_ = new sw::EntryRuleGuard(dialogs_, this);
    entryRule_->guard(cmbName_);

    for (QWidget* w : {static_cast<QWidget*>(txtHwind_), static_cast<QWidget*>(txtKnots_),
                       static_cast<QWidget*>(meHEnter_), static_cast<QWidget*>(HscrMon_),
                       static_cast<QWidget*>(HscrDay_), static_cast<QWidget*>(HscrHour_)}) {
        w->installEventFilter(this);
    }
    txtHwind_->setMouseTracking(true);

    connect(cmbName_, &QComboBox::editTextChanged, this, &swHcane::nameChanged);
    connect(cmbName_, &QComboBox::textActivated, this, &swHcane::nameChanged);
    connect(optActual_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            positionType_ = sw::kActual;
        }
    });
    connect(optFcast_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            positionType_ = sw::kForecast;
        }
    });
    connect(HscrMon_, &QScrollBar::valueChanged, this, &swHcane::monthChanged);
    connect(HscrDay_, &QScrollBar::valueChanged, this, &swHcane::dayChanged);
    connect(HscrHour_, &QScrollBar::valueChanged, this, &swHcane::hourChanged);
    // The user's moves of the slider only: the window's own settings of it (from the typed
    // wind or the knots) must not write the slider's position back over the typed text.
    connect(sldHwind_, &QSlider::actionTriggered, this, [this] {
        windScrolled();
        // A drag ends with its release; a key, a click beside the handle or the wheel is one
        // step and ends at once. Either way the knots follow where the slider stopped.
        if (!sldHwind_->isSliderDown()) {
            windSliderClicked();
        }
    });
    connect(sldHwind_, &QSlider::sliderReleased, this, &swHcane::windSliderClicked);
    connect(cmdCvrtKts_, &QPushButton::clicked, this, [this] {
        frmKnots_->setEnabled(true);
        lblKnots_->setEnabled(true);
        txtKnots_->setEnabled(true);
        cmdCkts_->setEnabled(true);
        txtKnots_->setFocus(Qt::OtherFocusReason);
        txtKnots_->selectAll();
    });
    connect(cmdCkts_, &QPushButton::clicked, this, &swHcane::convertKnots);
    connect(cmdHcoordCon_, &QPushButton::clicked, coordinates_, &sw::ResultPanel::openConverter);
    outputs_->setCheck([this] { return positionIsComplete(); });
    outputs_->setRecord([this] {
        const sw::StormPosition p = position();
        return sw::OutputRecord{sw::stormColumns().row(p), sw::stormColumns().row(p),
                                sw::hurricaneShapePoint(p)};
    });
    outputs_->setKml([this](sw::RecordOutputs& out) {
        return out.writeKml(sw::hurricanePlacemark(position(), dialogs_));
    });
    outputs_->setAfterNewTextFile([this] { prepareNextPosition(); });
    connect(cmdClear_, &QPushButton::clicked, this, &swHcane::clearValues);
    connect(cmdHexit_, &QPushButton::clicked, this, &swHcane::leave);

    disableHwrite();
    loadEntry();
}

swHcane::~swHcane() = default;

void swHcane::buildControls() {
    auto* heading = named(new QLabel(QStringLiteral("Hurricanes")), "lblhHeading");
    QFont headingFont = heading->font();
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.5);
    headingFont.setBold(true);
    heading->setFont(headingFont);
    heading->setAlignment(Qt::AlignCenter);

    // The storm and the report.
    cmbName_ = named(new QComboBox, "cmbName");
    cmbName_->setEditable(true);
    cmbName_->setInsertPolicy(QComboBox::NoInsert);
    cmbName_->setMaxVisibleItems(16);
    cmbName_->setMinimumWidth(220);
    // A typed name stays as typed: suggestions only in a pop-up ("Unamed Depression" must
    // match exactly to cap the wind).
    cmbName_->completer()->setCaseSensitivity(Qt::CaseSensitive);
    cmbName_->completer()->setCompletionMode(QCompleter::PopupCompletion);
    optActual_ = named(new QRadioButton(QStringLiteral("Actual Location")), "optActual");
    optFcast_ = named(new QRadioButton(QStringLiteral("Forecast Location")), "optFcast");
    auto* positionBox = named(new QGroupBox(QStringLiteral("Position Type")), "frmPosition");
    auto* positionRow = new QHBoxLayout(positionBox);
    positionRow->addWidget(optActual_);
    positionRow->addWidget(optFcast_);
    positionRow->addStretch();
    meHEnter_ = named(new QLineEdit, "meHEnter");
    meHEnter_->setInputMask(QStringLiteral("99-99-9999;_"));
    meHEnter_->setMaximumWidth(120);

    auto* storm = named(new QGroupBox(QStringLiteral("Storm")), "frmStorm");
    auto* stormGrid = new QGridLayout(storm);
    stormGrid->addWidget(caption("lblName", "Storm &Name:", cmbName_), 0, 0);
    stormGrid->addWidget(cmbName_, 0, 1);
    stormGrid->addWidget(positionBox, 1, 0, 1, 2);
    stormGrid->addWidget(caption("lblHEnter", "Report Date, mm-dd-yyyy:", meHEnter_), 2, 0);
    stormGrid->addWidget(meHEnter_, 2, 1);
    stormGrid->setColumnStretch(1, 1);

    // When, in UTC and local time.
    HscrMon_ = scrollBar("HscrMon", 1, 12);
    HscrDay_ = scrollBar("HscrDay", 1, 31);
    HscrHour_ = scrollBar("HscrHour", 0, 23);
    lblMon_ = valueLabel("lblMon");
    lblDay_ = valueLabel("lblDay");
    lblsHour_ = valueLabel("lblsHour");
    lblsHour_->setText(QStringLiteral("00:00"));
    for (QLabel* l : {lblMon_, lblDay_, lblsHour_}) {
        l->setMinimumWidth(60);
        l->setAlignment(Qt::AlignCenter);
    }
    lblUTC_Cat_ = valueLabel("lblUTC_Cat");
    lblLtimeZ_ = valueLabel("lblLtimeZ");
    auto* time = named(new QGroupBox(QStringLiteral("Position Time")), "frmTime");
    auto* timeGrid = new QGridLayout(time);
    timeGrid->addWidget(caption("lblMonCap", "UTC &Month:", HscrMon_), 0, 0);
    timeGrid->addWidget(HscrMon_, 0, 1);
    timeGrid->addWidget(lblMon_, 0, 2);
    timeGrid->addWidget(caption("lblDayCap", "UTC &Day:", HscrDay_), 1, 0);
    timeGrid->addWidget(HscrDay_, 1, 1);
    timeGrid->addWidget(lblDay_, 1, 2);
    timeGrid->addWidget(caption("lblHourCap", "UTC &Hour:", HscrHour_), 2, 0);
    timeGrid->addWidget(HscrHour_, 2, 1);
    timeGrid->addWidget(lblsHour_, 2, 2);
    timeGrid->addWidget(caption("lblUTCCap", "UTC (Zulu) Time:", lblUTC_Cat_), 3, 0);
    timeGrid->addWidget(lblUTC_Cat_, 3, 1, 1, 2);
    timeGrid->addWidget(caption("lblLocalCap", "Local Time:", lblLtimeZ_), 4, 0);
    timeGrid->addWidget(lblLtimeZ_, 4, 1, 1, 2);
    timeGrid->setColumnStretch(1, 1);

    // The wind and its category.
    txtHwind_ = named(new QLineEdit(QStringLiteral("23")), "txtHwind");
    txtHwind_->setValidator(new SpeedValidator(true, txtHwind_));
    txtHwind_->setMaximumWidth(90);
    sldHwind_ = named(new QSlider(Qt::Horizontal), "sldHwind");
    sldHwind_->setRange(0, 220);
    sldHwind_->setSingleStep(1);
    sldHwind_->setPageStep(10);
    sldHwind_->setTickPosition(QSlider::TicksBelow);
    sldHwind_->setTickInterval(20);
    sldHwind_->setAccessibleName(QStringLiteral("Hurricane Winds (MPH) slider"));
    lblHCat_ = valueLabel("lblHCat");
    cmdCvrtKts_ = button("cmdCvrtKts", "Convert Knots to MPH");
    frmKnots_ = named(new QGroupBox, "frmKnots");
    lblKnots_ = named(new QLabel(QStringLiteral(" Knots to MPH")), "lblKnots");
    txtKnots_ = named(new QLineEdit(QStringLiteral("0")), "txtKnots");
    txtKnots_->setValidator(new SpeedValidator(false, txtKnots_));
    txtKnots_->setMaximumWidth(90);
    lblKnots_->setBuddy(txtKnots_);
    txtKnots_->setAccessibleName(QStringLiteral("Knots"));
    cmdCkts_ = button("cmdCkts", "Convert");
    auto* knotsRow = new QHBoxLayout(frmKnots_);
    knotsRow->addWidget(lblKnots_);
    knotsRow->addWidget(txtKnots_);
    knotsRow->addWidget(cmdCkts_);
    knotsRow->addStretch();
    frmKnots_->setEnabled(false);

    auto* wind = named(new QGroupBox(QStringLiteral("Wind")), "frmWind");
    auto* windGrid = new QGridLayout(wind);
    auto* windCaption =
        caption("lblHwind", " Hurricane Winds (MPH): Use SliderBar or Enter in Box", txtHwind_);
    windGrid->addWidget(windCaption, 0, 0, 1, 2);
    windGrid->addWidget(txtHwind_, 1, 0);
    windGrid->addWidget(sldHwind_, 1, 1);
    auto* categoryRow = new QHBoxLayout;
    categoryRow->addWidget(caption("lblHCatCap", "Category:", lblHCat_));
    categoryRow->addWidget(lblHCat_, 1);
    windGrid->addLayout(categoryRow, 2, 0, 1, 2);
    windGrid->addWidget(cmdCvrtKts_, 3, 0, 1, 2);
    windGrid->addWidget(frmKnots_, 4, 0, 1, 2);
    windGrid->setColumnStretch(1, 1);

    // Where: filled only by the converter.
    cmdHcoordCon_ = button("cmdHcoordCon", "&Coordinate Conversion");
    auto* results = named(new QGroupBox(QStringLiteral("Coordinates")), "frmhResults");
    auto* resultsLayout = new QVBoxLayout(results);
    resultsLayout->addWidget(coordinates_);
    coordinates_->addBelow(cmdHcoordCon_);

    // What to write.
    outputs_ = new sw::OutputPanel(dialogs_,
                                   {{"frmhOutput", "cmdEnableWriteFile", "cmdAdNewHFac",
                                     "cmdAppendFile", "cmdWriteHShape", "appendHShape", "cmdKML"},
                                    QStringLiteral("Hurricane"),
                                    sw::hurricaneOutputSettings()});
    cmdEnableWriteFile_ = outputs_->enableButton();
    const QList<QPushButton*> outputButtons = outputs_->outputButtons();
    cmdAdNewHFac_ = outputButtons[0];
    cmdAppendFile_ = outputButtons[1];
    cmdWriteHShape_ = outputButtons[2];
    appendHShape_ = outputButtons[3];
    cmdKML_ = outputButtons[4];
    QGroupBox* outputs = outputs_;

    const auto foot = sw::controls::makeClosingButtons("cmdHexit");
    cmdClear_ = foot.clear;
    cmdHexit_ = foot.exit;
    QHBoxLayout* closing = foot.row;

    auto* left = new QVBoxLayout;
    left->addWidget(storm);
    left->addWidget(time);
    left->addWidget(wind);
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(results);
    right->addWidget(outputs);
    right->addStretch();
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(columns);
    layout->addLayout(closing);

    QWidget* order[] = {cmbName_,        optActual_,
                        optFcast_,       meHEnter_,
                        HscrMon_,        HscrDay_,
                        HscrHour_,       txtHwind_,
                        sldHwind_,       cmdCvrtKts_,
                        txtKnots_,       cmdCkts_,
                        cmdHcoordCon_,   cmdEnableWriteFile_,
                        cmdAdNewHFac_,   cmdAppendFile_,
                        cmdWriteHShape_, appendHShape_,
                        cmdKML_,         cmdClear_,
                        cmdHexit_};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
}

void swHcane::loadEntry() {
    const sw::CalendarDate today = clock_.today();
    meHEnter_->setText(qs(sw::dateText(today, sw::DateForm::FourDigitYear)));

    const sw::StormNameList names =
        sw::loadStormNames(sw::programFolder(), static_cast<int>(today.year()));
    for (const std::string& name : names.names) {
        cmbName_->addItem(qs(name));
    }
    cmbName_->setCurrentIndex(-1);
    cmbName_->clearEditText();
    if (names.problem) {
        // Said once, when the window is made; names can still be typed.
        dialogs_.inform(*names.problem, {}, sw::Icon::Warning);
    }

    // The same updates as a user's change, also where the bar already stands at the value.
    const int month = static_cast<int>(static_cast<unsigned>(today.month()));
    HscrMon_->setValue(month);
    monthChanged(month);
    HscrDay_->setValue(static_cast<int>(static_cast<unsigned>(today.day())));
    dayChanged(HscrDay_->value());
}

void swHcane::disableHwrite() {
    outputs_->lock();
}

void swHcane::enableHwrite() {
    outputs_->unlock();
}

sw::StormPosition swHcane::position() const {
    const sw::HandBackTexts c = coordinates_->texts();
    sw::StormPosition p;
    p.name = ss(cmbName_->currentText());
    p.reportDate = ss(meHEnter_->text());
    p.positionType = positionType_;
    p.utcTime = ss(lblUTC_Cat_->text());
    p.localTime = ss(lblLtimeZ_->text());
    p.latitude = c.latitude;
    p.longitude = c.longitude;
    p.albersX = c.albersX;
    p.albersY = c.albersY;
    p.utm = c.utm;
    p.usng = c.usng;
    p.windMph = ss(txtHwind_->text());
    p.windKnots = ss(txtKnots_->text());
    p.category = ss(lblHCat_->text());
    p.utcMonth = ss(lblMon_->text());
    p.utcDay = ss(lblDay_->text());
    p.utcHour = ss(lblsHour_->text());
    return p;
}

// ---------------------------------------------------------------------------------------------
// Entry

void swHcane::nameChanged(const QString& name) {
    sldHwind_->setMaximum(sw::windSliderMaximum(ss(name)));
}

void swHcane::monthChanged(int month) {
    lblMon_->setText(QString::number(month));
    // The day range follows the month; a day beyond it is pulled back by the bar itself.
    HscrDay_->setMaximum(sw::daysInMonth(month, static_cast<int>(clock_.today().year())));
    convertUtc();
}

void swHcane::dayChanged(int day) {
    lblDay_->setText(QString::number(day));
    convertUtc();
}

void swHcane::hourChanged(int hour) {
    lblsHour_->setText(qs(sw::hourLabel(hour)));
    convertUtc();
}

void swHcane::convertUtc() {
    const sw::UtcConversion result =
        sw::ConvertUTC(ss(lblMon_->text()), ss(lblDay_->text()), ss(lblsHour_->text()),
                       static_cast<int>(clock_.today().year()), clock_.zoneName());
    lblDay_->setText(qs(result.dayText));
    lblUTC_Cat_->setText(qs(result.utcText));
    if (result.localText) {
        lblLtimeZ_->setText(qs(*result.localText));
    }
}

bool swHcane::reportDateLeft() {
    const sw::CalendarDate today = clock_.today();
    switch (sw::checkReportDate(ss(meHEnter_->text()), today)) {
    case sw::ReportDateCheck::Accepted:
        return true;
    case sw::ReportDateCheck::Invalid:
        dialogs_.beep();
        dialogs_.inform(sw::kInvalidDateMessage);
        meHEnter_->setText(qs(sw::dateText(today, sw::DateForm::FourDigitYear)));
        return false;
    case sw::ReportDateCheck::Future:
        dialogs_.beep();
        dialogs_.inform(sw::kFutureYearMessage);
        return false;
    case sw::ReportDateCheck::AskOld:
        return dialogs_.askYesNo(sw::kOldYearQuestion, sw::kOldYearTitle, sw::Icon::Question);
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// Wind

void swHcane::windFromText() {
    const std::string text = ss(txtHwind_->text());
    const std::int16_t wind = sw::windFromText(text);
    // Above the slider's range the slider stands at its end; the typed speed is the one that
    // counts for knots, category and files.
    sldHwind_->setValue(wind);
    currentWind_ = wind;
    txtKnots_->setEnabled(true);
    txtKnots_->setText(QString::number(sw::knotsFromMph(currentWind_)));
    showCategory();
}

void swHcane::windScrolled() {
    const int at = sldHwind_->sliderPosition();
    txtHwind_->setText(QString::number(at));
    currentWind_ = static_cast<std::int16_t>(at);
    showCategory();
}

void swHcane::windSliderClicked() {
    txtHwind_->setText(QString::number(sldHwind_->sliderPosition()));
    txtKnots_->setEnabled(true);
    txtKnots_->setText(QString::number(sw::knotsFromMph(currentWind_)));
}

void swHcane::convertKnots() {
    const std::int16_t mph = sw::mphFromKnots(sw::windFromText(ss(txtKnots_->text())));
    txtHwind_->setText(QString::number(mph));
    sldHwind_->setValue(mph);
    currentWind_ = mph;
    showCategory();
    lblKnots_->setEnabled(false);
    txtKnots_->setEnabled(false);
    cmdCkts_->setEnabled(false);
}

void swHcane::showCategory() {
    lblHCat_->setText(qs(sw::Hcat(currentWind_)));
}

bool swHcane::windKeyPress(QLineEdit* field, QKeyEvent* key) {
    const QString typed = key->text();
    if (typed.isEmpty() || typed.at(0).category() == QChar::Other_Control) {
        return false; // moving, deleting, backspace, shortcuts: the field's own business
    }
    const QChar c = typed.at(0);
    bool allowed = (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
                   (field == txtHwind_ && c == QLatin1Char('.'));
    if (allowed) {
        // What the field would hold: the typed key in place of the selection.
        QString after = field->text();
        const int at = field->hasSelectedText() ? field->selectionStart() : field->cursorPosition();
        after.replace(at, static_cast<int>(field->selectedText().size()), c);
        const std::string text = ss(after);
        allowed = field == txtHwind_ ? sw::acceptableWindText(text) : sw::acceptableKnotsText(text);
    }
    if (!allowed) {
        dialogs_.beep();
        return true;
    }
    return false;
}

bool swHcane::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtHwind_ || watched == txtKnots_) {
        auto* field = static_cast<QLineEdit*>(watched);
        if (event->type() == QEvent::KeyPress) {
            return windKeyPress(field, static_cast<QKeyEvent*>(event));
        }
    }
    if (watched == txtHwind_) {
        switch (event->type()) {
        case QEvent::KeyRelease:
            if (txtHwind_->text() == QStringLiteral(" ")) {
                txtHwind_->setText(QStringLiteral("0"));
            }
            windFromText();
            break;
        case QEvent::FocusIn:
            if (userFocusReason(static_cast<QFocusEvent*>(event)->reason())) {
                windFromText();
            }
            break;
        case QEvent::FocusOut:
            if (userFocusReason(static_cast<QFocusEvent*>(event)->reason())) {
                // One character (or none) is no wind: start again from the lowest depression.
                if (txtHwind_->text().size() <= 1) {
                    txtHwind_->setText(QStringLiteral("23"));
                    returnFocusTo(txtHwind_);
                }
                windFromText();
            }
            break;
        case QEvent::MouseMove:
            // A cleared wind box has no speed to show a category for.
            if (!txtHwind_->text().isEmpty()) {
                showCategory();
            }
            break;
        default:
            break;
        }
    }
    if (event->type() == QEvent::KeyPress &&
        (watched == HscrMon_ || watched == HscrDay_ || watched == HscrHour_)) {
        // Qt's scroll bars take Right as a step back; ours step forward with Right, as the
        // arrows on their ends show.
        auto* bar = static_cast<QScrollBar*>(watched);
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Right || key == Qt::Key_Left) {
            bar->triggerAction(key == Qt::Key_Right ? QAbstractSlider::SliderSingleStepAdd
                                                    : QAbstractSlider::SliderSingleStepSub);
            return true;
        }
    }
    if (watched == meHEnter_ && event->type() == QEvent::FocusOut &&
        userFocusReason(static_cast<QFocusEvent*>(event)->reason()) && !reportDateLeft()) {
        returnFocusTo(meHEnter_);
    }
    return QWidget::eventFilter(watched, event);
}

void swHcane::returnFocusTo(QWidget* field) {
    // Not while the focus is still on its way elsewhere: once the move is over, come back.
    QTimer::singleShot(0, field, [field] { field->setFocus(Qt::OtherFocusReason); });
}

// ---------------------------------------------------------------------------------------------
// Check and outputs

bool swHcane::positionIsComplete() {
    // Leaving the name cleans it; clean here too, so nothing uncleaned can pass the check.
    sw::EntryRuleGuard::clean(cmbName_);
    const std::optional<sw::StormMissing> missing = sw::firstMissing(position());
    if (!missing) {
        return true;
    }
    dialogs_.inform(missing->message);
    switch (missing->part) {
    case sw::StormMissingPart::Name:
        cmbName_->setFocus(Qt::OtherFocusReason);
        break;
    case sw::StormMissingPart::Wind:
        txtHwind_->setFocus(Qt::OtherFocusReason);
        break;
    case sw::StormMissingPart::Coordinates:
        cmdHcoordCon_->setFocus(Qt::OtherFocusReason);
        break;
    case sw::StormMissingPart::PositionType:
        optActual_->setFocus(Qt::OtherFocusReason);
        break;
    }
    return false;
}

// After a new text file: ready for the next position of the storm; times and wind stay.
void swHcane::prepareNextPosition() {
    cmbName_->setCurrentIndex(-1);
    cmbName_->clearEditText();
    coordinates_->clear();
    cmbName_->setFocus(Qt::OtherFocusReason);
    // The position just cleared is no longer complete: nothing more is written from it until
    // the next check.
    disableHwrite();
}

void swHcane::clearValues() {
    cmbName_->setCurrentIndex(-1);
    cmbName_->clearEditText();
    lblUTC_Cat_->clear();
    lblLtimeZ_->clear();
    coordinates_->clear();
    lblHCat_->clear();
    txtKnots_->clear();
    txtHwind_->clear();
    // The hour bar goes back with its label, so the next time conversion reads what is shown.
    {
        const QSignalBlocker quiet(HscrHour_);
        HscrHour_->setValue(0);
    }
    lblsHour_->setText(QStringLiteral("00:00"));
}

void swHcane::leave() {
    coordinates_->stopReceiving();
    clearValues();
    disableHwrite();
    hide();
}
