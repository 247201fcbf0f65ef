// Bad: the platform reaches into the application.
#include "app/core/Globals.h"
#include "platform/foundation/Log.h"
