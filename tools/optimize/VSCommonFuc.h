// The optimisation tool's common checks: the shared ones with this tool's variants.
#pragma once

#include "platform/workspace/LocalVolume.h"
#include "tools/dbtools/DbToolCommon.h"
#include "tools/dbtools/FolderSize.h"

class VSCommonFuc : public DbToolCommon {
public:
    static bool isPathExists(const QString& path, int pathKind)
    {
        return DbToolCommon::isPathExists(path, pathKind, ToolVariant::Vostrand);
    }
    static int CheckDBAttributes(const QString& folder)
    {
        return DbToolCommon::CheckDBAttributes(folder, ToolVariant::Vostrand);
    }
    static quint64 getSizeWithPath(const QString& path, int* error) { return FolderSize::getSizeWithPath(path, error); }
    static bool CheckDBpathIsLocal(const QString& path) { return LocalVolume::isOnLocalFixedVolume(path); }
};
