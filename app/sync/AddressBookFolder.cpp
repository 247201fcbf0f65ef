#include "app/sync/AddressBookFolder.h"

#include "platform/foundation/PreferenceDomain.h"
#include "platform/foundation/StandardPaths.h"

QString addressBookFolder()
{
    const QString stored = PreferenceDomain::standard().value(QLatin1String(kPrefAddressBookFolder)).toString();
    if (!stored.isEmpty())
        return stored;
    return userDataDir() + QLatin1String("/pelmora/addressbook/default/");
}
