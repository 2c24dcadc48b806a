#pragma once
// The six coordinate results of a task window (latitude, longitude, Albers easting and
// northing, UTM, US National Grid) as the converter fills them. The panel is the window's
// hand-back target: the window's coordinate button calls openConverter(), which makes the
// labels ready (enabled, navy) and opens the converter through the call the program injected.
// The window's Exit calls stopReceiving() (disabled, grey). Only the converter fills the
// labels; the window reads them back with texts().

#include "coord/hand_back.h"

#include <QString>
#include <QWidget>
#include <array>

class QGridLayout;
class QLabel;

namespace sw {

struct ResultCaption {
    QString objectName; // "lblfLatCap"
    QString text;       // "Latitude"
};

struct ResultPanelLabels {
    // The window's letter in the value labels' names: lbl<letter>DDLat, lbl<letter>DDLong,
    // lbl<letter>AlbersX, lbl<letter>AlbersY; UTM and grid are lblUTMCoord and lblUSNG.
    QString letter;
    // Captions in the order latitude, longitude, easting, northing, UTM, grid.
    std::array<ResultCaption, 6> captions;
};

inline const QColor kResultsReceiving{0, 0, 128}; // navy while the converter fills them
inline const QColor kResultsIdle{128, 128, 128};

class ResultPanel : public QWidget, public HandBackTarget {
    Q_OBJECT
public:
    enum Value { Latitude, Longitude, AlbersX, AlbersY, Utm, Usng };

    ResultPanel(const ResultPanelLabels& labels, OpenConverter openConverter,
                QWidget* parent = nullptr);

    void receiveCoordinates(const HandBackTexts& texts) override;
    HandBackTexts texts() const;
    QString text(Value value) const;
    QLabel* label(Value value) const { return values_[value]; }

    // The coordinate button's action: ready to receive, then the converter opens for us.
    void openConverter();
    void startReceiving(); // enabled, navy
    void stopReceiving();  // disabled, grey (as at first)
    void clear();

    // A widget across both columns under the six rows (the window's coordinate button).
    void addBelow(QWidget* widget);

private:
    void colour(bool receiving);

    OpenConverter openConverter_;
    QGridLayout* grid_ = nullptr;
    std::array<QLabel*, 6> values_{};
};

} // namespace sw
