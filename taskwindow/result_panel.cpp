#include "taskwindow/result_panel.h"

#include "taskwindow/output_lock.h"

#include <QGridLayout>
#include <QLabel>

namespace sw {

ResultPanel::ResultPanel(const ResultPanelLabels& labels, OpenConverter openConverter,
                         QWidget* parent)
    : QWidget(parent), openConverter_(std::move(openConverter)) {
    const QString& l = labels.letter;
    const QString valueNames[] = {"lbl" + l + "DDLat",           "lbl" + l + "DDLong",
                                  "lbl" + l + "AlbersX",         "lbl" + l + "AlbersY",
                                  QStringLiteral("lblUTMCoord"), QStringLiteral("lblUSNG")};
    grid_ = new QGridLayout(this);
    grid_->setContentsMargins(0, 0, 0, 0);
    for (int row = 0; row < 6; ++row) {
        const ResultCaption& caption = labels.captions[static_cast<std::size_t>(row)];
        auto* name = new QLabel(caption.text, this);
        name->setObjectName(caption.objectName);
        auto* value = new QLabel(this);
        value->setObjectName(valueNames[row]);
        value->setMinimumWidth(220);
        value->setMinimumHeight(24);
        value->setContentsMargins(6, 2, 6, 2);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        // The caption labels the value for a screen reader, which still reads the value as
        // the label's own text.
        name->setBuddy(value);
        grid_->addWidget(name, row, 0);
        grid_->addWidget(value, row, 1);
        values_[static_cast<std::size_t>(row)] = value;
    }
    grid_->setColumnStretch(1, 1);
    stopReceiving();
}

void ResultPanel::receiveCoordinates(const HandBackTexts& t) {
    const std::string* texts[] = {&t.latitude, &t.longitude, &t.albersX,
                                  &t.albersY,  &t.utm,       &t.usng};
    for (std::size_t i = 0; i < values_.size(); ++i) {
        values_[i]->setText(QString::fromStdString(*texts[i]));
    }
}

QString ResultPanel::text(Value value) const {
    return values_[value]->text();
}

HandBackTexts ResultPanel::texts() const {
    auto s = [this](Value v) { return text(v).toStdString(); };
    return {s(Latitude), s(Longitude), s(AlbersX), s(AlbersY), s(Utm), s(Usng)};
}

void ResultPanel::openConverter() {
    startReceiving();
    if (openConverter_) {
        openConverter_(*this);
    }
}

void ResultPanel::colour(bool receiving) {
    for (QLabel* value : values_) {
        value->setEnabled(receiving);
        setBackground(value, receiving ? kResultsReceiving : kResultsIdle, Qt::white);
    }
}

void ResultPanel::startReceiving() {
    colour(true);
}

void ResultPanel::stopReceiving() {
    colour(false);
}

void ResultPanel::clear() {
    for (QLabel* value : values_) {
        value->clear();
    }
}

void ResultPanel::addBelow(QWidget* widget) {
    grid_->addWidget(widget, grid_->rowCount(), 0, 1, 2);
}

} // namespace sw
