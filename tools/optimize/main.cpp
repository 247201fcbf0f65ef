// Vostrand: backs up a card database folder and compacts its store.
#include "tools/dbtools/ToolApplication.h"
#include "tools/optimize/VSMainWindowController.h"

int main(int argc, char* argv[])
{
    return runToolApplication<VSMainWindowController>(argc, argv, QStringLiteral("Vostrand"), QStringLiteral("PLVS"));
}
