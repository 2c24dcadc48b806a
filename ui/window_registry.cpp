#include "ui/window_registry.h"

namespace sw {

WindowRegistry::~WindowRegistry() {
    for (const auto& window : std::as_const(instances_)) {
        delete window.data();
    }
}

void WindowRegistry::setFactory(const QString& form, Factory factory) {
    factories_.insert(form, std::move(factory));
}

QWidget* WindowRegistry::instance(const QString& form) {
    if (QWidget* live = existing(form)) {
        return live;
    }
    auto factory = factories_.constFind(form);
    if (factory == factories_.constEnd()) {
        return nullptr;
    }
    QWidget* window = (*factory)();
    window->setObjectName(form);
    // A closed window is destroyed; the next request builds a fresh one.
    window->setAttribute(Qt::WA_DeleteOnClose, true);
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
    }
}

} // namespace sw
