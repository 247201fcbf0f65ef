#include "app/sync/SyncConflictChoice.h"

#include "app/sync/PLSyncConnectController.h"
#include "platform/foundation/PreferenceDomain.h"

namespace {

// The stored value as a whole number; -1 for anything that is not a number.
int storedNumber(const char* key)
{
    const PlistValue value = PreferenceDomain::standard().value(QLatin1String(key));
    if (value.type() != PlistValue::Type::Integer && value.type() != PlistValue::Type::Real)
        return -1;
    return int(value.toInteger(-1));
}

} // namespace

int conflictModeWithoutAsking()
{
    const int stored = storedNumber(kPrefConnectToAddressBookState);
    return stored == PLSyncConnectController::kSelectCardWins || stored == PLSyncConnectController::kSelectAddressBookWins
               ? stored
               : PLSyncConnectController::kSelectNone;
}

int preselectedConflictRow()
{
    return storedNumber(kPrefConnectDialogToAddressBookState) == 1 ? 1 : 0;
}

void storeConflictRow(int row)
{
    PreferenceDomain::standard().setValue(QLatin1String(kPrefConnectDialogToAddressBookState), row);
    PreferenceDomain::standard().synchronize();
}

int conflictModeOfRow(int row)
{
    return row == 1 ? PLSyncConnectController::kSelectAddressBookWins : PLSyncConnectController::kSelectCardWins;
}
