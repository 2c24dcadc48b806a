#pragma once
// The one seam through which every window talks to the user modally: message boxes,
// yes/no questions, the one-line input box, open and save file dialogs, the bell and the
// wait cursor. Windows receive a Dialogs&; the program passes the Qt implementation, tests
// pass a scripted double that answers in advance and records what was shown.

#include <optional>
#include <string>

namespace sw {

// The title a message box carries when its caller names none.
inline constexpr const char* kProgramTitle = "Siteward";

enum class Icon { None, Information, Warning, Critical, Question };
enum class Buttons { Ok, YesNo };
enum class Answer { Ok, Yes, No };

struct MessageRequest {
    std::string text;
    std::string title; // empty: the program's title
    Icon icon = Icon::None;
    Buttons buttons = Buttons::Ok;
    Answer defaultButton = Answer::Ok; // for Yes/No: which button Enter presses

    bool operator==(const MessageRequest&) const = default;
};

struct InputRequest {
    std::string prompt;
    std::string title; // empty: the program's title
    std::string defaultText;

    bool operator==(const InputRequest&) const = default;
};

// File dialog settings in the classic form: the filter is "Caption(*.ext)|*.ext" pairs joined
// by "|", the filter index counts from 1 and falls back to the first entry when out of range.
struct FileRequest {
    enum class Kind { Open, Save };
    Kind kind = Kind::Open;
    std::string title;
    std::string fileName;         // preset file name (may carry a folder)
    std::string defaultExtension; // ".txt": added when the user types a name without one
    std::string filter;
    int filterIndex = 1;
    bool hideReadOnly = false;

    bool operator==(const FileRequest&) const = default;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual Answer message(const MessageRequest& request) = 0;
    // The typed text, or nothing when the user cancelled.
    virtual std::optional<std::string> input(const InputRequest& request) = 0;
    // The chosen path, or nothing when the user cancelled.
    virtual std::optional<std::string> file(const FileRequest& request) = 0;
    virtual void beep() = 0;
    virtual void setWaitCursor(bool on) = 0;

    // Shorthands for the common boxes.
    void inform(const std::string& text, const std::string& title = {}, Icon icon = Icon::None) {
        message({text, title, icon, Buttons::Ok, Answer::Ok});
    }
    bool askYesNo(const std::string& text, const std::string& title, Icon icon,
                  Answer defaultButton = Answer::Yes) {
        return message({text, title, icon, Buttons::YesNo, defaultButton}) == Answer::Yes;
    }
};

// Shows the wait cursor for as long as it lives, so an early return cannot leave it on.
class WaitCursor {
public:
    explicit WaitCursor(Dialogs& dialogs) : dialogs_(dialogs) { dialogs_.setWaitCursor(true); }
    ~WaitCursor() { dialogs_.setWaitCursor(false); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    Dialogs& dialogs_;
};

} // namespace sw
