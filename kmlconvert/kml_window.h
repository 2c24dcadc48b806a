#pragma once
// The KML conversion window: the user describes the feature (its category and type, and the
// fire or incident attributes), unlocks the conversion, and converts a drawing saved from
// Google Earth into a fire shapefile. The window only wires its controls: the fire form
// (wildfires/fire_form.h) holds the attributes and their check, the plain files beside this
// one the categories and the conversion.

#include "kmlconvert/feature_categories.h"
#include "kmlconvert/fire_attributes.h"
#include "taskwindow/clock.h"
#include "taskwindow/output_file_choice.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLayout;
class QPushButton;
class QRadioButton;

namespace sw {

class Dialogs;
class FireAttributesForm;
class OutputLock;

class KmlConversionWindow : public QWidget {
    Q_OBJECT
public:
    // Exit unloads the window (it is deleted): the next opening starts afresh. `clock` gives
    // the date the date fields start from and are checked against.
    explicit KmlConversionWindow(Dialogs& dialogs, Clock clock = systemClock(),
                                 QWidget* parent = nullptr);
    ~KmlConversionWindow() override;

    void lockConversion();
    void unlockConversion();

    // The attributes exactly as the window shows them now.
    kml::FireAttributes attributes() const;

private:
    QLayout* buildLeftColumn();
    QLayout* buildButtonRow();
    void orderTabs();
    void chooseCategory(kml::FeatureCategory category);
    void checkAndUnlock();
    void convert();
    void showDrawnArea(const QString& text);
    void clearValues();
    void leave();

    Dialogs& dialogs_;
    FileDialogMemory kmlDialog_; // opens where the file converted last lay
    FireAttributesForm* form_ = nullptr;
    OutputLock* lock_ = nullptr;

    QRadioButton* wildfireOption_ = nullptr;
    QRadioButton* otherIncidentOption_ = nullptr;
    QRadioButton* facilityOption_ = nullptr;
    QLabel* typeCaption_ = nullptr;
    QComboBox* typeBox_ = nullptr;
    QLabel* drawnArea_ = nullptr;
    QPushButton* enableButton_ = nullptr;
    QPushButton* convertButton_ = nullptr;
    QPushButton* clearButton_ = nullptr;
    QPushButton* exitButton_ = nullptr;
};

} // namespace sw
