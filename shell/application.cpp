#include "shell/application.h"

#include "addresses/address_window.h"
#include "coord/converter_window.h"
#include "facilities/facilities_window.h"
#include "hurricanes/hurricanes_window.h"
#include "kmlconvert/kml_window.h"
#include "shell/about_window.h"
#include "shell/main_window.h"
#include "shell/window_dialogs.h"
#include "wildfires/wildfires_window.h"

namespace sw {

namespace {

// A window kind built with a dialog seam of its own, so everything the window asks opens over
// it (see WindowDialogs).
template <class Make> WindowRegistry::Factory askingOverItself(Dialogs& program, Make make) {
    return [&program, make] {
        auto* dialogs = new WindowDialogs(program);
        QWidget* window = make(*dialogs);
        dialogs->attachTo(window);
        return window;
    };
}

} // namespace

SitewardApp::SitewardApp(Dialogs& dialogs) : dialogs_(dialogs) {
    registry_.setFactory(
        forms::kMain, [this] { return new sw_main(registry_); }, WindowRegistry::OnClose::Destroy);
    registry_.setFactory(forms::kAbout,
                         askingOverItself(dialogs_, [](Dialogs& own) { return new frmAbout(own); }),
                         WindowRegistry::OnClose::Destroy);

    registry_.setFactory(forms::kConverter, askingOverItself(dialogs_, [](Dialogs& own) {
                             return new sw_ddc_0306(own);
                         }));
    registry_.setFactory(forms::kFacilities, askingOverItself(dialogs_, [this](Dialogs& own) {
                             return new swFac(own, openConverterCall());
                         }));
    registry_.setFactory(forms::kWildfires, askingOverItself(dialogs_, [this](Dialogs& own) {
                             return new frmDBMan(own, openConverterCall());
                         }));
    registry_.setFactory(forms::kHurricanes, askingOverItself(dialogs_, [this](Dialogs& own) {
                             return new swHcane(own, openConverterCall());
                         }));
    registry_.setFactory(forms::kAddresses, askingOverItself(dialogs_, [](Dialogs& own) {
                             return new frmGEAddress(own);
                         }));
    registry_.setFactory(forms::kKmlConvert, askingOverItself(dialogs_, [](Dialogs& own) {
                             return new kml_firedp_0611(own);
                         }));
}

sw_main* SitewardApp::start() {
    return qobject_cast<sw_main*>(registry_.show(forms::kMain));
}

void SitewardApp::openConverter(HandBackTarget& target) {
    if (auto* converter = registry_.instanceAs<sw_ddc_0306>(forms::kConverter)) {
        converter->openFor(&target);
    }
}

OpenConverter SitewardApp::openConverterCall() {
    return [this](HandBackTarget& target) { openConverter(target); };
}

} // namespace sw
