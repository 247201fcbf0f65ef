#include "platform/foundation/Bundle.h"
#include "platform/foundation/PlistFile.h"
#include "platform/foundation/ServicesStatus.h"
#include "tools/services/DesktopEntryServices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// desktop-file-validate's complaints about `path`, or nothing when the tool is not installed.
QString validationErrors(const QString& path)
{
    const QString validator = QStandardPaths::findExecutable("desktop-file-validate");
    if (validator.isEmpty())
        return {};
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(validator, {path});
    if (!p.waitForFinished(30000))
        return QStringLiteral("desktop-file-validate did not finish");
    const QString out = QString::fromUtf8(p.readAll());
    return p.exitCode() == 0 && !out.contains("error") ? QString() : out;
}

// A stand-in for the main application: an executable file at `path`.
bool writeProgram(const QString& path)
{
    QFile program(path);
    if (!program.open(QIODevice::WriteOnly))
        return false;
    program.write("#!/bin/sh\n");
    program.close();
    return program.setPermissions(program.permissions() | QFile::ExeOwner);
}

QString lineStarting(const QString& text, const QString& prefix)
{
    for (const QString& line : text.split('\n')) {
        if (line.startsWith(prefix))
            return line;
    }
    return {};
}

} // namespace

TEST(DesktopEntry, ExecNamesThePathLiterallyAndTheSearchTakesNoCallerText)
{
    QTemporaryDir dir;
    struct Case {
        QString path;
        QString exec;
    };
    const Case cases[] = {
        {"/opt/Pelmora/Pelmora", R"(Exec="/opt/Pelmora/Pelmora" %F)"},
        {R"(/home/a b/100% "x" $y `z` \w/Pelmora)",
         R"(Exec="/home/a b/100%% \\"x\\" \\$y \\`z\\` \\\\w/Pelmora" %F)"},
    };
    for (const Case& c : cases) {
        const QString text = desktopEntryText(c.path, true);
        EXPECT_EQ(lineStarting(text, "Exec="), c.exec);
        const QString action = text.mid(text.indexOf("[Desktop Action"));
        EXPECT_EQ(lineStarting(action, "Exec="), c.exec.chopped(2) + kServicesSearchOption);

        const QString file = dir.filePath("entry.desktop");
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(text.toUtf8());
        out.close();
        EXPECT_EQ(validationErrors(file), QString()) << text.toStdString();
    }

    EXPECT_FALSE(desktopEntryText("/opt/P/Pelmora", false).contains("Action")) << "disabled search: no action";
    EXPECT_TRUE(desktopEntryText("Pelmora", true).isEmpty()) << "relative path";
    EXPECT_TRUE(desktopEntryText("/opt/a\nExec=evil/Pelmora", true).isEmpty()) << "control character";
}

TEST(DesktopEntry, RegistrationWritesTheEntryAndFollowsTheUsersStatus)
{
    QTemporaryDir dir;
    qputenv("XDG_DATA_HOME", dir.filePath("data").toUtf8());
    qputenv("XDG_CONFIG_HOME", dir.filePath("config").toUtf8());
    const QString entry = userApplicationsDir() + "/" + kDesktopEntryFileName;

    updateDynamicServices(dir.filePath("Pelmora"));
    EXPECT_FALSE(QFile::exists(entry)) << "no main application beside the tool";

    const QString pelmora = dir.filePath("Pelmora");
    ASSERT_TRUE(writeProgram(pelmora));

    updateDynamicServices(pelmora);
    QFile written(entry);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(written.readAll()), desktopEntryText(pelmora, true));
    written.close();

    ASSERT_TRUE(QDir().mkpath(dir.filePath("config/com.orvane.zor")));
    ASSERT_TRUE(writePlistFile(servicesStatusFilePath(),
                               PlistValue::Dictionary{{kServicesStatusKey, PlistValue::Dictionary{{kPelmoraSearchServiceKey,
                                   PlistValue::Dictionary{{kServicesMenuEnabledKey, false}}}}}}));
    updateDynamicServices(pelmora);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(written.readAll()), desktopEntryText(pelmora, false));

    qunsetenv("XDG_DATA_HOME");
    qunsetenv("XDG_CONFIG_HOME");
}

TEST(DesktopEntry, FileManagersOfferPelmoraForCardFiles)
{
    QTemporaryDir dir;
    qputenv("XDG_DATA_HOME", dir.filePath("data").toUtf8());
    qputenv("XDG_CONFIG_HOME", dir.filePath("config").toUtf8());
    const QString pelmora = dir.filePath("app/Pelmora");
    const QString icon = dir.filePath("app") + kApplicationIconPath;
    ASSERT_TRUE(QDir().mkpath(QFileInfo(icon).path()));
    ASSERT_TRUE(QFile::copy(qEnvironmentVariable("PELMORA_STAGE_DIR") + kApplicationIconPath, icon)) << "the build installs the icon";
    ASSERT_TRUE(writeProgram(pelmora));

    updateDynamicServices(pelmora);
    const QString entry = userApplicationsDir() + "/" + kDesktopEntryFileName;
    QFile written(entry);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(written.readAll());
    EXPECT_EQ(lineStarting(text, "MimeType="), "MimeType=application/pdf;image/jpeg;");
    EXPECT_EQ(lineStarting(text, "Icon="), "Icon=" + icon);
    EXPECT_EQ(validationErrors(entry), QString());

    // The desktop's own lookup, confined to the temporary folders, finds Pelmora for both types.
    const QString gio = QStandardPaths::findExecutable("gio");
    ASSERT_FALSE(gio.isEmpty());
    for (const char* type : {"application/pdf", "image/jpeg"}) {
        QProcess lookup;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_DIRS", dir.filePath("no-system-data"));
        lookup.setProcessEnvironment(env);
        lookup.start(gio, {"mime", type});
        ASSERT_TRUE(lookup.waitForFinished(30000));
        const QString out = QString::fromUtf8(lookup.readAllStandardOutput());
        EXPECT_TRUE(out.contains("Registered applications:\n\t" + QString(kDesktopEntryFileName))) << type << ": " << out.toStdString();
    }

    qunsetenv("XDG_DATA_HOME");
    qunsetenv("XDG_CONFIG_HOME");
}
