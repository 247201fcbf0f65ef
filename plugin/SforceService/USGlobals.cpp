#include "plugin/SforceService/USGlobals.h"

USGlobals& USGlobals::sharedInstance()
{
    static USGlobals instance;
    return instance;
}
