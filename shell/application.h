#pragma once
// The program's windows put together: the registry with a factory for every window kind, all
// sharing one dialog seam, each window through a WindowDialogs of its own that names it as the
// asker. main() builds one with the Qt dialogs; tests build one with the scripted double.

#include "coord/hand_back.h"
#include "services/base/dialogs.h"
#include "ui/window_registry.h"

namespace sw {

class MainWindow;

class SitewardApp {
public:
    explicit SitewardApp(Dialogs& dialogs);

    WindowRegistry& registry() { return registry_; }
    // Shows the main window (the first and only window at start-up).
    MainWindow* start();
    // Opens the converter for a task window's result panel, which becomes its hand-back
    // target. Every task window gets this call, and only this one, to open the converter.
    void openConverter(HandBackTarget& target);
    OpenConverter openConverterCall();

private:
    Dialogs& dialogs_;
    WindowRegistry registry_;
};

} // namespace sw
