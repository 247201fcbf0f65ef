#include "app/ui/CardTrash.h"

#include "app/core/CardEntities.h"
#include "app/core/CardFolder.h"
#include "app/core/Globals.h"
#include "app/core/Identifiers.h"
#include "app/core/PLChecker.h"
#include "app/ui/CardFolderPath.h"
#include "app/ui/FolderTree.h"
#include "platform/foundation/Log.h"
#include "platform/store/CardStoreModel.h"
#include "platform/store/DatabaseLayout.h"
#include "platform/store/ManagedObjectContext.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kCardID = QStringLiteral("cardID");
const QString kFolderID = QStringLiteral("folder_ID");

ManagedObjectPtr cardBelong(ManagedObjectContext& context, const QString& cardID)
{
    int error = 0;
    const ManagedObjectList found = context.executeFetchRequest(
        {QString::fromLatin1(CardStore::kEntityCardBelong), keyEquals(kCardID, cardID), {}}, &error);
    return error != 0 || found.isEmpty() ? nullptr : found.first();
}

QString pathName(int level)
{
    return QStringLiteral("folder%1_Name").arg(level);
}

// One name inside its folder: no separator, not "." or "..", not blank.
bool isPlainFileName(const QString& name)
{
    return !PLChecker::isBlank(name) && !name.contains(QLatin1Char('/')) && name != QLatin1String(".") && name != QLatin1String("..");
}

} // namespace

void moveCardToTrash(ManagedObjectContext& context, ManagedObject& card)
{
    if (setFolderNameWhenRemoving(&context, card.stringValue(kCardID)) != 0)
        PLNSLog(QStringLiteral("Failed to set folderName."));
    card.setValue(QStringLiteral("deletedFlag"), 1);
    if (!card.stringValue(QStringLiteral("syncID")).isEmpty())
        card.setValue(QStringLiteral("syncID"), getUUID());
    for (const char* key : {"sync_Email", "sync_Phone_work", "sync_Phone_Mobile", "sync_URL", "sync_Street", "sync_Phone_Fax"})
        card.setValue(QString::fromLatin1(key), getUUID());
}

bool isFolderPathExist(ManagedObjectContext& context, TreeNode* tree, const QString& cardID, QString* folderPath, QString* folderID)
{
    if (PLChecker::isBlank(cardID) || !tree)
        return false;
    const ManagedObjectPtr belong = cardBelong(context, cardID);
    if (!belong)
        return false;
    if (const TreeNode* own = getTreeNodeByFolderID(belong->stringValue(kFolderID), tree); own && !PLChecker::isBlank(own->folderID)) {
        *folderPath = folderPathBelowRoot(own).join(QLatin1Char('/'));
        *folderID = own->folderID;
        return true;
    }
    if (belong->stringValue(pathName(1)).isEmpty())
        return false;
    QString path;
    const TreeNode* node = tree;
    for (int level = 2; level <= kFolderPathMaxLevels; ++level) {
        const QString name = belong->stringValue(pathName(level));
        if (name.isEmpty())
            break;
        path += QLatin1Char('/') + name;
        const auto match = std::find_if(node->children.begin(), node->children.end(), [&](const std::shared_ptr<TreeNode>& child) {
            return child->folderType != kFolderTypeInbox && child->folderName.toUpper() == name.toUpper();
        });
        if (match == node->children.end())
            return false;
        node = match->get();
    }
    *folderPath = path;
    *folderID = node->folderID;
    return true;
}

void renewSyncIDOnRestore(ManagedObject& card)
{
    QStringList keys{QStringLiteral("first_Name"), QStringLiteral("middle_Name"), QStringLiteral("family_Name")};
    if (!g_bSyncOSJudge)
        keys.append(QStringLiteral("company"));
    const bool named = std::any_of(keys.begin(), keys.end(), [&](const QString& key) { return !card.stringValue(key).isEmpty(); });
    card.setValue(QStringLiteral("syncID"), named ? QVariant(getUUID()) : QVariant());
}

void returnCardToFolder(ManagedObjectContext& context, ManagedObject& card, const QString& folderID, bool leaveInbox)
{
    card.setValue(QStringLiteral("deletedFlag"), 0);
    if (leaveInbox)
        card.setValue(QStringLiteral("connected"), 0);
    renewSyncIDOnRestore(card);
    const ManagedObjectPtr belong = cardBelong(context, card.stringValue(kCardID));
    if (!belong) {
        PLNSLog(QStringLiteral("Failed to update CardBelong object."));
        card.setValue(kFolderID, folderID);
        return;
    }
    assignCardFolder(card, *belong, folderID);
    for (int level = 1; level <= kFolderPathMaxLevels; ++level)
        belong->setValue(pathName(level), QString());
}

int deleteCardsForGood(ManagedObjectContext& context, const QString& databasePath, const ManagedObjectList& cards)
{
    QStringList files;
    QStringList folders;
    const QDir images(DatabaseLayout::imagesFolderPath(databasePath));
    const QDir attachments(DatabaseLayout::filesFolderPath(databasePath));
    for (const ManagedObjectPtr& card : cards) {
        for (const char* key : {"face_Image_File", "back_Image_File"}) {
            const QString name = card->stringValue(QString::fromLatin1(key));
            if (isPlainFileName(name))
                files.append(images.filePath(name));
        }
        const QString cardID = card->stringValue(kCardID);
        if (isPlainFileName(cardID))
            folders.append(attachments.filePath(cardID));
        if (const ManagedObjectPtr belong = cardBelong(context, cardID))
            context.deleteObject(belong);
        else
            PLNSLog(QStringLiteral("Failed to delete CardBelong object."));
        context.deleteObject(card);
    }
    QString errorText;
    const int status = context.save(&errorText);
    if (status != 0) {
        PLNSLog(QStringLiteral("%@"), errorText);
        return status;
    }
    for (const QString& file : std::as_const(files)) {
        const QFileInfo info(file);
        if (info.isFile() && !info.isSymLink() && !QFile::remove(file))
            PLNSLog(QStringLiteral("pdf file not exist"));
    }
    for (const QString& folder : std::as_const(folders)) {
        const QFileInfo info(folder);
        if (info.isSymLink())
            QFile::remove(folder);
        else if (info.isDir() && !QDir(folder).removeRecursively())
            PLNSLog(QStringLiteral("attach file not exist"));
    }
    return 0;
}
