// A workspace for tests: records what would be launched or opened (and starts nothing), and
// answers volume questions as the test sets them. Installs itself as the shared workspace while it lives.
#pragma once

#include "platform/workspace/Workspace.h"

#include <QList>
#include <QMap>
#include <QPair>

class FakeWorkspace : public Workspace {
public:
    FakeWorkspace();
    ~FakeWorkspace() override;

    bool launchApplication(const QString& path, const QStringList& arguments = {}) override;
    bool openUrl(const QUrl& url) override;
    // The volume of the first entry of `volumesByPath` whose key starts the path; else `volume`;
    // with that unset, the real volume of the path.
    std::optional<VolumeInfo> volumeInfo(const QString& path) const override;
    // The free bytes of volumeInfo's answer.
    std::optional<quint64> freeBytes(const QString& path) const override;
    QStringList mountedRemovableMedia() const override { return removableMedia; }
    // Applications listed in `applications` are installed; others are looked up as usual.
    std::optional<ApplicationInfo> applicationWithIdentifier(const QString& identifier) const override;

    QList<QPair<QString, QStringList>> launches;
    bool launchSucceeds = true;
    QList<QUrl> openedUrls;
    bool openUrlSucceeds = true;
    std::optional<VolumeInfo> volume;
    QMap<QString, VolumeInfo> volumesByPath;
    bool volumeUnreadable = false;
    QStringList removableMedia;
    QMap<QString, ApplicationInfo> applications;
};
