#include "tests/crash/harness/WriterTrials.h"

#include "app/core/OpenDatabase.h"
#include "app/export/PLExporter.h"
#include "app/linkage/PLConfigExtAppList.h"
#include "app/linkage/PLExtAppController.h"
#include "app/linkage/prefs/PLPreferences.h"
#include "app/ui/PLAttachmentController.h"
#include "app/ui/views/PLTableView.h"
#include "platform/foundation/PlistFile.h"
#include "platform/foundation/PreferenceDomain.h"
#include "tests/crash/harness/CrashChecks.h"
#include "tests/support/dbtools/TestDatabase.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace {

using WriterTrials::Writer;

constexpr int kExportedCards = 40;
constexpr qsizetype kAttachmentBytes = qsizetype(3) << 20;
const QString kPreferencesDomain = QStringLiteral("com.orvane.zor.Pelmora");
const QString kSetting = QStringLiteral("com.example.Cards.setting.plist");
const QString kDisplayKey = QStringLiteral("General display items");
const QString kSyncKey = QStringLiteral("Auto addressbook synchronous items");
const QString kDeleteBackKey = QStringLiteral("Delete back image after merging operation items");
const QRegularExpression kTemporary(QStringLiteral("^\\.pelmora-[A-Za-z0-9]{6}\\.tmp$"));

QString database(const QString& root)
{
    return root + QStringLiteral("/Cards.cxdb");
}

QString exportFolder(const QString& root)
{
    return root + QStringLiteral("/export");
}

QString sourceOf(const QString& root, const QString& name)
{
    return root + QStringLiteral("/sources/") + name;
}

QString extensionFolder(const QString& root)
{
    return root + QStringLiteral("/data/ZOR/Brevix/Pelmora/Extension");
}

QString preferencesFile(const QString& root)
{
    return root + QStringLiteral("/config/") + kPreferencesDomain + QStringLiteral(".plist");
}

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

const QByteArray kOldCsv = "the export before";

QByteArray attachmentContent(char fill)
{
    QByteArray bytes(kAttachmentBytes, fill);
    bytes.append("end");
    return bytes;
}

const char* const kAttachments[] = {"a.bin", "b.bin", "c.bin"};

// What is wrong with the entries of `folder` that are temporary files; `allowed`: a killed
// writer may have left them, until its next start.
QStringList temporaries(const QString& folder, bool allowed)
{
    QStringList wrong;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (kTemporary.match(name).hasMatch() && !allowed)
            wrong << QStringLiteral("the temporary file %1 is left").arg(name);
    return wrong;
}

// Every vCard file is whole, and the export file holds the old bytes or a whole new table.
QStringList checkExport(const QString& root, bool nextStart)
{
    QStringList wrong = temporaries(exportFolder(root), !nextStart);
    const QByteArray csv = contentOf(exportFolder(root) + QStringLiteral("/cards.csv"));
    const bool wholeTable = csv.startsWith("\xFF\xFE") && csv.endsWith(QByteArray("\n\0", 2))
        && QString::fromUtf16(reinterpret_cast<const char16_t*>(csv.constData() + 2), (csv.size() - 2) / 2).count(QLatin1Char('\n'))
            == kExportedCards + 1;
    if (csv != kOldCsv && !wholeTable)
        wrong << QStringLiteral("the export file is neither the old one nor a whole new one");
    if (nextStart && !wholeTable)
        wrong << QStringLiteral("the next export did not write the export file");
    int cards = 0;
    for (const QString& name : QDir(exportFolder(root)).entryList({QStringLiteral("*.vcf")}, QDir::Files)) {
        ++cards;
        const QByteArray text = contentOf(exportFolder(root) + QLatin1Char('/') + name).trimmed();
        if (!text.startsWith("BEGIN:VCARD") || !text.endsWith("END:VCARD") || !text.contains("Person "))
            wrong << QStringLiteral("%1 is half-written").arg(name);
    }
    if (nextStart && cards < kExportedCards)
        wrong << QStringLiteral("%1 vCard files after the next export").arg(cards);
    return wrong;
}

// Every attachment is the file it was or the whole new one; nothing else is in the card's folder.
QStringList checkAttach(const QString& root, bool nextStart)
{
    const QString folder = database(root) + QStringLiteral("/Files/") + CrashChecks::firstCardID(database(root));
    QStringList wrong = temporaries(folder, !nextStart);
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (kTemporary.match(name).hasMatch())
            continue;
        const QByteArray content = contentOf(folder + QLatin1Char('/') + name);
        const bool whole = content == contentOf(sourceOf(root, name));
        if (!whole && !(name == QLatin1String("b.bin") && content == "old attachment"))
            wrong << QStringLiteral("the attachment %1 is neither old nor whole").arg(name);
    }
    return wrong + CrashChecks::storeAndImages(database(root));
}

// The settings of one application: the installed file and the pending copy hold version 1 or 2.
QStringList checkInstall(const QString& root, bool nextStart)
{
    QStringList wrong = temporaries(extensionFolder(root), !nextStart);
    QStringList settings;
    for (const QString& name : QDir(extensionFolder(root)).entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (kTemporary.match(name).hasMatch())
            continue;
        settings << name;
        PlistValue value;
        const qint64 version = readPlistFile(extensionFolder(root) + QLatin1Char('/') + name, value)
            ? value.value(QStringLiteral("Info")).value(QStringLiteral("FileVersion")).toInteger()
            : 0;
        if (version != 1 && version != 2)
            wrong << QStringLiteral("%1 does not hold version 1 or 2").arg(name);
    }
    if (!settings.contains(kSetting) && !settings.contains(kSetting + QStringLiteral(".bak")))
        wrong << QStringLiteral("no setting plist is installed");
    if (nextStart && settings != QStringList{kSetting})
        wrong << QStringLiteral("after the next start: %1").arg(settings.join(QStringLiteral(", ")));
    return wrong;
}

// The preferences hold the old settings or the new ones, never a mixture, and parse.
QStringList checkPreferences(const QString& root, bool nextStart)
{
    QStringList wrong = temporaries(root + QStringLiteral("/config"), !nextStart);
    PlistValue stored;
    if (!readPlistFile(preferencesFile(root), stored))
        return wrong << QStringLiteral("the preferences do not parse");
    const QList<PlistValue> values{stored.value(kSyncKey), stored.value(kDeleteBackKey)};
    const bool old = values == QList<PlistValue>{PlistValue(false), PlistValue(true)};
    const bool saved = values == QList<PlistValue>{PlistValue(true), PlistValue(false)};
    if (!old && !saved)
        wrong << QStringLiteral("the preferences hold neither the old nor the new settings");
    if (nextStart && !saved)
        wrong << QStringLiteral("the next save did not store the settings");
    const QString linkage = root + QStringLiteral("/config/com.orvane.zor.Pelmora.ExtAppLinkage.plist");
    if (QFileInfo::exists(linkage) && !readPlistFile(linkage, stored))
        wrong << QStringLiteral("the linkage preference does not parse");
    return wrong;
}

QList<QVariantMap> exportedCards()
{
    QList<QVariantMap> cards;
    for (int i = 0; i < kExportedCards; ++i)
        cards.append({{QStringLiteral("full_Name"), QStringLiteral("Person %1").arg(i, 2, 10, QLatin1Char('0'))},
                      {QStringLiteral("company"), QStringLiteral("Firm %1").arg(i)},
                      {QStringLiteral("e_Mail"), QStringLiteral("p%1@example.com").arg(i)},
                      {QStringLiteral("memo"), QString(2000, QLatin1Char('m'))}});
    return cards;
}

int runExport(const QString& root)
{
    const QList<QVariantMap> cards = exportedCards();
    const int table = PLExporter::ExportToCSV(exportFolder(root) + QStringLiteral("/cards.csv"), cards);
    return table != 0 ? table : PLExporter::ExportToVCard(exportFolder(root), cards);
}

int runAttach(const QString& root, bool nextStart)
{
    OpenDatabase opened;
    if (!opened.choose(database(root)))
        return 3;
    PLTableView list;
    PLAttachmentController controller(opened);
    controller.setAttachTableView(&list);
    // Showing the card is what the next start does; it reads the card's folder.
    controller.setCardID(CrashChecks::firstCardID(database(root)));
    if (!nextStart) {
        QStringList files;
        for (const char* name : kAttachments)
            files << sourceOf(root, QString::fromLatin1(name));
        controller.addFile(files);
    }
    return 0;
}

int runPreferences()
{
    PLPreferences preferences;
    preferences.showWindow();
    QWidget* window = preferences.window();
    window->findChild<QCheckBox*>(QStringLiteral("_checkAutoAddressbookSynchronous"))->setChecked(true);
    window->findChild<QCheckBox*>(QStringLiteral("_deleteBackImageCheckBox"))->setChecked(false);
    preferences.closePreferencesWindow();
    return 0;
}

} // namespace

const char* WriterTrials::nameOf(Writer writer)
{
    switch (writer) {
    case Writer::Export: return "export";
    case Writer::Attach: return "attach";
    case Writer::Install: return "install";
    case Writer::Preferences: return "preferences";
    }
    return "?";
}

int WriterTrials::spanMs(Writer writer)
{
    switch (writer) {
    case Writer::Export: return 250;
    case Writer::Attach: return 120;
    case Writer::Install: return 50;
    case Writer::Preferences: return 100;
    }
    return 0;
}

void WriterTrials::prepare(Writer writer, const QString& root)
{
    switch (writer) {
    case Writer::Export: write(exportFolder(root) + QStringLiteral("/cards.csv"), kOldCsv); break;
    case Writer::Attach: {
        TestDatabase::create(database(root), {.cards = 2});
        CrashChecks::writeCardImages(database(root));
        const QString card = CrashChecks::firstCardID(database(root));
        write(database(root) + QStringLiteral("/Files/") + card + QStringLiteral("/b.bin"), "old attachment");
        char fill = 'a';
        for (const char* name : kAttachments)
            write(sourceOf(root, QString::fromLatin1(name)), attachmentContent(fill++));
        break;
    }
    case Writer::Install: {
        const auto setting = [](int version) {
            return PlistValue(PlistValue::Dictionary{
                {QStringLiteral("Info"), PlistValue(PlistValue::Dictionary{{QStringLiteral("FileVersion"), version}})},
                {QStringLiteral("Padding"), QString(20000, QLatin1Char('p'))}});
        };
        QDir().mkpath(extensionFolder(root));
        QDir().mkpath(root + QStringLiteral("/sources"));
        writePlistFile(extensionFolder(root) + QLatin1Char('/') + kSetting, setting(1));
        writePlistFile(sourceOf(root, kSetting), setting(2));
        break;
    }
    case Writer::Preferences:
        QDir().mkpath(root + QStringLiteral("/config"));
        writePlistFile(preferencesFile(root),
                       PlistValue(PlistValue::Dictionary{{kDisplayKey, true}, {kSyncKey, false}, {kDeleteBackKey, true}}));
        break;
    }
}

QList<QByteArray> WriterTrials::arguments(Writer writer, const QString& root, bool nextStart)
{
    const QByteArray folder = QFile::encodeName(root);
    switch (writer) {
    case Writer::Export: return {"--export", folder};
    case Writer::Attach: return {nextStart ? "--attach-shown" : "--attach", folder};
    case Writer::Install: return {nextStart ? "--install-cleanup" : "--install", folder};
    case Writer::Preferences: return {"--preferences", folder};
    }
    return {};
}

QStringList WriterTrials::checkAfterKill(Writer writer, const QString& root)
{
    switch (writer) {
    case Writer::Export: return checkExport(root, false);
    case Writer::Attach: return checkAttach(root, false);
    case Writer::Install: return checkInstall(root, false);
    case Writer::Preferences: return checkPreferences(root, false);
    }
    return {};
}

QStringList WriterTrials::checkAfterNextStart(Writer writer, const QString& root)
{
    switch (writer) {
    case Writer::Export: return checkExport(root, true);
    case Writer::Attach: return checkAttach(root, true);
    case Writer::Install: return checkInstall(root, true);
    case Writer::Preferences: return checkPreferences(root, true);
    }
    return {};
}

bool WriterTrials::isChildMode(const QByteArray& mode)
{
    return mode == "--export" || mode == "--attach" || mode == "--attach-shown" || mode == "--install" || mode == "--install-cleanup"
        || mode == "--preferences";
}

int WriterTrials::runChild(const QByteArray& mode, const QString& root)
{
    PreferenceDomain::setStandardDomain(kPreferencesDomain, root + QStringLiteral("/config"));
    if (mode == "--export")
        return runExport(root);
    if (mode == "--attach" || mode == "--attach-shown")
        return runAttach(root, mode == "--attach-shown");
    if (mode == "--install")
        return PLExtAppController::installExtAppLnkConfigFile(sourceOf(root, kSetting)).isEmpty() ? 1 : 0;
    if (mode == "--install-cleanup") {
        PLExtAppController::cleanOldCfgFileIfNewOneExists();
        return 0;
    }
    if (mode == "--preferences")
        return runPreferences();
    return 2;
}
