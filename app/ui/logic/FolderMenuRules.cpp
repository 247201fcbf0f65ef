#include "app/ui/logic/FolderMenuRules.h"

#include "app/core/CardEntities.h"

namespace {

// No folder can be added under a folder at this level: the tree is four levels deep.
constexpr int kDeepestLevel = 4;

} // namespace

FolderContextMenu folderContextMenu(int folderType, int folderLevel, bool editingThisRow, bool commandsBlocked)
{
    FolderContextMenu menu;
    if (editingThisRow || (folderType != kFolderTypeRoot && folderType != kFolderTypeUser))
        return menu;
    menu.shown = true;
    menu.addEnabled = !(folderType == kFolderTypeUser && folderLevel >= kDeepestLevel);
    menu.removeVisible = folderType != kFolderTypeRoot;
    menu.removeEnabled = true;
    if (commandsBlocked)
        menu.addEnabled = menu.removeEnabled = false;
    return menu;
}
