#include "app/ui/views/PLButton.h"

#include <QScrollArea>

void PLButton::focusInEvent(QFocusEvent* event)
{
    emit showRecogniseArea();
    for (QWidget* ancestor = parentWidget(); ancestor; ancestor = ancestor->parentWidget()) {
        if (auto* scroll = qobject_cast<QScrollArea*>(ancestor)) {
            scroll->ensureWidgetVisible(this);
            break;
        }
    }
    QPushButton::focusInEvent(event);
}
