#pragma once
// The fire record's typed fields as every window that takes a fire record wires them: masked
// date fields checked when left, the area that takes only number keys and is shown as
// "##,##0.00" when left, the percent-contained slider and its text kept together, and the
// fuel and cause boxes that suggest but do not restrict. The windows differ only in layout,
// in the date form, and in what else they hold.

#include "wildfires/fire_dates.h"

#include <QObject>
#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
class QSlider;

namespace sw {

class Dialogs;

// The controls, built to the fire record's rules.
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

// The rules of those controls, installed on them for the life of this object.
class FireFieldRules : public QObject {
    Q_OBJECT
public:
    using Today = std::function<std::chrono::year_month_day()>;

    FireFieldRules(Dialogs& dialogs, DateForm form, Today today, FireFieldControls controls,
                   QObject* parent = nullptr);

    // Both date fields show today.
    void setDatesToToday();
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
    Today today_;
    FireFieldControls controls_;
};

} // namespace sw
