#include "taskwindow/output_panel.h"

#include "services/base/dialogs.h"
#include "taskwindow/output_lock.h"

#include <QGridLayout>
#include <QPushButton>

namespace sw {

using controls::button;

OutputPanel::OutputPanel(Dialogs& dialogs, OutputPanelSetup setup, QWidget* parent)
    : QGroupBox(QStringLiteral("Output"), parent), dialogs_(dialogs),
      outputs_(dialogs, std::move(setup.files)),
      shapefileDialogsStartEmpty_(setup.shapefileDialogsStartEmpty) {
    const controls::OutputNames& names = setup.names;
    setObjectName(QString::fromLatin1(names.group));
    buttons_.enable = button(names.enable, "Enable File and Shapefile Creation");
    buttons_.newFile =
        button(names.newFile, QStringLiteral("Create New %1 File").arg(setup.record));
    buttons_.appendFile =
        button(names.appendFile, QStringLiteral("Append Existing %1 File").arg(setup.record));
    buttons_.newShape = button(names.newShape, "Write to Shapefile (Albers)");
    buttons_.appendShape = button(names.appendShape, "Append Existing Shapefile (Albers)");
    buttons_.kml = button(names.kml, "Create KML for Google Earth");
    auto* grid = new QGridLayout(this);
    grid->addWidget(buttons_.enable, 0, 0, 1, 2);
    grid->addWidget(buttons_.newFile, 1, 0);
    grid->addWidget(buttons_.appendFile, 1, 1);
    grid->addWidget(buttons_.newShape, 2, 0);
    grid->addWidget(buttons_.appendShape, 2, 1);
    grid->addWidget(buttons_.kml, 3, 0, 1, 2);

    lock_ = new OutputLock(outputButtons(), this);
    connect(buttons_.enable, &QPushButton::clicked, this, &OutputPanel::runCheck);
    connect(buttons_.newFile, &QPushButton::clicked, this, &OutputPanel::createTextFile);
    connect(buttons_.appendFile, &QPushButton::clicked, this, &OutputPanel::appendTextFile);
    connect(buttons_.newShape, &QPushButton::clicked, this, &OutputPanel::writeShapefile);
    connect(buttons_.appendShape, &QPushButton::clicked, this, &OutputPanel::appendShapefile);
    connect(buttons_.kml, &QPushButton::clicked, this, &OutputPanel::writeKml);
    lock();
}

OutputPanel::~OutputPanel() = default;

void OutputPanel::setCheck(std::function<bool()> check) {
    check_ = std::move(check);
}

void OutputPanel::setRecord(std::function<OutputRecord()> record) {
    record_ = std::move(record);
}

void OutputPanel::setKml(std::function<OutputResult(RecordOutputs&)> writeKml) {
    writeKml_ = std::move(writeKml);
}

void OutputPanel::setAfterNewTextFile(std::function<void()> after) {
    afterNewTextFile_ = std::move(after);
}

void OutputPanel::lock() {
    lock_->lock();
}

void OutputPanel::unlock() {
    lock_->unlock();
}

bool OutputPanel::isUnlocked() const {
    return lock_->isUnlocked();
}

void OutputPanel::lockOnFocus(QWidget* control) {
    lock_->lockOnFocus(control);
}

QList<QPushButton*> OutputPanel::outputButtons() const {
    return {buttons_.newFile, buttons_.appendFile, buttons_.newShape, buttons_.appendShape,
            buttons_.kml};
}

void OutputPanel::runCheck() {
    // Every failed check locks, not only some: nothing may stay writable for a record that did
    // not pass.
    if (check_ && check_()) {
        unlock();
    } else {
        lock();
    }
}

void OutputPanel::createTextFile() {
    const OutputResult result = outputs_.createTextFile(record_().textRow);
    if (result.isWritten() && afterNewTextFile_) {
        afterNewTextFile_();
    }
    report(result);
}

void OutputPanel::appendTextFile() {
    report(outputs_.appendTextFile(record_().textRow));
}

void OutputPanel::writeShapefile() {
    buttons_.appendShape->setEnabled(false);
    setBackground(buttons_.appendShape, kLockedButtonColour);
    if (shapefileDialogsStartEmpty_) {
        outputs_.dialog().forget();
    }
    const OutputRecord record = record_();
    report(outputs_.createShapefile(record.shapeRow, record.point));
}

void OutputPanel::appendShapefile() {
    buttons_.newShape->setEnabled(false);
    setBackground(buttons_.newShape, kLockedButtonColour);
    if (shapefileDialogsStartEmpty_) {
        outputs_.dialog().forget();
    }
    const OutputRecord record = record_();
    report(outputs_.appendShapefile(record.shapeRow, record.point));
}

void OutputPanel::writeKml() {
    report(writeKml_(outputs_));
}

void OutputPanel::report(const OutputResult& result) {
    if (result.isFailed()) {
        dialogs_.inform(result.message, {}, Icon::Critical);
    }
}

} // namespace sw
