// A file system of its own, a few MiB large, mounted by a test on a folder of its own or on a
// folder the test names (made when missing): what a full disk does to a writer is seen on it.
// Mounting needs root (as CI runs); a test that cannot mount skips with the reason.
#pragma once

#include <QString>
#include <QTemporaryDir>

class SmallVolume {
public:
    explicit SmallVolume(int mebibytes, const QString& at = QString());
    ~SmallVolume();
    SmallVolume(const SmallVolume&) = delete;
    SmallVolume& operator=(const SmallVolume&) = delete;

    // Empty when the volume could not be mounted; `reason` then says why.
    QString path() const { return m_mounted ? m_path : QString(); }
    QString reason() const { return m_reason; }
    // Fills the volume until fewer than `leftBytes` are free.
    void fill(qint64 leftBytes = 0) const;

private:
    QTemporaryDir m_folder;
    QString m_path;
    bool m_mounted = false;
    QString m_reason;
};

// Skips the test when the volume is not there.
#define SKIP_WITHOUT_VOLUME(volume)                                                                                                        \
    if ((volume).path().isEmpty())                                                                                                         \
    GTEST_SKIP() << "no small volume to fill: " << (volume).reason().toStdString()
