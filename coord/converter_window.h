#pragma once
// The coordinate converter window: the one place where a user turns a location, typed in
// decimal degrees, degrees and decimal minutes, degrees-minutes-seconds, as a
// township-range-section description, or pasted as a US National Grid reference, a UTM
// coordinate or a latitude and longitude, into every form the outputs need, and hands the
// results straight to the task window that opened it (its hand-back target).
//
// The window only wires widgets: the controls are made in ConverterControls, the field texts,
// values and results live in the ConverterModel, the township-range-section controls in the
// TrsPanel, the rules in the plain logic (coord/angle_fields.h, coord/trs.h, coord/point_csv.h,
// the projections); every message and the bell go through the Dialogs seam.

#include <QHash>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <vector>

#include "coord/angle_fields.h"
#include "coord/converter_controls.h"
#include "coord/converter_model.h"
#include "coord/hand_back.h"
#include "coord/trs_panel.h"
#include "services/base/dialogs.h"

class QKeyEvent;
class QLineEdit;

namespace sw {

class ConverterWindow : public QWidget, private ConverterView, private TrsPanelHost {
    Q_OBJECT

public:
    explicit ConverterWindow(Dialogs& dialogs, QWidget* parent = nullptr);
    ~ConverterWindow() override;

    // What a task window's coordinate button does: show the converter (modeless), put every
    // entry field back to its default text, clear the six results and make `target` the one
    // that receives them (nullptr: nobody). Resetting hands nothing back to anyone. A target
    // that is a QObject and is destroyed later simply stops receiving.
    void openFor(HandBackTarget* target);

    // The receiver of the results, or nullptr.
    HandBackTarget* target() const;

    // The controls in the window's tab order; auto-advance and the Tab key follow it.
    const std::vector<QWidget*>& tabOrder() const { return controls_.tabOrder; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void connectControls();
    void showFirstState();

    // Notation choice.
    void selectNotation(ConverterMode mode);
    void setUpNotation(ConverterMode mode);
    void colourLabels(ConverterMode mode);

    // Typing and pasting: the typing rules, auto-advance and the tab order.
    bool angleFieldKey(QLineEdit* edit, Field field, const QKeyEvent* key);
    bool pastedIntoAngleField(Field field, const QString& text);
    void applyAutoAdvance();
    void moveFocusOn(QWidget* from);

    // Results.
    void showResults();
    void handBack();
    void gridReferenceEntered();

    void closePressed();

    // ConverterView
    void showMessage(const std::string& message) override;
    void showFieldText(Field field, const std::string& text) override;
    void lockField(Field field) override;
    void refused(Field field) override;
    void advance() override;
    void resultsChanged() override;

    // TrsPanelHost (and advance() above)
    void tell(const std::string& message, Icon icon = Icon::None) override;
    void beep() override;
    void located(double latitude, double longitude) override;
    void notLocated() override;
    void latitudeLongitudeCleared() override;

    Dialogs& dialogs_;
    HandBackTarget* target_ = nullptr;
    QPointer<QObject> targetObject_; // set when the target is a QObject
    bool targetIsObject_ = false;

    ConverterModel model_;
    ConverterControls controls_;
    QHash<QLineEdit*, Field> fieldOf_;
    // The field that auto-advance has just moved into, until something is typed there or it
    // loses the focus: a "." typed there ends the part before it.
    QLineEdit* advancedInto_ = nullptr;

    // Focus moves that our own message boxes cause are not the user entering or leaving a
    // field, and the window's coming back from one is not an activation that clears the
    // preview.
    int dialogDepth_ = 0;
    bool deactivatedByDialog_ = false;
};

} // namespace sw
