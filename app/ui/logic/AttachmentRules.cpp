#include "app/ui/logic/AttachmentRules.h"

namespace AttachmentRules {

bool isAcceptableName(const QString& name)
{
    return !name.startsWith(QLatin1Char('.')) && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char(':'));
}

bool fitsBeside(qsizetype listed, qsizetype adding)
{
    return listed + adding <= kMaxAttachments;
}

std::array<bool, 4> contextualMenuItems(const State& state)
{
    if (state.readOnly || state.sheetAttached)
        return {};
    const bool one = state.selectedRows == 1;
    return {state.cardShown, state.selectedRows != 0, one, one};
}

std::array<bool, 3> mainMenuItems(const State& state)
{
    if (state.readOnly || state.sheetAttached || state.modalWindow)
        return {};
    if (!state.listVisible)
        return {state.cardShown, false, false};
    return {state.cardShown, state.selectedRows != 0, state.selectedRows == 1};
}

bool offersCopy(const State& state, const Drop& drop)
{
    return !state.readOnly && !drop.fromInsideApplication && !state.modalWindow && !state.sheetAttached && drop.hasFiles
        && drop.listed <= kMaxAttachments - 1 && state.cardShown;
}

} // namespace AttachmentRules
