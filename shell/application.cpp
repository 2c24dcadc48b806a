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

#include <functional>
#include <tuple>

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
        forms::kMain, [this] { return new MainWindow(registry_); },
        WindowRegistry::OnClose::Destroy);
    registry_.setFactory(
        forms::kAbout,
        askingOverItself(dialogs_, [](Dialogs& own) { return new AboutWindow(own); }),
        WindowRegistry::OnClose::Destroy, QStringLiteral("cmdOK"));

    // The windows that live until they are unloaded, each with its own way out, which the
    // window system's close box presses too.
    using Make = std::function<QWidget*(Dialogs&)>;
    const std::tuple<const char*, const char*, Make> windows[] = {
        {forms::kConverter, "cmdconClose", [](Dialogs& own) { return new ConverterWindow(own); }},
        {forms::kFacilities, "cmdfacDone",
         [this](Dialogs& own) { return new FacilitiesWindow(own, openConverterCall()); }},
        {forms::kWildfires, "cmdQuit",
         [this](Dialogs& own) { return new WildfiresWindow(own, openConverterCall()); }},
        {forms::kHurricanes, "cmdHexit",
         [this](Dialogs& own) { return new HurricanesWindow(own, openConverterCall()); }},
        {forms::kAddresses, "cmdExit", [](Dialogs& own) { return new AddressesWindow(own); }},
        {forms::kKmlConvert, "cmdQuit", [](Dialogs& own) { return new KmlConversionWindow(own); }},
    };
    for (const auto& [form, leaveButton, make] : windows) {
        registry_.setFactory(form, askingOverItself(dialogs_, make), WindowRegistry::OnClose::Hide,
                             QString::fromLatin1(leaveButton));
    }
}

MainWindow* SitewardApp::start() {
    return qobject_cast<MainWindow*>(registry_.show(forms::kMain));
}

void SitewardApp::openConverter(HandBackTarget& target) {
    if (auto* converter = registry_.instanceAs<ConverterWindow>(forms::kConverter)) {
        converter->openFor(&target);
    }
}

OpenConverter SitewardApp::openConverterCall() {
    return [this](HandBackTarget& target) { openConverter(target); };
}

} // namespace sw
