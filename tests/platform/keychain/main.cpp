// The keychain tests run against a real Secret Service: the program starts itself again inside a
// private session bus (dbus-run-session) with a private home folder, and starts an unlocked
// gnome-keyring there. With --no-service it runs as it is, its session bus pointing at nothing.
#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr const char* kInsideSession = "PELMORA_KEYRING_TEST_SESSION";

void usePrivateHome(const QString& home)
{
    QDir(home).mkpath("run");
    QFile::setPermissions(home + "/run", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    setenv("HOME", home.toLocal8Bit().constData(), 1);
    setenv("XDG_DATA_HOME", (home + "/.local/share").toLocal8Bit().constData(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/.config").toLocal8Bit().constData(), 1);
    setenv("XDG_RUNTIME_DIR", (home + "/run").toLocal8Bit().constData(), 1);
}

// Runs this program again inside a private session bus and answers its exit status.
int runInsidePrivateSession(int argc, char** argv)
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

// The keyring's launcher returns once the daemon serves the session bus; the daemon ends with the bus.
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

int main(int argc, char** argv)
{
    bool noService = false;
    for (int i = 1; i < argc; ++i)
        noService = noService || std::strcmp(argv[i], "--no-service") == 0;
    if (!noService && !getenv(kInsideSession))
        return runInsidePrivateSession(argc, argv);

    QTemporaryDir home;
    if (noService) {
        usePrivateHome(home.path());
        setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + home.path() + "/no-bus").toLocal8Bit().constData(), 1);
    }
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    GTEST_FLAG_SET(filter, noService ? "NoSecretService.*" : "-NoSecretService.*");
    if (!noService && !startUnlockedKeyring()) {
        fprintf(stderr, "gnome-keyring-daemon could not be started\n");
        return 1;
    }
    return RUN_ALL_TESTS();
}
