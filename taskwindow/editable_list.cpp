#include "taskwindow/editable_list.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>

namespace sw {
namespace {

// The box's name is known only once the window is put together (a caption made its buddy
// later, or a name set after): it is handed to the inner parts when the box is first shown.
class InnerPartsNamer : public QObject {
public:
    explicit InnerPartsNamer(QComboBox* box) : QObject(box), box_(box) {
        box->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == box_ && event->type() == QEvent::Show) {
            nameInnerParts();
        }
        return false;
    }

private:
    void nameInnerParts() {
        QAccessibleInterface* box = QAccessible::queryAccessibleInterface(box_);
        const QString name = box ? box->text(QAccessible::Name) : QString();
        if (name.isEmpty()) {
            return;
        }
        if (QLineEdit* field = box_->lineEdit(); field && field->accessibleName().isEmpty()) {
            field->setAccessibleName(name);
        }
        if (QAbstractItemView* list = box_->view(); list && list->accessibleName().isEmpty()) {
            list->setAccessibleName(name);
        }
    }

    QComboBox* box_;
};

} // namespace

void makeEditableList(QComboBox* box) {
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMaxVisibleItems(16);
    box->setCompleter(nullptr);
    new InnerPartsNamer(box);
}

} // namespace sw
