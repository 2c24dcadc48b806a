#pragma once
// Editable drop-down lists (types, fuels, causes, storm names, states): the list offers its
// entries from its drop-down, and what the user types stays exactly as typed. Nothing
// completes while typing: a suggestion pop-up lies over the fields below and takes the click
// and the keys meant for them, and inline completion would change what was typed ("camp" is
// no "Camp", "Forestry" no "Forestry Center"; icons and records depend on the exact text).

class QComboBox;
class QWidget;

namespace sw {

// Makes `box` such a list: editable, typed texts not added to the list, no completer.
void makeEditableList(QComboBox* box);

// A screen reader reaches an editable list's text field and drop-down as controls of their
// own, which do not take the list's name: gives them the list's name (its accessible name, or
// the caption whose buddy it is) for every editable list under `window`. Called once the
// window has its captions.
void nameEditableListParts(QWidget* window);

} // namespace sw
