#include "ui/window_registry.h"

namespace sw {

WindowRegistry::~WindowRegistry() {
    for (const auto& window : std::as_const(instances_)) {
        delete window.data();
    }
}

void WindowRegistry::setFactory(const QString& form, Factory factory, OnClose onClose) {
    kinds_.insert(form, {std::move(factory), onClose});
}

QWidget* WindowRegistry::instance(const QString& form) {
    if (QWidget* live = existing(form)) {
        return live;
    }
    auto kind = kinds_.constFind(form);
    if (kind == kinds_.constEnd()) {
        return nullptr;
    }
    QWidget* window = kind->factory();
    window->setObjectName(form);
    window->setAttribute(Qt::WA_DeleteOnClose, kind->onClose == OnClose::Destroy);
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
