// The fake CRM service as a program, to try the upload plug-in by hand: it serves the fake on
// 127.0.0.1 with a few accounts, contacts and campaigns to search, prints its URL and the login it
// accepts, and runs until Ctrl-C, when it prints every call it answered.
//   fake_crm_service [--user NAME] [--password TEXT] [--slow-creates SECONDS] [--point-plugin]
// --slow-creates makes each create at once but answers it only that many seconds later, to try
// cancelling an upload while the service holds its answer.
// --point-plugin writes the URL as the plug-in's login server (preference "LoginServerURL" of
// com.orvane.zor.Pelmora.Quendrel) and puts the earlier value back when the program ends.
#include "tests/support/crm/FakeCrmService.h"
#include "platform/foundation/PreferenceDomain.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <optional>

namespace {

void seed(FakeCrmService& fake)
{
    const auto field = &FakeCrmService::field;
    const QString acme = fake.addRecord(QStringLiteral("Account"), {field(QStringLiteral("Name"), QStringLiteral("Acme Corporation"))});
    fake.addRecord(QStringLiteral("Contact"), {field(QStringLiteral("LastName"), QStringLiteral("Archer")),
                                                  field(QStringLiteral("FirstName"), QStringLiteral("Alice")),
                                                  field(QStringLiteral("Email"), QStringLiteral("alice@acme.example")),
                                                  field(QStringLiteral("AccountId"), acme)});
    fake.addRecord(QStringLiteral("Account"), {field(QStringLiteral("Name"), QStringLiteral("Beta Trading"))});
    fake.addRecord(QStringLiteral("Account"), {field(QStringLiteral("Name"), QStringLiteral("Beta Logistics"))});
    const char* const campaigns[][5] = {
        {"Spring Trade Fair", "2027-04-01", "2027-04-03", "Trade Show", "Planned"},
        {"Autumn Trade Fair", "2027-10-05", "2027-10-07", "Trade Show", "Planned"},
        {"Newsletter", "2027-01-01", "2027-12-31", "Email", "In Progress"},
    };
    for (const auto& campaign : campaigns) {
        fake.addRecord(QStringLiteral("Campaign"), {field(QStringLiteral("Name"), QString::fromUtf8(campaign[0])),
                                                       field(QStringLiteral("StartDate"), QString::fromUtf8(campaign[1])),
                                                       field(QStringLiteral("EndDate"), QString::fromUtf8(campaign[2])),
                                                       field(QStringLiteral("Type"), QString::fromUtf8(campaign[3])),
                                                       field(QStringLiteral("Status"), QString::fromUtf8(campaign[4]))});
    }
}

int usage(const char* program)
{
    std::fprintf(stderr, "usage: %s [--user NAME] [--password TEXT] [--slow-creates SECONDS] [--point-plugin]\n", program);
    return 2;
}

}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QString user = QStringLiteral("user@example.com");
    QString password = QStringLiteral("secret");
    bool pointPlugin = false;
    int slowCreates = 0;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--user") && i + 1 < args.size())
            user = args[++i];
        else if (args[i] == QLatin1String("--password") && i + 1 < args.size())
            password = args[++i];
        else if (args[i] == QLatin1String("--slow-creates") && i + 1 < args.size())
            slowCreates = args[++i].toInt();
        else if (args[i] == QLatin1String("--point-plugin"))
            pointPlugin = true;
        else
            return usage(argv[0]);
    }

    // Wait for Ctrl-C or a TERM here rather than in a handler, so the program ends in order.
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGINT);
    sigaddset(&stop, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stop, nullptr);

    FakeCrmService fake;
    fake.setCredentials(user, password);
    fake.setCreateAnswerDelay(slowCreates * 1000);
    seed(fake);

    const QString key = QStringLiteral("LoginServerURL");
    PreferenceDomain plugin(QStringLiteral("com.orvane.zor.Pelmora.Quendrel"));
    std::optional<PlistValue> before;
    if (pointPlugin) {
        if (plugin.contains(key))
            before = plugin.value(key);
        plugin.setValue(key, PlistValue(fake.baseUrl()));
        if (!plugin.synchronize()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(plugin.filePath()));
            return 1;
        }
    }

    std::printf("Fake CRM service on %s\n", qPrintable(fake.baseUrl()));
    std::printf("Log in as %s with the password %s\n", qPrintable(user), qPrintable(password));
    if (pointPlugin)
        std::printf("The plug-in's login server is set to it in %s\n", qPrintable(plugin.filePath()));
    std::printf("Ctrl-C ends it.\n");
    std::fflush(stdout);

    int signal = 0;
    sigwait(&stop, &signal);

    if (pointPlugin) {
        if (before)
            plugin.setValue(key, *before);
        else
            plugin.remove(key);
        plugin.synchronize();
    }
    std::printf("\nCalls answered:\n");
    for (const QString& line : fake.journal())
        std::printf("  %s\n", qPrintable(line));
    return 0;
}
