#include "shell/application.h"

#include "shell/about_window.h"
#include "shell/main_window.h"
#include "shell/placeholder_window.h"

namespace sw {

SitewardApp::SitewardApp(Dialogs& dialogs) : dialogs_(dialogs) {
    registry_.setFactory(forms::kMain, [this] { return new sw_main(registry_); });
    registry_.setFactory(forms::kAbout, [this] { return new frmAbout(dialogs_); });

    auto placeholder = [this](PlaceholderSpec spec) {
        registry_.setFactory(spec.form, [this, spec] {
            return new PlaceholderWindow(spec,
                                         [this](const QString& target) { openConverter(target); });
        });
    };
    placeholder(PlaceholderSpec{forms::kFacilities, QStringLiteral("Facilities Management"),
                                QStringLiteral("Facilities and Incidents"),
                                QStringLiteral("txtfacName"), QStringLiteral("f"),
                                QStringLiteral("cmdfCoordCon")});
    placeholder(wildfiresPlaceholder());
    placeholder(hurricanesPlaceholder());
    placeholder(addressesPlaceholder());
    placeholder(kmlConvertPlaceholder());
}

sw_main* SitewardApp::start() {
    return qobject_cast<sw_main*>(registry_.show(forms::kMain));
}

void SitewardApp::openConverter(const QString& targetForm) {
    registry_.show(forms::kConverter);
    (void)targetForm;
}

} // namespace sw
