// Modal runs of dialogs, and the widgets behind window handles.
#pragma once

#include "platform/appkit/WindowHandle.h"

class QDialog;
class QWidget;

// Runs `dialog` modally (exec) inside a ModalScope and answers its result: the way every
// modal panel or window of the application is run.
int execModal(QDialog& dialog);

// The widget a handle names; null when the handle is null or names no widget.
QWidget* windowWidget(const WindowHandle& window);

// The parent of a sheet on `window`: its widget when it is visible, else null (a sheet on a hidden
// window would never be seen, so the dialog is application-modal instead).
QWidget* sheetWindow(const WindowHandle& window);
