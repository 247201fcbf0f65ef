#include "TestBundle.h"

#include "app/core/ApplicationLookup.h"
#include "tests/support/workspace/FakeWorkspace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
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

TEST(Help, AnchorsOpenPagesOfTheBookOrFail)
{
    FakeWorkspace workspace;
    {
        TestBundle noBook;
        EXPECT_EQ(LocateHelpPageByAnchor("db_password.html"), -43);
        EXPECT_EQ(LocateHelpPageByAnchor(QString()), -43);
    }
    TestBundle bundle({{"CFBundleHelpBookName", "Pelmora Help"}});
    EXPECT_EQ(LocateHelpPageByAnchor("db_password.html"), -43) << "a book without its pages opens nothing";
    EXPECT_TRUE(workspace.openedUrls.isEmpty());

    const QString help = bundle.dir.filePath("Pelmora Help");
    writeText(help + "/index.html", "<html></html>");
    writeText(help + "/db_password.html", "<html></html>");
    writeText(bundle.dir.filePath("outside.html"), "<html></html>");
    struct Case {
        const char* anchor;
        int status;
        const char* page;
    };
    const Case cases[] = {
        {"db_password.html", 0, "db_password.html"},
        {"", 0, "index.html"},
        {"db_fusion.html", -43, nullptr},
        {"../outside.html", -43, nullptr},
        {"..", -43, nullptr},
    };
    for (const Case& c : cases) {
        workspace.openedUrls.clear();
        EXPECT_EQ(LocateHelpPageByAnchor(QString::fromLatin1(c.anchor)), c.status) << c.anchor;
        if (c.page) {
            ASSERT_EQ(workspace.openedUrls.size(), 1) << c.anchor;
            EXPECT_EQ(workspace.openedUrls[0], QUrl::fromLocalFile(help + '/' + c.page)) << c.anchor;
        } else {
            EXPECT_TRUE(workspace.openedUrls.isEmpty()) << c.anchor;
        }
    }
    workspace.openUrlSucceeds = false;
    EXPECT_EQ(LocateHelpPageByAnchor("db_password.html"), -43) << "no browser took the page";
}

TEST(Help, TheStagedBookHasAPageForEveryAnchor)
{
    FakeWorkspace workspace;
    const QString resources = qEnvironmentVariable("PELMORA_STAGE_DIR") + "/Resources/Pelmora";
    Bundle::setMain(resources);
    const char* anchors[] = {"", "db_password.html", "db_fusion.html", "db_setting_general.html",
        "db_setting_file_mac.html", "db_setting_app.html", "db_setting_add_app.html", "db_setting_cloud.html",
        "db_cloud_login.html", "db_cloud_account.html", "db_cloud_select.html", "db_cloud_campaign.html",
        "db_cloud_result.html", "db_cloud_registered.html", "db_optimized.html", "db_pass_ope.html"};
    for (const char* anchor : anchors) {
        workspace.openedUrls.clear();
        EXPECT_EQ(LocateHelpPageByAnchor(QString::fromLatin1(anchor)), 0) << anchor;
        ASSERT_EQ(workspace.openedUrls.size(), 1) << anchor;
        const QString page = workspace.openedUrls[0].toLocalFile();
        EXPECT_TRUE(page.startsWith(resources + "/Pelmora Help/")) << page.toStdString();
        QFile file(page);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << page.toStdString();
        const QByteArray text = file.readAll();
        EXPECT_TRUE(text.contains("<h1>")) << anchor;
        EXPECT_TRUE(text.contains("</html>")) << anchor;
        static const QRegularExpression link(QStringLiteral("href=\"([^\"#]+)\""));
        for (const QRegularExpressionMatch& m : link.globalMatch(QString::fromUtf8(text)))
            EXPECT_TRUE(QFileInfo::exists(QFileInfo(page).dir().filePath(m.captured(1)))) << anchor << " links " << m.captured(1).toStdString();
    }
}
