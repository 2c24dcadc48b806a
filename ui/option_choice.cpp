#include "ui/option_choice.h"

#include <QAbstractButton>
#include <memory>

namespace sw {

void onOptionChosen(QAbstractButton* option, QObject* context, std::function<void()> chosen) {
    // A click emits pressed before the option changes state, so pressed tells a click on the
    // chosen option (no toggle follows) from one that chooses it (the toggle runs the handler).
    auto checkedWhenPressed = std::make_shared<bool>(false);
    QObject::connect(option, &QAbstractButton::pressed, context,
                     [option, checkedWhenPressed] { *checkedWhenPressed = option->isChecked(); });
    QObject::connect(option, &QAbstractButton::toggled, context, [chosen](bool on) {
        if (on) {
            chosen();
        }
    });
    QObject::connect(option, &QAbstractButton::clicked, context, [checkedWhenPressed, chosen] {
        if (*checkedWhenPressed) {
            *checkedWhenPressed = false;
            chosen();
        }
    });
}

} // namespace sw
