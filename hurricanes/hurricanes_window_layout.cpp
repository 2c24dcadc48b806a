// The Hurricanes window's controls and their places: the storm, the time, the wind on the
// left; the coordinates and the outputs on the right; Clear and Exit at the foot.

#include "hurricanes/hurricanes_window.h"
#include "hurricanes/wind.h"
#include "taskwindow/controls.h"
#include "taskwindow/editable_list.h"
#include "taskwindow/output_panel.h"
#include "taskwindow/result_panel.h"

#include <QComboBox>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QVBoxLayout>
#include <QValidator>

namespace sw {
namespace {

using controls::button;
using controls::named;

// The caption beside a control. An input control is also named by its caption, trimmed, for
// screen readers.
QLabel* caption(const char* name, const char* text, QWidget* buddy) {
    QLabel* label = controls::caption(name, text, buddy);
    if (label->buddy() != nullptr) {
        buddy->setAccessibleName(label->text().trimmed().remove(QLatin1Char('&')));
    }
    return label;
}

// A label that shows a value: framed, so an empty one still shows where the value goes.
QLabel* valueLabel(const char* name) {
    auto* label = named(new QLabel, name);
    label->setFrameShape(QFrame::StyledPanel);
    label->setMinimumHeight(24);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QScrollBar* scrollBar(const char* name, int minimum, int maximum) {
    auto* bar = named(new QScrollBar(Qt::Horizontal), name);
    bar->setRange(minimum, maximum);
    bar->setSingleStep(1);
    bar->setPageStep(3);
    bar->setFocusPolicy(Qt::StrongFocus);
    bar->setMinimumWidth(160);
    return bar;
}

// Keeps the wind and knots fields to what their key filters allow, also for pasted text.
class SpeedValidator : public QValidator {
public:
    SpeedValidator(bool decimals, QObject* parent) : QValidator(parent), decimals_(decimals) {}
    State validate(QString& input, int&) const override {
        const std::string text = input.toStdString();
        return (decimals_ ? acceptableWindText(text) : acceptableKnotsText(text)) ? Acceptable
                                                                                  : Invalid;
    }

private:
    bool decimals_;
};

} // namespace

void HurricanesWindow::buildControls() {
    auto* heading = named(new QLabel(QStringLiteral("Hurricanes")), "lblhHeading");
    QFont headingFont = heading->font();
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.5);
    headingFont.setBold(true);
    heading->setFont(headingFont);
    heading->setAlignment(Qt::AlignCenter);

    auto* left = new QVBoxLayout;
    left->addWidget(buildStormGroup());
    left->addWidget(buildTimeGroup());
    left->addWidget(buildWindGroup());
    left->addStretch();

    // Where: filled only by the converter.
    coordinateButton_ = button("cmdHcoordCon", "&Coordinate Conversion");
    auto* results = named(new QGroupBox(QStringLiteral("Coordinates")), "frmhResults");
    auto* resultsLayout = new QVBoxLayout(results);
    resultsLayout->addWidget(coordinates_);
    coordinates_->addBelow(coordinateButton_);
    auto* right = new QVBoxLayout;
    right->addWidget(results);
    right->addWidget(buildOutputGroup());
    right->addStretch();

    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);

    const auto foot = controls::makeClosingButtons("cmdHexit");
    clearButton_ = foot.clear;
    exitButton_ = foot.exit;

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(columns);
    layout->addLayout(foot.row);
    setTabOrder();
}

// The storm and the report.
QWidget* HurricanesWindow::buildStormGroup() {
    nameBox_ = named(new QComboBox, "cmbName");
    // As every editable list: a typed name stays exactly as typed ("Unamed Depression" must
    // match exactly to cap the wind) and no suggestion pop-up takes the next click.
    makeEditableList(nameBox_);
    nameBox_->setMinimumWidth(220);
    actualOption_ = named(new QRadioButton(QStringLiteral("Actual Location")), "optActual");
    forecastOption_ = named(new QRadioButton(QStringLiteral("Forecast Location")), "optFcast");
    auto* positionBox = named(new QGroupBox(QStringLiteral("Position Type")), "frmPosition");
    auto* positionRow = new QHBoxLayout(positionBox);
    positionRow->addWidget(actualOption_);
    positionRow->addWidget(forecastOption_);
    positionRow->addStretch();
    reportDateField_ = named(new QLineEdit, "meHEnter");
    reportDateField_->setInputMask(QStringLiteral("99-99-9999;_"));
    reportDateField_->setMaximumWidth(120);

    auto* storm = named(new QGroupBox(QStringLiteral("Storm")), "frmStorm");
    auto* grid = new QGridLayout(storm);
    grid->addWidget(caption("lblName", "Storm &Name:", nameBox_), 0, 0);
    grid->addWidget(nameBox_, 0, 1);
    grid->addWidget(positionBox, 1, 0, 1, 2);
    grid->addWidget(caption("lblHEnter", "Report Date, mm-dd-yyyy:", reportDateField_), 2, 0);
    grid->addWidget(reportDateField_, 2, 1);
    grid->setColumnStretch(1, 1);
    return storm;
}

// When, in UTC and local time.
QWidget* HurricanesWindow::buildTimeGroup() {
    utcMonthBar_ = scrollBar("HscrMon", 1, 12);
    utcDayBar_ = scrollBar("HscrDay", 1, 31);
    utcHourBar_ = scrollBar("HscrHour", 0, 23);
    utcMonthLabel_ = valueLabel("lblMon");
    utcDayLabel_ = valueLabel("lblDay");
    utcHourLabel_ = valueLabel("lblsHour");
    utcHourLabel_->setText(QStringLiteral("00:00"));
    for (QLabel* l : {utcMonthLabel_, utcDayLabel_, utcHourLabel_}) {
        l->setMinimumWidth(60);
        l->setAlignment(Qt::AlignCenter);
    }
    utcTimeLabel_ = valueLabel("lblUTC_Cat");
    localTimeLabel_ = valueLabel("lblLtimeZ");
    auto* time = named(new QGroupBox(QStringLiteral("Position Time")), "frmTime");
    auto* grid = new QGridLayout(time);
    grid->addWidget(caption("lblMonCap", "UTC &Month:", utcMonthBar_), 0, 0);
    grid->addWidget(utcMonthBar_, 0, 1);
    grid->addWidget(utcMonthLabel_, 0, 2);
    grid->addWidget(caption("lblDayCap", "UTC &Day:", utcDayBar_), 1, 0);
    grid->addWidget(utcDayBar_, 1, 1);
    grid->addWidget(utcDayLabel_, 1, 2);
    grid->addWidget(caption("lblHourCap", "UTC &Hour:", utcHourBar_), 2, 0);
    grid->addWidget(utcHourBar_, 2, 1);
    grid->addWidget(utcHourLabel_, 2, 2);
    grid->addWidget(caption("lblUTCCap", "UTC (Zulu) Time:", utcTimeLabel_), 3, 0);
    grid->addWidget(utcTimeLabel_, 3, 1, 1, 2);
    grid->addWidget(caption("lblLocalCap", "Local Time:", localTimeLabel_), 4, 0);
    grid->addWidget(localTimeLabel_, 4, 1, 1, 2);
    grid->setColumnStretch(1, 1);
    return time;
}

// The wind and its category.
QWidget* HurricanesWindow::buildWindGroup() {
    windField_ = named(new QLineEdit(QStringLiteral("23")), "txtHwind");
    windField_->setValidator(new SpeedValidator(true, windField_));
    windField_->setMaximumWidth(90);
    windSlider_ = named(new QSlider(Qt::Horizontal), "sldHwind");
    windSlider_->setRange(0, 220);
    windSlider_->setSingleStep(1);
    windSlider_->setPageStep(10);
    windSlider_->setTickPosition(QSlider::TicksBelow);
    windSlider_->setTickInterval(20);
    windSlider_->setAccessibleName(QStringLiteral("Hurricane Winds (MPH) slider"));
    categoryLabel_ = valueLabel("lblHCat");
    knotsButton_ = button("cmdCvrtKts", "Convert Knots to MPH");
    knotsFrame_ = named(new QGroupBox, "frmKnots");
    knotsCaption_ = named(new QLabel(QStringLiteral(" Knots to MPH")), "lblKnots");
    knotsField_ = named(new QLineEdit(QStringLiteral("0")), "txtKnots");
    knotsField_->setValidator(new SpeedValidator(false, knotsField_));
    knotsField_->setMaximumWidth(90);
    knotsCaption_->setBuddy(knotsField_);
    knotsField_->setAccessibleName(QStringLiteral("Knots"));
    convertKnotsButton_ = button("cmdCkts", "Convert");
    auto* knotsRow = new QHBoxLayout(knotsFrame_);
    knotsRow->addWidget(knotsCaption_);
    knotsRow->addWidget(knotsField_);
    knotsRow->addWidget(convertKnotsButton_);
    knotsRow->addStretch();
    knotsFrame_->setEnabled(false);

    auto* wind = named(new QGroupBox(QStringLiteral("Wind")), "frmWind");
    auto* grid = new QGridLayout(wind);
    grid->addWidget(
        caption("lblHwind", " Hurricane Winds (MPH): Use SliderBar or Enter in Box", windField_), 0,
        0, 1, 2);
    grid->addWidget(windField_, 1, 0);
    grid->addWidget(windSlider_, 1, 1);
    auto* categoryRow = new QHBoxLayout;
    categoryRow->addWidget(caption("lblHCatCap", "Category:", categoryLabel_));
    categoryRow->addWidget(categoryLabel_, 1);
    grid->addLayout(categoryRow, 2, 0, 1, 2);
    grid->addWidget(knotsButton_, 3, 0, 1, 2);
    grid->addWidget(knotsFrame_, 4, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    return wind;
}

// What to write.
QWidget* HurricanesWindow::buildOutputGroup() {
    outputs_ =
        new OutputPanel(dialogs_, {{"frmhOutput", "cmdEnableWriteFile", "cmdAdNewHFac",
                                    "cmdAppendFile", "cmdWriteHShape", "appendHShape", "cmdKML"},
                                   QStringLiteral("Hurricane"),
                                   hurricaneOutputSettings()});
    enableButton_ = outputs_->enableButton();
    const QList<QPushButton*> outputButtons = outputs_->outputButtons();
    newFileButton_ = outputButtons[0];
    appendFileButton_ = outputButtons[1];
    newShapefileButton_ = outputButtons[2];
    appendShapefileButton_ = outputButtons[3];
    kmlButton_ = outputButtons[4];
    return outputs_;
}

void HurricanesWindow::setTabOrder() {
    QWidget* order[] = {nameBox_,          actualOption_,       forecastOption_,
                        reportDateField_,  utcMonthBar_,        utcDayBar_,
                        utcHourBar_,       windField_,          windSlider_,
                        knotsButton_,      knotsField_,         convertKnotsButton_,
                        coordinateButton_, enableButton_,       newFileButton_,
                        appendFileButton_, newShapefileButton_, appendShapefileButton_,
                        kmlButton_,        clearButton_,        exitButton_};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }
}

} // namespace sw
