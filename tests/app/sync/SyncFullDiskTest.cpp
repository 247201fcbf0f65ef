// A synchronisation whose address book lies on a full disk: it fails, says so, and leaves every
// contact file as it was. The disk is a tmpfs of 1 MiB mounted over the book folder in a mount
// namespace of the test's own child process, filled before the run.
#include "SyncFixture.h"

#include <cerrno>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using FullDisk = SyncFixture;

constexpr int kCannotMount = 77;

bool writeText(const char* path, const QByteArray& text)
{
    const int fd = ::open(path, O_WRONLY);
    if (fd < 0)
        return false;
    const bool ok = ::write(fd, text.constData(), size_t(text.size())) == text.size();
    ::close(fd);
    return ok;
}

// A mount namespace of this process's own: as root directly, else as root of a user namespace.
bool ownMountNamespace()
{
    if (::unshare(CLONE_NEWNS) == 0)
        return true;
    const QByteArray uid = QByteArray::number(::getuid());
    const QByteArray gid = QByteArray::number(::getgid());
    return ::unshare(CLONE_NEWUSER | CLONE_NEWNS) == 0 && writeText("/proc/self/setgroups", "deny")
        && writeText("/proc/self/uid_map", "0 " + uid + " 1") && writeText("/proc/self/gid_map", "0 " + gid + " 1");
}

// Fills the file system of `folder` until a write fails for want of space.
bool fill(const QString& folder)
{
    QFile filler(folder + QStringLiteral("/.filler"));
    if (!filler.open(QIODevice::WriteOnly))
        return false;
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size() && filler.flush()) {}
    return true;
}

TEST_F(FullDisk, TheRunFailsAndEveryContactFileStaysAsItWas)
{
    addCard({{"family_Name", "Lee"}, {"job_Title", "Engineer"}, {"telephone_Number", "03-1111"}});
    addCard({{"family_Name", "New"}, {"company", "Pushed Ltd"}});
    const QByteArray lee = "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Lee;;;;\r\nNOTE:kept\r\nEND:VCARD\r\n";
    const QByteArray both =
        "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Park;;;;\r\nEND:VCARD\r\nBEGIN:VCARD\r\nVERSION:3.0\r\nN:Kim;;;;\r\nEND:VCARD\r\n";

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (!ownMountNamespace() || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
            || ::mount("tmpfs", QFile::encodeName(bookFolder()).constData(), "tmpfs", 0, "size=1m,mode=0700") != 0)
            ::_exit(kCannotMount);
        for (const auto& [name, data] : {std::pair{"lee.vcf", lee}, std::pair{"both.vcf", both}}) {
            QFile f(bookFile(QLatin1String(name)));
            if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size())
                ::_exit(2);
        }
        if (!fill(bookFolder()))
            ::_exit(3);
        PLSyncConnectController sync;
        const int result = synchronise(PLSyncConnectController::kSelectCardWins, &sync);
        const QStringList left = QDir(bookFolder()).entryList(QDir::Files | QDir::Hidden);
        int status = 0;
        if (result != PLSyncConnectController::kSaveFailed)
            status = 10;
        else if (readBookFile(QStringLiteral("lee.vcf")) != lee || readBookFile(QStringLiteral("both.vcf")) != both)
            status = 11;
        else if (left != QStringList({".filler", "both.vcf", "lee.vcf"}))
            status = 12;
        ::_exit(status);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    if (WEXITSTATUS(status) == kCannotMount)
        GTEST_SKIP() << "no mount namespace for a small file system here";
    // 10: the run did not fail with 108; 11: a contact file changed; 12: files added or left over.
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

} // namespace
