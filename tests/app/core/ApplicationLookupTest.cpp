#include "TestBundle.h"

#include "app/core/ApplicationLookup.h"
#include "tests/support/workspace/FakeWorkspace.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void writeText(const QString& path, const QByteArray& text, bool executable = false)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    if (executable)
        file.setPermissions(file.permissions() | QFile::ExeOwner | QFile::ExeUser);
}

// Desktop entries in temporary data folders, the environment pointed at them for the test's life.
struct DesktopFixture : ::testing::Test {
    QTemporaryDir root;
    QByteArray savedHome = qgetenv("XDG_DATA_HOME");
    QByteArray savedDirs = qgetenv("XDG_DATA_DIRS");
    QString tool;
    QString icon;

    void SetUp() override
    {
        qputenv("XDG_DATA_HOME", root.filePath("home").toLocal8Bit());
        qputenv("XDG_DATA_DIRS", root.filePath("system").toLocal8Bit());
        tool = root.filePath("bin/quillant tool");
        writeText(tool, "#!/bin/sh\nexit 0\n", true);
        writeText(root.filePath("bin/plain"), "not executable");
        icon = root.filePath("icons/q.png");
        QDir().mkpath(root.filePath("icons"));
        QImage image(64, 64, QImage::Format_ARGB32);
        image.fill(Qt::red);
        image.save(icon);
        writeText(root.filePath("system/applications/com.orvane.zor.Quillant.desktop"),
                  "[Desktop Entry]\nType=Application\nName=Quillant\nExec=\"" + tool.toUtf8() + "\" %F\nIcon=" + icon.toUtf8() + "\n");
        writeText(root.filePath("system/applications/vendor/plain.desktop"),
                  "[Desktop Entry]\nType=Application\nName=Plain\nExec=" + root.filePath("bin/plain").toUtf8() + "\n");
        writeText(root.filePath("system/applications/hidden.desktop"),
                  "[Desktop Entry]\nType=Application\nName=Hidden\nExec=" + tool.toUtf8() + "\n");
        writeText(root.filePath("home/applications/hidden.desktop"), "[Desktop Entry]\nType=Application\nName=Hidden\nHidden=true\n");
        writeText(root.filePath("system/applications/link.desktop"), "[Desktop Entry]\nType=Link\nName=Link\nURL=http://127.0.0.1/\n");
    }
    void TearDown() override
    {
        qputenv("XDG_DATA_HOME", savedHome);
        qputenv("XDG_DATA_DIRS", savedDirs);
    }
};

} // namespace

TEST_F(DesktopFixture, IsApplicationExist)
{
    EXPECT_TRUE(IsApplicationExist("Quillant"));
    EXPECT_TRUE(IsApplicationExist("com.orvane.zor.Quillant"));
    EXPECT_TRUE(IsApplicationExist(tool));
    EXPECT_TRUE(IsApplicationExist("sh")) << "a program on $PATH";
    EXPECT_FALSE(IsApplicationExist("Plain")) << "its program is not executable";
    EXPECT_FALSE(IsApplicationExist("vendor-plain"));
    EXPECT_FALSE(IsApplicationExist("Hidden")) << "hidden in the user's folder";
    EXPECT_FALSE(IsApplicationExist("Link"));
    EXPECT_FALSE(IsApplicationExist("NoSuchApplication"));
    EXPECT_FALSE(IsApplicationExist(QString()));
    EXPECT_FALSE(IsApplicationExist(root.filePath("bin")));
}

TEST_F(DesktopFixture, ApplicationIconAndFallback)
{
    TestBundle bundle;
    EXPECT_TRUE(getAppIconFrombundleID(QString(), {16, 16}).isNull());
    const QPixmap found = getAppIconFrombundleID("com.orvane.zor.Quillant", {16, 16});
    ASSERT_FALSE(found.isNull());
    EXPECT_EQ(found.size(), QSize(16, 16));
    EXPECT_TRUE(getAppIconFrombundleID("NoSuchApplication", {16, 16}).isNull()) << "no default icon resource either";

    QImage fallback(32, 32, QImage::Format_ARGB32);
    fallback.fill(Qt::blue);
    fallback.save(bundle.dir.filePath("DefaultIconImage.tiff"), "PNG");
    EXPECT_EQ(getAppIconFrombundleID("NoSuchApplication", {16, 16}).size(), QSize(32, 32)) << "the default at its own size";
}

TEST(Help, AnchorsOpenPagesOfTheHelpFolder)
{
    FakeWorkspace workspace;
    {
        TestBundle noBook;
        EXPECT_EQ(LocateHelpPageByAnchor("db_password.html"), -43);
        EXPECT_EQ(LocateHelpPageByAnchor(QString()), 0);
        EXPECT_TRUE(workspace.openedUrls.isEmpty()) << "no help folder: logged only";
    }
    TestBundle bundle({{"CFBundleHelpBookName", "Pelmora Help"}});
    EXPECT_EQ(LocateHelpPageByAnchor("db_password.html"), 0);
    EXPECT_TRUE(workspace.openedUrls.isEmpty());

    const QString help = bundle.dir.filePath("Help");
    writeText(help + "/index.html", "<html></html>");
    writeText(help + "/db_password.html", "<html></html>");
    EXPECT_EQ(LocateHelpPageByAnchor("db_password.html"), 0);
    EXPECT_EQ(LocateHelpPageByAnchor("db_fusion.html"), 0);
    EXPECT_EQ(LocateHelpPageByAnchor(""), 0);
    EXPECT_EQ(LocateHelpPageByAnchor("../Info.plist"), 0);
    ASSERT_EQ(workspace.openedUrls.size(), 4);
    EXPECT_EQ(workspace.openedUrls[0], QUrl::fromLocalFile(help + "/db_password.html"));
    QUrl fragment = QUrl::fromLocalFile(help + "/index.html");
    fragment.setFragment("db_fusion.html");
    EXPECT_EQ(workspace.openedUrls[1], fragment);
    EXPECT_EQ(workspace.openedUrls[2], QUrl::fromLocalFile(help + "/index.html"));
    EXPECT_EQ(workspace.openedUrls[3].path(), help + "/index.html") << "an anchor never leaves the help folder";
}
