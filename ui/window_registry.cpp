#include "ui/window_registry.h"

#include "ui/window_accessibility.h"

#include <QAbstractButton>
#include <QEvent>

namespace sw {
namespace {

// Turns the window system's close box into a press of the window's leave button. The press
// comes after the close event has been turned down, so the button closes, hides or unloads
// the window as it always does, outside the window system's close.
class CloseBoxPresses : public QObject {
public:
    CloseBoxPresses(QWidget* window, QString button) : QObject(window), button_(std::move(button)) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // The program's own closing (unloading) is not spontaneous and goes through.
        if (event->type() == QEvent::Close && event->spontaneous()) {
            if (auto* button = watched->findChild<QAbstractButton*>(button_)) {
                event->ignore();
                QMetaObject::invokeMethod(button, &QAbstractButton::click, Qt::QueuedConnection);
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QString button_;
};

} // namespace

WindowRegistry::~WindowRegistry() {
    for (const auto& window : std::as_const(instances_)) {
        delete window.data();
    }
}

void WindowRegistry::setFactory(const QString& form, Factory factory, OnClose onClose,
                                const QString& leaveButton) {
    kinds_.insert(form, {std::move(factory), onClose, leaveButton});
}

QWidget* WindowRegistry::instance(const QString& form) {
    if (QWidget* live = existing(form)) {
        return live;
    }
    auto kind = kinds_.constFind(form);
    if (kind == kinds_.constEnd()) {
        return nullptr;
    }
    // Before the first window is made: screen readers must meet every window of ours as a
    // window, and an object's accessible interface is made once.
    announceWindowsAsWindows();
    QWidget* window = kind->factory();
    window->setObjectName(form);
    window->setAttribute(Qt::WA_DeleteOnClose, kind->onClose == OnClose::Destroy);
    if (!kind->leaveButton.isEmpty()) {
        new CloseBoxPresses(window, kind->leaveButton);
    }
    instances_.insert(form, window);
    return window;
}

QWidget* WindowRegistry::existing(const QString& form) const {
    auto it = instances_.constFind(form);
    return it == instances_.constEnd() ? nullptr : it->data();
}

QWidget* WindowRegistry::show(const QString& form) {
    QWidget* window = instance(form);
    if (window != nullptr) {
        window->show();
        window->raise();
        window->activateWindow();
    }
    return window;
}

void WindowRegistry::close(const QString& form) {
    if (QWidget* window = existing(form)) {
        window->close();
        if (!window->testAttribute(Qt::WA_DeleteOnClose)) {
            window->deleteLater();
        }
    }
}

} // namespace sw
