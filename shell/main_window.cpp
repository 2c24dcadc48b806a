#include "shell/main_window.h"

#include "services/base/program_folder.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace sw {
namespace {

QLabel* pictureLabel(QWidget* parent, const char* icon) {
    auto* picture = new QLabel(parent);
    const QPixmap pixmap(QString::fromStdString((programFolder() / "icons" / icon).string()));
    if (!pixmap.isNull()) {
        picture->setPixmap(pixmap.scaled(48, 48, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
    picture->setAlignment(Qt::AlignCenter);
    picture->setMinimumSize(56, 56);
    return picture;
}

} // namespace

MainWindow::MainWindow(WindowRegistry& registry, QWidget* parent)
    : QMainWindow(parent), registry_(registry) {
    setObjectName(forms::kMain);
    setWindowTitle(QStringLiteral("Siteward"));

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(24, 16, 24, 16);
    layout->setSpacing(8);

    auto* header = new QHBoxLayout;
    header->addWidget(pictureLabel(central, "SHIELD.png"));
    auto* greet = new QLabel(QStringLiteral("Welcome to Tarn Siteward"), central);
    greet->setObjectName(QStringLiteral("sw_greet"));
    QFont greetFont = greet->font();
    greetFont.setPointSize(greetFont.pointSize() + 6);
    greetFont.setBold(true);
    greet->setFont(greetFont);
    greet->setAlignment(Qt::AlignCenter);
    header->addWidget(greet, 1);
    header->addWidget(pictureLabel(central, "ffire.png"));
    layout->addLayout(header);
    layout->addSpacing(8);

    struct Command {
        const char* name;
        const char* caption;
        void (MainWindow::*action)();
    };
    const Command commands[] = {
        {"cmdSwfire", "&WildFires", &MainWindow::showWildfires},
        {"cmdSWfacilities", "Fa&cility and Incidents", &MainWindow::showFacilities},
        {"cmdSWHurricanes", "&Hurricanes", &MainWindow::showHurricanes},
        {"cmdSWAddress", "Facility Addresses", &MainWindow::showAddresses},
        {"cmdSWKPoly", "Convert KML to Fire Shapefile", &MainWindow::showKmlConversion},
        {"cmdSWquit", "E&xit", &MainWindow::closeAllWindows},
    };
    for (const auto& command : commands) {
        auto* button = new QPushButton(QString::fromUtf8(command.caption), central);
        button->setObjectName(QString::fromUtf8(command.name));
        button->setMinimumHeight(34);
        connect(button, &QPushButton::clicked, this, command.action);
        layout->addWidget(button);
    }
    setCentralWidget(central);

    auto* file = menuBar()->addMenu(QStringLiteral("File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    const Command items[] = {
        {"mnuwildfires", "Wildfires", &MainWindow::showWildfires},
        {"mnuFacilitues", "Facilities and Incidents", &MainWindow::showFacilities},
        {"mnuHurricanes", "Hurricanes", &MainWindow::showHurricanes},
        {"mnuFacAdd", "Facility Addresses", &MainWindow::showAddresses},
        {"mnuKML", "Convert KML to Shapefile ", &MainWindow::showKmlConversion},
        {"mnuExit", "Exit", &MainWindow::closeAllWindows},
    };
    for (const auto& item : items) {
        QAction* action = file->addAction(QString::fromUtf8(item.caption));
        action->setObjectName(QString::fromUtf8(item.name));
        connect(action, &QAction::triggered, this, item.action);
    }
    QAction* about = menuBar()->addAction(QStringLiteral("About"));
    about->setObjectName(QStringLiteral("mnuAbout"));
    connect(about, &QAction::triggered, this, &MainWindow::showAbout);

    setMinimumWidth(380);
}

void MainWindow::showAndFocus(const char* form, const char* field) {
    QWidget* window = registry_.show(QString::fromUtf8(form));
    if (window == nullptr || field == nullptr) {
        return;
    }
    // The focus goes in only once the window is visible.
    if (auto* target = window->findChild<QWidget*>(QString::fromUtf8(field))) {
        target->setFocus(Qt::OtherFocusReason);
    }
}

void MainWindow::showWildfires() {
    showAndFocus(forms::kWildfires, "txtF_Name");
}
void MainWindow::showFacilities() {
    showAndFocus(forms::kFacilities, "txtfacName");
}
void MainWindow::showHurricanes() {
    showAndFocus(forms::kHurricanes, nullptr);
}
void MainWindow::showAddresses() {
    showAndFocus(forms::kAddresses, nullptr);
}
void MainWindow::showKmlConversion() {
    showAndFocus(forms::kKmlConvert, nullptr);
}
void MainWindow::showAbout() {
    showAndFocus(forms::kAbout, nullptr);
}

void MainWindow::closeAllWindows() {
    // Not while one of the program's boxes is open (a screen reader can still press Exit):
    // the window that asked is waiting for the answer.
    if (unloading_ || QApplication::activeModalWidget() != nullptr) {
        return;
    }
    unloading_ = true;
    for (const char* form : {forms::kFacilities, forms::kHurricanes, forms::kConverter,
                             forms::kAddresses, forms::kWildfires}) {
        registry_.close(QString::fromUtf8(form));
    }
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The close box takes the task windows with it, like Exit.
    if (!unloading_) {
        closeAllWindows();
    }
    if (!unloading_) {
        event->ignore(); // refused while a box is open
        return;
    }
    event->accept();
}

} // namespace sw
