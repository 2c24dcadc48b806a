#pragma once
// The converter window's controls, made, named and laid out: the notation options, the three
// typed notations' fields (from the field table of coord/angle_fields.h), the township-range-
// section panel, the grid reference field, the six results and Close. Every control carries
// its form control name as object name (tests and the accessibility tree find it by that) and
// a name a screen reader can say: its caption, the label beside it (as the label's buddy) or
// an accessible name of its own; each result is labelled by its caption.
//
// Nothing here reacts to anything: the window (coord/converter_window.h) wires the controls.

#include <array>
#include <map>
#include <vector>

#include "coord/angle_fields.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace sw {

class TrsPanel;
class TrsPanelHost;

// What the converter is being used for: a typed notation, a township-range-section description
// or a grid reference; None before the first choice.
enum class ConverterMode { None, DD, DMM, DMS, TRS, Grid };

ConverterMode modeOf(Notation notation);

struct ConverterControls {
    // Makes every control as a child of `window` and lays it out; the township-range-section
    // panel reports to `host`.
    ConverterControls(QWidget* window, TrsPanelHost& host);

    QLineEdit* field(Field f) const { return angleFields[static_cast<std::size_t>(f)]; }

    std::map<ConverterMode, QRadioButton*> options;
    std::array<QLineEdit*, fieldCount> angleFields{};
    TrsPanel* trsPanel = nullptr;
    QLineEdit* gridReference = nullptr;
    // The headings and row labels of each mode, drawn in the active colour while it is chosen.
    std::map<ConverterMode, std::vector<QWidget*>> modeLabels;

    QLabel* latitude = nullptr;
    QLabel* longitude = nullptr;
    QLabel* albersEasting = nullptr;
    QLabel* albersNorthing = nullptr;
    QLabel* utm = nullptr;
    QLabel* usng = nullptr;
    QPushButton* closeButton = nullptr;

    // The controls in the window's tab order; auto-advance and the Tab key follow it.
    std::vector<QWidget*> tabOrder;

private:
    QWidget* buildNotationChoice(QWidget* window);
    QWidget* buildAngleBox(QWidget* window, Notation notation);
    QWidget* buildGridBox(QWidget* window);
    QWidget* buildResultsBox(QWidget* window);
    void buildTabOrder(QWidget* window);
};

} // namespace sw
