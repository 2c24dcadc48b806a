#include "ui/window_accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

namespace sw {
namespace {

QAccessibleInterface* windowInterface(const QString& className, QObject* object) {
    // Only for the object's own class, when it is one of ours made straight from QWidget:
    // Qt's answer for anything else (a QMainWindow, a QDialog) is the right one.
    const QMetaObject* meta = object->metaObject();
    if (!object->isWidgetType() || className != QLatin1String(meta->className()) ||
        !className.startsWith(QLatin1String("sw::")) ||
        meta->superClass() != &QWidget::staticMetaObject) {
        return nullptr;
    }
    auto* widget = static_cast<QWidget*>(object);
    if (widget->windowType() != Qt::Window) {
        return nullptr;
    }
    return new QAccessibleWidget(widget, QAccessible::Window);
}

} // namespace

void announceWindowsAsWindows() {
    static const bool installed = [] {
        QAccessible::installFactory(windowInterface);
        return true;
    }();
    (void)installed;
}

} // namespace sw
