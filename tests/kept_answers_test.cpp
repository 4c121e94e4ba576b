#include "exam/KeptAnswers.h"
#include "foundation/SharedState.h"
#include "platform/db/Connection.h"
#include "tests/support/ExamBankFixture.h"
#include "tests/support/FailingWrites.h"
#include "tests/support/RecordingUiHooks.h"
#include "tests/support/StartupFixture.h"
#include "tests/support/SystemAccounts.h"
#include "tests/support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

constexpr int kUser = 7;
const QString kExam = QStringLiteral("EX/1 é");

KeptAnswers sample()
{
    KeptAnswers kept;
    kept.userCode = kUser;
    kept.examCode = kExam;
    kept.keptAt = QDateTime(QDate(2026, 12, 11), QTime(9, 30, 5));
    kept.answers = {{11, true}, {12, false}, {11, false}};
    return kept;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// "question:right:wrong:pass" per progress row of the user.
QStringList progressRows(db::Connection& exam)
{
    QStringList rows;
    for (const db::Row& row : exam.query(QStringLiteral("SELECT QuestionID, Correct, Wrong, pass FROM Qe_Progress "
                                                        "WHERE userid = ? ORDER BY QuestionID"),
                                         {kUser}))
        rows << QStringList{row.text(0), row.text(1), row.text(2), row.text(3)}.join(QLatin1Char(':'));
    return rows;
}

TEST(KeptAnswers, AKeepFileIsWrittenNamedForTheUserAndExamAndReadsBackAsWritten)
{
    TempHome home;
    QString path;
    ASSERT_EQ(keptanswers::keep(home.path(), sample(), &path), QString());
    QString second;
    ASSERT_EQ(keptanswers::keep(home.path(), sample(), &second), QString()) << "a second end keeps beside the first";
    EXPECT_NE(path, second);
    EXPECT_EQ(keptanswers::keptFiles(home.path(), kUser, kExam), (QStringList{path, second}));
    EXPECT_TRUE(keptanswers::keptFiles(home.path(), kUser + 1, kExam).isEmpty());
    EXPECT_TRUE(keptanswers::keptFiles(home.path(), kUser, QStringLiteral("EX")).isEmpty());

    const keptanswers::Decoded read = keptanswers::readFile(path, kUser, kExam);
    ASSERT_TRUE(read.kept) << read.problem.toStdString();
    EXPECT_EQ(read.kept->userCode, kUser);
    EXPECT_EQ(read.kept->examCode, kExam);
    EXPECT_EQ(read.kept->keptAt, sample().keptAt);
    EXPECT_EQ(read.kept->answers, sample().answers);
    EXPECT_FALSE(keptanswers::readFile(path, kUser + 1, kExam).kept) << "a file renamed to another user is refused";
}

// Every damaged file is refused whole, by why, never half read.
TEST(KeptAnswers, ADamagedFileIsRefusedWhole)
{
    const QByteArray good = keptanswers::encode(sample());
    QByteArray longer = good;
    longer.replace("end 3\n", "answer 13 1\nend 3\n");
    QByteArray extra = good + "answer 14 1\n";
    QByteArray outOfRange = good;
    outOfRange.replace("answer 12 0", "answer 2147483648 0");
    QByteArray badVerdict = good;
    badVerdict.replace("answer 12 0", "answer 12 2");
    QByteArray noHeading = good;
    noHeading.replace("user 7\n", "");
    const struct {
        const char* name;
        QByteArray bytes;
        const char* why;
    } cases[] = {
        {"truncated mid-line", good.left(good.size() - 3), "cut short"},
        {"truncated at a line's end", good.left(good.indexOf("end 3")), "cut short"},
        {"an answer too many", longer, "cut short"},
        {"a line after the end", extra, "damaged"},
        {"wrong version", QByteArray(good).replace("answers 1\n", "answers 2\n"), "another version (2)"},
        {"another file", "hello\n", "not a file of kept answers"},
        {"a question code beyond 32 bits", outOfRange, "line 6"},
        {"a verdict other than 0 or 1", badVerdict, "line 6"},
        {"a missing heading line", noHeading, "heading"},
        {"oversized", good + QByteArray(keptanswers::kLargestFile, 'x'), "larger than"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const keptanswers::Decoded decoded = keptanswers::decode(c.bytes);
        EXPECT_FALSE(decoded.kept);
        EXPECT_TRUE(decoded.problem.contains(QLatin1String(c.why))) << decoded.problem.toStdString();
    }
    EXPECT_TRUE(keptanswers::decode(good).kept);
}

// A file is checked for size before it is read, and only a regular file
// is read.
TEST(KeptAnswers, AnOversizedFileOrAFolderIsRefusedBeforeItIsRead)
{
    TempHome home;
    QString path;
    ASSERT_EQ(keptanswers::keep(home.path(), sample(), &path), QString());
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.resize(keptanswers::kLargestFile + 1));
    }
    EXPECT_TRUE(keptanswers::readFile(path, kUser, kExam).problem.contains(QLatin1String("larger than")));
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QDir().mkpath(path));
    EXPECT_TRUE(keptanswers::readFile(path, kUser, kExam).problem.contains(QLatin1String("not a regular file")));
}

// At the login the kept answers are written as End Exam would have written
// them (a question once right stays right), the file goes and one line says
// so; a damaged file is named and left as it was.
TEST(KeptAnswers, ReplayWritesTheKeptAnswersRemovesTheFileAndLeavesADamagedOneInPlace)
{
    TempHome home;
    const SystemAccounts accounts{kUser};
    ExamBankFixture bank;
    bank.questions(11, 3, 1);
    bank.progress(kUser, 13, ExamBankFixture::Verdict::Wrong);
    QString path;
    ASSERT_EQ(keptanswers::keep(home.path(), sample(), &path), QString());
    KeptAnswers later = sample();
    later.keptAt = later.keptAt.addSecs(60);
    later.answers = {{13, true}};
    QString damaged;
    ASSERT_EQ(keptanswers::keep(home.path(), later, &damaged), QString());
    const QByteArray cut = readAll(damaged).left(20);
    {
        QFile file(damaged);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(cut);
    }

    const keptanswers::Replay outcome = keptanswers::replay(bank.conn(), home.path(), accounts.account(kUser), kExam);
    EXPECT_EQ(outcome.answersWritten, 3);
    EXPECT_EQ(outcome.filesWritten, QStringList{path});
    EXPECT_EQ(progressRows(bank.conn()), (QStringList{"11:1:0:0", "12:0:1:0", "13:0:1:0"}));
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_EQ(readAll(damaged), cut) << "the damaged file is left as it was";
    ASSERT_EQ(outcome.problems.size(), 1);
    EXPECT_TRUE(outcome.problems[0].contains(QDir::toNativeSeparators(damaged))) << outcome.problems[0].toStdString();
    EXPECT_TRUE(outcome.message().startsWith(QLatin1String("3 answer(s) of an earlier exam")))
        << outcome.message().toStdString();

    // Nothing kept: nothing to say.
    ASSERT_TRUE(QFile::remove(damaged));
    EXPECT_EQ(keptanswers::replay(bank.conn(), home.path(), accounts.account(kUser), kExam).message(), QString());
}

// A write that fails at the login leaves the file for the next one, and
// says so in the program's words.
TEST(KeptAnswers, AReplayThatCannotWriteKeepsTheFileForTheNextLogin)
{
    TempHome home;
    const SystemAccounts accounts{kUser};
    ExamBankFixture bank;
    bank.questions(11, 2, 1);
    QString path;
    ASSERT_EQ(keptanswers::keep(home.path(), sample(), &path), QString());
    const QByteArray before = readAll(path);
    keptanswers::Replay outcome;
    {
        FailingWrites refuse(bank.path(), QStringLiteral("Qe_Progress"), 1);
        outcome = keptanswers::replay(bank.conn(), home.path(), accounts.account(kUser), kExam);
    }
    EXPECT_EQ(outcome.answersWritten, 0);
    EXPECT_TRUE(progressRows(bank.conn()).isEmpty()) << "nothing is half written";
    EXPECT_EQ(readAll(path), before);
    ASSERT_EQ(outcome.problems.size(), 1);
    EXPECT_TRUE(outcome.problems[0].contains(QLatin1String("next login"))) << outcome.problems[0].toStdString();

    outcome = keptanswers::replay(bank.conn(), home.path(), accounts.account(kUser), kExam);
    EXPECT_EQ(outcome.answersWritten, 3);
    EXPECT_FALSE(QFileInfo::exists(path));
}

// The login's part: the logged-in user's file for the logged-in exam, one
// message over the main window.
TEST(KeptAnswers, ALoginWritesTheUsersKeptAnswersOfThatExamAndSaysSo)
{
    TempHome home;
    const SystemAccounts accounts{kUser};
    RecordingUiHooks ui;
    ExamBankFixture bank;
    bank.questions(11, 2, 1);
    gStartup.gSysDbPath = home.file(QStringLiteral("Ziduver.QZR"));
    gLogin.gAppName = QStringLiteral("Ziduver Test");
    gLogin.gExamConnStr = bank.connectionString();
    gLogin.gExamCode = kExam;
    gStartup.gSysConnStr = accounts.connectionString();
    ASSERT_EQ(keptanswers::keep(home.path(), sample()), QString());
    KeptAnswers other = sample();
    other.userCode = kUser + 1;
    ASSERT_EQ(keptanswers::keep(home.path(), other), QString());

    gLogin.gUserCode = QString::number(kUser + 2);
    keptanswers::replayAtLogin(nullptr);
    EXPECT_TRUE(ui.messageTexts().isEmpty()) << "another user's login writes nothing";

    gLogin.gUserCode = QString::number(kUser);
    keptanswers::replayAtLogin(nullptr);
    ASSERT_EQ(ui.messageTexts().size(), 1);
    EXPECT_TRUE(ui.messageTexts()[0].startsWith(QLatin1String("3 answer(s)"))) << ui.messageTexts()[0].toStdString();
    EXPECT_EQ(progressRows(bank.conn()), (QStringList{"11:1:0:0", "12:0:1:0"}));
    EXPECT_TRUE(keptanswers::keptFiles(home.path(), kUser, kExam).isEmpty());
    EXPECT_EQ(keptanswers::keptFiles(home.path(), kUser + 1, kExam).size(), 1);
    resetStartupState();
}

} // namespace
