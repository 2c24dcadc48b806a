// Siteward: start the application with its main window.

#include "services/base/program_folder.h"
#include "shell/application.h"
#include "shell/qt_dialogs.h"

#include <QApplication>
#include <QIcon>
#include <clocale>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Siteward"));
    QApplication::setApplicationVersion(QStringLiteral(SITEWARD_VERSION));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/siteward.png")));
    // Ties the windows to the menu entry (siteward.desktop) on desktops that group by it.
    QGuiApplication::setDesktopFileName(QStringLiteral("siteward"));
    // Qt sets the C library's locale from the environment; files and shapefiles need "." as
    // the decimal separator whatever the user's locale.
    std::setlocale(LC_NUMERIC, "C");
    sw::setProgramFolder(QApplication::applicationDirPath().toStdString());

    sw::QtDialogs dialogs;
    sw::SitewardApp siteward(dialogs);
    siteward.start();
    return QApplication::exec();
}
