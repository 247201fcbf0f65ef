// Feeds arbitrary bytes to the card file reader as the card file of a hand-off.
#include "plugin/Common/LogManager.h"
#include "plugin/Common/XMLParser.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    static const bool quiet = (LogManager::setSink([](const QString&) {}), true);
    (void)quiet;
    const QString path = dir.filePath(QStringLiteral("cards.xml"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(reinterpret_cast<const char*>(data), qint64(size));
    file.close();
    XMLParser().parseXMLFileAtPath(path);
    return 0;
}
