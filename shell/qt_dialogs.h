#pragma once
// The program's real dialogs: Qt message boxes, input box and file dialogs behind the one
// seam that every window talks through.

#include "services/base/dialogs.h"

#include <QString>
#include <QStringList>

class QWidget;

namespace sw {

class QtDialogs : public Dialogs {
public:
    QtDialogs();
    ~QtDialogs() override;
    QtDialogs(const QtDialogs&) = delete;
    QtDialogs& operator=(const QtDialogs&) = delete;

    Answer message(const MessageRequest& request) override;
    std::optional<std::string> input(const InputRequest& request) override;
    std::optional<std::string> file(const FileRequest& request) override;
    void beep() override;
    void setWaitCursor(bool on) override;

    // The window a box opens over: the window asking through its WindowDialogs, or, for a
    // request made without one, the active window. Without an owner a box opens in the middle
    // of the screen, away from its window.
    static QWidget* owner();

private:
    int waitDepth_ = 0;
};

// "Text Files(*.txt)|*.txt|All(*.*)|*.*" -> {"Text Files (*.txt)", "All (*.*)"}: the classic
// caption|pattern pairs as Qt name filters. The pattern after the bar is what filters; the
// caption's own parenthesised text is only for show and is replaced by the real pattern.
QStringList qtNameFilters(const std::string& classicFilter);

} // namespace sw
