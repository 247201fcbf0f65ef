#include "tests/support/keyring/PrivateKeyring.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <cstdlib>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace privatekeyring {

namespace {

constexpr const char* kInsideSession = "PELMORA_KEYRING_TEST_SESSION";

}

bool insidePrivateSession()
{
    return getenv(kInsideSession) != nullptr;
}

void usePrivateHome(const QString& home)
{
    QDir(home).mkpath("run");
    QFile::setPermissions(home + "/run", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    setenv("HOME", home.toLocal8Bit().constData(), 1);
    setenv("XDG_DATA_HOME", (home + "/.local/share").toLocal8Bit().constData(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/.config").toLocal8Bit().constData(), 1);
    setenv("XDG_RUNTIME_DIR", (home + "/run").toLocal8Bit().constData(), 1);
}

Session enterSession(int argc, char** argv, const QString& noServiceHome)
{
    Session session;
    for (int i = 1; i < argc; ++i)
        session.noService = session.noService || std::strcmp(argv[i], "--no-service") == 0;
    if (session.noService) {
        usePrivateHome(noServiceHome);
        setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + noServiceHome + "/no-bus").toLocal8Bit().constData(), 1);
    } else if (!insidePrivateSession())
        session.exitStatus = runAgainInPrivateSession(argc, argv);
    return session;
}

int runAgainInPrivateSession(int argc, char** argv)
{
    char pattern[] = "/tmp/pelmora-keychain-XXXXXX";
    const char* home = mkdtemp(pattern);
    if (!home)
        return 1;
    const pid_t child = fork();
    if (child == 0) {
        usePrivateHome(QString::fromLocal8Bit(home));
        setenv(kInsideSession, "1", 1);
        unsetenv("DBUS_SESSION_BUS_ADDRESS");
        std::vector<char*> args{const_cast<char*>("dbus-run-session"), const_cast<char*>("--")};
        for (int i = 0; i < argc; ++i)
            args.push_back(argv[i]);
        args.push_back(nullptr);
        execvp("dbus-run-session", args.data());
        _exit(127);
    }
    int status = 1;
    waitpid(child, &status, 0);
    QDir(QString::fromLocal8Bit(home)).removeRecursively();
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

bool startUnlockedKeyring()
{
    QProcess launcher;
    launcher.start("gnome-keyring-daemon", {"--unlock", "--components=secrets"});
    if (!launcher.waitForStarted(30000))
        return false;
    launcher.write("keyring-test-password");
    launcher.closeWriteChannel();
    return launcher.waitForFinished(60000) && launcher.exitCode() == 0;
}

}
