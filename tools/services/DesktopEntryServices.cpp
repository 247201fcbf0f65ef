#include "tools/services/DesktopEntryServices.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PlistFile.h"
#include "platform/foundation/ServicesStatus.h"
#include "platform/foundation/StandardPaths.h"
#include "tools/services/MimeDefaults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace {

constexpr char kSearchActionName[] = "SearchSelection";
constexpr char kSearchActionTitle[] = "Search in Pelmora";
constexpr int kUpdateTimeoutMs = 30000;

// A string value of a desktop entry: only the backslash needs escaping once control
// characters are excluded.
QString escapeValue(const QString& text)
{
    QString out = text;
    return out.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
}

// One argument of an Exec value: quoted, with the characters that quoting reserves escaped,
// and "%" doubled so it is not read as a field code.
QString execArgument(const QString& argument)
{
    QString quoted;
    for (const QChar c : argument) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    quoted.replace(QLatin1Char('%'), QStringLiteral("%%"));
    return escapeValue(QLatin1Char('"') + quoted + QLatin1Char('"'));
}

bool hasControlCharacter(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return true;
    }
    return false;
}

} // namespace

QString desktopEntryText(const QString& pelmoraPath, bool searchEnabled, const QString& iconPath)
{
    if (!QDir::isAbsolutePath(pelmoraPath) || hasControlCharacter(pelmoraPath))
        return {};
    if (!iconPath.isEmpty() && (!QDir::isAbsolutePath(iconPath) || hasControlCharacter(iconPath)))
        return {};
    const QString exec = execArgument(pelmoraPath);
    QString text = QStringLiteral("[Desktop Entry]\n"
                                  "Type=Application\n"
                                  "Version=1.4\n"
                                  "Name=Pelmora\n"
                                  "GenericName=Business Card Manager\n"
                                  "TryExec=%1\n"
                                  "Exec=%2 %F\n"
                                  "Terminal=false\n"
                                  "MimeType=%3;\n"
                                  "Categories=Office;ContactManagement;\n")
                       .arg(escapeValue(pelmoraPath), exec, cardFileMimeTypes().join(QLatin1Char(';')));
    if (!iconPath.isEmpty())
        text += QStringLiteral("Icon=%1\n").arg(escapeValue(iconPath));
    if (searchEnabled) {
        text += QStringLiteral(
            "Actions=%1;\n"
            "\n"
            "[Desktop Action %1]\n"
            "Name=%2\n"
            "Exec=%3 %4\n")
            .arg(QLatin1String(kSearchActionName), QLatin1String(kSearchActionTitle), exec,
                 QLatin1String(kServicesSearchOption));
    }
    return text;
}

QStringList cardFileMimeTypes()
{
    return {QStringLiteral("application/pdf"), QStringLiteral("image/jpeg")};
}

QString userApplicationsDir()
{
    return userDataDir() + QStringLiteral("/applications");
}

void updateDynamicServices(const QString& pelmoraPath)
{
    if (!QFileInfo(pelmoraPath).isExecutable()) {
        logLine(QStringLiteral("No main application at %1; nothing to register").arg(pelmoraPath));
        return;
    }
    const QString icon = QFileInfo(pelmoraPath).absolutePath() + QLatin1String(kApplicationIconPath);
    const QString text = desktopEntryText(pelmoraPath, isServiceEnabled(QLatin1String(kPelmoraSearchServiceKey)),
                                          QFileInfo(icon).isFile() ? icon : QString());
    if (text.isEmpty()) {
        logLine(QStringLiteral("%1 cannot be named in a desktop entry; nothing registered").arg(pelmoraPath));
        return;
    }
    // Offered for PDF and JPEG files, never their default: whatever opens them now goes on
    // opening them.
    if (!keepDefaultApplications(cardFileMimeTypes(), QLatin1String(kDesktopEntryFileName)))
        logLine(QStringLiteral("Could not record the default applications of %1").arg(cardFileMimeTypes().join(QStringLiteral(", "))));
    const QString dir = userApplicationsDir();
    const QString entryPath = dir + QLatin1Char('/') + QLatin1String(kDesktopEntryFileName);
    const QByteArray bytes = text.toUtf8();
    QFile current(entryPath);
    const bool unchanged = current.open(QIODevice::ReadOnly) && current.readAll() == bytes;
    if (!unchanged && (!QDir().mkpath(dir) || !replaceSettingsFile(entryPath, bytes))) {
        logLine(QStringLiteral("Could not write %1").arg(entryPath));
        return;
    }

    const QString program = QStandardPaths::findExecutable(QLatin1String(kUpdateDesktopDatabaseProgram));
    if (program.isEmpty()) {
        logLine(QStringLiteral("%1 not found; the desktop-entry database was not refreshed").arg(QLatin1String(kUpdateDesktopDatabaseProgram)));
        return;
    }
    QProcess update;
    update.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    update.setStandardOutputFile(QProcess::nullDevice());
    update.start(program, {dir});
    if (!update.waitForFinished(kUpdateTimeoutMs) || update.exitStatus() != QProcess::NormalExit || update.exitCode() != 0) {
        logLine(QStringLiteral("%1 %2 failed").arg(program, dir));
        update.kill();
        update.waitForFinished();
    }
}
