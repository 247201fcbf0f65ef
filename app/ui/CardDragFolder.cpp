#include "app/ui/CardDragFolder.h"

#include "platform/foundation/StandardPaths.h"
#include "platform/foundation/TreeRemoval.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <unistd.h>

namespace {

// "drag", the owner's process id, "-" and the six characters mkdtemp chose.
const QString kPrefix = QStringLiteral("drag");

} // namespace

CardDragFolder::~CardDragFolder()
{
    remove();
}

QString CardDragFolder::path()
{
    const QFileInfo existing(m_path);
    if (!m_path.isEmpty() && existing.isDir() && !existing.isSymLink())
        return m_path;
    m_path.clear();
    const QString base = privateTempDir();
    if (base.isEmpty())
        return {};
    QByteArray pattern = QFile::encodeName(base + QLatin1Char('/') + kPrefix + QString::number(::getpid()) + QStringLiteral("-XXXXXX"));
    if (!mkdtemp(pattern.data()))
        return {};
    m_path = QFile::decodeName(pattern);
    return m_path;
}

void CardDragFolder::remove()
{
    if (m_path.isEmpty())
        return;
    removeTree(m_path);
    m_path.clear();
}

void CardDragFolder::sweepLeftovers()
{
    const QString base = privateTempDir();
    if (base.isEmpty())
        return;
    static const QRegularExpression drag(QStringLiteral("^") + kPrefix + QStringLiteral("(\\d+)-[A-Za-z0-9]{6}$"));
    for (const QString& name : QDir(base).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        const QRegularExpressionMatch match = drag.match(name);
        if (!match.hasMatch())
            continue;
        const pid_t pid = pid_t(match.captured(1).toLongLong());
        if (pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH)
            removeTreeIn(base, name);
    }
}
