#pragma once
// The rules of the fire form's typed fields (wildfires/fire_form.h): masked date fields
// checked when left, the area that takes only number keys and is shown as "##,##0.00" when
// left, and the percent-contained slider and its text kept together.

#include "taskwindow/clock.h"
#include "wildfires/fire_record.h"

#include <QObject>

class QLineEdit;
class QSlider;

namespace sw {

class Dialogs;

struct FireFieldControls {
    QLineEdit* entryDate = nullptr;
    QLineEdit* startDate = nullptr;
    QLineEdit* area = nullptr;
    QSlider* percentSlider = nullptr;
    QLineEdit* percentText = nullptr;
};

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
