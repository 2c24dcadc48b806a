#pragma once
// The program's real dialogs: Qt message boxes, input box and file dialogs behind the one
// seam that every window talks through.

#include "services/dialogs.h"

#include <QString>
#include <QStringList>

namespace sw {

class QtDialogs : public Dialogs {
public:
    Answer message(const MessageRequest& request) override;
    std::optional<std::string> input(const InputRequest& request) override;
    std::optional<std::string> file(const FileRequest& request) override;
    void beep() override;
    void setWaitCursor(bool on) override;

private:
    int waitDepth_ = 0;
};

// "Text Files(*.txt)|*.txt|All(*.*)|*.*" -> {"Text Files (*.txt)", "All (*.*)"}: the classic
// caption|pattern pairs as Qt name filters. The pattern after the bar is what filters; the
// caption's own parenthesised text is only for show and is replaced by the real pattern.
QStringList qtNameFilters(const std::string& classicFilter);

} // namespace sw
