#pragma once
// The coordinate converter window: the one place where a user turns a location, typed in
// decimal degrees, degrees and decimal minutes, degrees-minutes-seconds or as a
// township-range-section description, into every form the outputs need, and hands the results
// straight to the task window that opened it (its hand-back target).
//
// The window only wires widgets to the plain logic (coord/angle_fields.h, coord/trs.h, the
// projections); every message and the bell go through the Dialogs seam.

#include <QHash>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <array>

#include "coord/albers.h"
#include "coord/angle_fields.h"
#include "coord/hand_back.h"
#include "coord/trs.h"
#include "services/dialogs.h"

class QAbstractButton;
class QButtonGroup;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The class carries the window's form name, as the task windows and the registry know it.
class sw_ddc_0306 : public QWidget {
    Q_OBJECT

public:
    explicit sw_ddc_0306(sw::Dialogs& dialogs, QWidget* parent = nullptr);

    // What a task window's coordinate button does: show the converter (modeless), put every
    // entry field back to its default text, clear the six results and make `target` the one
    // that receives them (nullptr: nobody). Resetting hands nothing back to anyone. A target
    // that is a QObject and is destroyed later simply stops receiving.
    void openFor(sw::HandBackTarget* target);

    // The receiver of the results, or nullptr.
    sw::HandBackTarget* target() const;

    // The controls in the window's tab order; auto-advance and the Tab key follow it.
    const std::vector<QWidget*>& tabOrder() const { return tabOrder_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    enum class Mode { None, DD, DMM, DMS, TRS };

    // Building the window.
    void buildUi();
    QWidget* buildNotationBox();
    QWidget* buildDdBox();
    QWidget* buildDmmBox();
    QWidget* buildDmsBox();
    QWidget* buildTrsBox();
    QWidget* buildSectionPartBox();
    QWidget* buildResultsBox();
    QLineEdit* makeAngleField(sw::Field field);
    QLineEdit* makeTrsField(const char* name, int maxLength, const char* text);
    QLabel* makeLabel(const char* name, const QString& text);
    QLabel* makeResult(const char* name, const QString& widest,
                       const char* style = "background-color: white;");
    void buildTabOrder();
    void showFirstState();

    // Notation choice.
    void selectNotation(Mode mode);
    void setUpNotation(Mode mode);
    void colourLabels(Mode mode);

    // Angle fields.
    void angleFieldChanged(sw::Field field);
    void composeAndShow(sw::Notation notation, sw::Row row);
    void applyAutoAdvance();
    void moveFocusOn(QWidget* from);
    void AlbCap();

    // Township-range-section mode.
    void enableTRS();
    void trsFieldChanged(QLineEdit* edit);
    void trsFocusIn(QLineEdit* edit);
    void trsFocusOut(QLineEdit* edit);
    bool checkTownshipField();
    bool checkRangeField();
    bool commitTrsFields();
    void sectionPartChosen(QAbstractButton* button);
    void cmdEnableqs_Click();
    void cmdTRScon_Click();
    void cmdTRS2dd_Click();
    void cmdResetTRS_Click();
    void fncResetTRS();
    void setQuarterQuartersEnabled(bool enabled);

    void cmdconClose_Click();

    // Puts a text into a field as the program does: the caret goes to the start, and the
    // change is processed like a typed one (only when the text really changes).
    void putText(QLineEdit* edit, const QString& text);
    void returnFocusTo(QLineEdit* edit);
    void tell(const std::string& message, sw::Icon icon = sw::Icon::None);

    sw::Dialogs& dialogs_;
    sw::HandBackTarget* target_ = nullptr;
    QPointer<QObject> targetObject_; // set when the target is a QObject
    bool targetIsObject_ = false;
    Mode mode_ = Mode::None;

    sw::AngleState angles_;
    sw::lltoAlbers::AlbersPoint albers_;
    sw::trs::Description trs_;

    std::array<QLineEdit*, sw::fieldCount> angleFields_{};
    QHash<QLineEdit*, sw::Field> fieldOf_;
    QLineEdit* txtTown_ = nullptr;
    QLineEdit* txtRange_ = nullptr;
    QLineEdit* txtSection_ = nullptr;

    QRadioButton* optDD_ = nullptr;
    QRadioButton* optDDM_ = nullptr;
    QRadioButton* optDMS_ = nullptr;
    QRadioButton* optTRS_ = nullptr;
    QButtonGroup* notationGroup_ = nullptr;

    QRadioButton* optTnorth_ = nullptr;
    QRadioButton* optTSouth_ = nullptr;
    QRadioButton* optRangeE_ = nullptr;
    QRadioButton* optRangeW_ = nullptr;
    QButtonGroup* partGroup_ = nullptr;
    std::vector<QRadioButton*> partOptions_; // in the order of trs::sectionParts()
    QFrame* frmsubSec_ = nullptr;
    QPushButton* cmdEnableqs_ = nullptr;
    QPushButton* cmdTRScon_ = nullptr;
    QPushButton* cmdResetTRS_ = nullptr;
    QPushButton* cmdTRS2dd_ = nullptr;
    QLabel* lblTRScon_ = nullptr;

    // Headings and row labels of each notation, coloured by the notation set-up.
    std::vector<QWidget*> ddLabels_;
    std::vector<QWidget*> dmmLabels_;
    std::vector<QWidget*> dmsLabels_;
    std::vector<QWidget*> trsLabels_;

    QLabel* lblDDLat_ = nullptr;
    QLabel* lblDDLong_ = nullptr;
    QLabel* lblddlatraw_ = nullptr;
    QLabel* lblddlongraw_ = nullptr;
    QLabel* lblAlbersX_ = nullptr;
    QLabel* lblAlbersY_ = nullptr;
    QLabel* lblUTMCoord_ = nullptr;
    QLabel* lblUSNG_ = nullptr;
    QPushButton* cmdconClose_ = nullptr;

    std::vector<QWidget*> tabOrder_;

    // Focus moves that our own message boxes cause are not the user entering or leaving a
    // field, and the window's coming back from one is not an activation that clears the
    // preview.
    int dialogDepth_ = 0;
    bool deactivatedByDialog_ = false;
};
