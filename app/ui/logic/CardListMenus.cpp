#include "app/ui/logic/CardListMenus.h"

namespace CardListMenus {

Validation validateMenuItem(Command command, int tag, const State& state)
{
    if (state.sheetAttached)
        return {};
    switch (command) {
    case Command::Column:
        return {true, state.columnShown};
    case Command::RemoveRecord:
        return {!state.readOnly && state.cardRowSelected, false};
    case Command::RemoveRecordInTrash:
        return {!state.readOnly && state.trashRowSelected, false};
    case Command::ReturnRecord:
        if (tag == 0)
            return {!state.readOnly && state.trashRowSelected && state.trashIsFirstResponder, false};
        return {!state.readOnly && state.trashRowSelected, false};
    case Command::ShowTrashTable:
        return {true, state.trashShown};
    case Command::Other:
        break;
    }
    return {true, false};
}

} // namespace CardListMenus
