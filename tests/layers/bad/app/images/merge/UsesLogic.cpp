// Fine: the merge window uses app/core windows.
#include "app/core/windows/PLProgressWindowController.h"
#include "app/images/PLMergeModel.h"
