#include "platform/appkit/ApplicationWindow.h"

namespace {
WindowHandle g_mainWindow;
}

WindowHandle applicationMainWindow()
{
    return g_mainWindow;
}

void setApplicationMainWindow(WindowHandle window)
{
    g_mainWindow = window;
}
