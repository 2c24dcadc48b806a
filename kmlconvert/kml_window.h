#pragma once
// The KML conversion window: the user describes the feature (its category and type, and the
// fire or incident attributes), unlocks the conversion, and converts a drawing saved from
// Google Earth into a fire shapefile. The window only wires its controls; the rules live in
// the plain files beside it and in the wildfire record it shares.

#include "kmlconvert/feature_categories.h"
#include "kmlconvert/fire_attributes.h"
#include "taskwindow/clock.h"

#include <QWidget>
#include <functional>
#include <string>

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
class OutputLock;
} // namespace sw

class kml_firedp_0611 : public QWidget {
    Q_OBJECT
public:
    // Exit unloads the window (it is deleted): the next opening starts afresh.
    explicit kml_firedp_0611(sw::Dialogs& dialogs, sw::Clock clock = sw::systemClock(),
                             QWidget* parent = nullptr);
    ~kml_firedp_0611() override;

    void disableWrite();
    void enableWrite();

    // The attributes exactly as the window shows them now.
    sw::kml::FireAttributes attributes() const;

private:
    void buildControls();
    void chooseCategory(sw::kml::FeatureCategory category);
    void checkAndUnlock();
    void convert();
    void clearValues();
    void leave();

    sw::Dialogs& dialogs_;
    sw::OutputLock* lock_ = nullptr;
    sw::EntryRuleGuard* entryRule_ = nullptr;
    sw::FireFieldRules* fireFields_ = nullptr;
    // The recorded report type and significance: what the option last clicked (or preset by a
    // category) says, which un-choosing an option does not change.
    std::string report_;
    std::string significance_;

    QRadioButton* optFire_ = nullptr;
    QRadioButton* optNFire_ = nullptr;
    QRadioButton* optFacs_ = nullptr;
    QLabel* lblFtype_ = nullptr;
    QComboBox* cmbFtype_ = nullptr;
    QLabel* lblF_namey_ = nullptr;
    QLineEdit* txtF_Name_ = nullptr;
    QLineEdit* txtInc_num_ = nullptr;
    QButtonGroup* reportGroup_ = nullptr;
    QRadioButton* optRepI_ = nullptr;
    QRadioButton* optRepU_ = nullptr;
    QRadioButton* optFin_ = nullptr;
    QRadioButton* optNA_ = nullptr;
    QLineEdit* meFireEnter_ = nullptr;
    QLabel* lblTime_ = nullptr;
    QLineEdit* meFireSTart_ = nullptr;
    QLineEdit* txtArea_ = nullptr;
    QLabel* lblDrawnArea_ = nullptr;
    QComboBox* cmbfFuel_ = nullptr;
    QComboBox* cmbfCause_ = nullptr;
    QSlider* sldperCon_ = nullptr;
    QLineEdit* txtPerCon_ = nullptr;
    QButtonGroup* significanceGroup_ = nullptr;
    QRadioButton* OptfSigYes_ = nullptr;
    QRadioButton* OptfSigNo_ = nullptr;
    QRadioButton* OptfSigNA_ = nullptr;
    QPushButton* CmdEnable_ = nullptr;
    QPushButton* cmdFireTab_ = nullptr;
    QPushButton* cmdClear_ = nullptr;
    QPushButton* cmdQuit_ = nullptr;
};
