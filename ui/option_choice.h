#pragma once
// Option buttons whose choice sets something up. A handler tied to clicks alone misses an
// option chosen through the accessibility interface (its "Toggle" action checks the option
// without a click), which screen readers and automation use; one tied to toggles alone misses
// a click on the option already chosen, which repeats its set-up. This runs the handler in
// both cases, once per choice.

#include <functional>

class QAbstractButton;
class QObject;

namespace sw {

// Runs `chosen` whenever `option` becomes checked (a click, the arrow keys, Space, an
// assistive technology) and when the user clicks it while it is checked already. A program
// that checks an option itself and wants no set-up blocks its signals while doing so.
void onOptionChosen(QAbstractButton* option, QObject* context, std::function<void()> chosen);

} // namespace sw
