#pragma once
// Applies the entry rule for names to a text box or an editable drop-down: a keystroke that
// would type a restricted character is dropped with the "Input Error" box, and the text is
// cleaned whenever the focus leaves the control. Pasted or program-set text is not filtered
// while it arrives; the cleaning on leaving covers it.

#include <QObject>

class QComboBox;
class QCompleter;
class QLineEdit;
class QWidget;

namespace sw {

class Dialogs;

class EntryRuleGuard : public QObject {
    Q_OBJECT
public:
    EntryRuleGuard(Dialogs& dialogs, QObject* parent = nullptr);

    // Guard a control once its completer (if any) is set up.
    void guard(QLineEdit* field);
    void guard(QComboBox* box); // must be editable

    // Cleans the control's text now (also used by a window's own checks before it reads it).
    static void clean(QLineEdit* field);
    static void clean(QComboBox* box);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watchSuggestions(QCompleter* completer);

    Dialogs& dialogs_;
};

} // namespace sw
