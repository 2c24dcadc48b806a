#include "taskwindow/editable_list.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace sw {

void makeEditableList(QComboBox* box) {
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMaxVisibleItems(16);
    box->setCompleter(nullptr);
}

void nameEditableListParts(QWidget* window) {
    const QList<QLabel*> captions = window->findChildren<QLabel*>();
    for (QComboBox* box : window->findChildren<QComboBox*>()) {
        if (!box->isEditable()) {
            continue;
        }
        QString name = box->accessibleName();
        for (auto it = captions.begin(); name.isEmpty() && it != captions.end(); ++it) {
            if ((*it)->buddy() == box) {
                name = (*it)->text().remove(QLatin1Char('&')).trimmed();
            }
        }
        if (name.isEmpty()) {
            continue;
        }
        box->lineEdit()->setAccessibleName(name);
        box->view()->setAccessibleName(name);
    }
}

} // namespace sw
