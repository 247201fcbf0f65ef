// Every writer that goes through a temporary file leaves the mode a user expects: the file it
// replaces keeps its bits whatever the umask, a new one gets what the umask leaves of 0666 (of
// the source's bits, for a copy). CI runs as root: the bits are read, never relied on for access.
#include "platform/foundation/DurableFileBatch.h"
#include "platform/foundation/FileReplaceCopy.h"
#include "platform/foundation/PlainFile.h"
#include "platform/foundation/PlistFile.h"
#include "platform/foundation/PreferenceDomain.h"
#include "platform/foundation/TemporaryWrite.h"
#include "tests/support/filemodes/FileModeCases.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>

namespace {

struct Writer {
    const char* name;
    QString fileName;
    std::function<bool(const QString& folder, const QString& path)> write;
};

QByteArray read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

TEST(FileModes, EveryWriterKeepsAReplacedFilesModeAndGivesANewOneTheUmasks)
{
    QTemporaryDir temp;
    const QString source = temp.filePath(QStringLiteral("attachment.pdf"));
    {
        QFile file(source);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("after");
    }
    ASSERT_EQ(::chmod(QFile::encodeName(source).constData(), 0644), 0);
    const QByteArray emptyPlist = serializePlist(PlistValue(PlistValue::Dictionary()));
    const Writer writers[] = {
        {"a file written through a temporary file", QStringLiteral("private.csv"),
         [](const QString&, const QString& path) { return writeThroughTemporary(path, "after"); }},
        {"a settings file", QStringLiteral("list.plist"),
         [](const QString&, const QString& path) { return replaceSettingsFile(path, "after"); }},
        {"a preference domain", QStringLiteral("test.modes.plist"),
         [](const QString& folder, const QString&) {
             PreferenceDomain domain(QStringLiteral("test.modes"), folder);
             domain.setValue(QStringLiteral("key"), PlistValue(QStringLiteral("after")));
             return domain.synchronize();
         }},
        {"a plain file of a database folder", QStringLiteral("Pelmora.CFG"),
         [](const QString&, const QString& path) { return replacePlainFile(path, "after"); }},
        {"a vCard batch", QStringLiteral("Card Person.vcf"),
         [](const QString& folder, const QString& path) {
             DurableFileBatch batch(folder);
             return batch.add(path, "after") && batch.finish();
         }},
        {"a copy of an attachment", QStringLiteral("attachment copy.pdf"),
         [&](const QString&, const QString& path) { return copyFileReplacing(source, path) == FileReplaceCopyResult::Copied; }},
    };
    for (const Writer& writer : writers) {
        for (const FileModeCase& c : kFileModeCases) {
            SCOPED_TRACE(std::string(writer.name) + ", " + c.name);
            const QString folder = temp.filePath(QString::fromLatin1(writer.name));
            QDir().mkpath(folder);
            const QString path = QDir(folder).filePath(writer.fileName);
            ASSERT_TRUE(prepareFileModeCase(c, path, path.endsWith(QLatin1String(".plist")) ? emptyPlist : QByteArray("before")));
            {
                const UmaskScope umask(c.umask);
                ASSERT_TRUE(writer.write(folder, path));
            }
            EXPECT_NE(read(path), QByteArray("before"));
            EXPECT_EQ(fileModeOf(path), int(c.expected));
        }
    }
}
