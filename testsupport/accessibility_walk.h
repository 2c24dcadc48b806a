#pragma once
// A window as a screen reader finds it, walked through Qt's accessibility interface (the one
// the AT-SPI bridge serves to Orca and to ../shared/tools/atspi.py), and the checks that keep
// every control nameable. For any window:
//
//   EXPECT_EQ(sw::test::unnamedControls(window), std::vector<std::string>{});
//
// Show the window first, so its states are those a user meets.

#include <string>
#include <vector>

class QWidget;

namespace sw::test {

// One element of the tree.
struct AccessibleNode {
    std::string role;       // the QAccessible::Role key: "PushButton", "EditableText", ...
    std::string path;       // object names from the window down: "frmDD/txtDDLatD"
    std::string name;       // what is said for it
    std::string labelledBy; // the name of the label that labels it, if one does
    std::string description;
};

// Every element under `window`, the window first, depth first; hidden and disabled ones
// included (a control that is off now is named all the same).
std::vector<AccessibleNode> accessibilityTree(QWidget* window);

// What a screen reader could not announce, one line each ("<role> <path>: <what is missing>"):
// - the window, when it is not announced as a window or a dialog, or has no name;
// - every input, option, button, slider, scroll bar, list, table, tree or tab without a name;
// - every text display that is empty and that no label labels and nothing describes.
std::vector<std::string> unnamedControls(QWidget* window);

} // namespace sw::test
