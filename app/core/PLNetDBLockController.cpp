#include "app/core/PLNetDBLockController.h"

#include <atomic>

namespace {
std::atomic<int> g_dbOpenMode{PLNetDBLockController::kOpenModeNone};
}

int PLNetDBLockController::dbOpenMode()
{
    return g_dbOpenMode.load();
}

void PLNetDBLockController::setDbOpenMode(int mode)
{
    g_dbOpenMode.store(mode);
}
