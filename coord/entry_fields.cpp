#include "coord/entry_fields.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
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

} // namespace sw::entry
