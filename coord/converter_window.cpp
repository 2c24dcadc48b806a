#include "coord/converter_window.h"

#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "coord/entry_fields.h"
#include "coord/point_csv.h"
#include "ui/option_choice.h"
#include "ui/window_accessibility.h"
#include "ui/window_kinds.h"

namespace sw {

using entry::str;

ConverterWindow::ConverterWindow(Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), dialogs_(dialogs), model_(*this), controls_(this, *this) {
    announceWindowsAsWindows();
    setObjectName(QString::fromLatin1(forms::kConverter));
    setWindowTitle(QStringLiteral("Coordinate Conversion"));
    connectControls();
    showFirstState();
}

ConverterWindow::~ConverterWindow() {
    // The fields outlive this part of the object (QWidget deletes them later): the focus they
    // lose and the editing they finish then must not reach it.
    for (QLineEdit* edit : controls_.angleFields) {
        edit->removeEventFilter(this);
        edit->disconnect(this);
    }
    controls_.gridReference->removeEventFilter(this);
    controls_.gridReference->disconnect(this);
}

void ConverterWindow::connectControls() {
    for (const auto& [mode, option] : controls_.options) {
        const ConverterMode chosen = mode;
        onOptionChosen(option, this, [this, chosen] { selectNotation(chosen); });
    }
    for (const FieldInfo& info : allFields()) {
        const Field field = info.field;
        QLineEdit* edit = controls_.field(field);
        fieldOf_.insert(edit, field);
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::textChanged, this,
                [this, field, edit] { model_.edited(field, str(edit->text())); });
        entry::routePastes(
            edit, [this, field](const QString& text) { return pastedIntoAngleField(field, text); });
    }
    controls_.gridReference->installEventFilter(this);
    // Enter, or leaving the field after a change, converts.
    connect(controls_.gridReference, &QLineEdit::editingFinished, this,
            [this] { gridReferenceEntered(); });
    connect(controls_.closeButton, &QPushButton::clicked, this, [this] { closePressed(); });
}

void ConverterWindow::showFirstState() {
    // No notation is chosen yet: only the decimal-degree longitude can be typed.
    for (QLineEdit* edit : controls_.angleFields) {
        edit->setEnabled(false);
    }
    controls_.field(Field::DDLongitudeDegrees)->setEnabled(true);
    controls_.field(Field::DDLongitudeDecimals)->setEnabled(true);
    controls_.gridReference->setEnabled(false);
    colourLabels(ConverterMode::None);
}

// ---------------------------------------------------------------------------------------------
// Opening, closing, activation

void ConverterWindow::openFor(HandBackTarget* target) {
    show();
    raise();
    activateWindow();

    // Back to the default texts without processing them as edits: a reset must hand nothing to
    // the window that the converter served last.
    model_.reset();
    controls_.trsPanel->clearForOpening();
    entry::showProgramText(controls_.gridReference, QString());
    showResults();
    target_ = target;
    targetObject_ = dynamic_cast<QObject*>(target);
    targetIsObject_ = targetObject_ != nullptr;
}

HandBackTarget* ConverterWindow::target() const {
    return targetIsObject_ && targetObject_.isNull() ? nullptr : target_;
}

void ConverterWindow::closePressed() {
    controls_.trsPanel->reset();
    hide();
}

bool ConverterWindow::event(QEvent* e) {
    if (e->type() == QEvent::WindowDeactivate && dialogDepth_ > 0) {
        deactivatedByDialog_ = true;
    } else if (e->type() == QEvent::WindowActivate) {
        // Coming back to the converter from another window drops an old preview; coming back
        // from one of its own message boxes does not.
        if (deactivatedByDialog_) {
            deactivatedByDialog_ = false;
        } else {
            controls_.trsPanel->clearPreview();
        }
    }
    return QWidget::event(e);
}

void ConverterWindow::tell(const std::string& message, Icon icon) {
    ++dialogDepth_;
    dialogs_.inform(message, {}, icon);
    --dialogDepth_;
}

void ConverterWindow::beep() {
    dialogs_.beep();
}

// ---------------------------------------------------------------------------------------------
// Keys, pastes and focus of the entry fields (the township-range-section panel minds its own)

bool ConverterWindow::eventFilter(QObject* watched, QEvent* e) {
    auto* edit = qobject_cast<QLineEdit*>(watched);
    const auto field = edit != nullptr ? fieldOf_.constFind(edit) : fieldOf_.constEnd();
    if (field == fieldOf_.constEnd() && (edit == nullptr || edit != controls_.gridReference)) {
        return QWidget::eventFilter(watched, e);
    }
    if (e->type() == QEvent::KeyPress && field != fieldOf_.constEnd()) {
        return angleFieldKey(edit, *field, static_cast<QKeyEvent*>(e));
    }
    if (e->type() == QEvent::FocusIn) {
        const auto* focus = static_cast<QFocusEvent*>(e);
        if (entry::userFocusReason(focus)) {
            entry::selectOnEntry(edit, focus);
        }
        return false;
    }
    if (e->type() == QEvent::FocusOut && edit == advancedInto_) {
        advancedInto_ = nullptr; // entered again later, it is entered afresh
    }
    return QWidget::eventFilter(watched, e);
}

bool ConverterWindow::angleFieldKey(QLineEdit* edit, Field field, const QKeyEvent* key) {
    if (!entry::insertsText(key)) {
        return false;
    }
    const bool atStart = entry::textBeforeTyping(edit).isEmpty();
    const bool justAdvanced = edit == advancedInto_;
    const TypedKey effect = typedKey(field, key->text().toUcs4().value(0), atStart, justAdvanced);
    if (effect != TypedKey::Drop) {
        advancedInto_ = nullptr;
    }
    switch (effect) {
    case TypedKey::Take:
        return false;
    case TypedKey::MoveOn:
        moveFocusOn(edit);
        return true;
    case TypedKey::Drop:
        return true;
    case TypedKey::Refuse:
        dialogs_.beep();
        return true;
    }
    return true;
}

bool ConverterWindow::pastedIntoAngleField(Field field, const QString& text) {
    const QString trimmed = text.trimmed();
    if (std::all_of(trimmed.begin(), trimmed.end(), [](QChar c) { return c.isDigit(); })) {
        return false; // digits: the field takes them as typed
    }
    const PointLine point = parsePointLine(str(trimmed));
    if (point.kind != PointLine::Kind::Point) {
        tell(point.problem);
        return true;
    }
    const PointTexts entry = pointTexts(fieldInfo(field).notation, point.latitude, point.longitude);
    if (!entry.problem.empty()) {
        tell(entry.problem);
        return true;
    }
    // As if the user had typed the point into the panel, field by field.
    for (const auto& [target, digits] : entry.texts) {
        model_.put(target, digits);
    }
    return true;
}

void ConverterWindow::applyAutoAdvance() {
    auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (edit == nullptr || edit->window() != this ||
        (!fieldOf_.contains(edit) && !controls_.trsPanel->isField(edit))) {
        return;
    }
    // With the whole text selected (just entered) the caret counts as standing at the start.
    const int caret = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
    const AutoAdvance decision = autoAdvance(str(edit->text()), edit->maxLength(), caret);
    switch (decision.action) {
    case AutoAdvance::Action::None:
        break;
    case AutoAdvance::Action::Cut:
        if (auto it = fieldOf_.constFind(edit); it != fieldOf_.constEnd()) {
            model_.put(*it, decision.text);
        } else {
            controls_.trsPanel->put(edit, QString::fromStdString(decision.text));
        }
        break;
    case AutoAdvance::Action::MoveOn:
        moveFocusOn(edit);
        advancedInto_ = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        break;
    }
}

void ConverterWindow::moveFocusOn(QWidget* from) {
    const std::vector<QWidget*>& order = controls_.tabOrder;
    const auto it = std::find(order.begin(), order.end(), from);
    if (it == order.end()) {
        return;
    }
    const auto start = static_cast<std::size_t>(it - order.begin());
    for (std::size_t step = 1; step < order.size(); ++step) {
        QWidget* next = order[(start + step) % order.size()];
        if (next->isEnabled() && next->isVisibleTo(this) &&
            (next->focusPolicy() & Qt::TabFocus) == Qt::TabFocus) {
            next->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Notations

void ConverterWindow::selectNotation(ConverterMode mode) {
    setUpNotation(mode);
    QLineEdit* first = nullptr;
    switch (mode) {
    case ConverterMode::TRS:
        controls_.trsPanel->enter();
        return;
    case ConverterMode::DD:
        first = controls_.field(Field::DDLongitudeDegrees);
        break;
    case ConverterMode::DMM:
        first = controls_.field(Field::DMMLongitudeDegrees);
        break;
    case ConverterMode::DMS:
        first = controls_.field(Field::DMSLongitudeDegrees);
        break;
    case ConverterMode::Grid:
        first = controls_.gridReference;
        break;
    case ConverterMode::None:
        return;
    }
    first->setFocus(Qt::OtherFocusReason);
    // A field that had the focus already gets no focus entry: select it all the same.
    if (first->hasFocus()) {
        first->selectAll();
    }
    if (mode != ConverterMode::Grid) {
        applyAutoAdvance();
    }
}

void ConverterWindow::setUpNotation(ConverterMode mode) {
    // The chosen notation's fields all come back, those a clamp at 90 or 180 had locked too.
    for (const FieldInfo& info : allFields()) {
        controls_.field(info.field)->setEnabled(modeOf(info.notation) == mode);
    }
    if (mode != ConverterMode::TRS) {
        controls_.trsPanel->lock();
    }
    controls_.gridReference->setEnabled(mode == ConverterMode::Grid);
    colourLabels(mode);
}

void ConverterWindow::colourLabels(ConverterMode mode) {
    for (const auto& [labelsMode, labels] : controls_.modeLabels) {
        const QString style =
            QString::fromLatin1(labelsMode == mode ? entry::activeStyle : entry::inactiveStyle);
        for (QWidget* w : labels) {
            w->setStyleSheet(style);
        }
    }
}

// ---------------------------------------------------------------------------------------------
// What the model asks of the window

void ConverterWindow::showMessage(const std::string& message) {
    tell(message);
}

void ConverterWindow::showFieldText(Field field, const std::string& text) {
    entry::showProgramText(controls_.field(field), QString::fromStdString(text));
}

void ConverterWindow::lockField(Field field) {
    controls_.field(field)->setEnabled(false);
}

void ConverterWindow::refused(Field field) {
    // Selected, so the user's next try replaces it (the caret still counts as at the start).
    // The message box has taken the activation, so ask whether the field is where this
    // window's focus returns, not whether it has the focus now.
    QLineEdit* edit = controls_.field(field);
    if (edit == focusWidget()) {
        edit->selectAll();
    }
}

void ConverterWindow::advance() {
    applyAutoAdvance();
}

void ConverterWindow::resultsChanged() {
    showResults();
    handBack();
}

// ---------------------------------------------------------------------------------------------
// Results and hand-back

void ConverterWindow::showResults() {
    const HandBackTexts& r = model_.results();
    const std::pair<QLabel*, const std::string*> shown[] = {{controls_.latitude, &r.latitude},
                                                            {controls_.longitude, &r.longitude},
                                                            {controls_.albersEasting, &r.albersX},
                                                            {controls_.albersNorthing, &r.albersY},
                                                            {controls_.utm, &r.utm},
                                                            {controls_.usng, &r.usng}};
    for (const auto& [label, text] : shown) {
        label->setText(QString::fromStdString(*text));
    }
}

void ConverterWindow::handBack() {
    if (HandBackTarget* receiver = target()) {
        receiver->receiveCoordinates(model_.results());
    }
}

void ConverterWindow::located(double latitude, double longitude) {
    model_.setLocation(latitude, longitude);
}

void ConverterWindow::notLocated() {
    model_.showNoLocation();
    showResults();
}

void ConverterWindow::latitudeLongitudeCleared() {
    model_.clearLatitudeLongitude();
    showResults();
}

void ConverterWindow::gridReferenceEntered() {
    QLineEdit* field = controls_.gridReference;
    if (field->text().trimmed().isEmpty()) {
        return;
    }
    // The same reader as siteward-coords: a latitude and longitude, a USNG reference or a UTM
    // coordinate.
    const PointLine point = parseInputLine(str(field->text()), InputForm::Any);
    if (point.kind != PointLine::Kind::Point) {
        // Refused: the target keeps what it has, and the reference stays to be corrected.
        tell(point.problem);
        entry::returnFocusTo(field);
        return;
    }
    model_.setLocation(point.latitude, point.longitude);
}

} // namespace sw
