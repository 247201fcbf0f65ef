#include "TestBundle.h"

#include "app/core/PLChecker.h"
#include "platform/appkit/ApplicationWindow.h"
#include "tests/support/appkit/ScriptedMessagePresenter.h"
#include "tests/support/workspace/FakeWorkspace.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

TEST(PLChecker, IsBlank)
{
    EXPECT_TRUE(PLChecker::isBlank(QString()));
    EXPECT_TRUE(PLChecker::isBlank(QStringLiteral("")));
    EXPECT_TRUE(PLChecker::isBlank(QString::fromUtf16(u" \n\t\r\u3000\u2028\u0085")));
    EXPECT_FALSE(PLChecker::isBlank(QStringLiteral("a")));
    EXPECT_FALSE(PLChecker::isBlank(QString::fromUtf16(u"\u00A0")) ) << "no-break space is not in the set";
}

TEST(PLChecker, PathKindsAndLengths)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("f");
    QFile(file).open(QIODevice::WriteOnly);
    const struct {
        QString path;
        int kind;
        bool exists;
    } cases[] = {
        {dir.path(), 0, true}, {dir.path(), 1, false}, {dir.path(), 2, true}, {dir.path(), 3, false},
        {file, 0, true},       {file, 1, true},        {file, 2, false},      {file, -1, false},
        {dir.filePath("none"), 0, false}, {QStringLiteral("  "), 0, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PLChecker::isPathExists(c.path, c.kind), c.exists) << c.path.toStdString() << " kind " << c.kind;

    EXPECT_TRUE(PLChecker::isValidPathLength(QString(), 0));
    EXPECT_TRUE(PLChecker::isValidPathLength(QStringLiteral(" \n"), 0));
    const QString wide = QStringLiteral("/") + QString(300, QChar(0x00E9));   // 2 bytes each in UTF-8
    EXPECT_FALSE(PLChecker::isValidPathLength(wide, 504));
    EXPECT_TRUE(PLChecker::isValidPathLength(wide, 601));
    EXPECT_FALSE(PLChecker::isValidPathLength(wide, 600));
    EXPECT_TRUE(PLChecker::isValidPathLength(QString(504, QLatin1Char('a')), 504));
}

TEST(PLChecker, KindOfClassAndVersion)
{
    QLabel label;
    const QWidget* widget = &label;
    EXPECT_TRUE((PLChecker::isKindOfClass<QLabel>(widget)));
    EXPECT_TRUE((PLChecker::isKindOfClass<QObject>(widget)));
    EXPECT_FALSE((PLChecker::isKindOfClass<QFile>(static_cast<const QObject*>(widget))));
    EXPECT_FALSE((PLChecker::isKindOfClass<QLabel>(static_cast<const QWidget*>(nullptr))));
    EXPECT_TRUE(PLChecker::isKindOfClass(QMetaType::fromType<QString>(), QVariant(QStringLiteral("x"))));
    EXPECT_FALSE(PLChecker::isKindOfClass(QMetaType::fromType<QString>(), QVariant(3)));
    EXPECT_FALSE(PLChecker::isKindOfClass(QMetaType::fromType<QString>(), QVariant()));

    EXPECT_TRUE(PLChecker::isMacOSXVersionAbove(0x1060));
    EXPECT_TRUE(PLChecker::isMacOSXVersionAbove(0x1080));
    EXPECT_FALSE(PLChecker::isMacOSXVersionAbove(0x1081));
}

TEST(PLChecker, MakeDirectoryIfNotExists)
{
    QTemporaryDir dir;
    EXPECT_FALSE(PLChecker::makeDirectoryIfNotExists(QString()));
    EXPECT_TRUE(PLChecker::makeDirectoryIfNotExists(dir.path()));
    EXPECT_TRUE(PLChecker::makeDirectoryIfNotExists(dir.filePath("a/b//c/")));
    EXPECT_TRUE(QFileInfo(dir.filePath("a/b/c")).isDir());

    QFile(dir.filePath("plain")).open(QIODevice::WriteOnly);
    EXPECT_FALSE(PLChecker::makeDirectoryIfNotExists(dir.filePath("plain/sub")));
    EXPECT_FALSE(PLChecker::makeDirectoryIfNotExists(dir.filePath("plain")));

    const QString cwd = QDir::currentPath();
    QDir::setCurrent(dir.path());
    EXPECT_TRUE(PLChecker::makeDirectoryIfNotExists(QStringLiteral("rel/x")));
    QDir::setCurrent(cwd);
    EXPECT_TRUE(QFileInfo(dir.filePath("rel/x")).isDir());
}

// The cards of an import are copied in on several threads, each making the Images folder if
// it is not there yet: every one of them must find it made.
TEST(PLChecker, MakeDirectoryIfNotExistsOnSeveralThreadsAtOnce)
{
    QTemporaryDir dir;
    for (int round = 0; round < 40; ++round) {
        const QString folder = dir.filePath(QStringLiteral("db%1/Images").arg(round));
        std::atomic<int> waiting{8};
        std::atomic<int> made{0};
        std::vector<std::thread> threads;
        for (int t = 0; t < 8; ++t) {
            threads.emplace_back([&] {
                for (--waiting; waiting > 0;)
                    std::this_thread::yield();
                if (PLChecker::makeDirectoryIfNotExists(folder))
                    ++made;
            });
        }
        for (std::thread& thread : threads)
            thread.join();
        ASSERT_EQ(made, 8) << "round " << round;
    }
}

TEST(PLChecker, CheckDataListBeforeExport)
{
    TestBundle bundle({}, {{"IDS_MSG_IS_SKIP_NO_NAME_DATA", "Skip cards without a name?"},
                           {"IDS_BUTTON_MSG_OK", "OK"},
                           {"IDS_BUTTON_MSG_CANCEL", "Cancel"}});
    QWidget mainWindow;
    setApplicationMainWindow(&mainWindow);
    ScriptedMessagePresenter presenter;
    const QVariantMap named{{"full_Name", "Ann Lee"}, {"company", "A"}};
    const QVariantMap unnamed{{"full_Name", " \n"}, {"company", "B"}};
    QList<QVariantMap> out;

    EXPECT_FALSE(PLChecker::checkDataListBeforeExport({}, &out));
    EXPECT_FALSE(PLChecker::checkDataListBeforeExport({named}, nullptr));

    EXPECT_TRUE(PLChecker::checkDataListBeforeExport({named, named}, &out));
    EXPECT_EQ(out.size(), 2);
    EXPECT_TRUE(presenter.shown().isEmpty());

    presenter.queueAnswer(kAlertFirstButtonReturn);
    EXPECT_TRUE(PLChecker::checkDataListBeforeExport({unnamed, named}, &out));
    ASSERT_EQ(presenter.shown().size(), 1);
    EXPECT_EQ(presenter.shown().first().request.informativeText, "Skip cards without a name?");
    EXPECT_EQ(presenter.shown().first().request.buttons, QStringList({"OK", "Cancel"}));
    EXPECT_EQ(presenter.shown().first().request.window, &mainWindow);
    EXPECT_TRUE(presenter.shown().first().waited);
    EXPECT_EQ(out, QList<QVariantMap>{named});

    out.clear();
    presenter.queueAnswer(kAlertSecondButtonReturn);
    EXPECT_FALSE(PLChecker::checkDataListBeforeExport({unnamed, named}, &out));
    EXPECT_TRUE(out.isEmpty());

    presenter.queueAnswer(kAlertFirstButtonReturn);
    EXPECT_FALSE(PLChecker::checkDataListBeforeExport({unnamed}, &out)) << "no card left whatever the answer";
    EXPECT_EQ(presenter.shown().size(), 3);
    setApplicationMainWindow(nullptr);
}

TEST(PLChecker, CheckPath)
{
    QTemporaryDir dir;
    FakeWorkspace workspace;
    EXPECT_EQ(PLChecker::checkPath(dir.filePath("missing")), 3);

    const struct {
        const char* type;
        bool removable;
        int expected;
    } cases[] = {
        {"ext4", false, 0}, {"xfs", false, 0}, {"btrfs", false, 0}, {"tmpfs", false, 0}, {"overlay", false, 0},
        {"ext4", true, 129}, {"nfs", false, 129}, {"nfs4", false, 129}, {"cifs", false, 129},
        {"fuse.sshfs", false, 129}, {"vfat", false, 129}, {"hfs", false, 129},
    };
    for (const auto& c : cases) {
        workspace.volume = VolumeInfo{c.type, "/mnt/v", "/dev/sdb1", 1 << 20};
        workspace.removableMedia = c.removable ? QStringList{"/media/usb", "/mnt/v"} : QStringList{"/media/usb"};
        EXPECT_EQ(PLChecker::checkPath(dir.path()), c.expected) << c.type << (c.removable ? " removable" : "");
    }
    workspace.volumeUnreadable = true;
    EXPECT_EQ(PLChecker::checkPath(dir.path()), 129);
}
