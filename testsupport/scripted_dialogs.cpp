#include "testsupport/scripted_dialogs.h"

#include <gtest/gtest.h>

namespace sw::test {

ScriptedDialogs& ScriptedDialogs::answerNext(Answer answer) {
    answers_.push_back(answer);
    return *this;
}

ScriptedDialogs& ScriptedDialogs::inputNext(std::optional<std::string> text) {
    inputAnswers_.push_back(std::move(text));
    return *this;
}

ScriptedDialogs& ScriptedDialogs::fileNext(std::optional<std::string> path) {
    fileAnswers_.push_back(std::move(path));
    return *this;
}

Answer ScriptedDialogs::message(const MessageRequest& request) {
    messages.push_back(request);
    log.push_back("message: " + request.text);
    if (request.buttons == Buttons::Ok) {
        // An OK box needs no script; a scripted answer queued for it would be a test mistake.
        return Answer::Ok;
    }
    if (answers_.empty()) {
        ADD_FAILURE() << "unscripted question: " << request.text;
        return request.defaultButton;
    }
    Answer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

std::optional<std::string> ScriptedDialogs::input(const InputRequest& request) {
    inputs.push_back(request);
    log.push_back("input: " + request.prompt);
    if (inputAnswers_.empty()) {
        ADD_FAILURE() << "unscripted input box: " << request.prompt;
        return std::nullopt;
    }
    auto answer = inputAnswers_.front();
    inputAnswers_.pop_front();
    return answer;
}

std::optional<std::string> ScriptedDialogs::file(const FileRequest& request) {
    files.push_back(request);
    log.push_back("file: " + request.filter);
    if (fileAnswers_.empty()) {
        ADD_FAILURE() << "unscripted file dialog: " << request.filter;
        return std::nullopt;
    }
    auto answer = fileAnswers_.front();
    fileAnswers_.pop_front();
    return answer;
}

void ScriptedDialogs::beep() {
    ++beeps;
    log.push_back("beep");
}

void ScriptedDialogs::setWaitCursor(bool on) {
    waitCursorOn = on;
    if (on) {
        ++waitCursorShown;
    }
    log.push_back(on ? "wait on" : "wait off");
}

std::vector<std::string> ScriptedDialogs::messageTexts() const {
    std::vector<std::string> texts;
    for (const auto& m : messages) {
        texts.push_back(m.text);
    }
    return texts;
}

bool ScriptedDialogs::allAnswersUsed() const {
    return answers_.empty() && inputAnswers_.empty() && fileAnswers_.empty();
}

void ScriptedDialogs::clear() {
    messages.clear();
    inputs.clear();
    files.clear();
    log.clear();
    beeps = 0;
    waitCursorShown = 0;
}

} // namespace sw::test
