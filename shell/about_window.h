#pragma once
// About: the version, the disclaimer, who made the program and what it is built with, and a
// button that tells what a help desk asks for (and starts the platform's system-information
// viewer when one is installed).

#include "services/base/dialogs.h"

#include <QDialog>
#include <functional>

namespace sw {

class AboutWindow : public QDialog {
    Q_OBJECT
public:
    // Starts a program detached; true when it started.
    using Launcher = std::function<bool(const QString& program)>;

    explicit AboutWindow(Dialogs& dialogs, QWidget* parent = nullptr);

    // Tests replace how the viewer is found and started.
    void setSystemInfoLookup(std::function<QString()> lookup) { lookup_ = std::move(lookup); }
    void setLauncher(Launcher launcher) { launcher_ = std::move(launcher); }

    // The report of shell/system_info.h in a message; the viewer first, when there is one.
    void showSystemInfo();

    static QString titleText();
    static QString disclaimerText();
    static QString descriptionText();

private:
    Dialogs& dialogs_;
    std::function<QString()> lookup_;
    Launcher launcher_;
};

} // namespace sw
