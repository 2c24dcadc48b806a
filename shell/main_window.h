#pragma once
// The main window: one button per task, a File menu that repeats them, About, and the rule
// for ending the program (closing the main window closes the task windows with it).

#include "ui/window_registry.h"

#include <QMainWindow>

namespace sw {

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(WindowRegistry& registry, QWidget* parent = nullptr);

    // Closes the task windows, the converter and then this window, in that order. The KML
    // conversion and About windows are not closed; the program ends with the last window.
    void closeAllWindows();

    // The task commands, shared by the buttons and the File menu.
    void showWildfires();
    void showFacilities();
    void showHurricanes();
    void showAddresses();
    void showKmlConversion();
    void showAbout();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showAndFocus(const char* form, const char* field);

    WindowRegistry& registry_;
    bool unloading_ = false;
};

} // namespace sw
