// A preference file may hold anything another session or a hand edit left: reading it, and the
// typed settings read from it at start-up, must never crash.
#include "app/export/PLExporter.h"
#include "platform/foundation/PreferenceDomain.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    static const bool chosen = (PreferenceDomain::setStandardDomain(QStringLiteral("fuzz.preferences"), dir.path()), true);
    (void)chosen;
    QFile file(PreferenceDomain::standard().filePath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    file.close();
    PreferenceDomain::standard().reload();
    const PlistValue::Dictionary values = PreferenceDomain::standard().dictionary();
    for (auto it = values.constBegin(); it != values.constEnd(); ++it)
        PreferenceDomain::standard().value(it.key()).toInteger();
    PLExporter::exportItemsMask();
    return 0;
}
