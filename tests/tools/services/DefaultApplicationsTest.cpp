// Registration offers Pelmora for PDF and JPEG files without taking them over: what the desktop
// opens them with, asked of the desktop's own tools (xdg-mime, gio) in private XDG folders, is
// the same after registration as before.
#include "tools/services/DesktopEntryServices.h"
#include "tools/services/MimeDefaults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

const char* const kTypes[] = {"application/pdf", "image/jpeg"};

class DefaultApplications : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QByteArray savedDesktop;

    void SetUp() override
    {
        savedDesktop = qgetenv("XDG_CURRENT_DESKTOP");
        qunsetenv("XDG_CURRENT_DESKTOP");
        qputenv("XDG_DATA_HOME", dir.filePath("data").toUtf8());
        qputenv("XDG_CONFIG_HOME", dir.filePath("config").toUtf8());
        qputenv("XDG_DATA_DIRS", dir.filePath("system").toUtf8());
        qputenv("XDG_CONFIG_DIRS", dir.filePath("system-config").toUtf8());
        ASSERT_TRUE(QDir().mkpath(dir.filePath("system/applications")));
        ASSERT_TRUE(QDir().mkpath(dir.filePath("config")));
    }
    void TearDown() override
    {
        for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_DIRS"})
            qunsetenv(name);
        if (!savedDesktop.isEmpty())
            qputenv("XDG_CURRENT_DESKTOP", savedDesktop);
    }

    static void writeFile(const QString& path, const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    static QByteArray readFile(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // An application of the system's data folder for `types`, in its desktop-entry cache as a
    // package installation leaves it.
    void installSystemApplication(const QString& id, const QByteArray& types)
    {
        writeFile(dir.filePath("system/applications/" + id),
                  "[Desktop Entry]\nType=Application\nName=" + id.toUtf8() + "\nExec=true %U\nMimeType=" + types + "\n");
        ASSERT_EQ(QProcess::execute(QStandardPaths::findExecutable("update-desktop-database"), {dir.filePath("system/applications")}), 0);
    }
    QString pelmora()
    {
        const QString path = dir.filePath("app/Pelmora");
        writeFile(path, "#!/bin/sh\n");
        QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }
    // What a desktop tool answers, run with this test's XDG folders.
    static QString run(const QString& program, const QStringList& arguments)
    {
        QProcess process;
        process.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        process.start(QStandardPaths::findExecutable(program), arguments);
        if (!process.waitForFinished(30000))
            return QStringLiteral("%1 did not finish").arg(program);
        return QString::fromUtf8(process.readAllStandardOutput());
    }
    // The default application of both tools, "xdg-mime|gio".
    static std::string defaults(const char* type)
    {
        const QString xdg = run("xdg-mime", {"query", "default", type}).trimmed();
        const QString gio = run("gio", {"mime", type}).section('\n', 0, 0);
        return (xdg + '|' + (gio.startsWith("Default application") ? gio.section(": ", 1) : QString())).toStdString();
    }
};

TEST_F(DefaultApplications, RegistrationLeavesWhatOpensPdfAndJpeg)
{
    installSystemApplication("viewer.desktop", "application/pdf;image/jpeg;");
    installSystemApplication("photos.desktop", "image/jpeg;");
    const struct {
        const char* name;
        QByteArray userList; // the user's mimeapps.list before registration
        std::string jpeg; // what opens a JPEG, when the user chose it
    } cases[] = {
        {"nothing chosen: the system's first application", QByteArray(), ""},
        {"the user's choice and the user's other lines stay",
         "# mine\n[Added Associations]\ntext/plain=viewer.desktop;\n\n[Default Applications]\nimage/jpeg=photos.desktop;\n",
         "photos.desktop|photos.desktop"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(dir.filePath("data")).removeRecursively();
        QFile::remove(dir.filePath("config/mimeapps.list"));
        if (!c.userList.isEmpty())
            writeFile(dir.filePath("config/mimeapps.list"), c.userList);
        std::map<std::string, std::string> before;
        for (const char* type : kTypes) {
            before[type] = defaults(type);
            EXPECT_FALSE(before[type].empty() || before[type].find(kDesktopEntryFileName) != std::string::npos) << before[type];
        }
        EXPECT_EQ(before["application/pdf"], "viewer.desktop|viewer.desktop");
        if (!c.jpeg.empty()) {
            EXPECT_EQ(before["image/jpeg"], c.jpeg);
        }

        updateDynamicServices(pelmora());
        for (const char* type : kTypes) {
            EXPECT_EQ(defaults(type), before[type]) << type;
            // Still offered.
            EXPECT_TRUE(run("gio", {"mime", type}).contains("\t" + QString(kDesktopEntryFileName))) << type;
        }
        const QByteArray after = readFile(dir.filePath("config/mimeapps.list"));
        for (const QByteArray& line : c.userList.split('\n'))
            EXPECT_TRUE(after.contains(line + '\n')) << line.toStdString();
        // A second registration changes nothing more.
        updateDynamicServices(pelmora());
        EXPECT_EQ(readFile(dir.filePath("config/mimeapps.list")), after);
    }
}

TEST_F(DefaultApplications, AnEarlierRegistrationThatTookThemOverGivesThemBack)
{
    installSystemApplication("viewer.desktop", "application/pdf;image/jpeg;");
    // Pelmora's entry as earlier versions left it: offered for both types with nothing chosen.
    writeFile(dir.filePath("data/applications/") + kDesktopEntryFileName,
              "[Desktop Entry]\nType=Application\nName=Pelmora\nExec=true %F\nMimeType=application/pdf;image/jpeg;\n");
    ASSERT_EQ(QProcess::execute(QStandardPaths::findExecutable("update-desktop-database"), {dir.filePath("data/applications")}), 0);
    EXPECT_EQ(defaults(kTypes[0]), std::string(kDesktopEntryFileName) + '|' + kDesktopEntryFileName);

    updateDynamicServices(pelmora());
    for (const char* type : kTypes) {
        EXPECT_EQ(defaults(type), "viewer.desktop|viewer.desktop") << type;
        EXPECT_EQ(chosenDefaultApplication(type).toStdString(), "viewer.desktop") << type;
    }
}

TEST_F(DefaultApplications, WithNoOtherApplicationNothingIsChosen)
{
    updateDynamicServices(pelmora());
    EXPECT_FALSE(QFile::exists(dir.filePath("config/mimeapps.list")));
    EXPECT_TRUE(associatedApplication("application/pdf", kDesktopEntryFileName).isEmpty());
}

} // namespace
