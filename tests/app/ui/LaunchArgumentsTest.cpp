#include "app/ui/LaunchArguments.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

TEST(LaunchArguments, FilesOptionsAndRefusals)
{
    struct Case {
        QList<QByteArray> arguments;
        QList<QByteArray> paths;
        bool search;
        int refused;
    };
    const Case cases[] = {
        {{"a.pdf", "/abs/b.jpg"}, {"/cwd/a.pdf", "/abs/b.jpg"}, false, 0},
        {{"-x.pdf", "a.pdf"}, {"/cwd/a.pdf"}, false, 1},
        {{"--", "-x.pdf", "--", "--search-selection"}, {"/cwd/-x.pdf", "/cwd/--", "/cwd/--search-selection"}, false, 0},
        {{"--search-selection"}, {}, true, 0},
        {{""}, {}, false, 1},
    };
    for (const Case& c : cases) {
        const LaunchArguments parsed = parseLaunchArguments(c.arguments, "/cwd");
        EXPECT_EQ(parsed.request.paths, c.paths) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(parsed.request.kind, c.paths.isEmpty() ? InstanceRequest::Kind::Activate : InstanceRequest::Kind::OpenFiles);
        EXPECT_EQ(parsed.searchSelection, c.search);
        EXPECT_EQ(parsed.refused.size(), c.refused) << c.arguments.join(' ').toStdString();
    }
}

// A name that is not UTF-8 is reached through a readable link to the very file.
TEST(LaunchArguments, NamesThatAreNotTextAreReachedThroughALink)
{
    QTemporaryDir temp;
    const QByteArray raw = QFile::encodeName(temp.path()) + "/card \xff\xfe.pdf";
    const int fd = ::open(raw.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "%PDF-1.4", 8), 8);
    ::close(fd);
    const QString plain = temp.filePath("plain.pdf");
    QDir().mkpath(temp.filePath("aliases"));

    QStringList refused;
    const QStringList paths = pathsForImport({raw, QFile::encodeName(plain)}, temp.filePath("aliases"), &refused);
    ASSERT_EQ(paths.size(), 2);
    EXPECT_EQ(paths[1], plain);
    EXPECT_TRUE(paths[0].endsWith(".pdf"));
    QFile alias(paths[0]);
    ASSERT_TRUE(alias.open(QIODevice::ReadOnly));
    EXPECT_EQ(alias.readAll(), "%PDF-1.4");
    EXPECT_TRUE(refused.isEmpty());

    EXPECT_TRUE(pathsForImport({raw}, QString(), &refused).isEmpty());
    EXPECT_EQ(refused.size(), 1) << "with nowhere to make the link, the file is refused by name";
}
