// Handing files to an application by its desktop entry: the Exec value's quoting and field
// codes, and a real launch of an entry found in the XDG data folders.
#include "platform/workspace/DesktopExec.h"
#include "platform/workspace/Workspace.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(DesktopExec, ArgumentsFollowTheQuotingRules)
{
    const struct {
        const char* exec;
        std::optional<QStringList> arguments;
    } cases[] = {
        {"viewer %F", QStringList{"viewer", "%F"}},
        {"\"/opt/My Viewer/bin/viewer\" --import %f", QStringList{"/opt/My Viewer/bin/viewer", "--import", "%f"}},
        {"sh -c \"echo \\\\$HOME \\\"x\\\"\"", QStringList{"sh", "-c", "echo $HOME \"x\""}},
        {"a\\sb  c", QStringList{"a", "b", "c"}},
        {"\"a\\sb\"", QStringList{"a b"}},
        {"viewer \"open", std::nullopt},
        {"viewer a|b", std::nullopt},
        {"", QStringList{}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(splitDesktopExec(QString::fromUtf8(c.exec)), c.arguments) << c.exec;
}

TEST(DesktopExec, FieldCodesTakeTheFiles)
{
    DesktopEntry entry{QStringLiteral("org.example.Viewer"), QStringLiteral("Viewer"), QStringLiteral("/usr/bin/viewer"),
                       QStringLiteral("viewer-icon"), QStringLiteral("/apps/viewer.desktop"), QString(), QString()};
    const QStringList files{QStringLiteral("/tmp/a b.jpg"), QStringLiteral("/tmp/c.tiff")};
    const struct {
        const char* exec;
        QList<QStringList> commands;
    } cases[] = {
        {"viewer --all %F", {{"viewer", "--all", "/tmp/a b.jpg", "/tmp/c.tiff"}}},
        {"viewer %U", {{"viewer", "file:///tmp/a%20b.jpg", "file:///tmp/c.tiff"}}},
        {"viewer --one=%f", {{"viewer", "--one=/tmp/a b.jpg"}, {"viewer", "--one=/tmp/c.tiff"}}},
        {"viewer %u", {{"viewer", "file:///tmp/a%20b.jpg"}, {"viewer", "file:///tmp/c.tiff"}}},
        {"viewer %i --title %c 100%% %k %F",
         {{"viewer", "--icon", "viewer-icon", "--title", "Viewer", "100%", "/apps/viewer.desktop", "/tmp/a b.jpg", "/tmp/c.tiff"}}},
        {"digikam -qwindowtitle %c", {{"digikam", "-qwindowtitle", "Viewer", "/tmp/a b.jpg", "/tmp/c.tiff"}}},
        {"viewer \"unclosed", {}},
    };
    for (const auto& c : cases) {
        entry.exec = QString::fromUtf8(c.exec);
        EXPECT_EQ(desktopExecCommands(entry, files), c.commands) << c.exec;
    }
}

TEST(DesktopExec, AnEntryInTheDataFoldersReceivesTheFilesInOrder)
{
    QTemporaryDir temp;
    const QString record = temp.filePath("arguments");
    const QString script = temp.filePath("record.sh");
    QFile scriptFile(script);
    ASSERT_TRUE(scriptFile.open(QIODevice::WriteOnly));
    scriptFile.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.part\" && mv \"$0.part\" '" + record.toUtf8() + "'\n");
    scriptFile.close();
    scriptFile.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QDir().mkpath(temp.filePath("data/applications"));
    QFile entry(temp.filePath("data/applications/org.example.Recorder.desktop"));
    ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
    entry.write("[Desktop Entry]\nType=Application\nName=Recorder\nExec=\"" + script.toUtf8() + "\" --import %F\n");
    entry.close();

    const QByteArray savedDirs = qgetenv("XDG_DATA_DIRS");
    const QByteArray savedHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_DIRS", QFile::encodeName(temp.filePath("data")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(temp.filePath("home")));
    const QStringList files{temp.filePath("one.jpg"), temp.filePath("two words.tiff")};
    EXPECT_TRUE(Workspace::shared().openFilesWithApplication(QStringLiteral("org.example.Recorder"), files));
    EXPECT_FALSE(Workspace::shared().openFilesWithApplication(QStringLiteral("org.example.Missing"), files));
    qputenv("XDG_DATA_DIRS", savedDirs);
    qputenv("XDG_DATA_HOME", savedHome);

    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(record); }, 60000));
    QFile recorded(record);
    ASSERT_TRUE(recorded.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(recorded.readAll()), QStringLiteral("--import\n") + files.join('\n') + QLatin1Char('\n'));
}

} // namespace
