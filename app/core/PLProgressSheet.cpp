#include "app/core/PLProgressSheet.h"

namespace {
PLProgressSheet* g_shared = nullptr;
}

PLProgressSheet* PLProgressSheet::shared()
{
    return g_shared;
}

void PLProgressSheet::setShared(PLProgressSheet* sheet)
{
    g_shared = sheet;
}
