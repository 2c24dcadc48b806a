#pragma once
// The dialog seam as one window sees it. A box, input box or file dialog must open over the
// window that asked for it, whichever window is active at that moment: none is while the
// activation is still on its way back from a file dialog that just closed, another one may be
// when a screen reader or an automation tool presses a button, and the converter that was
// active last may be hidden by then. So the owner is never guessed from the activation: every
// window asks through a WindowDialogs of its own, which names it as the asking window for as
// long as the program's dialogs show the request.

#include "services/base/dialogs.h"

#include <QObject>
#include <QPointer>

class QWidget;

namespace sw {

class WindowDialogs final : public QObject, public Dialogs {
public:
    // `program`: the dialogs every window shares; they must outlive this object.
    explicit WindowDialogs(Dialogs& program);

    // The window it speaks for. It becomes that window's child, so it goes with the window
    // after everything the window built in its constructor.
    void attachTo(QWidget* window);

    Answer message(const MessageRequest& request) override;
    std::optional<std::string> input(const InputRequest& request) override;
    std::optional<std::string> file(const FileRequest& request) override;
    void beep() override;
    void setWaitCursor(bool on) override;

private:
    Dialogs& program_;
    QPointer<QWidget> window_;
};

// The window whose request is being shown now, or nullptr outside a request made through a
// WindowDialogs.
QWidget* askingWindow();

} // namespace sw
