#include "tests/support/dbtools/ToolTestEnvironment.h"
#include "tools/dbtools/ToolInstance.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

namespace {

// Waits for the tools are safety nets against a hang only: a busy machine starts them as slowly as it likes.
constexpr int kHangMs = 180000;

// The staged tools, started as a user would start them, in this test's private runtime folder.
class ToolProcesses : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (QProcess* process : m_started) {
            process->kill();
            process->waitForFinished(5000);
            delete process;
        }
    }
    QProcess* start(const QString& tool)
    {
        auto* process = new QProcess;
        m_started.append(process);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(QString::fromLocal8Bit(qgetenv("PELMORA_STAGE_DIR")) + QLatin1Char('/') + tool, {});
        EXPECT_TRUE(process->waitForStarted(kHangMs)) << tool.toStdString();
        return process;
    }
    static bool waitForSocket(const QString& signature)
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < kHangMs) {
            if (QFileInfo::exists(ToolInstance::socketPath(signature)))
                return true;
            QThread::msleep(20);
        }
        return false;
    }
    ToolTestEnvironment env{QStringLiteral("Vostrand")};

private:
    QList<QProcess*> m_started;
};

TEST_F(ToolProcesses, ASecondStartOfTheSameToolEndsAndTheOtherToolDoesNotCount)
{
    QProcess* first = start(QStringLiteral("Vostrand"));
    ASSERT_TRUE(waitForSocket(QStringLiteral("PLVS")));

    QProcess* second = start(QStringLiteral("Vostrand"));
    ASSERT_TRUE(second->waitForFinished(kHangMs));
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_EQ(first->state(), QProcess::Running);

    QProcess* other = start(QStringLiteral("Harnwick"));
    ASSERT_TRUE(waitForSocket(QStringLiteral("HWWD")));
    EXPECT_EQ(other->state(), QProcess::Running);
    QProcess* secondOther = start(QStringLiteral("Harnwick"));
    ASSERT_TRUE(secondOther->waitForFinished(kHangMs));
    EXPECT_EQ(secondOther->exitCode(), 0);
    EXPECT_EQ(other->state(), QProcess::Running);
}

} // namespace
