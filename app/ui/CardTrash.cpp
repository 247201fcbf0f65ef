#include "app/ui/CardTrash.h"

#include "app/core/CardEntities.h"
#include "app/core/CardFolder.h"
#include "app/core/Globals.h"
#include "app/core/Identifiers.h"
#include "app/core/PLChecker.h"
#include "app/ui/CardFolderPath.h"
#include "app/ui/FolderTree.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PathCompare.h"
#include "platform/foundation/TreeRemoval.h"
#include "platform/store/CardStoreModel.h"
#include "platform/store/DatabaseLayout.h"
#include "platform/store/ManagedObjectContext.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace {

const QString kCardID = QStringLiteral("cardID");
const QString kFolderID = QStringLiteral("folder_ID");

QString pathName(int level)
{
    return QStringLiteral("folder%1_Name").arg(level);
}

// One name inside its folder, not blank.
bool isPlainNonBlankName(const QString& name)
{
    return !PLChecker::isBlank(name) && isPlainFileName(name);
}

// The CardBelong records of `cards` by card identifier (the first record of each), in one fetch.
QHash<QString, ManagedObjectPtr> cardBelongsOf(ManagedObjectContext& context, const ManagedObjectList& cards)
{
    QSet<QString> cardIDs;
    for (const ManagedObjectPtr& card : cards)
        cardIDs.insert(card->stringValue(kCardID));
    QHash<QString, ManagedObjectPtr> belongs;
    if (cardIDs.isEmpty())
        return belongs;
    const ManagedObjectList found =
        context.executeFetchRequest({QString::fromLatin1(CardStore::kEntityCardBelong),
                                     [&cardIDs](const ManagedObject& belong) { return cardIDs.contains(belong.stringValue(kCardID)); },
                                     {}});
    for (const ManagedObjectPtr& belong : found)
        belongs.insert(belong->stringValue(kCardID), belong);
    return belongs;
}

// The names from the top of the tree down to `node`.
QStringList pathNamesOf(const TreeNode* node)
{
    QStringList names;
    for (; node; node = node->folderParent)
        names.prepend(node->folderName);
    return names;
}

} // namespace

CardMoveRecords::CardMoveRecords(ManagedObjectContext& context, const TreeNode* tree, const ManagedObjectList& cards)
    : m_tree(tree), m_belongs(cardBelongsOf(context, cards))
{
    for (TreeNode* node : convertTreeToArray(const_cast<TreeNode*>(tree)))
        m_folders.insert(node->folderID, node);
}

ManagedObjectPtr CardMoveRecords::cardBelong(const QString& cardID) const
{
    return PLChecker::isBlank(cardID) ? nullptr : m_belongs.value(cardID);
}

ManagedObjectPtr CardMoveRecords::belongOrLog(const ManagedObject& card) const
{
    const ManagedObjectPtr belong = cardBelong(card.stringValue(kCardID));
    if (!belong)
        PLNSLog(QStringLiteral("Failed to update CardBelong object."));
    return belong;
}

void CardMoveRecords::moveCardToTrash(ManagedObject& card) const
{
    const QString cardID = card.stringValue(kCardID);
    if (!PLChecker::isBlank(cardID)) {
        const ManagedObjectPtr belong = cardBelong(cardID);
        const TreeNode* folder = belong ? m_folders.value(belong->stringValue(kFolderID)) : nullptr;
        if (!belong)
            PLNSLog(QStringLiteral("Failed to get CardBelong object."));
        else if (!folder)
            PLNSLog(QStringLiteral("Cann't find TreeNode which folderID is %@"), belong->stringValue(kFolderID));
        if (belong)
            setFolderPathNames(*belong, pathNamesOf(folder));
        if (!folder)
            PLNSLog(QStringLiteral("Failed to set folderName."));
    }
    card.setValue(QStringLiteral("deletedFlag"), 1);
    if (!card.stringValue(QStringLiteral("syncID")).isEmpty())
        card.setValue(QStringLiteral("syncID"), getUUID());
    for (const char* key : {"sync_Email", "sync_Phone_work", "sync_Phone_Mobile", "sync_URL", "sync_Street", "sync_Phone_Fax"})
        card.setValue(QString::fromLatin1(key), getUUID());
}

bool CardMoveRecords::isFolderPathExist(const QString& cardID, QString* folderPath, QString* folderID) const
{
    const ManagedObjectPtr belong = cardBelong(cardID);
    if (!belong || !m_tree)
        return false;
    if (const TreeNode* own = m_folders.value(belong->stringValue(kFolderID)); own && !PLChecker::isBlank(own->folderID)) {
        *folderPath = folderPathBelowRoot(own).join(QLatin1Char('/'));
        *folderID = own->folderID;
        return true;
    }
    if (belong->stringValue(pathName(1)).isEmpty())
        return false;
    QString path;
    const TreeNode* node = m_tree;
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

void CardMoveRecords::returnCardToFolder(ManagedObject& card, const QString& folderID, bool leaveInbox) const
{
    card.setValue(QStringLiteral("deletedFlag"), 0);
    if (leaveInbox)
        card.setValue(QStringLiteral("connected"), 0);
    renewSyncIDOnRestore(card);
    const ManagedObjectPtr belong = belongOrLog(card);
    if (!belong) {
        card.setValue(kFolderID, folderID);
        return;
    }
    assignCardFolder(card, *belong, folderID);
    setFolderPathNames(*belong, {});
}

void CardMoveRecords::undoMoveToTrash(ManagedObject& card) const
{
    card.setValue(QStringLiteral("deletedFlag"), 0);
    renewSyncIDOnRestore(card);
    if (const ManagedObjectPtr belong = cardBelong(card.stringValue(kCardID)))
        setFolderPathNames(*belong, {});
}

void CardMoveRecords::moveCardToFolder(ManagedObject& card, const QString& folderID) const
{
    card.setValue(QStringLiteral("connected"), 0);
    if (const ManagedObjectPtr belong = belongOrLog(card))
        assignCardFolder(card, *belong, folderID);
    else
        card.setValue(kFolderID, folderID);
}

int deleteCardsForGood(ManagedObjectContext& context, const QString& databasePath, const ManagedObjectList& cards)
{
    QStringList files;
    QStringList folders;
    const QDir images(DatabaseLayout::imagesFolderPath(databasePath));
    const QDir attachments(DatabaseLayout::filesFolderPath(databasePath));
    const QHash<QString, ManagedObjectPtr> belongs = cardBelongsOf(context, cards);
    for (const ManagedObjectPtr& card : cards) {
        for (const char* key : {"face_Image_File", "back_Image_File"}) {
            const QString name = card->stringValue(QString::fromLatin1(key));
            if (isPlainNonBlankName(name))
                files.append(images.filePath(name));
        }
        const QString cardID = card->stringValue(kCardID);
        if (isPlainNonBlankName(cardID))
            folders.append(attachments.filePath(cardID));
        if (const ManagedObjectPtr belong = belongs.value(cardID); belong && !PLChecker::isBlank(cardID))
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
    // A received database may hold links where its folders should be: nothing is removed
    // through one, and a link found in place of a file or folder goes as a link.
    for (const QString& file : std::as_const(files)) {
        const QFileInfo info(file);
        if (isLinkFreeInside(file, databasePath) && info.isFile() && !QFile::remove(file))
            PLNSLog(QStringLiteral("pdf file not exist"));
    }
    const bool attachmentsInside = isLinkFreeInside(attachments.path(), databasePath);
    for (const QString& folder : std::as_const(folders)) {
        if (attachmentsInside && !removeTreeIn(attachments.path(), QFileInfo(folder).fileName()))
            PLNSLog(QStringLiteral("attach file not exist"));
    }
    return 0;
}
