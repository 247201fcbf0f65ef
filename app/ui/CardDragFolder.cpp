#include "app/ui/CardDragFolder.h"

#include "app/core/ProcessTempFolder.h"
#include "platform/foundation/TreeRemoval.h"

#include <QFileInfo>

namespace {

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
    m_path = makeProcessTempFolder(kPrefix);
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
    sweepProcessTempFolders(kPrefix);
}
