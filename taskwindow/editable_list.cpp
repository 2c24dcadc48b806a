#include "taskwindow/editable_list.h"

#include <QComboBox>

namespace sw {

void makeEditableList(QComboBox* box) {
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMaxVisibleItems(16);
    box->setCompleter(nullptr);
}

} // namespace sw
