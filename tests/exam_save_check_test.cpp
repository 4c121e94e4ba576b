#include "exam/ExamSaveCheck.h"
#include "platform/db/Connection.h"
#include "tests/support/ExamBankFixture.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <thread>
#include <utility>

namespace {

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QString kRefusal = QStringLiteral("This exam cannot start, because its results could not be saved.\r\n"
                                        "The exam database ");

// A bank End Exam can save into passes, and the check leaves it as it was.
TEST(ExamSaveCheck, AWritableBankWithEveryTablePassesUnchanged)
{
    ExamBankFixture bank;
    const QByteArray before = bytesOf(bank.path());
    db::Connection exam = db::Connection::openFile(bank.path());
    EXPECT_EQ(examSaveRefusal(exam), QString());
    EXPECT_FALSE(exam.inTransaction());
    EXPECT_EQ(bytesOf(bank.path()), before);
    EXPECT_FALSE(QFileInfo::exists(bank.path() + QStringLiteral("-journal")));
}

// What End Exam writes is missing, or the file cannot be written: refused,
// naming the file and the reason, and nothing is changed.
TEST(ExamSaveCheck, RefusesWhatEndExamCouldNotSave)
{
    struct Case {
        const char* name;
        const char* change; // made to the file beforehand
        const char* seam;   // run on the checked connection
        const char* reason;
    };
    const Case cases[] = {
        {"no progress table", "DROP TABLE Qe_Progress", "",
         "lacks a table or column the program needs "
         "(no such table: Qe_Progress)."},
        {"no learning-objective table", "DROP TABLE Qe_LOS", "", "(no such table: Qe_LOS)."},
        {"progress without its user column",
         "DROP INDEX Qe_Progress_UserPass; DROP INDEX Qe_Progress_Right; ALTER TABLE Qe_Progress DROP COLUMN userid",
         "",
         "(no such column: userid)."},
        // A user without write access: file modes do not stop root, who runs
        // the tests in CI.
        {"unwritable file", "", "PRAGMA query_only = ON", " cannot be written."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExamBankFixture bank;
        if (*c.change)
            bank.conn().execScript(QLatin1String(c.change));
        const QByteArray before = bytesOf(bank.path());
        db::Connection exam = db::Connection::openFile(bank.path());
        if (*c.seam)
            exam.execScript(QLatin1String(c.seam));
        const QString refusal = examSaveRefusal(exam);
        EXPECT_TRUE(refusal.startsWith(kRefusal + bank.path() + QLatin1Char(' '))) << refusal.toStdString();
        EXPECT_TRUE(refusal.endsWith(QLatin1String(c.reason))) << refusal.toStdString();
        EXPECT_FALSE(exam.inTransaction());
        EXPECT_EQ(bytesOf(bank.path()), before);
    }
}

// Another program holding the write lock: refused, saying so.
TEST(ExamSaveCheck, ABankLockedByAnotherProgramIsRefused)
{
    ExamBankFixture bank;
    db::Connection holder = db::Connection::openFile(bank.path());
    holder.execScript(QStringLiteral("BEGIN IMMEDIATE"));
    db::Connection exam = db::Connection::openFile(bank.path());
    sqlite3_busy_timeout(exam.handle(), 50); // not the program's five seconds
    const QString refusal = examSaveRefusal(exam);
    EXPECT_EQ(refusal, kRefusal + bank.path() + QStringLiteral(" is in use by another program."));
    holder.execScript(QStringLiteral("ROLLBACK"));
    EXPECT_EQ(examSaveRefusal(exam), QString());
}

// A damaged page (here the root page of the progress table, which only End
// Exam's write would read) is found at launch, and the file is named.
TEST(ExamSaveCheck, ADamagedFileIsRefused)
{
    ExamBankFixture bank;
    const qint64 root =
        bank.conn().scalar(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name='Qe_Progress'")).toLongLong();
    const qint64 pageSize = bank.conn().scalar(QStringLiteral("PRAGMA page_size")).toLongLong();
    ASSERT_GT(root, 1);
    bank.conn().close();
    {
        QFile file(bank.path());
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.seek((root - 1) * pageSize));
        ASSERT_EQ(file.write(QByteArray(int(pageSize), char(0x5a))), pageSize);
    }
    db::Connection exam = db::Connection::openFile(bank.path());
    EXPECT_EQ(examSaveRefusal(exam),
              QStringLiteral("This exam cannot start, because its exam database is damaged.\r\n"
                             "The exam database ")
                  + bank.path() + QStringLiteral(" is damaged."));
}

// The whole file is checked once and then remembered by what no other
// program can forge: the same name holding a damaged file is checked whole
// again, whether it was damaged in place with its modification time set
// back, or a damaged copy of the same size was moved over it.
TEST(ExamSaveCheck, AFileChangedInAnyWayIsCheckedWholeAgain)
{
    for (const bool moved : {false, true}) {
        SCOPED_TRACE(moved ? "a damaged copy moved over it" : "damaged in place, time set back");
        forgetSoundExamFiles();
        ExamBankFixture bank;
        const qint64 root = bank.conn()
                                .scalar(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name='Qe_QuestionsHead'"))
                                .toLongLong();
        const qint64 pageSize = bank.conn().scalar(QStringLiteral("PRAGMA page_size")).toLongLong();
        bank.conn().close();
        {
            db::Connection exam = db::Connection::openFile(bank.path());
            ASSERT_EQ(examSaveRefusal(exam), QString());
            ASSERT_EQ(examSaveRefusal(exam), QString()) << "the remembered file passes again";
        }
        struct stat original {};
        ASSERT_EQ(::stat(QFile::encodeName(bank.path()).constData(), &original), 0);
        // Past the file system's clock step, so any change shows in the times.
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        const QString target = moved ? bank.path() + QStringLiteral(".bad") : bank.path();
        if (moved) {
            ASSERT_TRUE(QFile::copy(bank.path(), target));
        }
        {
            QFile file(target);
            ASSERT_TRUE(file.open(QIODevice::ReadWrite));
            ASSERT_TRUE(file.seek((root - 1) * pageSize));
            ASSERT_EQ(file.write(QByteArray(int(pageSize), char(0x5a))), pageSize);
        }
        const timespec times[2] = {original.st_atim, original.st_mtim};
        ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(target).constData(), times, 0), 0);
        if (moved) {
            ASSERT_EQ(::rename(QFile::encodeName(target).constData(), QFile::encodeName(bank.path()).constData()), 0);
        }

        db::Connection exam = db::Connection::openFile(bank.path());
        EXPECT_EQ(examSaveRefusal(exam),
                  QStringLiteral("This exam cannot start, because its exam database is damaged.\r\n"
                                 "The exam database ")
                      + bank.path() + QStringLiteral(" is damaged."));
    }
}

// The damage checks a connection runs: "whole" for the file, a table's
// name for a table's.
class CheckTrace {
public:
    explicit CheckTrace(db::Connection& exam)
    {
        sqlite3_trace_v2(exam.handle(), SQLITE_TRACE_STMT, &CheckTrace::seen, this);
    }
    QStringList take() { return std::exchange(m_checks, {}); }

private:
    static int seen(unsigned, void* self, void*, void* sql)
    {
        const QString text = QString::fromUtf8(static_cast<const char*>(sql));
        if (text.startsWith(QLatin1String("PRAGMA quick_check(")))
            static_cast<CheckTrace*>(self)->m_checks
                << (text == QLatin1String("PRAGMA quick_check(1)") ? QStringLiteral("whole")
                                                                   : text.mid(19).chopped(1).remove(QLatin1Char('"')));
        return 0;
    }
    QStringList m_checks;
};

// A file found sound is not read again while it stays so, nor after the
// program's own write to it; a write that began after another program
// changed the file leaves it to be checked whole again.
TEST(ExamSaveCheck, TheProgramsOwnWriteKeepsAFileKnownAndAnyOtherChangeDoesNot)
{
    forgetSoundExamFiles();
    ExamBankFixture bank;
    db::Connection exam = db::Connection::openFile(bank.path());
    CheckTrace trace(exam);
    const auto ownWrite = [&exam] {
        OwnExamWrite write(exam);
        exam.exec(QStringLiteral("INSERT INTO Qe_Progress (userid, QuestionID, Correct, Wrong, NoAns, pass) "
                                 "VALUES (7, 1, 1, 0, 0, 0)"));
        write.done();
    };
    const QStringList whole{QStringLiteral("Qe_Progress"),
                            QStringLiteral("Qe_LOS"),
                            QStringLiteral("Qe_UserHistoryDetail"),
                            QStringLiteral("Qe_UserHistorySummary"),
                            QStringLiteral("Qe_Category"),
                            QStringLiteral("Qe_Chapters"),
                            QStringLiteral("whole")};

    ASSERT_EQ(examSaveRefusal(exam), QString());
    EXPECT_EQ(trace.take(), whole) << "the tables an exam writes first, then the whole file";
    ASSERT_EQ(examSaveRefusal(exam), QString());
    EXPECT_EQ(trace.take(), QStringList()) << "unchanged";
    ownWrite();
    ASSERT_EQ(examSaveRefusal(exam), QString());
    EXPECT_EQ(trace.take(), QStringList()) << "changed by the program's own write";

    // Past the file system's clock step, so the change shows in the stamp.
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    db::Connection::openFile(bank.path()).exec(QStringLiteral("INSERT INTO Qe_Progress (userid) VALUES (8)"));
    ownWrite();
    ASSERT_EQ(examSaveRefusal(exam), QString());
    EXPECT_EQ(trace.take(), whole) << "changed by another program before the own write";
}

// A write-ahead-log file's changes go beside it and leave its stamp as it
// was, so no stamp says it is still sound: it is checked whole every time.
TEST(ExamSaveCheck, AWriteAheadLogFileIsCheckedWholeEveryTime)
{
    forgetSoundExamFiles();
    ExamBankFixture bank;
    db::Connection::openFile(bank.path()).exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    db::Connection exam = db::Connection::openFile(bank.path());
    CheckTrace trace(exam);
    for (int start = 1; start <= 2; ++start) {
        ASSERT_EQ(examSaveRefusal(exam), QString());
        EXPECT_TRUE(trace.take().contains(QStringLiteral("whole"))) << "Start " << start;
    }
}

} // namespace
