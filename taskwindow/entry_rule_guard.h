#pragma once
// Applies the entry rule for names to a text box or an editable drop-down: a keystroke that
// would type a restricted character is dropped with the "Input Error" box, and the text is
// cleaned whenever the focus leaves the control. Pasted or program-set text is not filtered
// while it arrives; the cleaning on leaving covers it.

#include <QObject>
#include <functional>
#include <string>
#include <string_view>

class QComboBox;
class QCompleter;
class QLineEdit;
class QWidget;

namespace sw {

class Dialogs;

class EntryRuleGuard : public QObject {
    Q_OBJECT
public:
    // The cleaning applied to a control's text: cleanName (entry_rule.h), unless a window keeps
    // some values of its own whole (the fire form's "N/A").
    using Cleaning = std::function<std::string(std::string_view)>;

    explicit EntryRuleGuard(Dialogs& dialogs, QObject* parent = nullptr, Cleaning cleaning = {});

    // Guard a control once its completer (if any) is set up.
    void guard(QLineEdit* field);
    void guard(QComboBox* box); // must be editable

    // Cleans the control's text now (also used by a window's own checks before it reads it).
    static void clean(QLineEdit* field, const Cleaning& cleaning = {});
    static void clean(QComboBox* box, const Cleaning& cleaning = {});

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watchSuggestions(QCompleter* completer);

    Dialogs& dialogs_;
    Cleaning cleaning_;
};

} // namespace sw
