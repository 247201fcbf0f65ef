#include "platform/appkit/ModalScope.h"

#include "platform/appkit/Scheduler.h"

namespace {
int g_depth = 0;
}

ModalScope::ModalScope()
{
    ++g_depth;
}

ModalScope::~ModalScope()
{
    if (--g_depth == 0)
        Scheduler::modalRunsEnded();
}

int ModalScope::depth()
{
    return g_depth;
}
