#include "platform/appkit/ApplicationWindow.h"

#include <QPointer>

namespace {
QPointer<QWidget> g_mainWindow;
}

QWidget* applicationMainWindow()
{
    return g_mainWindow;
}

void setApplicationMainWindow(QWidget* window)
{
    g_mainWindow = window;
}
