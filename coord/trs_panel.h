#pragma once
// The converter's township-range-section panel: the township, range and section fields with
// their direction options, the part of the section, the preview, Convert and Reset. It checks
// what is typed (coord/trs.h), moves the focus back to a refused field, and on Convert looks
// the section up and hands the location to the window that holds it.

#include <QGroupBox>
#include <string>
#include <vector>

#include "coord/trs.h"
#include "services/base/dialogs.h"

class QFrame;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QVBoxLayout;

namespace sw {

// What the panel needs of the window that holds it.
class TrsPanelHost {
public:
    virtual ~TrsPanelHost() = default;
    // A message box (the window keeps track of the activation it takes away).
    virtual void tell(const std::string& message, Icon icon) = 0;
    virtual void beep() = 0;
    // Auto-advance for the field that has the focus, after an accepted change.
    virtual void advance() = 0;
    // Convert found the location of the description.
    virtual void located(double latitude, double longitude) = 0;
    // Convert found no such section in the survey.
    virtual void notLocated() = 0;
    // Reset TRS empties the latitude and longitude results.
    virtual void latitudeLongitudeCleared() = 0;
};

class TrsPanel : public QGroupBox {
    Q_OBJECT

public:
    TrsPanel(TrsPanelHost& host, QWidget* parent);
    ~TrsPanel() override;

    // The notation was chosen: the description starts afresh with north and east.
    void enter();
    // Another notation was chosen: every control of the panel is locked.
    void lock();
    // Opening the converter: the fields show their default texts, without being processed.
    void clearForOpening();
    // The township, range and section back to their defaults (Close, Reset, after Convert).
    void reset();
    // Coming back to the converter from another window drops an old preview.
    void clearPreview();

    // The three fields whose changes auto-advance follows.
    bool isField(const QLineEdit* edit) const;
    // Puts a text into one of them as the program does, processed as a change when it differs.
    void put(QLineEdit* edit, const QString& text);

    // The headings and labels that the window colours with the notation.
    const std::vector<QWidget*>& labels() const { return labels_; }
    // The part-of-section options in their order, and the quarter-quarter switch: the end of
    // the window's tab order.
    const std::vector<QRadioButton*>& partOptions() const { return partOptions_; }
    QPushButton* quarterQuarterSwitch() const { return quarterQuarterSwitch_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* makeField(const char* name, int maxLength, const char* text);
    // The township, range and section rows; `heading` is coloured with their labels.
    void buildDescriptionRows(QGridLayout* grid, QLabel* heading);
    QWidget* buildSectionPartBox();
    void buildButtons(QVBoxLayout* layout);
    void lockControls();
    void fieldChanged(QLineEdit* edit);
    void focusIn(QLineEdit* edit);
    void focusOut(QLineEdit* edit);
    bool checkTownship();
    bool checkRange();
    bool commitFields();
    void setQuarterQuartersEnabled(bool enabled);
    void preview();
    void convert();
    void resetPressed();

    TrsPanelHost& host_;
    trs::Description trs_;
    // While the description is being typed; in another notation the fields stay locked.
    bool active_ = false;
    bool quarterQuarters_ = false;

    QLineEdit* townshipField_ = nullptr;
    QLineEdit* rangeField_ = nullptr;
    QLineEdit* sectionField_ = nullptr;
    QRadioButton* townshipNorth_ = nullptr;
    QRadioButton* townshipSouth_ = nullptr;
    QRadioButton* rangeEast_ = nullptr;
    QRadioButton* rangeWest_ = nullptr;
    std::vector<QRadioButton*> partOptions_; // in the order of trs::sectionParts()
    QFrame* sectionPartFrame_ = nullptr;
    QPushButton* quarterQuarterSwitch_ = nullptr;
    QPushButton* previewButton_ = nullptr;
    QPushButton* resetButton_ = nullptr;
    QPushButton* convertButton_ = nullptr;
    QLabel* previewLabel_ = nullptr;
    std::vector<QWidget*> labels_;
};

} // namespace sw
