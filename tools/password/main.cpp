// Harnwick: adds, changes or removes the password of a card database.
#include "tools/dbtools/ToolApplication.h"
#include "tools/password/HWMainWindowController.h"

int main(int argc, char* argv[])
{
    return runToolApplication<HWMainWindowController>(argc, argv, QStringLiteral("Harnwick"), QStringLiteral("HWWD"));
}
