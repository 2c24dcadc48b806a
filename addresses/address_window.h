#pragma once
// The Facility Addresses window: builds an address list for Google Earth one facility at a
// time. The user types a facility's name, type and street address (the city can come from the
// ZIP code), previews it as a placemark added to the list text, may edit that text by hand,
// and writes the whole list as one KML file. The window only wires its controls; the rules live
// in address_list and zip_lookup.

#include "addresses/address_list.h"
#include "taskwindow/output_file_choice.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace sw {

class Dialogs;
class EntryRuleGuard;

class AddressesWindow : public QWidget {
    Q_OBJECT
public:
    explicit AddressesWindow(Dialogs& dialogs, QWidget* parent = nullptr);
    ~AddressesWindow() override;

    // The facility exactly as the window shows it now.
    AddressEntry entry() const;
    // The list text as it stands (line ends as "\n"), hand edits included.
    std::string documentText() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    QGridLayout* buildEntry();
    QPlainTextEdit* buildListText();
    void loadTypes(AddressCategory category);
    void chooseCategory(AddressCategory category);
    void loadStates();
    bool zipKey(const class QKeyEvent* key);
    void zipLeft();
    void searchZip();
    void preview();
    void createKml();
    void setDocumentText(const std::string& text);
    void lockText(bool locked);
    void setZipSearchEnabled(bool on);
    void setCreateEnabled(bool on);
    void reset();
    std::optional<std::string> iconStyle(const std::string& iconFile);

    Dialogs& dialogs_;
    FileDialogMemory fileDialog_;
    EntryRuleGuard* entryRule_ = nullptr;
    bool iconStyleReported_ = false;

    QRadioButton* tarnOption_ = nullptr;
    QRadioButton* icsOption_ = nullptr;
    QLineEdit* name_ = nullptr;
    QLabel* typeCaption_ = nullptr;
    QComboBox* type_ = nullptr;
    QLineEdit* street_ = nullptr;
    QLineEdit* city_ = nullptr;
    QComboBox* state_ = nullptr;
    QLineEdit* zip_ = nullptr;
    QPushButton* zipSearch_ = nullptr;
    QPushButton* previewButton_ = nullptr;
    QPlainTextEdit* listText_ = nullptr;
    QCheckBox* editCheck_ = nullptr;
    QPushButton* createButton_ = nullptr;
    QPushButton* clearButton_ = nullptr;
    QPushButton* exitButton_ = nullptr;
};

} // namespace sw
