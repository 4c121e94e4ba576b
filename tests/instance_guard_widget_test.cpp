// Copies of the program on one program folder: the guard is held only by a
// running copy, on this machine, for this user; a copied folder carries
// nothing of it.
#include "platform/ui/InstanceGuard.h"
#include "tests/support/EventWaits.h"
#include "tools/mkdata/SampleInstallation.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>

namespace {

// The real program on a folder, on the offscreen screen.
void startProgram(QProcess& program, const QString& folder)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.start(QStringLiteral(ZIDUVER_BINARY), {QStringLiteral("--home"), folder});
}

// A sample installation in the folder.
bool makeInstallation(const QString& folder)
{
    try {
        writeSampleInstallation(folder);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace

TEST(InstanceGuard, OneCopyPerFolderWhicheverPathNamesIt)
{
    QTemporaryDir folder;
    QTemporaryDir elsewhere;
    InstanceGuard first(folder.path());
    EXPECT_FALSE(first.anotherInstanceRunning());
    EXPECT_FALSE(first.anotherInstanceRunning()) << "asked again, it still holds the folder";
    EXPECT_TRUE(InstanceGuard::heldByARunningCopy(folder.path()));
    InstanceGuard second(folder.path());
    EXPECT_TRUE(second.anotherInstanceRunning());
    const QString link = elsewhere.filePath(QStringLiteral("link"));
    ASSERT_TRUE(QFile::link(folder.path(), link));
    InstanceGuard throughLink(link + QStringLiteral("/."));
    EXPECT_TRUE(throughLink.anotherInstanceRunning()) << "the same folder by another path";
    {
        InstanceGuard otherFolder(elsewhere.path());
        EXPECT_FALSE(otherFolder.anotherInstanceRunning());
    }
    InstanceGuard afterTheEnd(elsewhere.path());
    EXPECT_FALSE(afterTheEnd.anotherInstanceRunning()) << "a copy that ended holds nothing";
    EXPECT_FALSE(QFileInfo::exists(folder.filePath(QStringLiteral(".ziduver.lock"))))
        << "nothing of the guard in the program folder";
}

TEST(InstanceGuard, ALockFileOfARunningProcessInTheFolderIsNoRunningCopy)
{
    // The lock file an earlier version left in the folder, held by a process
    // that still runs (this one), and a copy of the folder made meanwhile.
    QTemporaryDir folder;
    QLockFile held(folder.filePath(QStringLiteral(".ziduver.lock")));
    ASSERT_TRUE(held.tryLock(0));
    QTemporaryDir copies;
    const QString copy = copies.filePath(QStringLiteral("copy"));
    ASSERT_EQ(QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-a"), folder.path(), copy}), 0);
    ASSERT_TRUE(QFileInfo::exists(QDir(copy).filePath(QStringLiteral(".ziduver.lock"))));
    for (const QString& path : {copy, folder.path()}) {
        InstanceGuard guard(path);
        EXPECT_FALSE(guard.anotherInstanceRunning()) << path.toStdString();
    }
}

// The program itself: a second copy on a folder leaves at once with status 0
// and no word; one started on a copied folder runs, and a SIGTERM to it
// (no exam running) just closes it.
TEST(InstanceGuard, TheProgramLeavesQuietlyAsASecondCopyAndRunsOnACopiedFolder)
{
    QTemporaryDir dir;
    const QString home = dir.filePath(QStringLiteral("home"));
    ASSERT_TRUE(makeInstallation(home));
    {
        InstanceGuard running(home);
        ASSERT_FALSE(running.anotherInstanceRunning());
        QProcess second;
        startProgram(second, home);
        ASSERT_TRUE(second.waitForFinished(30000));
        EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(second.exitCode(), 0);
    }

    // A copy made while a copy runs carries that copy's lock file.
    QLockFile oldLock(QDir(home).filePath(QStringLiteral(".ziduver.lock")));
    ASSERT_TRUE(oldLock.tryLock(0));
    const QString copy = dir.filePath(QStringLiteral("copy"));
    ASSERT_EQ(QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-a"), home, copy}), 0);
    QProcess program;
    startProgram(program, copy);
    ASSERT_TRUE(program.waitForStarted());
    const bool holds = waitFor(
        [&] { return InstanceGuard::heldByARunningCopy(copy) || program.state() == QProcess::NotRunning; }, 30000);
    ASSERT_TRUE(holds);
    ASSERT_EQ(program.state(), QProcess::Running) << program.readAll().toStdString();
    ::kill(pid_t(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << "the signal closes the program, it does not kill it";
    EXPECT_EQ(program.exitCode(), 0);
}
