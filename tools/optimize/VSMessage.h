// The optimisation tool's numbered alerts ("IDS_MSG_ERR_%04d").
#pragma once

#include "tools/dbtools/ToolMessages.h"

class VSMessage {
public:
    // Shows message `number` filled with `args`; returns the text shown.
    static QString ShowErrorMessage(int number, const QVariantList& args = {})
    {
        return ToolMessages::showError(number, ToolVariant::Vostrand, args);
    }
};
