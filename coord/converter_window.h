#pragma once
// The coordinate converter window: the one place where a user turns a location, typed in
// decimal degrees, degrees and decimal minutes, degrees-minutes-seconds, as a
// township-range-section description or as a US National Grid reference or UTM coordinate,
// into every form the outputs need, and hands the results straight to the task window that
// opened it (its hand-back target).
//
// The window only wires widgets: the field texts, values and results live in the
// ConverterModel, the township-range-section controls in the TrsPanel, the rules in the plain
// logic (coord/angle_fields.h, coord/trs.h, coord/grid_reference.h, the projections); every
// message and the bell go through the Dialogs seam.

#include <QHash>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <array>
#include <map>
#include <vector>

#include "coord/angle_fields.h"
#include "coord/converter_model.h"
#include "coord/hand_back.h"
#include "coord/trs_panel.h"
#include "services/base/dialogs.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The class carries the window's form name, as the task windows and the registry know it.
class sw_ddc_0306 : public QWidget, private sw::ConverterView, private sw::TrsPanelHost {
    Q_OBJECT

public:
    explicit sw_ddc_0306(sw::Dialogs& dialogs, QWidget* parent = nullptr);
    ~sw_ddc_0306() override;

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
    enum class Mode { None, DD, DMM, DMS, TRS, Grid };

    // Building the window.
    void buildUi();
    QWidget* buildNotationChoice();
    QWidget* buildAngleBox(sw::Notation notation);
    QWidget* buildGridBox();
    QWidget* buildResultsBox();
    QLineEdit* makeAngleField(sw::Field field);
    QLabel* makeResult(const char* name, const QString& widest,
                       const char* style = "background-color: white;");
    void buildTabOrder();
    void showFirstState();

    // Notation choice.
    void selectNotation(Mode mode);
    void setUpNotation(Mode mode);
    void colourLabels(Mode mode);

    // Typing: auto-advance and the tab order.
    void applyAutoAdvance();
    void moveFocusOn(QWidget* from);

    // Results.
    void showResults();
    void handBack();
    void gridReferenceEntered();

    void cmdconClose_Click();

    // sw::ConverterView
    void showMessage(const std::string& message) override;
    void showFieldText(sw::Field field, const std::string& text) override;
    void lockField(sw::Field field) override;
    void refused(sw::Field field) override;
    void advance() override;
    void resultsChanged() override;

    // sw::TrsPanelHost (and advance() above)
    void tell(const std::string& message, sw::Icon icon = sw::Icon::None) override;
    void beep() override;
    void located(double latitude, double longitude) override;
    void notLocated() override;
    void latitudeLongitudeCleared() override;

    sw::Dialogs& dialogs_;
    sw::HandBackTarget* target_ = nullptr;
    QPointer<QObject> targetObject_; // set when the target is a QObject
    bool targetIsObject_ = false;
    Mode mode_ = Mode::None;

    sw::ConverterModel model_;
    sw::TrsPanel* panel_ = nullptr;

    std::array<QLineEdit*, sw::fieldCount> angleFields_{};
    QHash<QLineEdit*, sw::Field> fieldOf_;
    QLineEdit* txtGridRef_ = nullptr;

    // Headings and row labels of each notation, coloured by the notation set-up.
    std::map<Mode, std::vector<QWidget*>> notationLabels_;

    QLabel* lblDDLat_ = nullptr;
    QLabel* lblDDLong_ = nullptr;
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
