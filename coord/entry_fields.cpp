#include "coord/entry_fields.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDropEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

namespace sw::entry {

QLabel* makeLabel(QWidget* parent, std::string_view name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(qs(name));
    return label;
}

QLineEdit* makeDigitField(QWidget* parent, std::string_view name, int maxLength,
                          std::string_view text) {
    auto* edit = new QLineEdit(qs(text), parent);
    edit->setObjectName(qs(name));
    edit->setMaxLength(maxLength);
    edit->setAlignment(Qt::AlignCenter);
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QString(maxLength, '0')) + 18);
    return edit;
}

QGroupBox* entryBox(QWidget* parent, std::string_view name, QLabel* heading, QGridLayout*& grid) {
    auto* box = new QGroupBox(parent);
    box->setObjectName(qs(name));
    fillEntryBox(box, heading, grid);
    return box;
}

void fillEntryBox(QGroupBox* box, QLabel* heading, QGridLayout*& grid) {
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(8, 4, 8, 8);
    heading->setMargin(2);
    layout->addWidget(heading);
    grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
}

void addRow(QGridLayout* grid, int row, QLabel* label, const std::vector<QWidget*>& parts) {
    grid->addWidget(label, row, 0);
    auto* line = new QHBoxLayout;
    line->setSpacing(3);
    for (QWidget* part : parts) {
        line->addWidget(part);
    }
    line->addStretch(1);
    grid->addLayout(line, row, 1);
}

bool userFocusReason(const QFocusEvent* focus) {
    const Qt::FocusReason reason = focus->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
           reason != Qt::NoFocusReason;
}

bool insertsText(const QKeyEvent* key) {
    return !(key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab ||
             key->key() == Qt::Key_Delete ||
             (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) ||
             key->text().isEmpty());
}

void selectOnEntry(QLineEdit* edit, const QFocusEvent* focus) {
    edit->selectAll();
    if (focus->reason() == Qt::MouseFocusReason) {
        QTimer::singleShot(0, edit, [edit] {
            if (edit->hasFocus()) {
                edit->selectAll();
            }
        });
    }
}

void showProgramText(QLineEdit* edit, const QString& text) {
    const QSignalBlocker blocker(edit);
    edit->setText(text);
    edit->setCursorPosition(0);
}

void returnFocusTo(QLineEdit* edit) {
    // Not while the focus is still on its way elsewhere: once the move is over, come back.
    QTimer::singleShot(0, edit, [edit] {
        edit->setFocus(Qt::OtherFocusReason);
        // Selected even when the focus never really left: the next digit starts afresh.
        edit->selectAll();
    });
}

QString textBeforeTyping(const QLineEdit* edit) {
    return edit->text().left(edit->hasSelectedText() ? edit->selectionStart()
                                                     : edit->cursorPosition());
}

namespace {

// Watches one field for the ways text is pasted into it.
class PasteRoute : public QObject {
public:
    PasteRoute(QLineEdit* edit, std::function<bool(const QString&)> pasted)
        : QObject(edit), edit_(edit), pasted_(std::move(pasted)) {}

    bool eventFilter(QObject* watched, QEvent* e) override {
        if (watched != edit_ || edit_->isReadOnly()) {
            return false;
        }
        switch (e->type()) {
        case QEvent::KeyPress:
            return static_cast<QKeyEvent*>(e)->matches(QKeySequence::Paste) &&
                   pasted_(QGuiApplication::clipboard()->text());
        case QEvent::ContextMenu:
            showMenu(static_cast<QContextMenuEvent*>(e)->globalPos());
            return true;
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(e);
            if (drop->mimeData()->hasText() && pasted_(drop->mimeData()->text())) {
                drop->acceptProposedAction();
                return true;
            }
            return false;
        }
        case QEvent::MouseButtonRelease: {
            QClipboard* clipboard = QGuiApplication::clipboard();
            return static_cast<QMouseEvent*>(e)->button() == Qt::MiddleButton &&
                   clipboard->supportsSelection() &&
                   pasted_(clipboard->text(QClipboard::Selection));
        }
        default:
            return false;
        }
    }

private:
    // The field's own menu, whose Paste goes the same way as the paste keys.
    void showMenu(const QPoint& at) {
        QMenu* menu = edit_->createStandardContextMenu();
        menu->setAttribute(Qt::WA_DeleteOnClose);
        // Qt 6.4 names none of the menu's actions: Paste is known by its (translated) caption.
        const QString pasteCaption = QCoreApplication::translate("QLineEdit", "&Paste");
        for (QAction* action : menu->actions()) {
            if (action->text().section(QLatin1Char('\t'), 0, 0) == pasteCaption) {
                disconnect(action, &QAction::triggered, nullptr, nullptr);
                connect(action, &QAction::triggered, edit_, [this] {
                    if (!pasted_(QGuiApplication::clipboard()->text())) {
                        edit_->paste();
                    }
                });
            }
        }
        menu->popup(at);
    }

    QLineEdit* edit_;
    std::function<bool(const QString&)> pasted_;
};

} // namespace

void routePastes(QLineEdit* edit, std::function<bool(const QString&)> pasted) {
    edit->installEventFilter(new PasteRoute(edit, std::move(pasted)));
}

} // namespace sw::entry
