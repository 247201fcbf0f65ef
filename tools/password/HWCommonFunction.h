// The password tool's common checks: the shared ones with this tool's variants.
#pragma once

#include "platform/workspace/LocalVolume.h"
#include "tools/dbtools/DbToolCommon.h"

class HWCommonFunction : public DbToolCommon {
public:
    static bool isPathExists(const QString& path, int pathKind)
    {
        return DbToolCommon::isPathExists(path, pathKind, ToolVariant::Harnwick);
    }
    static int CheckDBAttributes(const QString& folder)
    {
        return DbToolCommon::CheckDBAttributes(folder, ToolVariant::Harnwick);
    }
    static bool CheckDBpathLocation(const QString& path) { return LocalVolume::isOnLocalFixedVolume(path); }
};
