#include "shell/application.h"

#include "addresses/address_window.h"
#include "coord/converter_window.h"
#include "facilities/facilities_window.h"
#include "hurricanes/hurricanes_window.h"
#include "kmlconvert/kml_window.h"
#include "shell/about_window.h"
#include "shell/main_window.h"
#include "wildfires/wildfires_window.h"

namespace sw {

SitewardApp::SitewardApp(Dialogs& dialogs) : dialogs_(dialogs) {
    registry_.setFactory(
        forms::kMain, [this] { return new sw_main(registry_); }, WindowRegistry::OnClose::Destroy);
    registry_.setFactory(
        forms::kAbout, [this] { return new frmAbout(dialogs_); }, WindowRegistry::OnClose::Destroy);

    registry_.setFactory(forms::kConverter, [this] { return new sw_ddc_0306(dialogs_); });
    registry_.setFactory(forms::kFacilities,
                         [this] { return new swFac(dialogs_, openConverterCall()); });
    registry_.setFactory(forms::kWildfires,
                         [this] { return new frmDBMan(dialogs_, openConverterCall()); });
    registry_.setFactory(forms::kHurricanes,
                         [this] { return new swHcane(dialogs_, openConverterCall()); });
    registry_.setFactory(forms::kAddresses, [this] { return new frmGEAddress(dialogs_); });
    registry_.setFactory(forms::kKmlConvert, [this] { return new kml_firedp_0611(dialogs_); });
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
