// One copy of the program per user, tried with real processes.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include "tests/support/NoLeakCheck.h"

namespace {

struct SingleInstanceTest : ::testing::Test {
    QTemporaryDir folder;

    // In a folder of the test's, or where the program puts its lock, in the session given.
    std::unique_ptr<QProcess> start(const QString& session = {}) {
        auto process = std::make_unique<QProcess>();
        if (!session.isEmpty()) {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert("XDG_DATA_HOME", folder.filePath("data"));
            environment.insert("XDG_RUNTIME_DIR", folder.filePath(session));
            QDir().mkpath(folder.filePath(session));
            process->setProcessEnvironment(environment);
        }
        process->start(SINGLE_INSTANCE_PROBE, session.isEmpty() ? QStringList{folder.path()} : QStringList{});
        EXPECT_TRUE(process->waitForStarted(5000));
        return process;
    }
    // Waits, with a deadline, until the process has said the line.
    static bool said(QProcess& process, const QByteArray& line) {
        QByteArray all;
        for (int waited = 0; waited < 100; ++waited) {
            all += process.readAllStandardOutput();
            if (all.contains(line)) return true;
            if (process.state() == QProcess::NotRunning) break;
            process.waitForReadyRead(100);
        }
        all += process.readAllStandardOutput();
        return all.contains(line);
    }
};

}  // namespace

TEST_F(SingleInstanceTest, ASecondCopyAsksTheFirstToTheFrontAndLeavesQuietly) {
    auto first = start();
    ASSERT_TRUE(said(*first, "running"));

    auto second = start();
    ASSERT_TRUE(second->waitForFinished(10000));
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_TRUE(second->readAllStandardOutput().contains("another copy runs"));
    EXPECT_TRUE(said(*first, "asked to the front"));
    EXPECT_EQ(first->state(), QProcess::Running);

    first->kill();
    first->waitForFinished(5000);
}

TEST_F(SingleInstanceTest, ACopyThatWasKilledLeavesNothingStuck) {
    auto crashed = start();
    ASSERT_TRUE(said(*crashed, "running"));
    crashed->kill();  // SIGKILL: nothing of its own is tidied up
    ASSERT_TRUE(crashed->waitForFinished(5000));

    auto next = start();
    EXPECT_TRUE(said(*next, "running")) << "the lock went with the killed copy";
    auto third = start();
    ASSERT_TRUE(third->waitForFinished(10000));
    EXPECT_TRUE(third->readAllStandardOutput().contains("another copy runs"));
    EXPECT_TRUE(said(*next, "asked to the front")) << "the socket left behind was replaced";
    next->kill();
    next->waitForFinished(5000);
}

TEST_F(SingleInstanceTest, TheSameUserInASecondSessionFindsTheFirstCopy) {
    auto first = start("session-1");
    ASSERT_TRUE(said(*first, "running"));
    auto second = start("session-2");
    ASSERT_TRUE(second->waitForFinished(10000));
    EXPECT_TRUE(second->readAllStandardOutput().contains("another copy runs"));
    EXPECT_TRUE(QDir(folder.filePath("data/pyatnushki")).exists(".pyatnushki.lock"));
    first->kill();
    first->waitForFinished(5000);
}
