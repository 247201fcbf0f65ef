// The synchronise command's choice of conflict mode from the two stored preferences.
#include "app/sync/SyncConflictChoice.h"
#include "platform/foundation/PreferenceDomain.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(ConflictChoice, StoredModeRunsAtOnceAnythingElseAsksOnTheRememberedRow)
{
    QTemporaryDir prefs;
    PreferenceDomain::setStandardDomain("com.orvane.zor.Pelmora", prefs.path());
    PreferenceDomain& domain = PreferenceDomain::standard();
    const struct {
        PlistValue stored; // null: absent
        int mode;
    } modes[] = {{PlistValue(3), 3}, {PlistValue(2), 2}, {PlistValue(2.0), 2}, {PlistValue(1), 0},
                 {PlistValue(7), 0}, {PlistValue("3"), 0}, {PlistValue(true), 0}, {PlistValue(), 0}};
    for (const auto& m : modes) {
        if (m.stored.isNull())
            domain.remove(kPrefConnectToAddressBookState);
        else
            domain.setValue(kPrefConnectToAddressBookState, m.stored);
        EXPECT_EQ(conflictModeWithoutAsking(), m.mode);
    }

    EXPECT_EQ(preselectedConflictRow(), 0);
    storeConflictRow(1);
    EXPECT_EQ(preselectedConflictRow(), 1);
    PreferenceDomain reread("com.orvane.zor.Pelmora", prefs.path());
    EXPECT_EQ(reread.value(kPrefConnectDialogToAddressBookState).toInteger(), 1);
    domain.setValue(kPrefConnectDialogToAddressBookState, "1");
    EXPECT_EQ(preselectedConflictRow(), 0);
    EXPECT_EQ(conflictModeOfRow(0), 2);
    EXPECT_EQ(conflictModeOfRow(1), 3);
    PreferenceDomain::setStandardDomain("com.orvane.zor.Pelmora");
}

} // namespace
