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

class HurricanesWindow : public QWidget {
    Q_OBJECT
public:
    // openConverter: what the coordinate button calls to open the converter for this window.
    // clock: today's date and the machine's zone (the system's unless a test fixes them).
    HurricanesWindow(sw::Dialogs& dialogs, sw::OpenConverter openConverter,
                     sw::Clock clock = sw::systemClock(), QWidget* parent = nullptr);
    ~HurricanesWindow() override;

    void lockOutputs();
    void unlockOutputs();

    // The position exactly as the window shows it now.
    sw::StormPosition position() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The controls, built group by group (hurricanes_window_layout.cpp).
    void buildControls();
    QWidget* buildStormGroup();
    QWidget* buildTimeGroup();
    QWidget* buildWindGroup();
    QWidget* buildOutputGroup();
    void setTabOrder();
    void connectControls();
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

    QComboBox* nameBox_ = nullptr;
    QRadioButton* actualOption_ = nullptr;
    QRadioButton* forecastOption_ = nullptr;
    QLineEdit* reportDateField_ = nullptr;
    QScrollBar* utcMonthBar_ = nullptr;
    QScrollBar* utcDayBar_ = nullptr;
    QScrollBar* utcHourBar_ = nullptr;
    QLabel* utcMonthLabel_ = nullptr;
    QLabel* utcDayLabel_ = nullptr;
    QLabel* utcHourLabel_ = nullptr;
    QLabel* utcTimeLabel_ = nullptr;
    QLabel* localTimeLabel_ = nullptr;
    QLineEdit* windField_ = nullptr;
    QSlider* windSlider_ = nullptr;
    QLabel* categoryLabel_ = nullptr;
    QPushButton* knotsButton_ = nullptr;
    QGroupBox* knotsFrame_ = nullptr;
    QLabel* knotsCaption_ = nullptr;
    QLineEdit* knotsField_ = nullptr;
    QPushButton* convertKnotsButton_ = nullptr;
    sw::ResultPanel* coordinates_ = nullptr;
    QPushButton* coordinateButton_ = nullptr;
    QPushButton* enableButton_ = nullptr;
    QPushButton* newFileButton_ = nullptr;
    QPushButton* appendFileButton_ = nullptr;
    QPushButton* newShapefileButton_ = nullptr;
    QPushButton* appendShapefileButton_ = nullptr;
    QPushButton* kmlButton_ = nullptr;
    QPushButton* clearButton_ = nullptr;
    QPushButton* exitButton_ = nullptr;
};

} // namespace sw
