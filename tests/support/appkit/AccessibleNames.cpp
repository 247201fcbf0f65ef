#include "tests/support/appkit/AccessibleNames.h"

#include <QAccessible>
#include <QWidget>

QStringList controlsWithoutName(const QWidget* root)
{
    QStringList unnamed;
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(const_cast<QWidget*>(root));
    for (QWidget* widget : widgets) {
        if (widget->focusPolicy() == Qt::NoFocus && !widget->acceptDrops())
            continue;
        if (widget->isWindow() && widget != root)
            continue;
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        const QString name = accessible ? accessible->text(QAccessible::Name).trimmed() : QString();
        if (name.isEmpty() || name == QLatin1String("?"))
            unnamed.append(widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className()) : widget->objectName());
    }
    return unnamed;
}
