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
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>

namespace {

using sw::controls::qs;
using sw::controls::ss;

// Focus that moved because the user (or the program) moved it, not because the window was
// re-activated or a pop-up closed.
bool userFocusReason(Qt::FocusReason reason) {
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
           reason != Qt::NoFocusReason;
}

} // namespace

namespace sw {

HurricanesWindow::HurricanesWindow(sw::Dialogs& dialogs, sw::OpenConverter openConverter,
                                   sw::Clock clock, QWidget* parent)
    : QWidget(parent, Qt::Window), dialogs_(dialogs), clock_(std::move(clock)) {
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

    outputs_->lockOnFocus(windSlider_);
    outputs_->lockOnFocus(reportDateField_);
    entryRule_ = new sw::EntryRuleGuard(dialogs_, this);
    entryRule_->guard(nameBox_);

    for (QWidget* w : {static_cast<QWidget*>(windField_), static_cast<QWidget*>(knotsField_),
                       static_cast<QWidget*>(reportDateField_), static_cast<QWidget*>(utcMonthBar_),
                       static_cast<QWidget*>(utcDayBar_), static_cast<QWidget*>(utcHourBar_)}) {
        w->installEventFilter(this);
    }
    windField_->setMouseTracking(true);

    connectControls();
    lockOutputs();
    loadEntry();
}

HurricanesWindow::~HurricanesWindow() = default;

void HurricanesWindow::connectControls() {
    connect(nameBox_, &QComboBox::editTextChanged, this, &HurricanesWindow::nameChanged);
    connect(nameBox_, &QComboBox::textActivated, this, &HurricanesWindow::nameChanged);
    connect(actualOption_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            positionType_ = sw::kActual;
        }
    });
    connect(forecastOption_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            positionType_ = sw::kForecast;
        }
    });
    connect(utcMonthBar_, &QScrollBar::valueChanged, this, &HurricanesWindow::monthChanged);
    connect(utcDayBar_, &QScrollBar::valueChanged, this, &HurricanesWindow::dayChanged);
    connect(utcHourBar_, &QScrollBar::valueChanged, this, &HurricanesWindow::hourChanged);
    // The user's moves of the slider only: the window's own settings of it (from the typed
    // wind or the knots) must not write the slider's position back over the typed text.
    connect(windSlider_, &QSlider::actionTriggered, this, [this] {
        windScrolled();
        // A drag ends with its release; a key, a click beside the handle or the wheel is one
        // step and ends at once. Either way the knots follow where the slider stopped.
        if (!windSlider_->isSliderDown()) {
            windSliderClicked();
        }
    });
    connect(windSlider_, &QSlider::sliderReleased, this, &HurricanesWindow::windSliderClicked);
    connect(knotsButton_, &QPushButton::clicked, this, [this] {
        knotsFrame_->setEnabled(true);
        knotsCaption_->setEnabled(true);
        knotsField_->setEnabled(true);
        convertKnotsButton_->setEnabled(true);
        knotsField_->setFocus(Qt::OtherFocusReason);
        knotsField_->selectAll();
    });
    connect(convertKnotsButton_, &QPushButton::clicked, this, &HurricanesWindow::convertKnots);
    connect(coordinateButton_, &QPushButton::clicked, coordinates_,
            &sw::ResultPanel::openConverter);
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
    connect(clearButton_, &QPushButton::clicked, this, &HurricanesWindow::clearValues);
    connect(exitButton_, &QPushButton::clicked, this, &HurricanesWindow::leave);
}

void HurricanesWindow::loadEntry() {
    const sw::CalendarDate today = clock_.today();
    reportDateField_->setText(qs(sw::dateText(today, sw::DateForm::FourDigitYear)));

    const sw::StormNameList names =
        sw::loadStormNames(sw::programFolder(), static_cast<int>(today.year()));
    for (const std::string& name : names.names) {
        nameBox_->addItem(qs(name));
    }
    nameBox_->setCurrentIndex(-1);
    nameBox_->clearEditText();
    if (names.problem) {
        // Said once, when the window is made; names can still be typed.
        dialogs_.inform(*names.problem, {}, sw::Icon::Warning);
    }

    // The same updates as a user's change, also where the bar already stands at the value.
    const int month = static_cast<int>(static_cast<unsigned>(today.month()));
    utcMonthBar_->setValue(month);
    monthChanged(month);
    utcDayBar_->setValue(static_cast<int>(static_cast<unsigned>(today.day())));
    dayChanged(utcDayBar_->value());
}

void HurricanesWindow::lockOutputs() {
    outputs_->lock();
}

void HurricanesWindow::unlockOutputs() {
    outputs_->unlock();
}

sw::StormPosition HurricanesWindow::position() const {
    const sw::HandBackTexts c = coordinates_->texts();
    sw::StormPosition p;
    p.name = ss(nameBox_->currentText());
    p.reportDate = ss(reportDateField_->text());
    p.positionType = positionType_;
    p.utcTime = ss(utcTimeLabel_->text());
    p.localTime = ss(localTimeLabel_->text());
    p.latitude = c.latitude;
    p.longitude = c.longitude;
    p.albersX = c.albersX;
    p.albersY = c.albersY;
    p.utm = c.utm;
    p.usng = c.usng;
    p.windMph = ss(windField_->text());
    p.windKnots = ss(knotsField_->text());
    p.category = ss(categoryLabel_->text());
    p.utcMonth = ss(utcMonthLabel_->text());
    p.utcDay = ss(utcDayLabel_->text());
    p.utcHour = ss(utcHourLabel_->text());
    return p;
}

// ---------------------------------------------------------------------------------------------
// Entry

void HurricanesWindow::nameChanged(const QString& name) {
    windSlider_->setMaximum(sw::windSliderMaximum(ss(name)));
}

void HurricanesWindow::monthChanged(int month) {
    utcMonthLabel_->setText(QString::number(month));
    // The day range follows the month; a day beyond it is pulled back by the bar itself.
    utcDayBar_->setMaximum(sw::daysInMonth(month, static_cast<int>(clock_.today().year())));
    convertUtc();
}

void HurricanesWindow::dayChanged(int day) {
    utcDayLabel_->setText(QString::number(day));
    convertUtc();
}

void HurricanesWindow::hourChanged(int hour) {
    utcHourLabel_->setText(qs(sw::hourLabel(hour)));
    convertUtc();
}

void HurricanesWindow::convertUtc() {
    const sw::UtcConversion result = sw::ConvertUTC(
        ss(utcMonthLabel_->text()), ss(utcDayLabel_->text()), ss(utcHourLabel_->text()),
        static_cast<int>(clock_.today().year()), clock_.zoneNameAt);
    utcDayLabel_->setText(qs(result.dayText));
    utcTimeLabel_->setText(qs(result.utcText));
    if (result.localText) {
        localTimeLabel_->setText(qs(*result.localText));
    }
}

bool HurricanesWindow::reportDateLeft() {
    const sw::CalendarDate today = clock_.today();
    switch (sw::checkReportDate(ss(reportDateField_->text()), today)) {
    case sw::ReportDateCheck::Accepted:
        return true;
    case sw::ReportDateCheck::Invalid:
        dialogs_.beep();
        dialogs_.inform(sw::kInvalidDateMessage);
        reportDateField_->setText(qs(sw::dateText(today, sw::DateForm::FourDigitYear)));
        return false;
    case sw::ReportDateCheck::Future:
        dialogs_.beep();
        dialogs_.inform(sw::kFutureYearMessage);
        return false;
    case sw::ReportDateCheck::AskOld:
        return dialogs_.askYesNo(sw::kOldYearQuestion, sw::kOldYearTitle, sw::Icon::Question,
                                 sw::Answer::No);
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// Wind

void HurricanesWindow::windFromText() {
    const std::string text = ss(windField_->text());
    const std::int16_t wind = sw::windFromText(text);
    // Above the slider's range the slider stands at its end; the typed speed is the one that
    // counts for knots, category and files.
    windSlider_->setValue(wind);
    currentWind_ = wind;
    knotsField_->setEnabled(true);
    knotsField_->setText(QString::number(sw::knotsFromMph(currentWind_)));
    showCategory();
}

void HurricanesWindow::windScrolled() {
    const int at = windSlider_->sliderPosition();
    windField_->setText(QString::number(at));
    currentWind_ = static_cast<std::int16_t>(at);
    showCategory();
}

void HurricanesWindow::windSliderClicked() {
    windField_->setText(QString::number(windSlider_->sliderPosition()));
    knotsField_->setEnabled(true);
    knotsField_->setText(QString::number(sw::knotsFromMph(currentWind_)));
}

void HurricanesWindow::convertKnots() {
    const std::int16_t mph = sw::mphFromKnots(sw::windFromText(ss(knotsField_->text())));
    windField_->setText(QString::number(mph));
    windSlider_->setValue(mph);
    currentWind_ = mph;
    showCategory();
    knotsCaption_->setEnabled(false);
    knotsField_->setEnabled(false);
    convertKnotsButton_->setEnabled(false);
}

void HurricanesWindow::showCategory() {
    categoryLabel_->setText(qs(sw::Hcat(currentWind_)));
}

bool HurricanesWindow::windKeyPress(QLineEdit* field, QKeyEvent* key) {
    const QString typed = key->text();
    if (typed.isEmpty() || typed.at(0).category() == QChar::Other_Control) {
        return false; // moving, deleting, backspace, shortcuts: the field's own business
    }
    const QChar c = typed.at(0);
    bool allowed = (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
                   (field == windField_ && c == QLatin1Char('.'));
    if (allowed) {
        // What the field would hold: the typed key in place of the selection.
        QString after = field->text();
        const int at = field->hasSelectedText() ? field->selectionStart() : field->cursorPosition();
        after.replace(at, static_cast<int>(field->selectedText().size()), c);
        const std::string text = ss(after);
        allowed =
            field == windField_ ? sw::acceptableWindText(text) : sw::acceptableKnotsText(text);
    }
    if (!allowed) {
        dialogs_.beep();
        return true;
    }
    return false;
}

bool HurricanesWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == windField_ || watched == knotsField_) {
        auto* field = static_cast<QLineEdit*>(watched);
        if (event->type() == QEvent::KeyPress) {
            return windKeyPress(field, static_cast<QKeyEvent*>(event));
        }
    }
    if (watched == windField_) {
        switch (event->type()) {
        case QEvent::KeyRelease:
            if (windField_->text() == QStringLiteral(" ")) {
                windField_->setText(QStringLiteral("0"));
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
                if (windField_->text().size() <= 1) {
                    windField_->setText(QStringLiteral("23"));
                    returnFocusTo(windField_);
                }
                windFromText();
            }
            break;
        case QEvent::MouseMove:
            // A cleared wind box has no speed to show a category for.
            if (!windField_->text().isEmpty()) {
                showCategory();
            }
            break;
        default:
            break;
        }
    }
    if (event->type() == QEvent::KeyPress &&
        (watched == utcMonthBar_ || watched == utcDayBar_ || watched == utcHourBar_)) {
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
    if (watched == reportDateField_ && event->type() == QEvent::FocusOut &&
        userFocusReason(static_cast<QFocusEvent*>(event)->reason()) && !reportDateLeft()) {
        returnFocusTo(reportDateField_);
    }
    return QWidget::eventFilter(watched, event);
}

void HurricanesWindow::returnFocusTo(QWidget* field) {
    // Not while the focus is still on its way elsewhere: once the move is over, come back.
    QTimer::singleShot(0, field, [field] { field->setFocus(Qt::OtherFocusReason); });
}

// ---------------------------------------------------------------------------------------------
// Check and outputs

bool HurricanesWindow::positionIsComplete() {
    // Leaving the name cleans it; clean here too, so nothing uncleaned can pass the check.
    sw::EntryRuleGuard::clean(nameBox_);
    const std::optional<sw::StormMissing> missing = sw::firstMissing(position());
    if (!missing) {
        return true;
    }
    dialogs_.inform(missing->message);
    switch (missing->part) {
    case sw::StormMissingPart::Name:
        nameBox_->setFocus(Qt::OtherFocusReason);
        break;
    case sw::StormMissingPart::Wind:
        windField_->setFocus(Qt::OtherFocusReason);
        break;
    case sw::StormMissingPart::Coordinates:
        coordinateButton_->setFocus(Qt::OtherFocusReason);
        break;
    case sw::StormMissingPart::PositionType:
        actualOption_->setFocus(Qt::OtherFocusReason);
        break;
    }
    return false;
}

// After a new text file: ready for the next position of the storm; times and wind stay.
void HurricanesWindow::prepareNextPosition() {
    nameBox_->setCurrentIndex(-1);
    nameBox_->clearEditText();
    coordinates_->clear();
    nameBox_->setFocus(Qt::OtherFocusReason);
    // The position just cleared is no longer complete: nothing more is written from it until
    // the next check.
    lockOutputs();
}

// Empties the position for the next one. The time labels are worked out again from the bars
// (the hour back at 00:00), so no record can leave without its times; and an emptied position
// is no longer checked: the outputs lock until the next check passes.
void HurricanesWindow::clearValues() {
    nameBox_->setCurrentIndex(-1);
    nameBox_->clearEditText();
    coordinates_->clear();
    categoryLabel_->clear();
    knotsField_->clear();
    windField_->clear();
    {
        const QSignalBlocker quiet(utcHourBar_);
        utcHourBar_->setValue(0);
    }
    utcHourLabel_->setText(QStringLiteral("00:00"));
    convertUtc();
    lockOutputs();
}

void HurricanesWindow::leave() {
    coordinates_->stopReceiving();
    clearValues();
    hide();
}

} // namespace sw
