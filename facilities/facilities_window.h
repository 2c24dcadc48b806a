#pragma once
// The Facilities and Incidents window: one facility, incident feature or forest-health point
// at a time. The user picks a category and a type, types a name, gets the coordinates from the
// converter (which writes them into this window's six coordinate labels), unlocks the output
// buttons and writes the point as text, shapefile or KML. The window only wires its controls;
// the rules live in the plain files beside it.

#include "facilities/facility_point.h"
#include "facilities/output_file_choice.h"
#include "services/shapefiles.h"

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
class WindowRegistry;
struct OutputResult;
} // namespace sw

class swFac : public QWidget {
    Q_OBJECT
public:
    swFac(sw::WindowRegistry& registry, sw::Dialogs& dialogs, QWidget* parent = nullptr);
    ~swFac() override;

    void disablefWrite();
    void enablefWrite();

    // The point exactly as the window shows it now.
    sw::FacilityPoint point() const;

private:
    void buildControls();
    void chooseCategory(sw::FacilityCategory category);
    void openConverter();
    void checkAndUnlock();
    void createTextFile();
    void appendTextFile();
    void writeShapefile();
    void appendShapefile();
    void writeKml();
    void clearValues();
    void leave();
    void report(const sw::OutputResult& result);

    sw::WindowRegistry& registry_;
    sw::Dialogs& dialogs_;
    sw::FileDialogMemory commonDialog1_;
    sw::ShapeFiles shapeOut_;
    sw::OutputLock* lock_ = nullptr;
    sw::EntryRuleGuard* entryRule_ = nullptr;

    QRadioButton* optFac_ = nullptr;
    QRadioButton* optICS_ = nullptr;
    QRadioButton* optDisease_ = nullptr;
    QLabel* lblfFacType_ = nullptr;
    QComboBox* cmbfacType_ = nullptr;
    QLineEdit* txtfacName_ = nullptr;
    QList<QLabel*> coordinates_; // lat, long, Albers X, Albers Y, UTM, USNG
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
