#include "wildfires/fire_fields.h"

#include "coord/angle_fields.h"
#include "services/base/dialogs.h"
#include "taskwindow/controls.h"
#include "wildfires/fire_numbers.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSlider>
#include <QTimer>

#include <algorithm>

namespace sw {

namespace {

using controls::qs;
using controls::ss;

// Keys that move, delete or run a shortcut insert nothing: they are no typing to filter.
bool insertsText(const QKeyEvent* key) {
    switch (key->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        return false;
    default:
        break;
    }
    return !key->text().isEmpty() &&
           !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

bool areaKeyRefused(const QString& typed) {
    const QList<uint> codes = typed.toUcs4();
    return std::any_of(codes.begin(), codes.end(),
                       [](uint c) { return !isAreaCharacter(static_cast<char32_t>(c)); });
}

} // namespace

FireFieldRules::FireFieldRules(Dialogs& dialogs, DateForm form, Clock clock,
                               FireFieldControls controls, QObject* parent)
    : QObject(parent), dialogs_(dialogs), form_(form), clock_(std::move(clock)),
      controls_(controls) {
    for (QLineEdit* field :
         {controls_.entryDate, controls_.startDate, controls_.area, controls_.percentText}) {
        field->installEventFilter(this);
    }
    connect(controls_.percentSlider, &QSlider::valueChanged, this,
            [this](int value) { controls_.percentText->setText(qs(percentText(value))); });
    controls_.percentText->setText(qs(percentText(controls_.percentSlider->value())));
}

void FireFieldRules::setToday(QLineEdit* dateField) {
    dateField->setText(qs(dateText(clock_.today(), form_)));
}

void FireFieldRules::setDatesToToday() {
    setToday(controls_.entryDate);
    setToday(controls_.startDate);
}

bool FireFieldRules::userFocusReason(Qt::FocusReason reason) {
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
           reason != Qt::NoFocusReason;
}

bool FireFieldRules::eventFilter(QObject* watched, QEvent* event) {
    auto* field = qobject_cast<QLineEdit*>(watched);
    if (field == nullptr) {
        return QObject::eventFilter(watched, event);
    }
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!insertsText(key)) {
            return false;
        }
        if (field == controls_.area && areaKeyRefused(key->text())) {
            dialogs_.beep();
            dialogs_.message(areaKeyMessage());
            return true;
        }
        if (field == controls_.percentText && !keyAccepted(key->text().toUcs4().value(0))) {
            dialogs_.beep();
            return true;
        }
        return false;
    }
    if (event->type() == QEvent::FocusOut &&
        userFocusReason(static_cast<QFocusEvent*>(event)->reason())) {
        if (field == controls_.entryDate || field == controls_.startDate) {
            checkDate(field);
        } else if (field == controls_.area) {
            leaveArea();
        } else if (field == controls_.percentText) {
            leavePercent();
        }
    }
    return QObject::eventFilter(watched, event);
}

void FireFieldRules::returnFocusTo(QLineEdit* field) {
    // Not while the focus is still on its way elsewhere: once the move is over, come back.
    QTimer::singleShot(0, field, [field] {
        field->setFocus(Qt::OtherFocusReason);
        field->selectAll();
    });
}

void FireFieldRules::checkDate(QLineEdit* dateField) {
    const FireDate which = dateField == controls_.entryDate ? FireDate::Entry : FireDate::Start;
    const DateVerdict verdict = sw::checkDate(ss(dateField->displayText()), form_, clock_.today());
    switch (verdict) {
    case DateVerdict::Accepted:
        return;
    case DateVerdict::Invalid:
        dialogs_.beep();
        dialogs_.message(invalidDateMessage());
        returnFocusTo(dateField);
        return;
    case DateVerdict::AskOld:
        // The old date is shown selected while the question is asked, and kept in view after.
        dateField->selectAll();
        returnFocusTo(dateField);
        break;
    case DateVerdict::AskFuture:
        break;
    }
    if (dialogs_.message(dateQuestion(which, verdict)) == Answer::No) {
        dateField->clear(); // the empty mask
        returnFocusTo(dateField);
    }
}

void FireFieldRules::leaveArea() {
    const AreaLeave left = sw::leaveArea(ss(controls_.area->text()));
    if (left.refused) {
        dialogs_.message(areaNotNumberMessage());
        controls_.area->setText(qs(left.text));
        returnFocusTo(controls_.area);
        return;
    }
    controls_.area->setText(qs(left.text));
}

bool FireFieldRules::settle() {
    const AreaLeave area = sw::leaveArea(ss(controls_.area->text()));
    controls_.area->setText(qs(area.text));
    if (area.refused) {
        dialogs_.message(areaNotNumberMessage());
        controls_.area->setFocus(Qt::OtherFocusReason);
        controls_.area->selectAll();
        return false;
    }
    if (!controls_.percentText->text().isEmpty()) {
        leavePercent();
    }
    // So are the dates: one that is no calendar date is not written. A start date without
    // digits is no date at all and may stay so.
    for (QLineEdit* date : {controls_.entryDate, controls_.startDate}) {
        if (readDate(ss(date->displayText()), form_, clock_.today()).kind ==
            DateReading::Kind::Invalid) {
            dialogs_.beep();
            dialogs_.message(invalidDateMessage());
            date->setFocus(Qt::OtherFocusReason);
            date->selectAll();
            return false;
        }
    }
    return true;
}

void FireFieldRules::leavePercent() {
    const PercentLeave left =
        sw::leavePercent(ss(controls_.percentText->text()), controls_.percentSlider->value());
    if (left.value != controls_.percentSlider->value()) {
        controls_.percentSlider->setValue(left.value); // writes the text
    } else if (left.rewriteText) {
        controls_.percentText->setText(qs(percentText(left.value)));
    }
}

} // namespace sw
