#include "app/sync/PLSyncBookkeeping.h"

#include "app/core/Globals.h"
#include "app/core/Identifiers.h"
#include "app/core/VersionUtilities.h"
#include "app/images/CardFieldKeys.h"
#include "platform/appkit/Scheduler.h"
#include "platform/foundation/FlagGuard.h"
#include "platform/store/ManagedObjectContext.h"

#include <algorithm>

namespace {

bool isEmptyField(const ManagedObject& card, const QString& key)
{
    return card.stringValue(key).isEmpty();
}

// Item identifiers in the order they are renewed, each with the fields whose emptiness renews it.
struct ItemIdentifier {
    const QString& key;
    QList<QString> fields;
};

const QList<ItemIdentifier>& itemIdentifiers()
{
    static const QList<ItemIdentifier> items = {
        {cardkey::kSyncPhoneFax, {cardkey::kFax}},
        {cardkey::kSyncPhoneMobile, {cardkey::kMobile}},
        {cardkey::kSyncPhoneWork, {cardkey::kTelephone}},
        {cardkey::kSyncStreet, {cardkey::kPostalCode, cardkey::kCity, cardkey::kState, cardkey::kStreet, cardkey::kCountry}},
        {cardkey::kSyncEmail, {cardkey::kEmail}},
        {cardkey::kSyncUrl, {cardkey::kWebPage}},
    };
    return items;
}

} // namespace

PLSyncBookkeeping::PLSyncBookkeeping(PLSyncBookkeepingHost* host)
    : m_host(host)
{
    NotificationCenter::defaultCenter().addObserver(this, QLatin1String(ManagedObjectContext::kObjectsDidChangeNotification),
                                                    [this](const Notification& n) { updateData(n); });
}

PLSyncBookkeeping::~PLSyncBookkeeping()
{
    NotificationCenter::defaultCenter().removeObserver(this);
    Scheduler::shared().cancelPreviousPerformRequests(this);
}

void PLSyncBookkeeping::updateData(const Notification& notification)
{
    ManagedObjectContext* context = m_host->managedObjectContext();
    if (!context || notification.object != context)
        return;
    if (m_refreshing || notification.userInfo.contains(QLatin1String(kRefreshedObjectsKey)))
        return;

    if (notification.userInfo.contains(QLatin1String(ManagedObjectContext::kUpdatedObjectsKey))) {
        const ManagedObjectList updated = context->updatedObjects();
        if (!updated.isEmpty()) {
            bool anyChanged = false;
            const bool namesOnly = getSystemVersion() >= 0x1060 && g_bSyncOSJudge;
            for (const ManagedObjectPtr& card : updated) {
                if (card->entityName() != QLatin1String("Card") || card->value(QStringLiteral("deletedFlag")).toLongLong() == 1)
                    continue;
                bool changed = false;
                const bool named = !isEmptyField(*card, cardkey::kFirstName) || !isEmptyField(*card, cardkey::kMiddleName)
                                   || !isEmptyField(*card, cardkey::kFamilyName)
                                   || (!namesOnly && !isEmptyField(*card, cardkey::kCompany));
                if (named && isEmptyField(*card, QStringLiteral("syncID"))) {
                    card->setValue(QStringLiteral("syncID"), getUUID());
                    changed = true;
                }
                if (!m_host->isSyncing()) {
                    for (const ItemIdentifier& item : itemIdentifiers()) {
                        if (std::all_of(item.fields.begin(), item.fields.end(),
                                        [&](const QString& f) { return isEmptyField(*card, f); })) {
                            card->setValue(item.key, getUUID());
                            changed = true;
                        }
                    }
                }
                if (changed) {
                    context->refreshObject(card, true);
                    anyChanged = true;
                }
            }
            if (anyChanged) {
                // The identifiers set here are announced now, as a refresh that is not looked at again.
                FlagGuard refreshing(m_refreshing);
                context->processPendingChanges();
            }
            if (!m_host->searchFieldString().isEmpty()) {
                m_host->rearrangeCards();
                m_host->showSelectedRecordsInImagePane();
                Scheduler::shared().performAfterDelay(this, QStringLiteral("updateSelectStatus:"), 0,
                                                      [this] { m_host->updateSelectStatus(); });
            }
        }
    }

    m_host->rearrangeCards();
    // One save for however many changes arrive before the run loop comes round.
    Scheduler::shared().cancelPreviousPerformRequests(this, QStringLiteral("saveAction:"));
    Scheduler::shared().performAfterDelay(this, QStringLiteral("saveAction:"), 0, [this] { m_host->saveAction(); });
}
