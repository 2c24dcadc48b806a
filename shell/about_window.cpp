#include "shell/about_window.h"

#include "services/base/program_folder.h"
#include "shell/system_info.h"

#include <QDate>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSysInfo>
#include <QVBoxLayout>
#include <cstdlib>

namespace sw {

AboutWindow::AboutWindow(Dialogs& dialogs, QWidget* parent) : QDialog(parent), dialogs_(dialogs) {
    setWindowTitle(QStringLiteral("About Tarn Siteward"));
    setModal(false);

    lookup_ = [] {
        const char* path = std::getenv("PATH");
        return QString::fromStdString(findSystemInfoTool(path != nullptr ? path : ""));
    };
    launcher_ = [](const QString& program) { return QProcess::startDetached(program, {}); };

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Picture1"));
    const QPixmap pixmap(
        QString::fromStdString((programFolder() / "icons" / "SHIELD.png").string()));
    if (!pixmap.isNull()) {
        picture->setPixmap(pixmap.scaled(64, 64, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
    picture->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    picture->setMinimumWidth(72);

    auto* title = new QLabel(titleText(), this);
    title->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = title->font();
    titleFont.setPointSize(titleFont.pointSize() + 5);
    titleFont.setBold(true);
    title->setFont(titleFont);

    auto* version = new QLabel(QStringLiteral("Version " SITEWARD_VERSION), this);
    version->setObjectName(QStringLiteral("lblVersion"));

    auto* description = new QLabel(descriptionText(), this);
    description->setObjectName(QStringLiteral("lblDescription"));
    description->setWordWrap(true);
    description->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* disclaimer = new QLabel(disclaimerText(), this);
    disclaimer->setObjectName(QStringLiteral("lblDisclaimer"));
    disclaimer->setWordWrap(true);
    QFont small = disclaimer->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    disclaimer->setFont(small);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    ok->setAutoDefault(true);
    auto* sysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    sysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    sysInfo->setAutoDefault(false);
    // Enter presses OK (the default button); Esc rejects, which closes the window too.
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(sysInfo, &QPushButton::clicked, this, &AboutWindow::showSystemInfo);

    auto* grid = new QGridLayout(this);
    grid->addWidget(picture, 0, 0, 3, 1);
    grid->addWidget(title, 0, 1);
    grid->addWidget(version, 1, 1);
    grid->addWidget(description, 2, 1);
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    grid->addWidget(line, 3, 0, 1, 2);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(disclaimer, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(sysInfo);
    buttons->addStretch();
    bottom->addLayout(buttons);
    grid->addLayout(bottom, 4, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    setMinimumWidth(560);
}

void AboutWindow::showSystemInfo() {
    // The platform's viewer knows the machine but nothing of this program; the report says
    // what a help desk asks first, whether a viewer is installed or not.
    const QString tool = lookup_ ? lookup_() : QString();
    if (!tool.isEmpty() && launcher_) {
        launcher_(tool);
    }
    SystemFacts facts;
    facts.programVersion = SITEWARD_VERSION;
    facts.toolkitVersion = qVersion();
    facts.operatingSystem = QSysInfo::prettyProductName().toStdString();
    facts.kernel = (QSysInfo::kernelType() + ' ' + QSysInfo::kernelVersion()).toStdString();
    facts.dataFolder = programFolder();
    facts.year = QDate::currentDate().year();
    dialogs_.inform(systemReport(facts), "System Information", Icon::Information);
}

QString AboutWindow::titleText() {
    return QStringLiteral("Tarn Division of Forestry Siteward");
}

QString AboutWindow::disclaimerText() {
    return QStringLiteral(
        "Warning: This software is provided as is. It is free, and you may use, copy and "
        "distribute it without limit. It comes with no warranty of any kind, express or "
        "implied. The Tarn Division of Forestry is not liable for any loss of data, damages, "
        "loss of profits or any other loss that arises while using this software.");
}

QString AboutWindow::descriptionText() {
    return QStringLiteral(
        "Siteward was written by the Forest Protection Bureau of the Tarn Division of "
        "Forestry.\n"
        "Questions and suggestions: contact the Forest Protection Bureau GIS section through "
        "your district office.\n"
        "\n"
        "The Albers, UTM and US National Grid routines follow the published map projection "
        "formulas of the US Geological Survey (J. P. Snyder, Map Projections: A Working "
        "Manual).\n"
        "\n"
        "This program relies on the Qt toolkit (The Qt Company and contributors) for its "
        "windows, on shapelib (Frank Warmerdam and contributors) for the creation of "
        "shapefiles, and on SQLite (D. Richard Hipp and contributors, public domain) for its "
        "lookup databases.");
}

} // namespace sw
