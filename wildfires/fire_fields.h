#pragma once
// The fire record's typed fields as every window that takes a fire record wires them: masked
// date fields checked when left, the area that takes only number keys and is shown as
// "##,##0.00" when left, the percent-contained slider and its text kept together, and the
// fuel and cause boxes that suggest but do not restrict. The windows differ only in layout,
// in the date form, and in what else they hold.

#include "taskwindow/clock.h"
#include "wildfires/fire_record.h"

#include <QObject>
#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
class QSlider;
class QWidget;

namespace sw {

class Dialogs;

// The controls, built to the fire record's rules. The fuel and cause boxes suggest without
// completing while the user types: a completion pop-up would take the click meant for the next
// field, and inline completion would change what was typed.
QLineEdit* makeDateField(const char* name, DateForm form);
QComboBox* makeSuggestionBox(const char* name, const std::vector<std::string>& items);
QSlider* makePercentSlider(const char* name);

struct FireFieldControls {
    QLineEdit* entryDate = nullptr;
    QLineEdit* startDate = nullptr;
    QLineEdit* area = nullptr;
    QSlider* percentSlider = nullptr;
    QLineEdit* percentText = nullptr;
};

// Where the completeness check sends the user for each missing value (a window without
// coordinates gives none for them; the name field stands in).
struct FireCheckControls {
    QWidget* name = nullptr;
    QWidget* incident = nullptr;
    QWidget* coordinates = nullptr;
    QWidget* entryDate = nullptr;
    QWidget* fuel = nullptr;
    QWidget* cause = nullptr;
    QWidget* area = nullptr;
    QWidget* percent = nullptr;
};
void focusMissing(FireField field, const FireCheckControls& controls);

// The rules of those controls, installed on them for the life of this object.
class FireFieldRules : public QObject {
    Q_OBJECT
public:
    FireFieldRules(Dialogs& dialogs, DateForm form, Clock clock, FireFieldControls controls,
                   QObject* parent = nullptr);

    // Both date fields show today.
    void setDatesToToday();

    // What leaving the area and the percent fields gives, applied now: a field can lose its
    // focus unseen (to a window that was not active), and what is checked and written must be
    // what leaving it gives. False, after the message and with the focus in the field, when
    // the area is not a number or a date is no calendar date.
    bool settle();
    void setToday(QLineEdit* dateField);

    // Leaving a field is something the user does; focus lost to another window or a pop-up
    // is not. Also for the window's own focus rules.
    static bool userFocusReason(Qt::FocusReason reason);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void checkDate(QLineEdit* dateField);
    void leaveArea();
    void leavePercent();
    void returnFocusTo(QLineEdit* field);

    Dialogs& dialogs_;
    DateForm form_;
    Clock clock_;
    FireFieldControls controls_;
};

} // namespace sw
