// What a preferences test changes of the process, put back when it ends: the user's folders (so
// that the preference domain, the linkage preference and the upload items' user copy are written
// into the test's own folder), the main bundle (the application's own resources), the application
// folder beside which an administrator's upload items would lie, and the shared linked-application
// controller, which reads the linkage preference afresh.
#pragma once

#include "app/linkage/PLExtAppController.h"
#include "app/linkage/PLSalesforceClientController.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/PreferenceDomain.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

class PrefsEnvironment {
public:
    explicit PrefsEnvironment(const QTemporaryDir& temp)
    {
        const QMap<const char*, const char*> folders{{"HOME", "home"},
                                                     {"XDG_CONFIG_HOME", "home/.config"},
                                                     {"XDG_DATA_HOME", "home/.local/share"},
                                                     {"XDG_DATA_DIRS", "machine"},
                                                     {"XDG_DOCUMENTS_DIR", "home/Documents"},
                                                     {"TMPDIR", "tmp"}};
        for (auto it = folders.begin(); it != folders.end(); ++it) {
            m_saved.insert(it.key(), qgetenv(it.key()));
            const QString path = temp.filePath(QString::fromLatin1(it.value()));
            QDir().mkpath(path);
            qputenv(it.key(), QFile::encodeName(path));
        }
        QDir().mkpath(temp.filePath(QStringLiteral("app")));
        Bundle::setMain(qEnvironmentVariable("PELMORA_SOURCE_DIR") + QStringLiteral("/resources/Pelmora"));
        PreferenceDomain::setStandardDomain(QStringLiteral("test.prefs"), temp.filePath(QStringLiteral("prefs")));
        PLSalesforceClientController::setApplicationFolder(temp.filePath(QStringLiteral("app")));
        PLExtAppController::resetSharedController();
        // Both photo applications count as installed.
        PreferenceDomain::standard().setValue(QStringLiteral("check Photos install info"), 3);
    }
    ~PrefsEnvironment()
    {
        PLExtAppController::resetSharedController();
        PLSalesforceClientController::setApplicationFolder(QString());
        PreferenceDomain::standard().reload();
        for (auto it = m_saved.begin(); it != m_saved.end(); ++it)
            qputenv(it.key(), it.value());
    }
    PrefsEnvironment(const PrefsEnvironment&) = delete;
    PrefsEnvironment& operator=(const PrefsEnvironment&) = delete;

private:
    QMap<const char*, QByteArray> m_saved;
};
