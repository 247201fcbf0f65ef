// Staging of card files that do not come from the scanner driver: each file is placed in a
// private folder, checked, and converted or split into one-page card PDFs there.
#include "app/core/DiskUtilities.h"
#include "app/core/PLAppController.h"
#include "app/core/PLMessage.h"
#include "app/core/ProcessTempFolder.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/OrderedWork.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QThread>

#include <algorithm>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kButtonCancel = 1;
constexpr int kButtonRead = 5;
constexpr int kButtonContinue = 6;
constexpr qint64 kStagingReserveBytes = 10000000;
constexpr int kMaxCheckThreads = 4;
constexpr size_t kChecksAhead = 32;

struct CheckMessage {
    int number;
    const char* question;
};

// The message and the question (several files) for a result of the arriving-file check.
std::optional<CheckMessage> messageForCheck(int result, bool jpeg)
{
    switch (result) {
    case -1: return CheckMessage{245, "IDS_MSG_CONFIRM_0245"};
    case -2: return CheckMessage{226, "IDS_MSG_CONFIRM_0226"};
    case -3: return CheckMessage{227, "IDS_MSG_CONFIRM_0227"};
    case -4: return CheckMessage{228, "IDS_MSG_CONFIRM_0228"};
    case -5: return CheckMessage{229, "IDS_MSG_CONFIRM_0229"};
    case -201: return jpeg ? CheckMessage{242, "IDS_MSG_CONFIRM_0242"} : CheckMessage{243, "IDS_MSG_CONFIRM_0243"};
    default: return std::nullopt;
    }
}

// A PDF or a JPEG by its name, the only files the intake takes.
bool isCardFileName(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("pdf") || suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg");
}

QString stagedName(const QString& folder, int position, const QString& suffix)
{
    for (int number = position;; ++number) {
        QString name = folder + QStringLiteral("/PLTempFile%1").arg(number);
        if (!suffix.isEmpty())
            name += QLatin1Char('.') + suffix;
        if (!QFileInfo::exists(name))
            return name;
    }
}

// The arriving file under its staged name. Staged files are only read, and removed with the
// staging, so none is made durable: on the same volume the file gets a second name (nothing is
// written, nor given back to the disk at the removal), elsewhere a plain copy is made.
bool stageFile(const QString& path, const QString& staged)
{
    const QByteArray from = QFile::encodeName(path), to = QFile::encodeName(staged);
    if (::link(from.constData(), to.constData()) == 0)
        return true;
    const int in = ::open(from.constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return false;
    const int out = ::open(to.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    bool copied = out >= 0;
    char buffer[65536];
    for (ssize_t n; copied && (n = ::read(in, buffer, sizeof buffer)) != 0;) {
        if (n < 0 && errno == EINTR)
            continue;
        for (ssize_t at = 0; copied && n > 0 && at < n;) {
            const ssize_t written = ::write(out, buffer + at, size_t(n - at));
            if (written < 0 && errno == EINTR)
                continue;
            copied = written > 0;
            at += written;
        }
        copied = copied && n > 0;
    }
    ::close(in);
    if (out >= 0 && ::close(out) != 0)
        copied = false;
    if (!copied && out >= 0)
        ::unlink(to.constData());
    return copied;
}

// Continue skips the file; Cancel ends the staging with what it has.
bool askContinue(const char* key, const QString& name)
{
    return PLMessage::ShowPLInfoMessage(QString::fromLatin1(key), kButtonContinue, kButtonCancel, QString(), name) == 1;
}

} // namespace

std::optional<QStringList> PLAppController::prepareInputFilesToAnalyze(const QStringList& paths)
{
    if (paths.isEmpty()) {
        PLMessage::ShowPLErrorMessage(239);
        PLNSLog(QStringLiteral("parameter filePathList error"));
        return std::nullopt;
    }
    const QString folder = makeProcessTempFolder(QString::fromLatin1(kStagingFolderPrefix));
    if (folder.isEmpty()) {
        PLMessage::ShowPLErrorMessage(239);
        PLNSLog(QStringLiteral("failed to create the temp folder"));
        return std::nullopt;
    }
    _strTempFolderPath = folder;
    _arrToBeDeletedInBackFolder.clear();

    qint64 total = 0;
    for (const QString& path : paths)
        total += qMax<qint64>(0, QFileInfo(path).size());
    if (total > kMaxStagingBytes) {
        PLMessage::ShowPLErrorMessage(236);
        return std::nullopt;
    }
    if (checkDiskSize(folder, static_cast<uint64_t>(3 * total + kStagingReserveBytes)) != 0) {
        PLMessage::ShowPLErrorMessage(11);
        return std::nullopt;
    }

    // The files are checked on threads of their own ahead of the loop below, which asks its
    // questions in the files' order; a staged file is the same file under a second name. The
    // documents the checks keep for the splits are let go once all is staged.
    const auto forgetChecked = qScopeGuard([this] {
        if (_services.forgetCheckedFiles)
            _services.forgetCheckedFiles();
    });
    OrderedWork<int> checks(size_t(paths.size()), std::clamp(QThread::idealThreadCount() / 2, 1, kMaxCheckThreads), kChecksAhead,
                            [&](size_t i) {
                                const QString& path = paths.at(qsizetype(i));
                                return isCardFileName(path) && _services.checkAddedFiles ? _services.checkAddedFiles(path) : -3;
                            });

    const bool single = paths.size() == 1;
    bool skipFolders = false;
    QStringList result;
    for (int i = 0; i < paths.size(); ++i) {
        const QString& path = paths.at(i);
        const QFileInfo info(path);
        const QString name = info.fileName();
        const QString suffix = info.suffix().toLower();

        if (info.isDir()) {
            if (single) {
                PLMessage::ShowPLErrorMessage(246, name);
                return std::nullopt;
            }
            if (skipFolders)
                continue;
            if (!askContinue("IDS_MSG_CONFIRM_0246", name))
                return result;
            skipFolders = true;
            continue;
        }
        if (!info.isReadable()) {
            if (single) {
                PLMessage::ShowPLErrorMessage(227, name);
                PLNSLog(QStringLiteral("the file has no read right"));
                return std::nullopt;
            }
            if (!askContinue("IDS_MSG_CONFIRM_0227", name))
                return result;
            continue;
        }
        const bool jpeg = suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg");
        if (!isCardFileName(path)) {
            if (single) {
                PLMessage::ShowPLErrorMessage(230, name);
                PLNSLog(QStringLiteral("the file format is not support"));
                return std::nullopt;
            }
            if (!askContinue("IDS_MSG_CONFIRM_0230", name))
                return result;
            continue;
        }

        const QString staged = stagedName(folder, i + 1, info.suffix());
        if (!stageFile(path, staged)) {
            PLMessage::ShowPLErrorMessage(239, name);
            PLNSLog(QStringLiteral("failed to copy the file to temp folder"));
            return std::nullopt;
        }
        _arrToBeDeletedInBackFolder.append(staged);

        const int check = checks.take(size_t(i));
        if (const std::optional<CheckMessage> message = messageForCheck(check, jpeg)) {
            if (message->number == 229) {
                const QString key = single ? QStringLiteral("IDS_MSG_ERR_0229") : QString::fromLatin1(message->question);
                if (PLMessage::ShowPLInfoMessage(key, kButtonRead, kButtonCancel, QString(), name) != 1)
                    return result;
            } else if (single) {
                PLMessage::ShowPLErrorMessage(message->number, name);
                continue;
            } else {
                if (!askContinue(message->question, name))
                    return result;
                continue;
            }
        }

        if (jpeg) {
            QString pdf;
            if (!_services.ConvertJPEGToPDF || !_services.ConvertJPEGToPDF(staged, &pdf)) {
                if (single) {
                    PLMessage::ShowPLErrorMessage(242, name);
                    continue;
                }
                if (!askContinue("IDS_MSG_CONFIRM_0242", name))
                    return result;
                continue;
            }
            result.append(pdf);
            _arrToBeDeletedInBackFolder.append(pdf);
            continue;
        }

        bool success = false;
        const std::optional<QStringList> pages = _services.divideMultiPagePDF ? _services.divideMultiPagePDF(staged, &success) : std::nullopt;
        if (!success) {
            PLMessage::ShowPLErrorMessage(239, name);
            return std::nullopt;
        }
        for (const QString& page : pages.value_or(QStringList())) {
            result.append(page);
            if (page != staged)
                _arrToBeDeletedInBackFolder.append(page);
        }
    }
    return result;
}

void PLAppController::cleanStagingFolder()
{
    if (_strTempFolderPath.isEmpty() || !QFileInfo(_strTempFolderPath).isDir())
        return;
    for (const QString& path : std::as_const(_arrToBeDeletedInBackFolder))
        QFile::remove(path);
    QDir dir(_strTempFolderPath);
    if (dir.isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System))
        dir.rmdir(_strTempFolderPath);
}
