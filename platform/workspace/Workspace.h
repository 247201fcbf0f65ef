// Finding, launching and opening things on the desktop, standing in for the platform's workspace.
// Applications are found by freedesktop desktop entries or by path and launched without a shell.
// Tests replace the shared workspace with a subclass to record launches and to answer volume questions.
#pragma once

#include <QIcon>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

struct ApplicationInfo {
    QString path;   // the executable
    QString icon;   // theme icon name or absolute icon path; empty when unknown
};

struct VolumeInfo {
    QString fileSystemType;   // as the kernel names it: "ext4", "nfs", "tmpfs", ...
    QString mountPoint;
    QString device;
    quint64 freeBytes = 0;    // available to an unprivileged user
};

class Workspace {
public:
    virtual ~Workspace() = default;

    static Workspace& shared();
    // Installs `workspace` (not owned); null restores the system one.
    static void setShared(Workspace* workspace);

    // By the untranslated name of a desktop entry, else an executable of that name on $PATH,
    // else an absolute path to an existing file.
    std::optional<ApplicationInfo> applicationNamed(const QString& name) const;
    // By desktop-entry id ("com.orvane.zor.Quillant", the ".desktop" suffix optional).
    virtual std::optional<ApplicationInfo> applicationWithIdentifier(const QString& identifier) const;

    // The icon of an application; null when it names none that can be found.
    QIcon iconForApplication(const ApplicationInfo& application) const;
    // The icon of a file type by its extension ("pdf"); null when the theme has none.
    QIcon iconForFileType(const QString& extension) const;

    // Starts the program directly (no shell), detached; false when it could not be started.
    virtual bool launchApplication(const QString& path, const QStringList& arguments = {});
    // Starts the application of the desktop entry with the files, as its "Exec" field codes say;
    // false when no such entry is found or a start fails.
    bool openFilesWithApplication(const QString& identifier, const QStringList& paths);
    // Hands the address to the user's browser or file handler.
    virtual bool openUrl(const QUrl& url);

    // The volume holding `path`; nullopt when it cannot be read.
    virtual std::optional<VolumeInfo> volumeInfo(const QString& path) const;
    // The bytes free to the user on the volume holding `path`, without the rest of volumeInfo
    // (which reads the mount table): cheap enough to ask once per file written.
    virtual std::optional<quint64> freeBytes(const QString& path) const;
    // Mount points of mounted removable media (USB sticks, card readers, optical discs).
    virtual QStringList mountedRemovableMedia() const;
};
