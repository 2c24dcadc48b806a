#pragma once
// The Facilities and Incidents window: one facility, incident feature or forest-health point
// at a time. The user picks a category and a type, types a name, gets the coordinates from the
// converter (which hands them to this window's result panel), unlocks the output buttons and
// writes the point as text, shapefile or KML. The window only wires its controls; the rules
// live in facility_point.* and in taskwindow/.

#include "coord/hand_back.h"
#include "facilities/facility_point.h"
#include "taskwindow/outputs.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace sw {
class Dialogs;
class EntryRuleGuard;
class OutputLock;
class ResultPanel;
struct OutputResult;
} // namespace sw

class swFac : public QWidget {
    Q_OBJECT
public:
    // openConverter: what the coordinate button calls to open the converter for this window.
    swFac(sw::Dialogs& dialogs, sw::OpenConverter openConverter, QWidget* parent = nullptr);
    ~swFac() override;

    void disablefWrite();
    void enablefWrite();

    // The point exactly as the window shows it now.
    sw::FacilityPoint point() const;

private:
    void buildControls();
    void chooseCategory(sw::FacilityCategory category);
    void checkAndUnlock();
    void createTextFile();
    void appendTextFile();
    void writeShapefile();
    void appendShapefile();
    void writeKml();
    void clearValues();
    void leave();
    void report(const sw::OutputResult& result);

    sw::Dialogs& dialogs_;
    sw::RecordOutputs outputs_; // the window's one file dialog and shapefile writer
    sw::OutputLock* lock_ = nullptr;
    sw::EntryRuleGuard* entryRule_ = nullptr;

    QRadioButton* optFac_ = nullptr;
    QRadioButton* optICS_ = nullptr;
    QRadioButton* optDisease_ = nullptr;
    QLabel* lblfFacType_ = nullptr;
    QComboBox* cmbfacType_ = nullptr;
    QLineEdit* txtfacName_ = nullptr;
    sw::ResultPanel* coordinates_ = nullptr;
    QPushButton* cmdfCoordCon_ = nullptr;
    QPushButton* cmdEnableWriteFile_ = nullptr;
    QPushButton* cmdAdNewdFac_ = nullptr;
    QPushButton* cmdAppendFile_ = nullptr;
    QPushButton* cmdWritefShape_ = nullptr;
    QPushButton* appendfShape_ = nullptr;
    QPushButton* cmdfKML_ = nullptr;
    QPushButton* cmdClear_ = nullptr;
    QPushButton* cmdfacDone_ = nullptr;
};
