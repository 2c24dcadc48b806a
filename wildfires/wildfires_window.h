#pragma once
// The Wildfires window: one wildfire report at a time. The user names the fire, gets its
// location from the converter (which fills this window's six coordinate labels), gives the
// dates, area, fuel, cause, percent contained and significance, unlocks the output buttons and
// writes the record as text, shapefile or KML. The window only wires its controls; the rules
// live in the plain files beside it.

#include "taskwindow/clock.h"
#include "taskwindow/result_panel.h"
#include "wildfires/fire_record.h"

#include <QWidget>
#include <functional>

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;

namespace sw {
class Dialogs;
class EntryRuleGuard;
class FireFieldRules;
class OutputPanel;
} // namespace sw

class frmDBMan : public QWidget {
    Q_OBJECT
public:
    // `clock` gives the calendar date the date fields start from and are checked against.
    frmDBMan(sw::Dialogs& dialogs, sw::OpenConverter openConverter,
             sw::Clock clock = sw::systemClock(), QWidget* parent = nullptr);
    ~frmDBMan() override;

    void disableWrite();
    void enableWrite();

    // The record exactly as the window shows it now.
    sw::FireRecord record() const;

private:
    void buildControls();
    void openConverter();
    bool recordIsComplete();
    void clearValues();
    void leave();

    sw::Dialogs& dialogs_;
    sw::Clock clock_;
    sw::OutputPanel* outputs_ = nullptr;
    sw::EntryRuleGuard* entryRule_ = nullptr;
    sw::FireFieldRules* fireFields_ = nullptr;
    sw::ResultPanel* coordinates_ = nullptr;

    QLineEdit* txtF_Name_ = nullptr;
    QLineEdit* txtInc_num_ = nullptr;
    QButtonGroup* report_ = nullptr;
    QRadioButton* optRepI_ = nullptr;
    QRadioButton* optRepU_ = nullptr;
    QRadioButton* optFin_ = nullptr;
    QLineEdit* meFireEnter_ = nullptr;
    QLineEdit* meFireSTart_ = nullptr;
    QLineEdit* txtArea_ = nullptr;
    QComboBox* cmbfFuel_ = nullptr;
    QComboBox* cmbfCause_ = nullptr;
    QSlider* sldperCon_ = nullptr;
    QLineEdit* txtPerCon_ = nullptr;
    QButtonGroup* significance_ = nullptr;
    QRadioButton* OptfSigYes_ = nullptr;
    QRadioButton* OptfSigNo_ = nullptr;
    QPushButton* cmdCoordCon_ = nullptr;
    QPushButton* CmdEnable_ = nullptr;
    QPushButton* cmdAdNewdFire_ = nullptr;
    QPushButton* cmdAppendFile_ = nullptr;
    QPushButton* cmdWriteShape_ = nullptr;
    QPushButton* cmdAppendSHape_ = nullptr;
    QPushButton* cmdwKML_ = nullptr;
    QPushButton* cmdClear_ = nullptr;
    QPushButton* cmdQuit_ = nullptr;
};
