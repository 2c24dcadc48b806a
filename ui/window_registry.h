#pragma once
// The window registry: at most one instance of each window kind, created the first time
// anything asks for it and reused afterwards, so a window shown again keeps what the user
// typed. Windows are found by their form name ("swFac", "sw_ddc_0306", ...).

#include "ui/window_kinds.h"

#include <QHash>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

namespace sw {

class WindowRegistry {
public:
    using Factory = std::function<QWidget*()>;

    // What closing a window does. Task windows and the converter live until the program
    // unloads them, so closing one only hides it and its next showing finds it as it was left;
    // the main window and About are destroyed when closed.
    enum class OnClose { Hide, Destroy };

    WindowRegistry() = default;
    // Windows still alive (hidden ones included) go with the registry.
    ~WindowRegistry();
    WindowRegistry(const WindowRegistry&) = delete;
    WindowRegistry& operator=(const WindowRegistry&) = delete;

    // How to build a window kind. The factory's widget gets the form name as object name.
    // `leaveButton`: the window's own way out ("E&xit", "&Close"), which the window system's
    // close box then presses instead of closing the window itself, so the close box hides,
    // clears or unloads the window exactly as that button does.
    void setFactory(const QString& form, Factory factory, OnClose onClose = OnClose::Hide,
                    const QString& leaveButton = {});

    // The live instance, created on first use; nullptr for a kind without a factory.
    QWidget* instance(const QString& form);
    // The live instance, or nullptr when none exists (never creates one).
    QWidget* existing(const QString& form) const;
    // Create if needed, show, raise and activate; returns the instance.
    QWidget* show(const QString& form);
    // Unloads the instance if there is one: closes and destroys it, whatever its close box
    // does; the next request builds a fresh one. A kind never opened is left alone.
    void close(const QString& form);

    template <class T> T* instanceAs(const QString& form) {
        return qobject_cast<T*>(instance(form));
    }
    template <class T> T* existingAs(const QString& form) const {
        return qobject_cast<T*>(existing(form));
    }

private:
    struct Kind {
        Factory factory;
        OnClose onClose = OnClose::Hide;
        QString leaveButton;
    };
    QHash<QString, Kind> kinds_;
    QHash<QString, QPointer<QWidget>> instances_;
};

} // namespace sw
