// The application's main window, as the application delegate announces it, for the services
// that fall back to it (a sheet asked for without a window). Main thread only.
#pragma once

#include "platform/appkit/WindowHandle.h"

WindowHandle applicationMainWindow();
void setApplicationMainWindow(WindowHandle window);
