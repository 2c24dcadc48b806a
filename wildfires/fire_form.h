#pragma once
// The fire attributes form: the fields of a fire record as a window shows them, built once for
// every window that takes one (the Wildfires window and the KML conversion window). It owns
// the controls and their rules: the name, incident number and report rows; the dates, area,
// fuel, cause, percent contained and significance in a group of their own; the lists they
// offer; the entry rule and its cleaning; the presets a kind of feature puts in; and the
// completeness check in the order the user is asked. A window places the two parts in its own
// layout, adds what is its own (coordinates, feature category, outputs) and wires its buttons.
//
//     form_ = new FireAttributesForm(dialogs, clock, {DateForm::FourDigitYear, ...}, this);
//     row = form_->addIdentityRows(grid, row);
//     column->addWidget(form_->details());
//     outputs_->setCheck([this] { return form_->checkComplete(); });

#include "taskwindow/clock.h"
#include "taskwindow/entry_rule_guard.h"
#include "wildfires/fire_record.h"

#include <QList>
#include <QObject>
#include <string>
#include <vector>

class QButtonGroup;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSlider;
class QWidget;

namespace sw {

class Dialogs;
class FireFieldRules;
class ResultPanel;

// Fills an editable list afresh with `items`, nothing chosen and its text empty.
void offerItems(QComboBox* box, const std::vector<std::string>& items);

// What differs between the windows that show the form.
struct FireFormSetup {
    DateForm dates;
    NotApplicable notApplicable;  // the extra "N/A" report and significance options
    const char* nameCaption;      // "Fire Name:" (Wildfires), "Fire Name" (KML conversion)
    const char* entryDateCaption; // "Date/Time of Entry,mm/dd/yyyy:", "Date/Time of Entry:"
    const char* startDateCaption; // "Fire Start Date, mm/dd/yyyy:", "Fire Start Date, mm/dd/yy:"
    const char* detailsTitle;     // the group from the dates to significance: "Fire", ...
    const char* detailsName;      // ... and its object name: "frmpFire", "frmAttributes"
    // Shown right of the area field (the KML conversion window's drawn area), or none.
    QWidget* besideArea = nullptr;
};

// What "Clear Values" does to the form; the windows differ in the dates, the area and the
// percent. Name, incident number, fuel and cause always become empty; report type and
// significance stay.
struct FireClearing {
    enum class Percent { SliderToZero, TextEmptied };
    bool datesToToday;
    const char* area; // "0.00", "0"
    Percent percent;
};

// The form's controls, for a window's tab order and its own clearing.
struct FireFormControls {
    QLabel* nameCaption = nullptr;
    QLineEdit* name = nullptr;
    QLineEdit* incident = nullptr;
    QList<QRadioButton*> reportOptions; // Initial, Update, Final (, N/A)
    QLineEdit* entryDate = nullptr;
    QLabel* startDateCaption = nullptr;
    QLineEdit* startDate = nullptr;
    QLineEdit* area = nullptr;
    QComboBox* fuel = nullptr;
    QComboBox* cause = nullptr;
    QSlider* percentSlider = nullptr;
    QLineEdit* percentText = nullptr;
    QList<QRadioButton*> significanceOptions; // Yes, No (, N/A)
};

class FireAttributesForm : public QObject {
    Q_OBJECT
public:
    // `clock` gives the date the date fields start from and are checked against. The controls
    // belong to `window` once it has placed them.
    FireAttributesForm(Dialogs& dialogs, Clock clock, const FireFormSetup& setup, QWidget* window);
    ~FireAttributesForm() override;

    // The name, incident number and report rows, put into a window's two-column grid (caption,
    // field; the report frame spans both) from `row` on. Returns the next free row.
    int addIdentityRows(QGridLayout* grid, int row) const;
    // The group from the entry date to significance, for the window to place.
    QGroupBox* details() const { return details_; }
    const FireFormControls& controls() const { return controls_; }
    // Every control the user changes the record with: a window locks its outputs when one of
    // them gets the focus.
    QList<QWidget*> inputs() const;

    // The record takes its coordinates from `location`, and the check asks for them and sends
    // the user to `converterButton` when they are missing.
    void setLocation(const ResultPanel* location, QWidget* converterButton);

    // The record exactly as the form shows it (coordinates empty without a location).
    FireRecord record() const;

    // Cleans the four name fields and settles the area, percent and dates as leaving them
    // would, then checks that nothing required is missing. False after the message, with the
    // focus where the user must act.
    bool checkComplete();

    // What a kind of feature puts in (captions, slider, incident number, fuel and cause; the
    // "N/A" options where the form has them).
    void applyPresets(const FirePresets& presets);
    void clear(const FireClearing& clearing);

private:
    void setDatesToToday();
    void buildIdentity(const FireFormSetup& setup);
    QGroupBox* buildSignificance(NotApplicable na);
    void buildDetails(const FireFormSetup& setup);
    void recordChoices();
    void focusMissing(FireField field);

    Dialogs& dialogs_;
    NotApplicable notApplicable_;
    EntryRuleGuard::Cleaning cleaning_;
    FireFormControls controls_;
    QLabel* incidentCaption_ = nullptr;
    QGroupBox* reportFrame_ = nullptr;
    QButtonGroup* reportGroup_ = nullptr;
    QButtonGroup* significanceGroup_ = nullptr;
    QGroupBox* details_ = nullptr;
    EntryRuleGuard* entryRule_ = nullptr;
    FireFieldRules* fieldRules_ = nullptr;
    const ResultPanel* location_ = nullptr;
    QWidget* converterButton_ = nullptr;
    // The recorded report type and significance: what the option last chosen (or a preset)
    // says, which un-choosing an option does not change.
    std::string reportType_;
    std::string significance_;
};

} // namespace sw
