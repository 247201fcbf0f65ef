// Comparing file-system paths as the same item: canonical paths, case-sensitively. Paths that do
// not exist (yet) are compared cleaned.
#pragma once

#include <QString>

bool isSamePath(const QString& a, const QString& b);
// True when `path` is `folder` or lies inside it.
bool isPathInside(const QString& path, const QString& folder);
