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
#include <tuple>

namespace sw {
namespace {

using controls::button;
using controls::caption;
using controls::named;
using controls::qs;
using controls::ss;

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

AddressesWindow::AddressesWindow(Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), dialogs_(dialogs) {
    setObjectName(QString::fromLatin1(forms::kAddresses));
    setWindowTitle(QStringLiteral("Google Earth Address Matching"));
    buildControls();

    entryRule_ = new EntryRuleGuard(dialogs_, this);
    entryRule_->guard(name_);
    entryRule_->guard(type_);
    entryRule_->guard(street_);
    entryRule_->guard(city_);
    zip_->installEventFilter(this);

    // A click on the option already chosen loads its list again: after Clear Values the
    // start list shows while the option stays chosen.
    onOptionChosen(tarnOption_, this, [this] { chooseCategory(AddressCategory::Tarn); });
    onOptionChosen(icsOption_, this, [this] { chooseCategory(AddressCategory::Ics); });
    connect(zipSearch_, &QPushButton::clicked, this, &AddressesWindow::searchZip);
    connect(previewButton_, &QPushButton::clicked, this, &AddressesWindow::preview);
    connect(createButton_, &QPushButton::clicked, this, &AddressesWindow::createKml);
    connect(editCheck_, &QCheckBox::toggled, this, [this](bool on) { lockText(!on); });
    connect(clearButton_, &QPushButton::clicked, this, &AddressesWindow::reset);
    connect(exitButton_, &QPushButton::clicked, this, &QWidget::hide);

    loadTypes(AddressCategory::Start);
    lockText(true);
    setZipSearchEnabled(false);
    setCreateEnabled(false);
    loadStates();
}

AddressesWindow::~AddressesWindow() = default;

void AddressesWindow::buildControls() {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(controls::heading("lblPAFac", "Facility Addresses"));
    layout->addLayout(buildEntry());
    previewButton_ = button("cmdEnableKML", "Preview KML File Data");
    layout->addWidget(previewButton_);
    layout->addWidget(buildListText(), 1);
    editCheck_ = named(new QCheckBox(QStringLiteral("Edit KML Data")), "chkKMLEd");
    layout->addWidget(editCheck_);
    auto* closing = new QHBoxLayout;
    createButton_ = button("cmdCreateKML", "&Create KML");
    clearButton_ = button("cmdClear", "Clear Values");
    exitButton_ = button("cmdExit", "E&xit");
    closing->addWidget(createButton_);
    closing->addWidget(clearButton_);
    closing->addStretch();
    closing->addWidget(exitButton_);
    layout->addLayout(closing);

    QWidget* order[] = {tarnOption_, icsOption_, name_,         type_,        street_,
                        city_,       state_,     zip_,          zipSearch_,   previewButton_,
                        listText_,   editCheck_, createButton_, clearButton_, exitButton_};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
}

QGridLayout* AddressesWindow::buildEntry() {
    auto* category = named(new QGroupBox(QStringLiteral("Category")), "frmFacOpt");
    tarnOption_ = named(new QRadioButton(QStringLiteral("Tarn Facility")), "optTarnAdd");
    icsOption_ = named(new QRadioButton(QStringLiteral("ICS Facility")), "optICSAdd");
    auto* categoryRow = new QHBoxLayout(category);
    categoryRow->addWidget(tarnOption_);
    categoryRow->addWidget(icsOption_);
    categoryRow->addStretch();

    name_ = named(new QLineEdit, "txtPaname");
    type_ = named(new QComboBox, "cmbPAType");
    // A typed type stays as typed: the icon depends on the exact text ("tower" is no "Tower").
    makeEditableList(type_);
    street_ = named(new QLineEdit, "txtPastreet");
    city_ = named(new QLineEdit, "txtPacity");
    state_ = named(new QComboBox, "cmbPaState");
    makeEditableList(state_);
    zip_ = named(new QLineEdit, "meZip");
    zip_->setMaxLength(kZipMaxLength);
    zipSearch_ = button("cmdZipSearch", "Search For City By Zip Code");

    typeCaption_ = caption("lblPAType", "Facility Type:", type_);
    typeCaption_->setEnabled(false);
    type_->setEnabled(false);

    auto* entry = new QGridLayout;
    entry->addWidget(category, 0, 0, 1, 3);
    const std::tuple<const char*, const char*, QWidget*> rows[] = {
        {"lblPAName", "Facility Name:", name_}, {"lblPAType", nullptr, type_},
        {"lblPastreet", "Street:", street_},    {"lblPaCity", "City/Town:", city_},
        {"lblState", "State:", state_},         {"lblPazip", "Zip Code:", zip_},
    };
    int row = 1;
    for (const auto& [name, text, field] : rows) {
        entry->addWidget(text != nullptr ? caption(name, text, field) : typeCaption_, row, 0);
        // The state and ZIP fields are short; the ZIP search button sits beside its field.
        const bool shortField = field == state_ || field == zip_;
        entry->addWidget(field, row, 1, 1, shortField ? 1 : 2);
        ++row;
    }
    entry->addWidget(zipSearch_, row - 1, 2);
    entry->setColumnStretch(1, 1);
    entry->setColumnStretch(2, 1);
    return entry;
}

QPlainTextEdit* AddressesWindow::buildListText() {
    listText_ = named(new QPlainTextEdit, "txtAdAdd");
    listText_->setAccessibleName(QStringLiteral("KML Data"));
    listText_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Unwrapped, in a fixed-width font: a line of the text box is a line of the file, so the
    // "line N, column M" of a well-formedness message is found where it says.
    listText_->setLineWrapMode(QPlainTextEdit::NoWrap);
    listText_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    listText_->setMinimumSize(720, 260);
    listText_->setTabChangesFocus(true);
    listText_->verticalScrollBar()->setAccessibleName(QStringLiteral("KML Data vertical"));
    listText_->horizontalScrollBar()->setAccessibleName(QStringLiteral("KML Data horizontal"));
    return listText_;
}

AddressEntry AddressesWindow::entry() const {
    return {ss(name_->text()), ss(type_->currentText()),  ss(street_->text()),
            ss(city_->text()), ss(state_->currentText()), ss(zip_->text())};
}

std::string AddressesWindow::documentText() const {
    // The raw text keeps what the user typed (no-break spaces included); only the paragraph
    // and line separators of the text box become line ends again.
    QString text = listText_->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return ss(text);
}

void AddressesWindow::setDocumentText(const std::string& text) {
    QString shown = qs(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    listText_->setPlainText(shown);
    // The newest placemark is at the end: show it.
    listText_->moveCursor(QTextCursor::End);
    listText_->ensureCursorVisible();
}

void AddressesWindow::loadTypes(AddressCategory category) {
    const QString typed = type_->currentText();
    type_->clear();
    for (const std::string& type : addressTypes(category)) {
        type_->addItem(qs(type));
    }
    type_->setCurrentIndex(-1);
    type_->setEditText(typed);
}

void AddressesWindow::chooseCategory(AddressCategory category) {
    typeCaption_->setEnabled(true);
    type_->setEnabled(true);
    loadTypes(category);
}

void AddressesWindow::loadStates() {
    const DataFileText file = readStateListFile(stateListFile());
    if (file.text) {
        for (const std::string& state : parseStateList(*file.text)) {
            state_->addItem(qs(state));
        }
        state_->setCurrentIndex(0);
    } else {
        dialogs_.inform(file.message, {}, Icon::Warning);
    }
    state_->setEditText(QStringLiteral("QV"));
}

bool AddressesWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == zip_) {
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

bool AddressesWindow::zipKey(const QKeyEvent* key) {
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

void AddressesWindow::zipLeft() {
    if (zip_->text().size() < 5) {
        dialogs_.beep();
        dialogs_.inform(kInvalidZipMessage);
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

void AddressesWindow::searchZip() {
    const ZipLookup result = lookupCity(ss(zip_->text()));
    switch (result.outcome) {
    case ZipLookup::Outcome::Found:
        city_->setText(qs(result.city));
        state_->setEditText(QStringLiteral("QV"));
        break;
    case ZipLookup::Outcome::NotFound:
        dialogs_.inform(result.message);
        city_->clear();
        break;
    case ZipLookup::Outcome::Refused:
        dialogs_.inform(result.message);
        break;
    case ZipLookup::Outcome::Failed:
        dialogs_.inform(result.message, {}, Icon::Warning);
        break;
    }
}

std::optional<std::string> AddressesWindow::iconStyle(const std::string& iconFile) {
    const DataFileText file = readIconStyleFile(iconStyleFile());
    if (!file.text) {
        // Once is enough: every later placemark goes without its icon for the same reason.
        if (!iconStyleReported_) {
            dialogs_.inform(file.message, {}, Icon::Warning);
            iconStyleReported_ = true;
        }
        return std::nullopt;
    }
    iconStyleReported_ = false;
    return iconStyleFragment(*file.text, iconReference(iconFile));
}

void AddressesWindow::preview() {
    const AddressEntry facility = entry();
    if (const auto missing = firstMissingValue(facility)) {
        dialogs_.inform(missing->message);
        QWidget* const fields[] = {name_, type_, street_, city_, state_, zip_};
        fields[static_cast<int>(missing->field)]->setFocus(Qt::OtherFocusReason);
        setCreateEnabled(false);
        return;
    }
    const std::string iconFile = addressIconFile(facility.type);
    const std::optional<std::string> link = AskLinkLine(dialogs_);
    const std::string block = addressPlacemark(facility, link, iconStyle(iconFile));
    setDocumentText(withPlacemark(documentText(), block));
    setCreateEnabled(true);
}

void AddressesWindow::createKml() {
    // The closing lines go only into what is written: until a write succeeds the list stays
    // as it was, open for more placemarks.
    const std::string finished = withDocumentEnd(documentText());
    if (const auto error = xmlWellFormednessError(finished)) {
        const std::string question = "The KML data is not well-formed XML and may not open in "
                                     "Google Earth:\n" +
                                     *error + "\n\nWrite it anyway?";
        if (!dialogs_.askYesNo(question, {}, Icon::Warning, Answer::No)) {
            return;
        }
    }
    const std::optional<OutputFileChoice> choice =
        chooseOutputFile(dialogs_, fileDialog_,
                         {kKmlDefaultExtension, kKmlFileFilter, "", "pa" + ss(name_->text()),
                          ExistenceTest::ChosenPath});
    if (!choice) {
        return;
    }
    const WriteStatus written = writeWholeFile(choice->chosen, addressFileBytes(finished));
    if (!written) {
        dialogs_.inform(written.message, {}, Icon::Critical);
        return;
    }
    reset();
}

void AddressesWindow::lockText(bool locked) {
    listText_->setReadOnly(locked);
    setBackground(listText_, locked ? kTextLocked : kTextUnlocked);
    QFont font = listText_->font();
    font.setItalic(false);
    listText_->setFont(font);
    editCheck_->setText(locked ? QStringLiteral("Edit KML Data")
                               : QStringLiteral("Uncheck to Lock"));
}

void AddressesWindow::setZipSearchEnabled(bool on) {
    zipSearch_->setEnabled(on);
    setBackground(zipSearch_, on ? kUnlockedButtonColour : kLockedButtonColour);
}

void AddressesWindow::setCreateEnabled(bool on) {
    createButton_->setEnabled(on);
    setBackground(createButton_, on ? kUnlockedButtonColour : kLockedButtonColour);
}

void AddressesWindow::reset() {
    type_->clear();
    name_->clear();
    type_->clearEditText();
    street_->clear();
    city_->clear();
    state_->setEditText(QStringLiteral("QV"));
    zip_->clear();
    listText_->clear();
    setZipSearchEnabled(false);
    setCreateEnabled(false);
    loadTypes(AddressCategory::Start);
}

} // namespace sw
