#pragma once
// The Wildfires window: one wildfire report at a time. The user names the fire, gets its
// location from the converter (which fills this window's six coordinate labels), gives the
// dates, area, fuel, cause, percent contained and significance, unlocks the output buttons and
// writes the record as text, shapefile or KML. The window only wires its controls: the fire
// form (wildfires/fire_form.h) holds the record's fields and check, the output panel
// (taskwindow/output_panel.h) the outputs.

#include "coord/hand_back.h"
#include "taskwindow/clock.h"
#include "wildfires/fire_record.h"

#include <QWidget>

class QLayout;
class QPushButton;

namespace sw {

class Dialogs;
class FireAttributesForm;
class OutputPanel;
class ResultPanel;

class WildfiresWindow : public QWidget {
    Q_OBJECT
public:
    // `openConverter`: what the coordinate button calls to open the converter for this window.
    // `clock` gives the calendar date the date fields start from and are checked against.
    WildfiresWindow(Dialogs& dialogs, OpenConverter openConverter, Clock clock = systemClock(),
                    QWidget* parent = nullptr);
    ~WildfiresWindow() override;

    void lockOutputs();
    void unlockOutputs();

    // The record exactly as the window shows it now.
    FireRecord record() const;

private:
    QLayout* buildLeftColumn();
    void orderTabs();
    void openConverter();
    void clearValues();
    void leave();

    Dialogs& dialogs_;
    FireAttributesForm* form_ = nullptr;
    ResultPanel* coordinates_ = nullptr;
    OutputPanel* outputs_ = nullptr;

    QPushButton* coordinateButton_ = nullptr;
    QPushButton* clearButton_ = nullptr;
    QPushButton* exitButton_ = nullptr;
};

} // namespace sw
