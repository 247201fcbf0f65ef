// Bad: app/core reaches into the main window and into its own window target.
#include "app/core/windows/PLProgressWindowController.h"
#include "app/ui/PLMainWindowController.h"
#include <QString>
