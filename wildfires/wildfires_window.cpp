#include "wildfires/wildfires_window.h"

#include "services/base/dialogs.h"
#include "taskwindow/controls.h"
#include "taskwindow/editable_list.h"
#include "taskwindow/output_panel.h"
#include "taskwindow/result_panel.h"
#include "ui/window_kinds.h"
#include "wildfires/fire_form.h"
#include "wildfires/fire_outputs.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

namespace sw {

namespace {

using controls::button;
using controls::named;

} // namespace

WildfiresWindow::WildfiresWindow(Dialogs& dialogs, OpenConverter openConverter, Clock clock,
                                 QWidget* parent)
    : QWidget(parent, Qt::Window), dialogs_(dialogs) {
    setObjectName(QString::fromLatin1(forms::kWildfires));
    setWindowTitle(QStringLiteral("Wildfire Management"));
    form_ = new FireAttributesForm(dialogs_, std::move(clock),
                                   {DateForm::FourDigitYear, NotApplicable::Without,
                                    "Fire Name:", "Date/Time of Entry,mm/dd/yyyy:",
                                    "Fire Start Date, mm/dd/yyyy:", "Fire", "frmpFire"},
                                   this);
    coordinates_ = new ResultPanel({QStringLiteral("p"),
                                    {{{"lblDDlatR", "Latitude:"},
                                      {"lblDDlongR", "Longitude:"},
                                      {"lblAlbersXcap", "Albers Easting:"},
                                      {"lblAlbersNCap", "Albers Northing:"},
                                      {"lblUTM", "UTM Coordinate (WGS 84)"},
                                      {"lblNG", "US National Grid (WGS 84):"}}}},
                                   std::move(openConverter));
    coordinateButton_ = button("cmdCoordCon", "&Coordinate Conversion");
    form_->setLocation(coordinates_, coordinateButton_);
    outputs_ =
        new OutputPanel(dialogs_, {{"frmwOutput", "CmdEnable", "cmdAdNewdFire", "cmdAppendFile",
                                    "cmdWriteShape", "cmdAppendSHape", "cmdwKML"},
                                   QStringLiteral("Wildfire"),
                                   fireOutputSettings(),
                                   true});
    const auto foot = controls::makeClosingButtons("cmdQuit");
    clearButton_ = foot.clear;
    exitButton_ = foot.exit;

    auto* right = new QVBoxLayout;
    right->addWidget(form_->details());
    right->addWidget(outputs_);
    auto* columns = new QHBoxLayout;
    columns->addLayout(buildLeftColumn(), 1);
    columns->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(controls::heading("lblwFires", "Wildfires"));
    layout->addLayout(columns);
    layout->addLayout(foot.row);
    orderTabs();

    // Every input locks the outputs when it gets the focus, so nothing changed since the last
    // check can be written.
    QList<QWidget*> inputs = form_->inputs();
    inputs << coordinateButton_;
    for (QWidget* input : inputs) {
        outputs_->lockOnFocus(input);
    }
    outputs_->setCheck([this] { return form_->checkComplete(); });
    outputs_->setRecord([this] {
        const FireRecord fire = record();
        return OutputRecord{fireTextRow(fire), fireShapeRow(fire), fireShapePoint(fire)};
    });
    outputs_->setKml([this](RecordOutputs& out) { return writeFireKml(dialogs_, out, record()); });
    connect(coordinateButton_, &QPushButton::clicked, this, &WildfiresWindow::openConverter);
    connect(clearButton_, &QPushButton::clicked, this, &WildfiresWindow::clearValues);
    connect(exitButton_, &QPushButton::clicked, this, &WildfiresWindow::leave);
    lockOutputs();
}

WildfiresWindow::~WildfiresWindow() = default;

// Which fire and which report of it; where it is, filled only by the converter.
QLayout* WildfiresWindow::buildLeftColumn() {
    auto* identity = new QGridLayout;
    form_->addIdentityRows(identity, 0);
    identity->setColumnStretch(1, 1);
    auto* where = named(new QGroupBox(QStringLiteral("Location")), "frmpResults");
    (new QVBoxLayout(where))->addWidget(coordinates_);
    coordinates_->addBelow(coordinateButton_);

    auto* left = new QVBoxLayout;
    left->addLayout(identity);
    left->addWidget(where);
    left->addStretch();
    return left;
}

// The fields in the order a fire report is read, then the buttons; the percent text comes
// after them, and KML last.
void WildfiresWindow::orderTabs() {
    const FireFormControls& form = form_->controls();
    QList<QWidget*> order = {form.name, form.incident};
    for (QRadioButton* option : form.reportOptions) {
        order << option;
    }
    order << coordinateButton_ << form.entryDate << form.startDate << form.area << form.fuel
          << form.cause << form.percentSlider;
    for (QRadioButton* option : form.significanceOptions) {
        order << option;
    }
    const QList<QPushButton*> written = outputs_->outputButtons(); // the files, then KML
    order << outputs_->enableButton();
    for (QPushButton* output : written.sliced(0, written.size() - 1)) {
        order << output;
    }
    order << clearButton_ << exitButton_ << form.percentText << written.back();
    for (qsizetype i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }
}

void WildfiresWindow::lockOutputs() {
    outputs_->lock();
}

void WildfiresWindow::unlockOutputs() {
    outputs_->unlock();
}

FireRecord WildfiresWindow::record() const {
    return form_->record();
}

void WildfiresWindow::openConverter() {
    lockOutputs();
    coordinates_->openConverter();
}

// What Clear empties was never checked: the outputs lock until the check passes again, so an
// empty record cannot be written.
void WildfiresWindow::clearValues() {
    form_->clear({true, "0.00", FireClearing::Percent::SliderToZero});
    coordinates_->clear();
    lockOutputs();
}

void WildfiresWindow::leave() {
    coordinates_->stopReceiving();
    const FireFormControls& form = form_->controls();
    for (QLineEdit* field : {form.name, form.incident, form.area, form.percentText}) {
        field->clear();
    }
    coordinates_->clear();
    lockOutputs();
    hide();
}

} // namespace sw
