#pragma once
// The output group of a record window (Facilities, Wildfires, Hurricanes): the button that
// runs the window's completeness check, and the five outputs it unlocks: a new and an
// appended text file, a new and an appended point shapefile, and KML. The panel owns the
// buttons, their lock, the window's RecordOutputs (its one file dialog and shapefile writer)
// and the report of each result; the window hands it what only the window knows:
//
//     outputs_ = new OutputPanel(dialogs, {{"frmfOutput", "cmdEnableWriteFile", ...},
//                                          QStringLiteral("Facility"), facilityOutputSettings()});
//     outputs_->setCheck([this] { return pointIsComplete(); });
//     outputs_->setRecord([this] { return OutputRecord{row, row, shapePoint}; });
//     outputs_->setKml([this](RecordOutputs& out) { return out.writeKml(placemark()); });
//     outputs_->lockOnFocus(nameField);
//
// Rules kept here, once for every window: the outputs are grey and disabled until the check
// passes, light yellow after; any input of the record getting the focus locks them again; a
// failed output is shown in a box naming the file and the cause (a cancelled one says nothing);
// writing a new shapefile greys out "append shapefile" and appending greys out "new shapefile",
// until the next check, so one record goes to one shapefile.

#include "taskwindow/controls.h"
#include "taskwindow/outputs.h"

#include <QGroupBox>
#include <QList>
#include <functional>

class QPushButton;

namespace sw {

class Dialogs;
class OutputLock;

// The record as the outputs take it.
struct OutputRecord {
    RecordRow textRow;  // the text files' line
    RecordRow shapeRow; // the shapefile's record (dates without digits are empty there)
    ShapePoint point;   // where the record lies in the shapefile's projection
};

struct OutputPanelSetup {
    controls::OutputNames names; // the group's and the buttons' object names
    QString record;              // what the files hold: "Facility" gives "Create New Facility File"
    OutputSettings files;        // prefix, dialog filters, projection file
    // The shapefile dialogs start without a file name rather than the last one chosen.
    bool shapefileDialogsStartEmpty = false;
};

class OutputPanel : public QGroupBox {
    Q_OBJECT
public:
    OutputPanel(Dialogs& dialogs, OutputPanelSetup setup, QWidget* parent = nullptr);
    ~OutputPanel() override;

    // The window's completeness check, run by the enable button (true unlocks the outputs; a
    // check that fails says why and puts the focus where the user must act).
    void setCheck(std::function<bool()> check);
    // The record exactly as the window shows it, read at every press.
    void setRecord(std::function<OutputRecord()> record);
    // The KML document of the record, with whatever the window asks first.
    void setKml(std::function<OutputResult(RecordOutputs&)> writeKml);
    // Run after a new text file was written: a window that gets ready for its next point.
    void setAfterNewTextFile(std::function<void()> after);

    void lock();
    void unlock();
    bool isUnlocked() const;
    // Locks whenever `control` gets the focus from within the window.
    void lockOnFocus(QWidget* control);

    QPushButton* enableButton() const { return buttons_.enable; }
    // New text file, appended text file, new shapefile, appended shapefile, KML.
    QList<QPushButton*> outputButtons() const;
    RecordOutputs& outputs() { return outputs_; }

private:
    void runCheck();
    void createTextFile();
    void appendTextFile();
    void writeShapefile();
    void appendShapefile();
    void writeKml();
    void report(const OutputResult& result);

    Dialogs& dialogs_;
    RecordOutputs outputs_;
    bool shapefileDialogsStartEmpty_;
    struct Buttons {
        QPushButton* enable = nullptr;
        QPushButton* newFile = nullptr;
        QPushButton* appendFile = nullptr;
        QPushButton* newShape = nullptr;
        QPushButton* appendShape = nullptr;
        QPushButton* kml = nullptr;
    } buttons_;
    OutputLock* lock_ = nullptr;
    std::function<bool()> check_;
    std::function<OutputRecord()> record_;
    std::function<OutputResult(RecordOutputs&)> writeKml_;
    std::function<void()> afterNewTextFile_;
};

} // namespace sw
