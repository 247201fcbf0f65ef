#include "platform/appkit/dialogs/ModalDialog.h"

#include "platform/appkit/ModalScope.h"

#include <QDialog>

int execModal(QDialog& dialog)
{
    ModalScope scope;
    return dialog.exec();
}

QWidget* windowWidget(const WindowHandle& window)
{
    return qobject_cast<QWidget*>(window.object());
}

QWidget* sheetWindow(const WindowHandle& window)
{
    QWidget* widget = windowWidget(window);
    return widget && widget->isVisible() ? widget : nullptr;
}
