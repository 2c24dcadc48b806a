#pragma once
// The Hurricanes window: one position of a named storm at a time. The user picks or types the
// storm's name, says whether the position is observed or forecast, sets the report date and
// the UTC month, day and hour (the window shows the UTC and local times), enters the wind in
// mph or knots (the window shows the category), gets the coordinates from the converter,
// unlocks the output buttons and writes the position as text, shapefile or KML. The window
// only wires its controls; the rules live in storm_*.*, wind.* and in taskwindow/.

#include "coord/hand_back.h"
#include "hurricanes/storm_position.h"
#include "hurricanes/storm_time.h"
#include "taskwindow/clock.h"

#include <QWidget>

#include <cstdint>

class QComboBox;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QSlider;

namespace sw {
class Dialogs;
class EntryRuleGuard;
class OutputPanel;
class ResultPanel;
} // namespace sw

class swHcane : public QWidget {
    Q_OBJECT
public:
    // openConverter: what the coordinate button calls to open the converter for this window.
    // clock: today's date and the machine's zone (the system's unless a test fixes them).
    swHcane(sw::Dialogs& dialogs, sw::OpenConverter openConverter,
            sw::Clock clock = sw::systemClock(), QWidget* parent = nullptr);
    ~swHcane() override;

    void disableHwrite();
    void enableHwrite();

    // The position exactly as the window shows it now.
    sw::StormPosition position() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void loadEntry();
    void nameChanged(const QString& name);
    void monthChanged(int month);
    void dayChanged(int day);
    void hourChanged(int hour);
    void convertUtc();
    bool reportDateLeft();
    void windFromText();
    void windScrolled();
    void windSliderClicked();
    void convertKnots();
    void showCategory();
    bool windKeyPress(QLineEdit* field, QKeyEvent* key);
    bool positionIsComplete();
    void prepareNextPosition();
    void clearValues();
    void leave();
    void returnFocusTo(QWidget* field);

    sw::Dialogs& dialogs_;
    sw::Clock clock_;
    sw::OutputPanel* outputs_ = nullptr;
    sw::EntryRuleGuard* entryRule_ = nullptr;
    std::string positionType_;     // "Actual", "Forecast", or empty until one is chosen
    std::int16_t currentWind_ = 0; // mph, as the last wind update left it

    QComboBox* cmbName_ = nullptr;
    QRadioButton* optActual_ = nullptr;
    QRadioButton* optFcast_ = nullptr;
    QLineEdit* meHEnter_ = nullptr;
    QScrollBar* HscrMon_ = nullptr;
    QScrollBar* HscrDay_ = nullptr;
    QScrollBar* HscrHour_ = nullptr;
    QLabel* lblMon_ = nullptr;
    QLabel* lblDay_ = nullptr;
    QLabel* lblsHour_ = nullptr;
    QLabel* lblUTC_Cat_ = nullptr;
    QLabel* lblLtimeZ_ = nullptr;
    QLineEdit* txtHwind_ = nullptr;
    QSlider* sldHwind_ = nullptr;
    QLabel* lblHCat_ = nullptr;
    QPushButton* cmdCvrtKts_ = nullptr;
    QGroupBox* frmKnots_ = nullptr;
    QLabel* lblKnots_ = nullptr;
    QLineEdit* txtKnots_ = nullptr;
    QPushButton* cmdCkts_ = nullptr;
    sw::ResultPanel* coordinates_ = nullptr;
    QPushButton* cmdHcoordCon_ = nullptr;
    QPushButton* cmdEnableWriteFile_ = nullptr;
    QPushButton* cmdAdNewHFac_ = nullptr;
    QPushButton* cmdAppendFile_ = nullptr;
    QPushButton* cmdWriteHShape_ = nullptr;
    QPushButton* appendHShape_ = nullptr;
    QPushButton* cmdKML_ = nullptr;
    QPushButton* cmdClear_ = nullptr;
    QPushButton* cmdHexit_ = nullptr;
};
