#include "taskwindow/entry_rule_guard.h"

#include "taskwindow/entry_rule.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace sw {

namespace {

QString cleaned(const QString& text, const EntryRuleGuard::Cleaning& cleaning) {
    const std::string typed = text.toStdString();
    return QString::fromStdString(cleaning ? cleaning(typed) : cleanName(typed));
}

} // namespace

EntryRuleGuard::EntryRuleGuard(Dialogs& dialogs, QObject* parent, Cleaning cleaning)
    : QObject(parent), dialogs_(dialogs), cleaning_(std::move(cleaning)) {}

void EntryRuleGuard::guard(QLineEdit* field) {
    field->installEventFilter(this);
    watchSuggestions(field->completer());
}

void EntryRuleGuard::guard(QComboBox* box) {
    // Keys and focus arrive at the box itself, which hands keys on to its line edit.
    box->installEventFilter(this);
    watchSuggestions(box->completer());
}

void EntryRuleGuard::watchSuggestions(QCompleter* completer) {
    // While suggestions show, keys go to their pop-up, which hands them straight to the field,
    // past any filter on it; so the pop-up is filtered too.
    if (completer != nullptr) {
        completer->popup()->installEventFilter(this);
    }
}

void EntryRuleGuard::clean(QLineEdit* field, const Cleaning& cleaning) {
    const QString text = cleaned(field->text(), cleaning);
    if (text != field->text()) {
        field->setText(text);
    }
}

void EntryRuleGuard::clean(QComboBox* box, const Cleaning& cleaning) {
    const QString text = cleaned(box->currentText(), cleaning);
    if (text != box->currentText()) {
        box->setEditText(text);
    }
}

bool EntryRuleGuard::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (containsRestrictedCharacter(key->text().toStdString())) {
            if (auto* suggestions = qobject_cast<QAbstractItemView*>(watched)) {
                suggestions->hide();
            }
            dialogs_.message(restrictedCharacterMessage());
            return true; // dropped
        }
    } else if (event->type() == QEvent::FocusOut) {
        // A message box or the window losing activation is not leaving the field: cleaning then
        // would trim the blank just typed between two words.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            if (auto* field = qobject_cast<QLineEdit*>(watched)) {
                clean(field, cleaning_);
            } else if (auto* box = qobject_cast<QComboBox*>(watched)) {
                clean(box, cleaning_);
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace sw
