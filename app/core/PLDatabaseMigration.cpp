#include "app/core/PLDatabaseMigration.h"

#include "app/core/CardEntities.h"
#include "app/core/DatabaseFolder.h"
#include "app/core/DatabaseFolderRecovery.h"
#include "app/core/LocalString.h"
#include "app/core/PLAppController.h"
#include "app/core/PLChecker.h"
#include "app/core/PLDatabaseController.h"
#include "app/core/PLDatabaseStatus.h"
#include "app/core/PLMessage.h"
#include "app/core/PLNetDBLockController.h"
#include "platform/appkit/Scheduler.h"
#include "platform/foundation/CrashPoint.h"
#include "platform/foundation/FileAttributes.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PreferenceDomain.h"
#include "platform/foundation/TreeRemoval.h"
#include "platform/store/CardStoreModel.h"
#include "platform/store/RawSqlite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>
#include <cstdio>
#include <exception>
#include <unistd.h>

namespace {

constexpr const char* kVersionQuery = "select ZDATABASE_VERSION from ZVERSION;";
constexpr const char* kFlagQuery = "select ZFLAG1 as FLAG, count(Z_PK) as NUM from ZCARD group by ZFLAG1;";
constexpr const char* kCountQuery = "select count(Z_PK) as NUM from ZCARD;";
constexpr const char* kInputCopyName = "Pelmora_bk.sqldb";
constexpr const char* kBuildFolderTemplate = ".PLMigration-XXXXXX";
constexpr const char* kBuildFolderPattern = ".PLMigration-*";
constexpr int kLastNameNumber = 10000;

constexpr const char* kInitPreparingKey = "IDS_MSG_InitDatabaseIsPreparing";
constexpr const char* kMigratePreparingKey = "IDS_MSG_MigrateDatabaseIsPreparing";
constexpr const char* kInitRunningKey = "IDS_MSG_InitDatabaseIsRunning";
constexpr const char* kMigrateRunningKey = "IDS_MSG_MigrateDatabaseIsRunning";
constexpr const char* kConfirmMigrateKey = "PL_MSG_ConfirmMigrateDatabase";
constexpr const char* kLogSavePathFailed = "Failure to save the current DB Path into preference file. DB Path:[%@]";

// Messages of the check.
constexpr int kMsgPathTooLong = 222;
constexpr int kMsgInUse = 17;
constexpr int kMsgCannotUse = 12;
constexpr int kMsgNewerVersion = 216;
constexpr int kMsgNoDiskSpace = 11;
constexpr int kMsgBackupNotWritable = 136;
constexpr int kMsgMigrationFailed = 135;
constexpr int kButtonYes = 2;
constexpr int kButtonNo = 3;

// The version-53 columns, added only where missing, then filled for the cards that were there.
struct AddedColumn {
    const char* name;
    const char* statement;
};
constexpr AddedColumn kV53Columns[] = {
    {"ZINPUT_TYPE", "alter table ZCARD add ZINPUT_TYPE INTEGER"},
    {"ZPREVIOUS_CREATOR", "alter table ZCARD add ZPREVIOUS_CREATOR VARCHAR"},
    {"ZFIXED_FLAG", "alter table ZCARD add ZFIXED_FLAG INTEGER"},
};
constexpr const char* kV53Update = "update ZCARD set ZINPUT_TYPE = 0,ZFIXED_FLAG = 0";

// The Card attributes a migration copies, one by one.
const QStringList& copiedCardAttributes()
{
    static const QStringList names = CardStore::cardAttributeNamesOfEveryVersion();
    return names;
}

QString joined(const QString& folder, const QString& name)
{
    return folder + QLatin1Char('/') + name;
}

bool isCxdbFolder(const QString& folder)
{
    return DatabaseLayout::hasDatabaseExtension(folder);
}

// The first name of the series "<path>", "<path>2" … "<path>10000" that nothing uses; empty when none.
QString firstFreeName(const QString& path)
{
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
        return path;
    for (int number = 2; number <= kLastNameNumber; ++number) {
        const QString candidate = path + QString::number(number);
        if (!QFileInfo::exists(candidate) && !QFileInfo(candidate).isSymLink())
            return candidate;
    }
    return QString();
}

bool removeFile(const QString& path)
{
    return PLDatabaseController::removeItemAtFilePath(path, false) == PLDBStatus::kSuccess;
}

// Gives `path` the free name `second` as well: a hard link, or a copy where links are refused.
bool keepUnderSecondName(const QString& path, const QString& second)
{
    const QByteArray from = QFile::encodeName(path);
    const QByteArray to = QFile::encodeName(second);
    if (::link(from.constData(), to.constData()) == 0)
        return true;
    if (errno == EEXIST || !QFile::copy(path, second))
        return false;
    return true;
}

// One rename: whoever looks at `to` finds the old file or the new one, never none.
bool renameOver(const QString& from, const QString& to)
{
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

// A version value as the store writes it ("2", or "2.0" from another writer).
int leadingInteger(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (ok)
        return value;
    return int(text.trimmed().toDouble());
}

// Opens the finished store with the current model and saves it.
int openAndSave(PLDatabaseController& controller)
{
    int err = 0;
    if (!controller.managedObjectContext(&err))
        return err != 0 ? err : PLDBStatus::kMissingArgument;
    return controller.save();
}

QVariantMap progressInfo(const QString& message, quint64 maxCount, quint64 finishedCount)
{
    return {{QLatin1String(kProgressInfoMessage), message},
            {QLatin1String(kProgressInfoMaxCount), maxCount},
            {QLatin1String(kProgressInfoFinishedCount), finishedCount}};
}

} // namespace

struct PLDatabaseMigration::Work {
    QString folder;
    bool cxdb = false;
    QString workFolder;
    bool workFolderMade = false;
    std::unique_ptr<PLDatabaseController> second;
    std::unique_ptr<ControllerDelegate> secondDelegate;
    int version = 0;
    QString message;
    QString workCopy;                 // version 51: the "_work" copy being altered
    std::unique_ptr<QTemporaryDir> buildFolder; // versions 1 and 5: where the new store is built
    std::unique_ptr<PLDatabaseController> builder;
    QString inputCopy;                // versions 1 and 5: "Pelmora_bk.sqldb", the copy that is read
    QStringList createdFiles;         // image files written by the 1→5 step
    QStringList replacedFiles;        // image files they replace, removed after success
};

PLDatabaseMigration::PLDatabaseMigration(PLDatabaseController& controller)
    : m_controller(controller), m_delegate(controller)
{
}

PLDatabaseMigration::~PLDatabaseMigration() = default;

void PLDatabaseMigration::setStopRunning(PLProgressModalDelegate* delegate, bool confirmed)
{
    if (auto* target = dynamic_cast<ControllerDelegate*>(delegate))
        target->controller.setStopRunning(confirmed);
}

// ---- Version probe ----

bool PLDatabaseMigration::firstVersionRowIs(int value, int* err)
{
    int code = 0;
    const std::optional<RawRows> rows = m_controller.executeQuery(QLatin1String(kVersionQuery), &code);
    if (err)
        *err = code;
    if (!rows || rows->isEmpty())
        return false;
    const int version = leadingInteger(rows->first().value(QStringLiteral("ZDATABASE_VERSION")));
    // Above the version asked for means newer than this step knows: the caller stops on it.
    if (version > value && err)
        *err = PLDBStatus::kNewerVersion;
    return version == value;
}

bool PLDatabaseMigration::isDatabaseV53(int* err)
{
    if (err)
        *err = 0;
    if (!isCxdbFolder(m_controller.databaseFilePath()) || m_controller.sqliteDBName() != QLatin1String(DatabaseLayout::kStoreFileName))
        return false;
    return firstVersionRowIs(kDatabaseVersionOfStore53, err);
}

bool PLDatabaseMigration::isDatabaseV51(int* err)
{
    if (err)
        *err = 0;
    if (!isCxdbFolder(m_controller.databaseFilePath()) || m_controller.sqliteDBName() != QLatin1String(DatabaseLayout::kStoreFileName))
        return false;
    return firstVersionRowIs(kDatabaseVersionOfStore51, err);
}

bool PLDatabaseMigration::isDatabaseV5(int* err)
{
    if (err)
        *err = 0;
    if (QFileInfo(m_controller.databaseFilePath()).suffix().compare(QLatin1String(DatabaseLayout::kOldDatabaseExtension), Qt::CaseInsensitive) == 0)
        return false;
    int code = 0;
    const std::optional<RawRows> rows = m_controller.executeQuery(QLatin1String(kFlagQuery), &code);
    if (err)
        *err = code;
    if (!rows)
        return false;
    qint64 total = 0;
    qint64 converted = 0;
    for (const RawRow& row : *rows) {
        const qint64 number = row.value(QStringLiteral("NUM")).toLongLong();
        total += number;
        if (row.value(QStringLiteral("FLAG")) == QLatin1String("1"))
            converted += number;
    }
    return converted == total;
}

int PLDatabaseMigration::databaseVersion(int* err)
{
    int code = 0;
    const bool v53 = isDatabaseV53(&code);
    if (err)
        *err = code;
    if (v53 && code == 0)
        return kVersion53;
    if (code == PLDBStatus::kNewerVersion)
        return kVersion1;
    if (code == 0) {
        const bool v51 = isDatabaseV51(&code);
        if (err)
            *err = code;
        if (v51 && code == 0)
            return kVersion51;
        if (code == PLDBStatus::kNewerVersion)
            return kVersion1;
    }
    // A cxdb store whose version query failed is no older store: keep that failure.
    if (code != 0)
        return kVersion1;
    const bool v5 = isDatabaseV5(&code);
    if (err)
        *err = code;
    if (v5 && code == 0)
        return kVersion5;
    return kVersion1;
}

int PLDatabaseMigration::numberOfCards(int* err)
{
    int code = 0;
    const std::optional<RawRows> rows = m_controller.executeQuery(QLatin1String(kCountQuery), &code);
    if (err)
        *err = code;
    if (!rows || rows->isEmpty())
        return 0;
    return rows->first().value(QStringLiteral("NUM")).toInt();
}

// ---- Progress and cancellation ----

void PLDatabaseMigration::progress(const std::function<void(PLProgressSheet&)>& update)
{
    if (!m_controller.isShowProgress())
        return;
    Scheduler::performOnMainThreadAndWait([&update] {
        if (PLProgressSheet* sheet = PLProgressSheet::shared())
            update(*sheet);
    });
}

void PLDatabaseMigration::reportProgress(const QString& message, quint64 maxCount, quint64 finishedCount)
{
    progress([&](PLProgressSheet& sheet) { sheet.refreshProgress(progressInfo(message, maxCount, finishedCount)); });
}

// ---- The migration ----

int PLDatabaseMigration::migrateDatabase()
{
    Work work;
    int status = PLDBStatus::kMigrationFailed;
    try {
        status = runMigration(work);
    } catch (const std::exception& error) {
        PLNSLog(QStringLiteral("Exception: %@"), QString::fromUtf8(error.what()));
        status = PLDBStatus::kMigrationFailed;
    } catch (...) {
        status = PLDBStatus::kMigrationFailed;
    }
    if (status != PLDBStatus::kSuccess) {
        try {
            rollBack(work);
        } catch (...) {
            PLNSLog(QStringLiteral("Exception: %@"), QStringLiteral("roll back"));
        }
    }
    // The first controller hears the cancel again; the second and its lock go.
    progress([this](PLProgressSheet& sheet) { sheet.setModalDelegate(&m_delegate); });
    work.builder.reset();
    work.second.reset();
    m_controller.operationError().migrateErrCode = status;
    PLNSLog(QStringLiteral("migrateDatabase end. ErrCode:[%d]"), status);
    progress([](PLProgressSheet& sheet) {
        sheet.stopIndicator({});
        sheet.endModalIndicator();
    });
    return status;
}

int PLDatabaseMigration::runMigration(Work& work)
{
    work.folder = m_controller.databaseFilePath();
    work.cxdb = isCxdbFolder(work.folder);
    const QString preparing = getLocalString(QLatin1String(work.cxdb ? kInitPreparingKey : kMigratePreparingKey));
    progress([&](PLProgressSheet& sheet) {
        sheet.startIndicator({{QLatin1String(kProgressInfoMessage), preparing}});
    });

    int status = m_controller.checkBeforeMigrateOperation();
    if (status != PLDBStatus::kSuccess)
        return status;
    work.workFolder = m_controller._generateWorkDBPath();
    if (work.workFolder.isEmpty())
        return PLDBStatus::kNoWorkFolderName;
    work.workFolderMade = !work.cxdb;
    status = m_controller.backupTo(work.workFolder);
    if (status != PLDBStatus::kSuccess) {
        work.workFolderMade = false; // backupTo removed what it had copied
        return status;
    }
    m_controller.closeDatabase();
    // Build folders left by a migration that never ended (the program was stopped) go now.
    const QDir workDir(work.workFolder);
    for (const QString& stale : workDir.entryList({QLatin1String(kBuildFolderPattern)}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot))
        removeTreeIn(work.workFolder, stale);

    work.second = PLDatabaseController::initDBwithPath(work.workFolder);
    if (!work.second)
        return PLDBStatus::kMissingArgument;
    work.second->setShowProgress(m_controller.isShowProgress());
    work.secondDelegate = std::make_unique<ControllerDelegate>(*work.second);
    progress([&](PLProgressSheet& sheet) { sheet.setModalDelegate(work.secondDelegate.get()); });
    // In place, the first controller keeps the folder's lock to the end; a new folder gets its own.
    if (!work.cxdb) {
        status = work.second->checkBeforeMigrateOperation();
        if (status != PLDBStatus::kSuccess)
            return status;
    }

    work.message = getLocalString(QLatin1String(work.cxdb ? kInitRunningKey : kMigrateRunningKey));
    progress([&](PLProgressSheet& sheet) {
        sheet.stopIndicator({});
        sheet.startIndicator({{QLatin1String(kProgressInfoIndicatorIsDeterminate), true},
                              {QLatin1String(kProgressInfoMessage), work.message}});
    });

    PLDatabaseMigration secondProbe(*work.second);
    int err = 0;
    work.version = secondProbe.databaseVersion(&err);
    work.second->closeDatabase();
    if (err != 0)
        return err == PLDBStatus::kNewerVersion ? err : PLDBStatus::kMigrationFailed;
    if (work.version == kVersion53)
        return openAndSave(*work.second);

    const QString store1 = joined(work.workFolder, QLatin1String(DatabaseLayout::kStoreFileName));
    QString storeToFinish;
    if (work.version == kVersion51) {
        work.workCopy = firstFreeName(store1 + QStringLiteral("_work"));
        if (work.workCopy.isEmpty() || !QFile::copy(store1, work.workCopy)) {
            work.workCopy.clear();
            return PLDBStatus::kMigrationFailed;
        }
        storeToFinish = work.workCopy;
    } else {
        // The old store stays where it is until the end; the steps read a copy of it.
        const QString oldStore = joined(work.workFolder, QLatin1String(DatabaseLayout::kOldStoreFileName));
        work.inputCopy = joined(work.workFolder, QLatin1String(kInputCopyName));
        if (QFileInfo::exists(work.inputCopy) && !removeFile(work.inputCopy))
            return PLDBStatus::kMigrationFailed;
        if (!QFile::copy(oldStore, work.inputCopy)) {
            work.inputCopy.clear();
            return PLDBStatus::kMigrationFailed;
        }
        if (work.version == kVersion1) {
            status = migrateDatabaseToV5(work);
            if (status == PLDBStatus::kSuccess)
                status = saveOldDB(work);
            work.second->closeDatabase();
            if (status != PLDBStatus::kSuccess)
                return status;
        }
        work.buildFolder = std::make_unique<QTemporaryDir>(joined(work.workFolder, QLatin1String(kBuildFolderTemplate)));
        if (!work.buildFolder->isValid())
            return PLDBStatus::kMigrationFailed;
        work.builder = PLDatabaseController::initDBwithPath(work.buildFolder->path());
        if (!work.builder)
            return PLDBStatus::kMigrationFailed;
        work.builder->setShowProgress(m_controller.isShowProgress());
        status = migrateDatabaseToV51L10(work, work.message);
        work.builder->closeDatabase();
        if (status != PLDBStatus::kSuccess)
            return status;
        storeToFinish = joined(work.buildFolder->path(), QLatin1String(DatabaseLayout::kStoreFileName));
    }

    status = migrateDatabaseToV53(*work.second, work.message, storeToFinish);
    work.second->closeDatabase();
    if (status != PLDBStatus::kSuccess)
        return status;
    status = commit(work);
    if (status != PLDBStatus::kSuccess)
        return status;
    status = openAndSave(*work.second);
    if (status != PLDBStatus::kSuccess)
        return status;
    m_controller.setWorkDBFullPath(work.workFolder);
    return PLDBStatus::kSuccess;
}

// Moves the finished store into place; from here on the migration has succeeded.
int PLDatabaseMigration::commit(Work& work)
{
    const QString store1 = joined(work.workFolder, QLatin1String(DatabaseLayout::kStoreFileName));
    // The store to keep gets its backup name first (a second name, or a copy); then one rename
    // puts the new store in place. A kill anywhere leaves a store where one is expected.
    if (work.version == kVersion51) {
        const QString backup = firstFreeName(store1 + QStringLiteral("_bak"));
        if (backup.isEmpty() || !keepUnderSecondName(store1, backup))
            return PLDBStatus::kMigrationFailed;
        crashPoint("migration-before-switch");
        if (!renameOver(work.workCopy, store1)) {
            removeFile(backup);
            return PLDBStatus::kMigrationFailed;
        }
        crashPoint("migration-after-switch");
        work.workCopy.clear();
        return PLDBStatus::kSuccess;
    }

    const QString oldStore = joined(work.workFolder, QLatin1String(DatabaseLayout::kOldStoreFileName));
    const QString built = joined(work.buildFolder->path(), QLatin1String(DatabaseLayout::kStoreFileName));
    QString oldStoreBackup;
    if (work.version == kVersion5) {
        // The version-5 store is kept beside the new one.
        oldStoreBackup = firstFreeName(oldStore + QStringLiteral("_bak"));
        if (oldStoreBackup.isEmpty() || !keepUnderSecondName(oldStore, oldStoreBackup))
            return PLDBStatus::kMigrationFailed;
    }
    crashPoint("migration-before-switch");
    if (!renameOver(built, store1)) {
        if (!oldStoreBackup.isEmpty())
            removeFile(oldStoreBackup);
        return PLDBStatus::kMigrationFailed;
    }
    crashPoint("migration-after-switch");
    // The old store goes only now that the new one is in place (its copy stays for version 5).
    removeFile(oldStore);
    removeFile(work.inputCopy);
    work.inputCopy.clear();
    for (const QString& file : std::as_const(work.replacedFiles))
        removeFile(file);
    work.createdFiles.clear();
    work.buildFolder.reset();
    return PLDBStatus::kSuccess;
}

// Puts the folder back as it was: every work file goes; the old store and images were not touched.
void PLDatabaseMigration::rollBack(Work& work)
{
    if (work.builder)
        work.builder->closeDatabase();
    if (work.second)
        work.second->closeDatabase();
    if (!work.workCopy.isEmpty())
        removeFile(work.workCopy);
    if (!work.inputCopy.isEmpty())
        removeFile(work.inputCopy);
    for (const QString& file : std::as_const(work.createdFiles))
        removeFile(file);
    work.builder.reset();
    work.buildFolder.reset();
    if (work.workFolderMade) {
        work.second.reset(); // its lock descriptor first
        cleanFolder(work.workFolder);
    }
}

// ---- Version 1 to 5 ----

int PLDatabaseMigration::migrateDatabaseToV5(Work& work)
{
    int err = 0;
    ManagedObjectContext* context = work.second->managedObjectContextForV5Store(work.inputCopy, &err);
    if (!context)
        return PLDBStatus::kNoContext;
    const std::optional<ManagedObjectList> cards = work.second->fetchAllCardDatas(context);
    if (!cards)
        return PLDBStatus::kCardsNotFetched;
    const QString message = getLocalString(QLatin1String(kMigrateRunningKey));
    const quint64 count = quint64(cards->size());
    reportProgress(message, count, 0);
    for (qsizetype index = 0; index < cards->size(); ++index) {
        if (work.second->confirmCancelOperation())
            return PLDBStatus::kCancelled;
        const int status = migrateCardDataToV5(work, cards->at(index));
        if (status != PLDBStatus::kSuccess)
            return status;
        reportProgress(message, count, quint64(double(index + 1) * 0.3));
    }
    return PLDBStatus::kSuccess;
}

int PLDatabaseMigration::migrateCardDataToV5(Work& work, const ManagedObjectPtr& card)
{
    if (!card)
        return PLDBStatus::kMissingArgument;
    if (card->stringValue(QStringLiteral("flag1")) == QLatin1String("1"))
        return PLDBStatus::kSuccess;

    const QString images = joined(work.workFolder, QLatin1String(DatabaseLayout::kImagesFolderName));
    const QString faceFile = card->stringValue(QStringLiteral("face_Image_File"));
    const QString backFile = card->stringValue(QStringLiteral("back_Image_File"));
    const QString facePath = joined(images, faceFile);
    int pages = 0;
    const int faceKind = (m_imageAccess && !PLChecker::isBlank(faceFile)) ? m_imageAccess->CheckPDF(facePath, &pages)
                                                                          : PLCardImageAccess::kPdfMissing;
    if (PLChecker::isBlank(backFile) && !PLChecker::isBlank(faceFile) && faceKind == PLCardImageAccess::kPdfScannedCard
        && pages == 2) {
        const QString newId = PLDatabaseController::generateCardId(nullptr);
        if (PLChecker::isBlank(newId))
            return PLDBStatus::kNoCardId;
        const int status = m_imageAccess->importCardImageFile(card, newId, facePath, work.workFolder, 0);
        const QString newFace = joined(images, newId + QStringLiteral("_N1.pdf"));
        const QString newBack = joined(images, newId + QStringLiteral("_N2.pdf"));
        for (const QString& made : {newFace, newBack}) {
            if (QFileInfo::exists(made))
                work.createdFiles.append(made);
        }
        if (status != 0)
            return status;
        work.replacedFiles.append(facePath);
    } else {
        QString newBack = backFile;
        qlonglong facePage = 0;
        QVariant otherPage;
        if (faceKind == PLCardImageAccess::kPdfOwnOrImageless) {
            newBack.clear();
            facePage = 1;
            otherPage = qlonglong(0);
        } else if (faceKind == PLCardImageAccess::kPdfScannedCard) {
            facePage = 1;
            otherPage = qlonglong(1);
        }
        int backPages = 0;
        const bool backIsCard = m_imageAccess && !PLChecker::isBlank(newBack)
                                && m_imageAccess->CheckPDF(joined(images, newBack), &backPages) == PLCardImageAccess::kPdfScannedCard;
        card->setValue(QStringLiteral("back_Image_File"), newBack);
        card->setValue(QStringLiteral("face_Image_Page"), facePage);
        card->setValue(QStringLiteral("back_Image_page"), qlonglong(backIsCard ? 1 : 0));
        if (otherPage.isValid())
            card->setValue(QStringLiteral("other_Image_Page"), otherPage);
    }
    card->setValue(QStringLiteral("flag2"), card->stringValue(QStringLiteral("connected")));
    card->setValue(QStringLiteral("connected"), qlonglong(0));
    card->setValue(QStringLiteral("flag1"), QStringLiteral("1"));
    replenishCardData(card);
    return PLDBStatus::kSuccess;
}

void PLDatabaseMigration::replenishCardData(const ManagedObjectPtr& card)
{
    auto blank = [&card](const char* key) { return PLChecker::isBlank(card->stringValue(QLatin1String(key))); };
    auto allBlank = [&blank](std::initializer_list<const char*> keys) {
        for (const char* key : keys) {
            if (!blank(key))
                return false;
        }
        return true;
    };
    QVariantMap fields;
    auto gather = [&](const char* key) { fields.insert(QLatin1String(key), card->stringValue(QLatin1String(key))); };

    if (!blank("full_Name") && allBlank({"first_Name", "middle_Name", "family_Name", "suffix_Name", "prefix_Name"}))
        gather("full_Name");
    if (!blank("full_Name_Kana")
        && allBlank({"first_Name_Kana", "middle_Name_Kana", "family_Name_Kana", "suffix_Name_Kana", "prefix_Name_Kana"}))
        gather("full_Name_Kana");
    if (!blank("address") && allBlank({"street", "city", "state"}))
        gather("address");
    const std::pair<const char*, const char*> synced[] = {
        {"e_Mail", "sync_Email"},          {"web_Page_Address", "sync_URL"},
        {"telephone_Number", "sync_Phone_work"}, {"mobile_Number", "sync_Phone_Mobile"},
        {"fax_Number", "sync_Phone_Fax"},
    };
    for (const auto& [field, sync] : synced) {
        if (!blank(field) && blank(sync))
            gather(field);
    }
    if (blank("sync_Street")) {
        for (const char* key : {"address", "zip_PostalCode", "country"}) {
            if (!blank(key))
                gather(key);
        }
    }
    if (!fields.isEmpty() && m_fieldSeparator)
        m_fieldSeparator(fields, card);
}

int PLDatabaseMigration::saveOldDB(Work& work)
{
    int err = 0;
    ManagedObjectContext* context = work.second->managedObjectContextForV5Store(work.inputCopy, &err);
    if (!context)
        return PLDBStatus::kMissingArgument;
    QString errorText;
    if (context->save(&errorText) != 0) {
        PLNSLog(QStringLiteral("Exception happended.[%@]"), errorText);
        return PLDBStatus::kSaveFailed;
    }
    return PLDBStatus::kSuccess;
}

// ---- Version 5 to 51 ----

void PLDatabaseMigration::replenishManagedObject(const ManagedObject& from, const ManagedObjectPtr& to)
{
    for (const QString& name : copiedCardAttributes())
        to->setValue(name, from.value(name));
}

int PLDatabaseMigration::migrateDatabaseToV51L10(Work& work, const QString& message)
{
    PLDatabaseController& builder = *work.builder;
    struct SeedingFlag {
        PLDatabaseController& controller;
        ~SeedingFlag() { controller.setUseOldModel(false); }
    } seeding{builder};
    builder.setUseOldModel(true);

    int err = 0;
    ManagedObjectContext* target = builder.managedObjectContextForOldModel(&err);
    if (!target)
        return PLDBStatus::kNoContext;
    ManagedObjectContext* source = builder.managedObjectContextForV5Store(work.inputCopy, &err);
    if (!source)
        return PLDBStatus::kNoContext;
    const std::optional<ManagedObjectList> cards = builder.fetchAllCardDatas(source);
    if (!cards)
        return PLDBStatus::kCardsNotFetched;
    int status = builder.insertFolderData();
    if (status == PLDBStatus::kSuccess)
        status = builder.insertVersionData();
    if (status != PLDBStatus::kSuccess)
        return status;

    const quint64 count = quint64(cards->size());
    if (count > 0)
        reportProgress(message, count, quint64(double(count) * 0.3));
    for (qsizetype index = 0; index < cards->size(); ++index) {
        if (work.second->confirmCancelOperation())
            return PLDBStatus::kCancelled;
        ManagedObjectPtr card = target->insertNewObject(QLatin1String(CardStore::kEntityCard));
        replenishManagedObject(*cards->at(index), card);
        status = builder.insertCardBelongData(card);
        if (status != PLDBStatus::kSuccess)
            return status;
        reportProgress(message, count, quint64(double(index + 1) * 0.6 + double(count) * 0.3));
    }
    // One save for every card: the store is a work file until it is moved into place.
    QString errorText;
    if (target->save(&errorText) != 0) {
        PLNSLog(QStringLiteral("Exception happended.[%@]"), errorText);
        return PLDBStatus::kSaveFailed;
    }
    return PLDBStatus::kSuccess;
}

// ---- Version 51 to 53 ----

int PLDatabaseMigration::migrateDatabaseToV53(PLDatabaseController& controller, const QString& message,
                                              const QString& storeFile)
{
    if (PLChecker::isBlank(storeFile))
        return PLDBStatus::kMissingArgument;
    reportProgress(message, 10, 9);
    if (controller.confirmCancelOperation())
        return PLDBStatus::kCancelled;

    QStringList existing;
    {
        SqliteConnection connection;
        if (connection.open(storeFile, false) != 0)
            return PLDBStatus::kOpenFailed;
        int code = 0;
        const std::optional<RawRows> columns = rawQuery(connection, QStringLiteral("pragma table_info(ZCARD)"), &code);
        if (!columns)
            return PLDBStatus::kInUse;
        for (const RawRow& column : *columns)
            existing.append(column.value(QStringLiteral("name")).toUpper());
    }
    // One transaction: the columns come all together or not at all, with one write to disk.
    int code = 0;
    QStringList added;
    if (controller.executeUpdateWithDBPath(storeFile, QStringLiteral("begin immediate"), &code)) {
        for (const AddedColumn& column : kV53Columns) {
            if (existing.contains(QLatin1String(column.name)))
                continue;
            if (!controller.executeUpdateWithDBPath(storeFile, QLatin1String(column.statement), &code))
                break;
            added.append(QLatin1String(column.name));
        }
        // Cards get 0 in the columns just added; values a column already held are kept.
        if (code == 0 && !added.isEmpty()) {
            QString update = QLatin1String(kV53Update);
            if (added.size() != qsizetype(std::size(kV53Columns))) {
                QStringList assignments;
                for (const char* integerColumn : {"ZINPUT_TYPE", "ZFIXED_FLAG"}) {
                    if (added.contains(QLatin1String(integerColumn)))
                        assignments.append(QLatin1String(integerColumn) + QStringLiteral(" = 0"));
                }
                update = assignments.isEmpty() ? QString() : QStringLiteral("update ZCARD set ") + assignments.join(QLatin1Char(','));
            }
            if (!update.isEmpty())
                controller.executeUpdateWithDBPath(storeFile, update, &code);
        }
        int endCode = 0;
        controller.executeUpdateWithDBPath(storeFile, code == 0 ? QStringLiteral("commit") : QStringLiteral("rollback"), &endCode);
        if (code == 0)
            code = endCode;
    }
    controller.closeSqlite3DB();
    if (code != 0)
        return code;

    if (controller.confirmCancelOperation())
        return PLDBStatus::kCancelled;
    const int status = controller.updateVersionData(storeFile);
    if (status != PLDBStatus::kSuccess)
        return status;
    reportProgress(message, 10, 10);
    return PLDBStatus::kSuccess;
}

// ---- The check before opening ----

bool PLDatabaseMigration::migrateDatabaseIfNeeded(bool showProgress, const QString& folder, QString* workDBFullPath,
                                                  const CheckContext& context)
{
    if (PLChecker::isBlank(folder) || !workDBFullPath)
        return false;
    *workDBFullPath = folder;
    struct Leave {
        const CheckContext& context;
        ~Leave()
        {
            if (context.setClearBtnStatus)
                context.setClearBtnStatus();
        }
    } leave{context};

    DatabaseFolderRecovery::restoreInterruptedStore(folder);
    FileAttributes attributes;
    if (readFileAttributes(folder, &attributes) && attributes.isDirectory && attributes.writable
        && QDir(folder).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        PLNetDBLockController::setDbOpenMode(PLNetDBLockController::kOpenModeOpened);
        return true;
    }

    std::unique_ptr<PLDatabaseController> controller = PLDatabaseController::initDBwithPath(folder);
    if (!controller)
        return false;
    const int checked = controller->checkBeforeMigrateOperation();
    if (checked != PLDBStatus::kSuccess) {
        const int message = checked == PLDBStatus::kPathTooLong ? kMsgPathTooLong
                            : checked == PLDBStatus::kInUse     ? kMsgInUse
                                                                : kMsgCannotUse;
        PLMessage::ShowPLErrorMessageBySheet(context.window, message);
        return false;
    }
    PLDatabaseMigration migration(*controller);
    migration.setImageAccess(context.imageAccess);
    migration.setFieldSeparator(context.fieldSeparator);
    int err = 0;
    const int version = migration.databaseVersion(&err);
    controller->closeSqlite3DB();
    if (err != 0) {
        PLMessage::ShowPLErrorMessageBySheet(context.window, err == PLDBStatus::kNewerVersion ? kMsgNewerVersion : kMsgCannotUse);
        return false;
    }
    PLNetDBLockController::setDbOpenMode(PLNetDBLockController::kOpenModeOpened);

    if (version != kVersion53) {
        if (version == kVersion1
            && PLMessage::ShowPLInfoMessageBySheet(context.window, QLatin1String(kConfirmMigrateKey), kButtonYes, kButtonNo, QString()) != 1)
            return false;
        PLProgressSheet* sheet = showProgress ? PLProgressSheet::shared() : nullptr;
        controller->setShowProgress(sheet != nullptr);
        if (sheet) {
            sheet->startModalIndicatorForWindow(context.window, &migration.m_delegate, [&migration] { migration.migrateDatabase(); },
                                                &PLDatabaseMigration::setStopRunning);
        } else {
            migration.migrateDatabase();
        }
        const int status = controller->operationError().migrateErrCode;
        if (status != PLDBStatus::kSuccess) {
            const int message = status == PLDBStatus::kBackupDestinationBad ? kMsgBackupNotWritable
                                : status == PLDBStatus::kBackupNoSpace      ? kMsgNoDiskSpace
                                                                            : kMsgMigrationFailed;
            PLMessage::ShowPLErrorMessageBySheet(context.window, message);
            return false;
        }
    }

    const QString work = controller->workDBFullPath();
    // Still under this check's lock: what a stopped run left in the folder goes now.
    if (work.isEmpty() || work == folder)
        DatabaseFolderRecovery::sweepLeftovers(folder);
    if (!work.isEmpty()) {
        *workDBFullPath = work;
        if (QFileInfo(work).isDir()) {
            PreferenceDomain& preferences = PreferenceDomain::standard();
            preferences.setValue(QLatin1String(PLAppController::kPrefDBPath), PlistValue(work));
            if (!preferences.synchronize())
                PLNSLog(QLatin1String(kLogSavePathFailed), work);
        }
    }
    return true;
}
