#include "facilities/output_lock.h"

#include <QEvent>
#include <QFocusEvent>
#include <QPalette>
#include <QPushButton>
#include <QWidget>

namespace sw {

void setBackground(QWidget* widget, const QColor& background, const QColor& text) {
    QPalette palette = widget->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Window, background);
        palette.setColor(group, QPalette::Button, background);
        palette.setColor(group, QPalette::Base, background);
        if (group != QPalette::Disabled) {
            palette.setColor(group, QPalette::WindowText, text);
            palette.setColor(group, QPalette::ButtonText, text);
            palette.setColor(group, QPalette::Text, text);
        }
    }
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

OutputLock::OutputLock(QList<QPushButton*> buttons, QObject* parent)
    : QObject(parent), buttons_(std::move(buttons)) {}

void OutputLock::lock() {
    unlocked_ = false;
    for (QPushButton* button : buttons_) {
        button->setEnabled(false);
        setBackground(button, kLockedButtonColour);
    }
}

void OutputLock::unlock() {
    unlocked_ = true;
    for (QPushButton* button : buttons_) {
        button->setEnabled(true);
        setBackground(button, kUnlockedButtonColour);
    }
}

void OutputLock::lockOnFocus(QWidget* control) {
    control->installEventFilter(this);
}

bool OutputLock::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            lock();
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace sw
