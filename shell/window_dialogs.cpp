#include "shell/window_dialogs.h"

#include <QWidget>

namespace sw {
namespace {

QPointer<QWidget>& asking() {
    static QPointer<QWidget> window;
    return window;
}

// Names the asking window for the length of one request; a request made while another one is
// shown (a box asked from inside a modal loop) restores the outer asker when it ends.
class Asking {
public:
    explicit Asking(QWidget* window) : previous_(asking()) { asking() = window; }
    ~Asking() { asking() = previous_; }
    Asking(const Asking&) = delete;
    Asking& operator=(const Asking&) = delete;

private:
    QPointer<QWidget> previous_;
};

} // namespace

WindowDialogs::WindowDialogs(Dialogs& program) : program_(program) {}

void WindowDialogs::attachTo(QWidget* window) {
    window_ = window;
    setParent(window);
}

Answer WindowDialogs::message(const MessageRequest& request) {
    const Asking asker(window_);
    return program_.message(request);
}

std::optional<std::string> WindowDialogs::input(const InputRequest& request) {
    const Asking asker(window_);
    return program_.input(request);
}

std::optional<std::string> WindowDialogs::file(const FileRequest& request) {
    const Asking asker(window_);
    return program_.file(request);
}

void WindowDialogs::beep() {
    program_.beep();
}

void WindowDialogs::setWaitCursor(bool on) {
    program_.setWaitCursor(on);
}

QWidget* askingWindow() {
    return asking().data();
}

} // namespace sw
