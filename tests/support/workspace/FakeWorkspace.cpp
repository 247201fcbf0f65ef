#include "tests/support/workspace/FakeWorkspace.h"

FakeWorkspace::FakeWorkspace()
{
    Workspace::setShared(this);
}

FakeWorkspace::~FakeWorkspace()
{
    Workspace::setShared(nullptr);
}

bool FakeWorkspace::launchApplication(const QString& path, const QStringList& arguments)
{
    launches.append({path, arguments});
    return launchSucceeds;
}

bool FakeWorkspace::openUrl(const QUrl& url)
{
    openedUrls.append(url);
    return openUrlSucceeds;
}

std::optional<VolumeInfo> FakeWorkspace::volumeInfo(const QString& path) const
{
    if (volumeUnreadable)
        return std::nullopt;
    for (auto it = volumesByPath.begin(); it != volumesByPath.end(); ++it) {
        if (path.startsWith(it.key()))
            return it.value();
    }
    return volume ? volume : Workspace::volumeInfo(path);
}

std::optional<quint64> FakeWorkspace::freeBytes(const QString& path) const
{
    const std::optional<VolumeInfo> info = volumeInfo(path);
    return info ? std::optional<quint64>(info->freeBytes) : std::nullopt;
}

std::optional<ApplicationInfo> FakeWorkspace::applicationWithIdentifier(const QString& identifier) const
{
    const auto it = applications.constFind(identifier);
    return it != applications.cend() ? std::optional<ApplicationInfo>(*it) : Workspace::applicationWithIdentifier(identifier);
}
