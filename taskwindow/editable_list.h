#pragma once
// Editable drop-down lists (types, fuels, causes, storm names, states): the list offers its
// entries from its drop-down, and what the user types stays exactly as typed. Nothing
// completes while typing: a suggestion pop-up lies over the fields below and takes the click
// and the keys meant for them, and inline completion would change what was typed ("camp" is
// no "Camp", "Forestry" no "Forestry Center"; icons and records depend on the exact text).

class QComboBox;

namespace sw {

// Makes `box` such a list: editable, typed texts not added to the list, no completer. Its
// typing field and its drop-down carry the box's own name (from its caption or set on it) for
// screen readers, as they are what a user of one is in while choosing.
void makeEditableList(QComboBox* box);

} // namespace sw
