#include "exam/ExamEnd.h"
#include "exam/ExamSaveCheck.h"
#include "exam/ExamSession.h"
#include "exam/KeptAnswers.h"
#include "foundation/SharedState.h"
#include "platform/db/Connection.h"
#include "tests/support/ExamBankFixture.h"
#include "tests/support/FailingWrites.h"
#include "tests/support/RecordingUiHooks.h"
#include "tests/support/StartupFixture.h"
#include "tests/support/SystemAccounts.h"
#include "tests/support/TempHome.h"

#include <QElapsedTimer>
#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <limits>
#include <sqlite3.h>
#include <thread>

namespace {

constexpr int kUser = 7;

// The answers End Exam saves leave the file known to the launch's save
// check, so the next Start does not read the whole file again.
TEST(ExamEnd, SavedAnswersLeaveTheFileKnownToTheSaveCheck)
{
    TempHome home;
    RecordingUiHooks ui;
    forgetSoundExamFiles();
    ExamBankFixture bank;
    bank.question(1, 1);
    SystemAccounts accounts{kUser};
    ExamSession session;
    session.ExamConn = db::Connection::openFile(bank.path());
    session.launch.gQuizUserCode = kUser;
    session.launch.gQuizSysConnStr = accounts.connectionString();
    session.msflex.addQuestion(1, 1);
    session.msflex.setText(1, colCorrect, QStringLiteral("0"));
    session.msflex.setText(1, colNoAnswer, QStringLiteral("0"));
    session.QuestionsReached = 1;
    ASSERT_EQ(examSaveRefusal(session.ExamConn), QString());

    ExamEnd end(session);
    ASSERT_TRUE(end.writeProgress(ExamEnd::Asking::User, nullptr));
    ASSERT_EQ(bank.conn().scalar(QStringLiteral("SELECT count(*) FROM Qe_Progress")).toInt(), 1);
    int checks = 0;
    sqlite3_trace_v2(
        session.ExamConn.handle(), SQLITE_TRACE_STMT,
        [](unsigned, void* count, void*, void* sql) {
            if (QString::fromUtf8(static_cast<const char*>(sql)).startsWith(QLatin1String("PRAGMA quick_check")))
                ++*static_cast<int*>(count);
            return 0;
        },
        &checks);
    EXPECT_EQ(examSaveRefusal(session.ExamConn), QString());
    EXPECT_EQ(checks, 0);
}

// End Exam with the one question of the bank answered right, after a pass
// stored as `lastPass`: a pass that cannot be closed is told, the answers
// are saved, and the pass stays open.
TEST(ExamEnd, APassThatCannotBeClosedIsToldAndTheAnswersAreKept)
{
    for (const qint64 lastPass : {qint64(5), qint64(std::numeric_limits<int>::max()),
                                  std::numeric_limits<qint64>::max()}) {
        SCOPED_TRACE(testing::Message() << "last pass " << lastPass);
        TempHome home;
        RecordingUiHooks ui;
        gLogin.gAppName = QStringLiteral("Ziduver Test");
        ExamBankFixture bank;
        bank.question(1, 1);
        bank.conn().exec(QStringLiteral("INSERT INTO Qe_Progress (userid, QuestionID, Correct, Wrong, NoAns, pass) "
                                        "VALUES (?, 1, 1, 0, 0, ?)"),
                         {kUser, lastPass});
        SystemAccounts accounts{kUser};
        ExamSession session;
        session.ExamConn = db::Connection::openFile(bank.path());
        session.launch.gQuizUserCode = kUser;
        session.launch.gQuizSysConnStr = accounts.connectionString();
        session.msflex.addQuestion(1, 1);
        session.msflex.setText(1, colCorrect, QStringLiteral("1"));
        session.msflex.setText(1, colNoAnswer, QStringLiteral("0"));
        session.QuestionsReached = 1;

        ExamEnd end(session);
        EXPECT_TRUE(end.writeProgress(ExamEnd::Asking::User, nullptr));
        EXPECT_TRUE(end.settled());

        const bool closes = lastPass < std::numeric_limits<int>::max();
        const QVariant open = bank.conn().scalar(
            QStringLiteral("SELECT count(*) FROM Qe_Progress WHERE userid = ? AND pass = 0"), {kUser});
        EXPECT_EQ(open.toInt(), closes ? 0 : 1);
        if (closes) {
            EXPECT_TRUE(ui.messageTexts().isEmpty());
            continue;
        }
        EXPECT_EQ(ui.messageTexts(),
                  QStringList{QStringLiteral("The answers of this exam are saved, but the pass in progress could "
                                             "not be closed.\r\nThe exam database ")
                              + bank.path()
                              + QStringLiteral(" already holds a pass of yours numbered 2147483647 or more, the "
                                               "highest number the program can keep. The pass stays open; clear "
                                               "this exam's history to start counting passes again.")});
    }
}

// The administrator removed the account in another copy while the exam
// ran: End Exam says so once, asks nothing (no try again can bring the
// account back), writes nothing, and the exam is settled, so the window's
// close writes nothing either.
TEST(ExamEnd, ARemovedAccountEndsTheExamWithoutWritingAndSaysWhy)
{
    TempHome home;
    RecordingUiHooks ui;
    gLogin.gAppName = QStringLiteral("Ziduver Test");
    ExamBankFixture bank;
    bank.question(1, 1).question(2, 1);
    bank.writer().addLearningObjective({1, 1, 1, QStringLiteral("a"), QStringLiteral("b"), 0});
    SystemAccounts accounts{kUser};
    ExamSession session;
    session.ExamConn = db::Connection::openFile(bank.path());
    session.launch.gQuizUserCode = kUser;
    session.launch.gQuizSysConnStr = accounts.connectionString();
    for (int code : {1, 2}) {
        session.msflex.addQuestion(code, 1);
        session.msflex.setText(code, colCorrect, QStringLiteral("1"));
        session.msflex.setText(code, colNoAnswer, QStringLiteral("0"));
    }
    session.QuestionsReached = 2;
    accounts.remove(kUser);

    ExamEnd end(session);
    EXPECT_FALSE(end.writeProgress(ExamEnd::Asking::User, nullptr));
    EXPECT_TRUE(end.settled());
    end.writeProgressBeforeClosing(nullptr);
    EXPECT_EQ(ui.messageTexts(),
              QStringList{QStringLiteral("The results of this exam could not be saved.\r\nYour user account was "
                                         "removed by the administrator: nothing more is saved for it.\r\n"
                                         "Ask your administrator for a new account.")});
    EXPECT_EQ(bank.conn().scalar(QStringLiteral("SELECT count(*) FROM Qe_Progress")).toInt(), 0);
    EXPECT_EQ(bank.conn().scalar(QStringLiteral("SELECT count(*) FROM Qe_LOS WHERE Qq_Status <> 0")).toInt(), 0);
}

// As the program ends nobody can be asked: a lock another program holds is
// waited for within a bound, and answers that still cannot be written are
// kept for the user's next login to the exam, never dropped.
TEST(ExamEnd, AsTheProgramEndsALockIsWaitedForAndWhatCannotBeWrittenIsKept)
{
    enum class Hold { ReleasedAfterASecond, Throughout, NoLockButAFailingWrite };
    const struct {
        const char* name;
        Hold hold;
        bool written;
    } cases[] = {
        {"a lock released after a second", Hold::ReleasedAfterASecond, true},
        {"a lock held throughout", Hold::Throughout, false},
        {"a write the database refuses", Hold::NoLockButAFailingWrite, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempHome home;
        RecordingUiHooks ui;
        ExamBankFixture bank;
        bank.questions(1, 2, 1);
        gStartup.gSysDbPath = home.file(QStringLiteral("Ziduver.QZR"));
        gLogin.gExamCode = QStringLiteral("EX1");
        ExamSession session;
        session.ExamConn = db::Connection::openFile(bank.path());
        session.launch.gQuizUserCode = kUser;
        const SystemAccounts accounts{kUser};
        session.launch.gQuizSysConnStr = accounts.connectionString();
        for (int code : {1, 2}) {
            session.msflex.addQuestion(code, 1);
            session.msflex.setText(code, colCorrect, code == 1 ? QStringLiteral("1") : QStringLiteral("0"));
            session.msflex.setText(code, colNoAnswer, QStringLiteral("0"));
        }
        session.QuestionsReached = 2;

        std::atomic<bool> locked = false;
        std::atomic<bool> release = false;
        std::thread holder;
        std::optional<FailingWrites> refuse;
        if (c.hold == Hold::NoLockButAFailingWrite) {
            refuse.emplace(bank.path(), QStringLiteral("Qe_Progress"), 0);
        } else {
            holder = std::thread([&, path = bank.path(), hold = c.hold] {
                db::Connection other = db::Connection::openFile(path);
                other.exec(QStringLiteral("BEGIN EXCLUSIVE"));
                locked = true;
                const auto until = std::chrono::steady_clock::now()
                    + (hold == Hold::ReleasedAfterASecond ? std::chrono::seconds(1) : std::chrono::seconds(30));
                while (!release && std::chrono::steady_clock::now() < until)
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
                other.exec(QStringLiteral("ROLLBACK"));
            });
            while (!locked)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }

        QElapsedTimer clock;
        clock.start();
        ExamEnd end(session);
        const bool written = end.writeProgress(ExamEnd::Asking::Nobody, nullptr);
        const qint64 took = clock.elapsed();
        release = true;
        if (holder.joinable())
            holder.join();
        refuse.reset();

        EXPECT_EQ(written, c.written);
        EXPECT_TRUE(end.settled()) << "written or kept: nothing is written twice";
        EXPECT_LT(took, 8000) << "the end waits within its bound";
        EXPECT_TRUE(ui.messageTexts().isEmpty()) << "nobody is asked";
        const QVariant rows = bank.conn().scalar(QStringLiteral("SELECT count(*) FROM Qe_Progress"));
        EXPECT_EQ(rows.toInt(), c.written ? 2 : 0);
        const QStringList kept = keptanswers::keptFiles(home.path(), kUser, QStringLiteral("EX1"));
        if (c.written) {
            EXPECT_TRUE(kept.isEmpty());
            continue;
        }
        ASSERT_EQ(kept.size(), 1);
        const keptanswers::Decoded read = keptanswers::readFile(kept[0], kUser, QStringLiteral("EX1"));
        ASSERT_TRUE(read.kept) << read.problem.toStdString();
        EXPECT_EQ(read.kept->answers, (std::vector<KeptAnswer>{{1, true}, {2, false}}));
    }
    resetStartupState();
}

} // namespace
