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
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace sw {
class Dialogs;
class EntryRuleGuard;
} // namespace sw

class frmGEAddress : public QWidget {
    Q_OBJECT
public:
    explicit frmGEAddress(sw::Dialogs& dialogs, QWidget* parent = nullptr);
    ~frmGEAddress() override;

    // The facility exactly as the window shows it now.
    sw::AddressEntry entry() const;
    // The list text as it stands (line ends as "\n"), hand edits included.
    std::string documentText() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void loadTypes(sw::AddressCategory category);
    void chooseCategory(sw::AddressCategory category);
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

    sw::Dialogs& dialogs_;
    sw::FileDialogMemory commonDialog1_;
    sw::EntryRuleGuard* entryRule_ = nullptr;
    bool iconStyleReported_ = false;

    QRadioButton* optTarnAdd_ = nullptr;
    QRadioButton* optICSAdd_ = nullptr;
    QLineEdit* txtPaname_ = nullptr;
    QLabel* lblPAType_ = nullptr;
    QComboBox* cmbPAType_ = nullptr;
    QLineEdit* txtPastreet_ = nullptr;
    QLineEdit* txtPacity_ = nullptr;
    QComboBox* cmbPaState_ = nullptr;
    QLineEdit* meZip_ = nullptr;
    QPushButton* cmdZipSearch_ = nullptr;
    QPushButton* cmdEnableKML_ = nullptr;
    QPlainTextEdit* txtAdAdd_ = nullptr;
    QCheckBox* chkKMLEd_ = nullptr;
    QPushButton* cmdCreateKML_ = nullptr;
    QPushButton* cmdClear_ = nullptr;
    QPushButton* cmdExit_ = nullptr;
};
