#pragma once
// A Dialogs double for tests: answers are scripted in advance, in order, per kind of dialog;
// everything shown is recorded so a test can assert the exact texts, titles, icons and buttons.
// An unscripted question, input box or file dialog fails the test and answers "cancel" (or
// the default button), so no test ever blocks on a modal dialog.

#include "services/base/dialogs.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace sw::test {

class ScriptedDialogs : public Dialogs {
public:
    // Script the next answers.
    ScriptedDialogs& answerNext(Answer answer);
    ScriptedDialogs& inputNext(std::optional<std::string> text);
    ScriptedDialogs& fileNext(std::optional<std::string> path);

    Answer message(const MessageRequest& request) override;
    std::optional<std::string> input(const InputRequest& request) override;
    std::optional<std::string> file(const FileRequest& request) override;
    void beep() override;
    void setWaitCursor(bool on) override;

    // What was shown, in order of kind.
    std::vector<MessageRequest> messages;
    std::vector<InputRequest> inputs;
    std::vector<FileRequest> files;
    int beeps = 0;
    bool waitCursorOn = false;
    int waitCursorShown = 0;
    // One line per interaction, in the order they happened ("message: text", "input: prompt",
    // "file: filter", "beep", "wait on", "wait off").
    std::vector<std::string> log;

    // The texts of the message boxes shown so far.
    std::vector<std::string> messageTexts() const;
    // True when every scripted answer was used.
    bool allAnswersUsed() const;
    void clear();

private:
    std::deque<Answer> answers_;
    std::deque<std::optional<std::string>> inputAnswers_;
    std::deque<std::optional<std::string>> fileAnswers_;
};

} // namespace sw::test
