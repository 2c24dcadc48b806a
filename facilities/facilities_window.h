#pragma once
// The Facilities and Incidents window: one facility, incident feature or forest-health point
// at a time. The user picks a category and a type, types a name, gets the coordinates from the
// converter (which hands them to this window's result panel), unlocks the output buttons and
// writes the point as text, shapefile or KML. The window only wires its controls; the rules
// live in facility_point.* and in taskwindow/.

#include "coord/hand_back.h"
#include "facilities/facility_point.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace sw {

class Dialogs;
class EntryRuleGuard;
class OutputPanel;
class ResultPanel;

class FacilitiesWindow : public QWidget {
    Q_OBJECT
public:
    // openConverter: what the coordinate button calls to open the converter for this window.
    FacilitiesWindow(Dialogs& dialogs, OpenConverter openConverter, QWidget* parent = nullptr);
    ~FacilitiesWindow() override;

    void lockOutputs();
    void unlockOutputs();

    // The point exactly as the window shows it now.
    FacilityPoint point() const;

private:
    QLayout* buildEntry();
    void chooseCategory(FacilityCategory category);
    bool pointIsComplete();
    void prepareNextPoint();
    void clearValues();
    void leave();

    Dialogs& dialogs_;
    EntryRuleGuard* entryRule_ = nullptr;
    ResultPanel* coordinates_ = nullptr;
    OutputPanel* outputs_ = nullptr;

    QRadioButton* facilitiesOption_ = nullptr;
    QRadioButton* icsOption_ = nullptr;
    QRadioButton* forestHealthOption_ = nullptr;
    QLabel* typeCaption_ = nullptr;
    QComboBox* typeBox_ = nullptr;
    QLineEdit* nameField_ = nullptr;
    QPushButton* coordinateButton_ = nullptr;
    QPushButton* clearButton_ = nullptr;
    QPushButton* exitButton_ = nullptr;
};

} // namespace sw
