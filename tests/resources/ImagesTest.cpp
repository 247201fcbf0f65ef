// Every image the application's sources name is delivered with it, as the file of that name or as
// the drawing of the same name that stands for it.
#include "platform/foundation/Bundle.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

TEST(Images, EveryImageTheApplicationNamesIsDelivered)
{
    const QString source = qEnvironmentVariable("PELMORA_SOURCE_DIR");
    ASSERT_FALSE(source.isEmpty());
    const Bundle bundle(source + QStringLiteral("/resources/Pelmora"));
    const QRegularExpression image(QStringLiteral(R"re("([A-Za-z0-9_ ]+\.(?:png|tiff|ico|svg))")re"));
    QStringList named;
    QStringList missing;
    QDirIterator it(source + QStringLiteral("/app"), {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        for (auto match = image.globalMatch(QString::fromUtf8(file.readAll())); match.hasNext();) {
            const QString name = match.next().captured(1);
            named.append(name);
            if (bundle.pathForImageResource(name).isEmpty())
                missing.append(file.fileName().mid(source.size() + 1) + QStringLiteral(": ") + name);
        }
    }
    EXPECT_GT(named.size(), 30);
    EXPECT_TRUE(missing.isEmpty()) << missing.join(u'\n').toStdString();
}
