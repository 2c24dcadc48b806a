#include "taskwindow/output_lock.h"

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
    if (qobject_cast<QPushButton*>(widget) != nullptr) {
        // The style paints buttons with a gradient drawn from the palette, which washes a
        // light yellow out to near white; the lock colours must show as they are, so the
        // button gets a plain fill with a frame of its own.
        widget->setStyleSheet(
            QStringLiteral("QPushButton { background-color: %1; color: %2;"
                           " border: 1px solid #8c8c8c; border-radius: 3px; padding: 3px 8px; }"
                           " QPushButton:disabled { color: #808080; }"
                           " QPushButton:focus { border-color: palette(highlight); }"
                           " QPushButton:pressed { background-color: %3; }")
                .arg(background.name(), text.name(), background.darker(115).name()));
    }
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
