// Fine: a window target uses the logic beside it.
#include "app/core/Globals.h"
