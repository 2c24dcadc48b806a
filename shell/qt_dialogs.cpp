#include "shell/qt_dialogs.h"

#include "shell/window_dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QRegularExpression>

namespace sw {
namespace {

QString titleOr(const std::string& title) {
    return QString::fromStdString(title.empty() ? std::string(kProgramTitle) : title);
}

QMessageBox::Icon qtIcon(Icon icon) {
    switch (icon) {
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::Warning:
        return QMessageBox::Warning;
    case Icon::Critical:
        return QMessageBox::Critical;
    case Icon::Question:
        return QMessageBox::Question;
    case Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

QtDialogs::QtDialogs() = default;

QtDialogs::~QtDialogs() = default;

QWidget* QtDialogs::owner() {
    for (QWidget* candidate : {askingWindow(), QApplication::activeWindow()}) {
        if (candidate != nullptr && candidate->window()->isVisible()) {
            return candidate->window();
        }
    }
    return nullptr;
}

QStringList qtNameFilters(const std::string& classicFilter) {
    const QStringList parts = QString::fromStdString(classicFilter).split('|');
    QStringList filters;
    static const QRegularExpression shownPattern(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString caption = parts[i];
        caption.remove(shownPattern);
        QString patterns = parts[i + 1];
        patterns.replace(';', ' ');
        filters << QStringLiteral("%1 (%2)").arg(caption.trimmed(), patterns.trimmed());
    }
    return filters;
}

// The dialogs live on the heap and are watched: should the window under one go while it is
// open, the window takes its child dialog with it, and a dialog on the stack would then be
// destroyed a second time.
Answer QtDialogs::message(const MessageRequest& request) {
    QPointer<QMessageBox> box =
        new QMessageBox(qtIcon(request.icon), titleOr(request.title),
                        QString::fromStdString(request.text), QMessageBox::NoButton, owner());
    const bool question = request.buttons == Buttons::YesNo;
    if (question) {
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box->setDefaultButton(request.defaultButton == Answer::No ? QMessageBox::No
                                                                  : QMessageBox::Yes);
    } else {
        box->setStandardButtons(QMessageBox::Ok);
    }
    const int result = box->exec();
    delete box; // nothing when it went with its window
    if (!question) {
        return Answer::Ok;
    }
    return result == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

std::optional<std::string> QtDialogs::input(const InputRequest& request) {
    bool ok = false;
    const QString text = QInputDialog::getText(
        owner(), titleOr(request.title), QString::fromStdString(request.prompt), QLineEdit::Normal,
        QString::fromStdString(request.defaultText), &ok);
    if (!ok) {
        return std::nullopt;
    }
    return text.toStdString();
}

std::optional<std::string> QtDialogs::file(const FileRequest& request) {
    QPointer<QFileDialog> watched = new QFileDialog(owner(), QString::fromStdString(request.title));
    QFileDialog& dialog = *watched;
    const bool save = request.kind == FileRequest::Kind::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // An append output adds to the file picked in an open dialog and creates it when missing,
    // so that dialog accepts names that do not exist yet. A save dialog never asks about
    // replacing a file: the caller asks its own question (with No as the default), and a
    // second one from Qt would ask twice.
    dialog.setFileMode(QFileDialog::AnyFile);
    if (save) {
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    }
    const QStringList filters = qtNameFilters(request.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const qsizetype index = request.filterIndex >= 1 && request.filterIndex <= filters.size()
                                    ? request.filterIndex - 1
                                    : 0;
        dialog.selectNameFilter(filters[index]);
    }
    QString suffix = QString::fromStdString(request.defaultExtension);
    if (suffix.startsWith('.')) {
        suffix.remove(0, 1);
    }
    dialog.setDefaultSuffix(suffix);
    if (!request.fileName.empty()) {
        // A preset name with a folder starts the dialog in that folder (the one last used).
        const QFileInfo preset(QString::fromStdString(request.fileName));
        if (!QDir::isRelativePath(preset.filePath()) && preset.dir().exists()) {
            dialog.setDirectory(preset.dir());
            dialog.selectFile(preset.fileName());
        } else {
            dialog.selectFile(preset.filePath());
        }
    }
    const bool accepted = dialog.exec() == QDialog::Accepted;
    if (watched.isNull()) {
        return std::nullopt;
    }
    const QStringList chosen = watched->selectedFiles();
    delete watched;
    if (!accepted || chosen.isEmpty()) {
        return std::nullopt;
    }
    return chosen.constFirst().toStdString();
}

void QtDialogs::beep() {
    QApplication::beep();
}

void QtDialogs::setWaitCursor(bool on) {
    if (on) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ++waitDepth_;
    } else if (waitDepth_ > 0) {
        QApplication::restoreOverrideCursor();
        --waitDepth_;
    }
}

} // namespace sw
