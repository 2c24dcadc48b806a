#include "addresses/address_window.h"

#include "addresses/zip_lookup.h"
#include "services/base/dialogs.h"
#include "services/kml/kml_writer.h"
#include "taskwindow/controls.h"
#include "taskwindow/editable_list.h"
#include "taskwindow/entry_rule_guard.h"
#include "taskwindow/output_lock.h"
#include "taskwindow/record_file.h"
#include "ui/option_choice.h"
#include "ui/window_kinds.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QFont>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>

namespace {

using sw::controls::button;
using sw::controls::caption;
using sw::controls::named;
using sw::controls::qs;
using sw::controls::ss;

const QColor kTextUnlocked{255, 192, 255}; // pink while the list may be edited by hand
const QColor kTextLocked{255, 255, 192};
constexpr int kZipMaxLength = 64;

// A focus change the user made inside the window; the window losing the activation (to a
// message box, another window or a drop-down's pop-up) or being hidden is no leaving of the
// field.
bool userMovedFocus(Qt::FocusReason reason) {
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
           reason != Qt::NoFocusReason;
}

} // namespace

frmGEAddress::frmGEAddress(sw::Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), dialogs_(dialogs) {
    setObjectName(QString::fromLatin1(sw::forms::kAddresses));
    setWindowTitle(QStringLiteral("Google Earth Address Matching"));
    buildControls();

    entryRule_ = new sw::EntryRuleGuard(dialogs_, this);
    entryRule_->guard(txtPaname_);
    entryRule_->guard(cmbPAType_);
    entryRule_->guard(txtPastreet_);
    entryRule_->guard(txtPacity_);
    meZip_->installEventFilter(this);

    // A click on the option already chosen loads its list again: after Clear Values the
    // start list shows while the option stays chosen.
    sw::onOptionChosen(optTarnAdd_, this, [this] { chooseCategory(sw::AddressCategory::Tarn); });
    sw::onOptionChosen(optICSAdd_, this, [this] { chooseCategory(sw::AddressCategory::Ics); });
    connect(cmdZipSearch_, &QPushButton::clicked, this, &frmGEAddress::searchZip);
    connect(cmdEnableKML_, &QPushButton::clicked, this, &frmGEAddress::preview);
    connect(cmdCreateKML_, &QPushButton::clicked, this, &frmGEAddress::createKml);
    connect(chkKMLEd_, &QCheckBox::toggled, this, [this](bool on) { lockText(!on); });
    connect(cmdClear_, &QPushButton::clicked, this, &frmGEAddress::reset);
    connect(cmdExit_, &QPushButton::clicked, this, &QWidget::hide);

    loadTypes(sw::AddressCategory::Start);
    lockText(true);
    setZipSearchEnabled(false);
    setCreateEnabled(false);
    loadStates();
}

frmGEAddress::~frmGEAddress() = default;

void frmGEAddress::buildControls() {
    auto* heading = named(new QLabel(QStringLiteral("Facility Addresses")), "lblPAFac");
    QFont headingFont = heading->font();
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.5);
    headingFont.setBold(true);
    heading->setFont(headingFont);
    heading->setAlignment(Qt::AlignCenter);

    auto* category = named(new QGroupBox(QStringLiteral("Category")), "frmFacOpt");
    optTarnAdd_ = named(new QRadioButton(QStringLiteral("Tarn Facility")), "optTarnAdd");
    optICSAdd_ = named(new QRadioButton(QStringLiteral("ICS Facility")), "optICSAdd");
    auto* categoryRow = new QHBoxLayout(category);
    categoryRow->addWidget(optTarnAdd_);
    categoryRow->addWidget(optICSAdd_);
    categoryRow->addStretch();

    txtPaname_ = named(new QLineEdit, "txtPaname");
    cmbPAType_ = named(new QComboBox, "cmbPAType");
    // A typed type stays as typed: the icon depends on the exact text ("tower" is no "Tower").
    sw::makeEditableList(cmbPAType_);
    txtPastreet_ = named(new QLineEdit, "txtPastreet");
    txtPacity_ = named(new QLineEdit, "txtPacity");
    cmbPaState_ = named(new QComboBox, "cmbPaState");
    sw::makeEditableList(cmbPaState_);
    meZip_ = named(new QLineEdit, "meZip");
    meZip_->setMaxLength(kZipMaxLength);
    cmdZipSearch_ = button("cmdZipSearch", "Search For City By Zip Code");

    lblPAType_ = caption("lblPAType", "Facility Type:", cmbPAType_);
    lblPAType_->setEnabled(false);
    cmbPAType_->setEnabled(false);

    auto* entry = new QGridLayout;
    entry->addWidget(category, 0, 0, 1, 3);
    entry->addWidget(caption("lblPAName", "Facility Name:", txtPaname_), 1, 0);
    entry->addWidget(txtPaname_, 1, 1, 1, 2);
    entry->addWidget(lblPAType_, 2, 0);
    entry->addWidget(cmbPAType_, 2, 1, 1, 2);
    entry->addWidget(caption("lblPastreet", "Street:", txtPastreet_), 3, 0);
    entry->addWidget(txtPastreet_, 3, 1, 1, 2);
    entry->addWidget(caption("lblPaCity", "City/Town:", txtPacity_), 4, 0);
    entry->addWidget(txtPacity_, 4, 1, 1, 2);
    entry->addWidget(caption("lblState", "State:", cmbPaState_), 5, 0);
    entry->addWidget(cmbPaState_, 5, 1);
    entry->addWidget(caption("lblPazip", "Zip Code:", meZip_), 6, 0);
    entry->addWidget(meZip_, 6, 1);
    entry->addWidget(cmdZipSearch_, 6, 2);
    entry->setColumnStretch(1, 1);
    entry->setColumnStretch(2, 1);

    cmdEnableKML_ = button("cmdEnableKML", "Preview KML File Data");

    txtAdAdd_ = named(new QPlainTextEdit, "txtAdAdd");
    txtAdAdd_->setAccessibleName(QStringLiteral("KML Data"));
    txtAdAdd_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Unwrapped, in a fixed-width font: a line of the text box is a line of the file, so the
    // "line N, column M" of a well-formedness message is found where it says.
    txtAdAdd_->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtAdAdd_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    txtAdAdd_->setMinimumSize(720, 260);
    txtAdAdd_->setTabChangesFocus(true);
    chkKMLEd_ = named(new QCheckBox(QStringLiteral("Edit KML Data")), "chkKMLEd");

    cmdCreateKML_ = button("cmdCreateKML", "&Create KML");
    cmdClear_ = button("cmdClear", "Clear Values");
    cmdExit_ = button("cmdExit", "E&xit");
    auto* closing = new QHBoxLayout;
    closing->addWidget(cmdCreateKML_);
    closing->addWidget(cmdClear_);
    closing->addStretch();
    closing->addWidget(cmdExit_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(entry);
    layout->addWidget(cmdEnableKML_);
    layout->addWidget(txtAdAdd_, 1);
    layout->addWidget(chkKMLEd_);
    layout->addLayout(closing);

    QWidget* order[] = {optTarnAdd_, optICSAdd_,  txtPaname_,    cmbPAType_,    txtPastreet_,
                        txtPacity_,  cmbPaState_, meZip_,        cmdZipSearch_, cmdEnableKML_,
                        txtAdAdd_,   chkKMLEd_,   cmdCreateKML_, cmdClear_,     cmdExit_};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
}

sw::AddressEntry frmGEAddress::entry() const {
    return {ss(txtPaname_->text()), ss(cmbPAType_->currentText()),  ss(txtPastreet_->text()),
            ss(txtPacity_->text()), ss(cmbPaState_->currentText()), ss(meZip_->text())};
}

std::string frmGEAddress::documentText() const {
    // The raw text keeps what the user typed (no-break spaces included); only the paragraph
    // and line separators of the text box become line ends again.
    QString text = txtAdAdd_->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return ss(text);
}

void frmGEAddress::setDocumentText(const std::string& text) {
    QString shown = qs(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    txtAdAdd_->setPlainText(shown);
    // The newest placemark is at the end: show it.
    txtAdAdd_->moveCursor(QTextCursor::End);
    txtAdAdd_->ensureCursorVisible();
}

void frmGEAddress::loadTypes(sw::AddressCategory category) {
    const QString typed = cmbPAType_->currentText();
    cmbPAType_->clear();
    for (const std::string& type : sw::addressTypes(category)) {
        cmbPAType_->addItem(qs(type));
    }
    cmbPAType_->setCurrentIndex(-1);
    cmbPAType_->setEditText(typed);
}

void frmGEAddress::chooseCategory(sw::AddressCategory category) {
    lblPAType_->setEnabled(true);
    cmbPAType_->setEnabled(true);
    loadTypes(category);
}

void frmGEAddress::loadStates() {
    const sw::DataFileText file = sw::readStateListFile(sw::stateListFile());
    if (file.text) {
        for (const std::string& state : sw::parseStateList(*file.text)) {
            cmbPaState_->addItem(qs(state));
        }
        cmbPaState_->setCurrentIndex(0);
    } else {
        dialogs_.inform(file.message, {}, sw::Icon::Warning);
    }
    cmbPaState_->setEditText(QStringLiteral("QV"));
}

bool frmGEAddress::eventFilter(QObject* watched, QEvent* event) {
    if (watched == meZip_) {
        if (event->type() == QEvent::KeyPress) {
            return zipKey(static_cast<QKeyEvent*>(event));
        }
        if (event->type() == QEvent::FocusOut &&
            userMovedFocus(static_cast<QFocusEvent*>(event)->reason())) {
            zipLeft();
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool frmGEAddress::zipKey(const QKeyEvent* key) {
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
        key->key() == Qt::Key_Backspace) {
        setZipSearchEnabled(true);
        return false;
    }
    const QString text = key->text();
    // Keys that type nothing (arrows, Tab, Delete) and shortcuts (Ctrl+V, Ctrl+Z) pass: only
    // typed characters are judged here, and the lookup refuses a pasted text that is no code.
    if (text.size() != 1 || text[0].unicode() < 0x20 || text[0].unicode() == 0x7f) {
        return false;
    }
    const char16_t c = text[0].unicode();
    if (c >= u'0' && c <= u'9') {
        setZipSearchEnabled(true);
        return false;
    }
    dialogs_.beep();
    setZipSearchEnabled(false);
    return true;
}

void frmGEAddress::zipLeft() {
    if (meZip_->text().size() < 5) {
        dialogs_.beep();
        dialogs_.inform(sw::kInvalidZipMessage);
        // When a click on a button took the focus away, the box took that click's release:
        // the button would stay drawn pressed. Let it up once the press has reached it; the
        // click itself is spent on the message.
        QTimer::singleShot(0, this, [this] {
            if (auto* pressed = qobject_cast<QAbstractButton*>(focusWidget());
                pressed != nullptr && pressed->isDown()) {
                pressed->setDown(false);
            }
        });
        return;
    }
    setZipSearchEnabled(true);
}

void frmGEAddress::searchZip() {
    const sw::ZipLookup result = sw::lookupCity(ss(meZip_->text()));
    switch (result.outcome) {
    case sw::ZipLookup::Outcome::Found:
        txtPacity_->setText(qs(result.city));
        cmbPaState_->setEditText(QStringLiteral("QV"));
        break;
    case sw::ZipLookup::Outcome::NotFound:
        dialogs_.inform(result.message);
        txtPacity_->clear();
        break;
    case sw::ZipLookup::Outcome::Refused:
        dialogs_.inform(result.message);
        break;
    case sw::ZipLookup::Outcome::Failed:
        dialogs_.inform(result.message, {}, sw::Icon::Warning);
        break;
    }
}

std::optional<std::string> frmGEAddress::iconStyle(const std::string& iconFile) {
    const sw::DataFileText file = sw::readIconStyleFile(sw::iconStyleFile());
    if (!file.text) {
        // Once is enough: every later placemark goes without its icon for the same reason.
        if (!iconStyleReported_) {
            dialogs_.inform(file.message, {}, sw::Icon::Warning);
            iconStyleReported_ = true;
        }
        return std::nullopt;
    }
    iconStyleReported_ = false;
    return sw::iconStyleFragment(*file.text, sw::iconReference(iconFile));
}

void frmGEAddress::preview() {
    const sw::AddressEntry facility = entry();
    if (const auto missing = sw::firstMissingValue(facility)) {
        dialogs_.inform(missing->message);
        QWidget* const fields[] = {txtPaname_, cmbPAType_,  txtPastreet_,
                                   txtPacity_, cmbPaState_, meZip_};
        fields[static_cast<int>(missing->field)]->setFocus(Qt::OtherFocusReason);
        setCreateEnabled(false);
        return;
    }
    const std::string iconFile = sw::addressIconFile(facility.type);
    const std::optional<std::string> link = sw::AskLinkLine(dialogs_);
    const std::string block = sw::addressPlacemark(facility, link, iconStyle(iconFile));
    setDocumentText(sw::withPlacemark(documentText(), block));
    setCreateEnabled(true);
}

void frmGEAddress::createKml() {
    // The closing lines go only into what is written: until a write succeeds the list stays
    // as it was, open for more placemarks.
    const std::string finished = sw::withDocumentEnd(documentText());
    if (const auto error = sw::xmlWellFormednessError(finished)) {
        const std::string question = "The KML data is not well-formed XML and may not open in "
                                     "Google Earth:\n" +
                                     *error + "\n\nWrite it anyway?";
        if (!dialogs_.askYesNo(question, {}, sw::Icon::Warning, sw::Answer::No)) {
            return;
        }
    }
    const std::optional<sw::OutputFileChoice> choice =
        sw::chooseOutputFile(dialogs_, commonDialog1_,
                             {sw::kKmlDefaultExtension, sw::kKmlFileFilter, "",
                              "pa" + ss(txtPaname_->text()), sw::ExistenceTest::ChosenPath});
    if (!choice) {
        return;
    }
    const sw::WriteStatus written =
        sw::writeWholeFile(choice->chosen, sw::addressFileBytes(finished));
    if (!written) {
        dialogs_.inform(written.message, {}, sw::Icon::Critical);
        return;
    }
    reset();
}

void frmGEAddress::lockText(bool locked) {
    txtAdAdd_->setReadOnly(locked);
    sw::setBackground(txtAdAdd_, locked ? kTextLocked : kTextUnlocked);
    QFont font = txtAdAdd_->font();
    font.setItalic(false);
    txtAdAdd_->setFont(font);
    chkKMLEd_->setText(locked ? QStringLiteral("Edit KML Data")
                              : QStringLiteral("Uncheck to Lock"));
}

void frmGEAddress::setZipSearchEnabled(bool on) {
    cmdZipSearch_->setEnabled(on);
    sw::setBackground(cmdZipSearch_, on ? sw::kUnlockedButtonColour : sw::kLockedButtonColour);
}

void frmGEAddress::setCreateEnabled(bool on) {
    cmdCreateKML_->setEnabled(on);
    sw::setBackground(cmdCreateKML_, on ? sw::kUnlockedButtonColour : sw::kLockedButtonColour);
}

void frmGEAddress::reset() {
    cmbPAType_->clear();
    txtPaname_->clear();
    cmbPAType_->clearEditText();
    txtPastreet_->clear();
    txtPacity_->clear();
    cmbPaState_->setEditText(QStringLiteral("QV"));
    meZip_->clear();
    txtAdAdd_->clear();
    setZipSearchEnabled(false);
    setCreateEnabled(false);
    loadTypes(sw::AddressCategory::Start);
}
