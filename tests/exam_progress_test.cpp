#include "exam/ExamProgress.h"
#include "exam/QuestionList.h"
#include "foundation/ProgressStore.h"
#include "foundation/SharedState.h"
#include "platform/db/Connection.h"
#include "platform/db/Transaction.h"
#include "tests/support/DebugLogFile.h"
#include "tests/support/ExamBankFixture.h"
#include "tests/support/FailingWrites.h"
#include "tests/support/StartupFixture.h"
#include "tests/support/SystemAccounts.h"
#include "tests/support/TempHome.h"

#include <QDir>
#include <QFile>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <limits>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <sys/types.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Verdict = ExamBankFixture::Verdict;
using Objective = ExamBankWriter::LearningObjectiveRow;

constexpr int kUser = 7;
constexpr int kOtherUser = 8;

// The system database the writes check the accounts in: both users exist.
const SystemAccounts& accounts()
{
    static const SystemAccounts system{kUser, kOtherUser};
    return system;
}

UserAccount account()
{
    return accounts().account(kUser);
}

// How a question of the exam's list stands at End Exam.
enum class Answer { Right, Wrong, NoAnswer, Unchecked };

struct Asked {
    int code;
    Answer answer;
};

// The exam's list as the answer check leaves it.
QuestionList examList(const std::vector<Asked>& asked)
{
    QuestionList msflex;
    for (const Asked& a : asked) {
        msflex.addQuestion(a.code, 1);
        const int row = msflex.questionCount();
        switch (a.answer) {
        case Answer::Right:
            msflex.setText(row, colCorrect, QStringLiteral("1"));
            msflex.setText(row, colNoAnswer, QStringLiteral("0"));
            break;
        case Answer::Wrong:
            msflex.setText(row, colCorrect, QStringLiteral("0"));
            msflex.setText(row, colNoAnswer, QStringLiteral("0"));
            break;
        case Answer::NoAnswer:
            msflex.setText(row, colCorrect, QStringLiteral("0"));
            msflex.setText(row, colNoAnswer, QStringLiteral("1"));
            break;
        case Answer::Unchecked:
            break;
        }
    }
    return msflex;
}

// The exam window's own connection to the bank.
ProgressWriteResult endExam(ExamBankFixture& bank, const std::vector<Asked>& asked, int reached = -1)
{
    db::Connection exam = db::Connection::openFile(bank.path());
    return UpdateProgress(exam, examList(asked), reached < 0 ? int(asked.size()) : reached, account());
}

// Rows as text: fields joined by ",", rows by "\n", Null as "-".
QString rowsOf(db::Connection& c, const char* sql, const db::Params& params = {})
{
    QString text = c.query(QString::fromLatin1(sql), params)
                       .getString(QStringLiteral(","), QStringLiteral("\n"), QStringLiteral("-"));
    text.chop(1);
    return text;
}

// A user's rows of one question in one pass: "correct/wrong/noans" by
// storage order, joined by " ".
QString progressOf(ExamBankFixture& bank, int user, int questCode, int pass = 0)
{
    return rowsOf(bank.conn(),
                  "SELECT Correct || '/' || Wrong || '/' || NoAns FROM Qe_Progress "
                  "WHERE userid = ? AND QuestionID = ? AND pass = ? ORDER BY rowid",
                  {user, questCode, pass})
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
}

// Statuses of the objective rows, by storage order; a Null status shows "-".
QString statuses(ExamBankFixture& bank)
{
    return rowsOf(bank.conn(), "SELECT Qq_Status FROM Qe_LOS ORDER BY rowid").remove(QLatin1Char('\n'));
}

// Everything the write may touch, for before/after comparisons.
QString progressAndObjectives(db::Connection& c)
{
    return rowsOf(c, "SELECT rowid, * FROM Qe_Progress ORDER BY rowid") + QStringLiteral("\n#\n")
        + rowsOf(c, "SELECT rowid, * FROM Qe_LOS ORDER BY rowid");
}

int count(ExamBankFixture& bank, const char* where, const db::Params& params = {})
{
    return bank.conn()
        .scalar(QStringLiteral("SELECT count(*) FROM Qe_Progress WHERE ") + QLatin1String(where), params)
        .toInt();
}

class ExamProgress : public ::testing::Test {
protected:
    void SetUp() override
    {
        gStartup.gDebug = 0; // errors are logged whatever the flag
        removeDebugLog();
    }
    TempHome home;
};

// ---- the row a question gets ----

TEST_F(ExamProgress, PriorRowAndAnswerGiveTheRow)
{
    struct Case {
        std::optional<Verdict> prior; // the user's pass-0 row before the exam
        Answer answer;
        const char* row;    // the user's pass-0 row of the question afterwards, "" for none
        bool objectiveDone; // the question's objective row became 1
    };
    const Case cases[] = {
        {std::nullopt, Answer::Right, "1/0/0", true},
        {std::nullopt, Answer::Wrong, "0/1/0", false},
        {std::nullopt, Answer::NoAnswer, "", false},
        {std::nullopt, Answer::Unchecked, "", false},
        {Verdict::Right, Answer::Right, "1/0/0", true},
        {Verdict::Right, Answer::Wrong, "1/0/0", false}, // right stays right for the pass
        {Verdict::Right, Answer::NoAnswer, "1/0/0", false},
        {Verdict::Wrong, Answer::Right, "1/0/0", true},
        {Verdict::Wrong, Answer::Wrong, "0/1/0", false},
        {Verdict::Wrong, Answer::Unchecked, "0/1/0", false},
        {Verdict::NoAnswer, Answer::Right, "1/0/0", true},
        {Verdict::NoAnswer, Answer::Wrong, "0/1/0", false},
        {Verdict::None, Answer::Wrong, "0/1/0", false},
        {Verdict::None, Answer::NoAnswer, "0/0/0", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "prior " << (c.prior ? int(*c.prior) : -1) << ", answer " << int(c.answer));
        ExamBankFixture bank;
        bank.questions(1, 100, 1);
        bank.writer().addLearningObjective({5, 1, 1, QStringLiteral("a"), QStringLiteral("1"), 0});
        if (c.prior)
            bank.progress(kUser, 5, *c.prior);
        // Rows that are not the user's pass-0 row stay as they are.
        bank.progress(kOtherUser, 5, Verdict::Wrong).progress(kUser, 5, Verdict::Wrong, 1);

        const ProgressWriteResult result = endExam(bank, {{5, c.answer}});

        ASSERT_TRUE(result.saved) << result.error.toStdString();
        EXPECT_FALSE(result.passClosed);
        EXPECT_EQ(progressOf(bank, kUser, 5), QString::fromLatin1(c.row));
        EXPECT_EQ(progressOf(bank, kUser, 5, 1), QStringLiteral("0/1/0"));
        EXPECT_EQ(progressOf(bank, kOtherUser, 5), QStringLiteral("0/1/0"));
        EXPECT_EQ(statuses(bank), c.objectiveDone ? QStringLiteral("1") : QStringLiteral("0"));
    }
}

TEST_F(ExamProgress, OnlyQuestionsReachedAndCheckedAreRecorded)
{
    ExamBankFixture bank;
    bank.questions(1, 100, 1);
    const std::vector<Asked> asked = {{1, Answer::Right}, {2, Answer::Unchecked}, {3, Answer::NoAnswer},
                                      {4, Answer::Wrong}, {5, Answer::Right},     {6, Answer::Wrong}};

    ProgressWriteResult result = endExam(bank, asked, 5);

    ASSERT_TRUE(result.saved) << result.error.toStdString();
    EXPECT_EQ(result.rowsWritten, 3);
    EXPECT_EQ(rowsOf(bank.conn(), "SELECT QuestionID, Correct, Wrong, NoAns, pass FROM Qe_Progress ORDER BY rowid"),
              QStringLiteral("1,1,0,0,0\n4,0,1,0,0\n5,1,0,0,0"));

    // Reached past the end of the list: the whole list, nothing more; the
    // same answers again change no row.
    result = endExam(bank, asked, 50);
    ASSERT_TRUE(result.saved) << result.error.toStdString();
    EXPECT_EQ(result.rowsWritten, 1);
    EXPECT_EQ(count(bank, "userid = ?", {kUser}), 4);
    EXPECT_EQ(progressOf(bank, kUser, 6), QStringLiteral("0/1/0"));
}

// ---- closing the pass ----

TEST_F(ExamProgress, PassClosesAtTheThresholdOfTheUsersLastPass)
{
    struct Case {
        int lastPass; // the user's highest completed pass, 0 for none
        int right;    // pass-0 rows right of 200 after the exam
        int percent;
        bool closes;
    };
    const Case cases[] = {
        {0, 168, 84, false}, {0, 169, 84, false}, {0, 170, 85, true},  {0, 171, 86, true},  {1, 178, 89, false},
        {1, 179, 90, true},  {1, 180, 90, true},  {2, 188, 94, false}, {2, 189, 94, false}, {2, 190, 95, true},
        {3, 189, 94, false}, {3, 190, 95, true},  {6, 190, 95, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "last pass " << c.lastPass << ", " << c.right << " of 200");
        ExamBankFixture bank;
        bank.questions(1, 200, 1);
        {
            db::Transaction transaction(bank.conn());
            // Right before the exam: all but the last two; the exam answers
            // one of them right (a new row) and turns a wrong row right.
            for (int code = 1; code <= c.right - 2; ++code)
                bank.progress(kUser, code, Verdict::Right);
            bank.progress(kUser, c.right - 1, Verdict::Wrong);
            bank.progress(kUser, 200, Verdict::Wrong); // stays wrong
            for (int pass = 1; pass <= c.lastPass; ++pass)
                bank.progress(kUser, pass, Verdict::Right, pass);
            bank.progress(kOtherUser, 1, Verdict::Right);
            // Statuses from earlier exams, shared by every user; a Null one too.
            bank.writer().addLearningObjective({c.right, 1, 1, QStringLiteral("a"), QStringLiteral("a"), 0});
            bank.writer().addLearningObjective({150, 1, 2, QStringLiteral("a"), QStringLiteral("a"), 1});
            bank.writer().addLearningObjective({151, 1, 3, QStringLiteral("a"), QStringLiteral("a"), std::nullopt});
            transaction.commit();
        }
        const int before = count(bank, "userid = ? AND pass = 0", {kUser});

        const ProgressWriteResult result = endExam(bank, {{c.right - 1, Answer::Right}, {c.right, Answer::Right}});

        ASSERT_TRUE(result.saved) << result.error.toStdString();
        EXPECT_EQ(result.percent, c.percent);
        EXPECT_EQ(result.passClosed, c.closes);
        const int rows = before + 1;
        EXPECT_EQ(count(bank, "userid = ? AND pass = 0", {kUser}), c.closes ? 0 : rows);
        EXPECT_EQ(count(bank, "userid = ? AND pass = ?", {kUser, c.lastPass + 1}), c.closes ? rows : 0);
        for (int pass = 1; pass <= c.lastPass; ++pass)
            EXPECT_EQ(progressOf(bank, kUser, pass, pass), QStringLiteral("1/0/0")) << "pass " << pass;
        EXPECT_EQ(progressOf(bank, kOtherUser, 1), QStringLiteral("1/0/0"));
        EXPECT_EQ(statuses(bank), c.closes ? QStringLiteral("000") : QStringLiteral("11-"));
    }
}

TEST_F(ExamProgress, AnEmptyBankOrNoRightRowNeverClosesAPass)
{
    ExamBankFixture bank;
    ProgressWriteResult result = endExam(bank, {{1, Answer::Wrong}});
    ASSERT_TRUE(result.saved) << result.error.toStdString();
    EXPECT_EQ(result.percent, 0);
    EXPECT_FALSE(result.passClosed);

    bank.question(1, 1);
    result = endExam(bank, {{1, Answer::Wrong}});
    ASSERT_TRUE(result.saved) << result.error.toStdString();
    EXPECT_FALSE(result.passClosed);
    EXPECT_EQ(progressOf(bank, kUser, 1), QStringLiteral("0/1/0"));

    // The one question right: 100 percent, the pass closes.
    result = endExam(bank, {{1, Answer::Right}});
    EXPECT_EQ(result.percent, 100);
    EXPECT_TRUE(result.passClosed);
    EXPECT_EQ(progressOf(bank, kUser, 1, 1), QStringLiteral("1/0/0"));
}

// The next pass number never wraps: past the highest one the program reads
// back, the pass stays open with its rows and objectives as they were.
TEST_F(ExamProgress, APassAtTheHighestNumberStaysOpen)
{
    const struct {
        qint64 last;
        bool closes;
    } cases[] = {
        {2147483646LL, true},
        {std::numeric_limits<int>::max(), false},
        {2147483648LL, false},
        {9007199254740993LL, false},
        {4611686018427387904LL, false},
        {std::numeric_limits<qint64>::max(), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "last pass " << c.last);
        ExamBankFixture bank;
        bank.question(1, 1);
        bank.writer().addLearningObjective({1, 1, 1, QStringLiteral("a"), QStringLiteral("a"), 1});
        bank.conn().exec(QStringLiteral("INSERT INTO Qe_Progress (userid, QuestionID, Correct, Wrong, NoAns, pass) "
                                        "VALUES (?, 1, 1, 0, 0, ?)"),
                         {kUser, c.last});

        const ProgressWriteResult result = endExam(bank, {{1, Answer::Right}});

        ASSERT_TRUE(result.saved) << result.error.toStdString();
        EXPECT_EQ(result.percent, 100);
        EXPECT_EQ(result.passClosed, c.closes);
        EXPECT_EQ(result.passKeptOpen, !c.closes);
        EXPECT_EQ(count(bank, "userid = ? AND pass = 0", {kUser}), c.closes ? 0 : 1);
        EXPECT_EQ(count(bank, "pass < 0"), 0);
        EXPECT_EQ(count(bank, "pass = ?", {c.last}), 1) << "the earlier pass is left as stored";
        if (c.closes) {
            EXPECT_EQ(count(bank, "pass = ?", {c.last + 1}), 1);
        }
        EXPECT_EQ(statuses(bank), c.closes ? QStringLiteral("0") : QStringLiteral("1"));
    }
}

// End Exam reads the bank's size once per exam run, and counts the pass's
// right rows from an index alone.
TEST_F(ExamProgress, TheBankIsCountedOncePerRunAndRightRowsFromAnIndex)
{
    ExamBankFixture bank;
    bank.questions(1, 200, 1);
    std::optional<int> bankQuestions;
    db::Connection exam = db::Connection::openFile(bank.path());
    ProgressWriteResult result =
        UpdateProgress(exam, examList({{1, Answer::Right}, {2, Answer::Right}}), 2, account(), &bankQuestions);
    ASSERT_TRUE(result.saved) << result.error.toStdString();
    EXPECT_EQ(bankQuestions, 200);
    EXPECT_EQ(result.percent, 1);
    // Questions added while the exam runs are not counted again: 3 of 200.
    bank.questions(201, 200, 1);
    result = UpdateProgress(exam, examList({{3, Answer::Right}}), 1, account(), &bankQuestions);
    EXPECT_EQ(result.percent, 2);
    EXPECT_EQ(bankQuestions, 200);

    const QString plan = exam.query(QStringLiteral("EXPLAIN QUERY PLAN ") + ProgressStore::correctCountThisPassSql(),
                                    {kUser})
                             .getString();
    EXPECT_TRUE(plan.contains(QStringLiteral("COVERING INDEX Qe_Progress_Right"))) << plan.toStdString();
}

// ---- learning objectives ----

TEST_F(ExamProgress, AnObjectiveIsCompleteWhenEveryQuestionOfItIsRightInThePass)
{
    // Question 1 is answered right. Its rows: objective X (shared) and Y (its
    // own). X is complete, on every row of it, once each other question
    // holding it has a right row in the user's pass in progress.
    struct Prior {
        int user;
        int question;
        Verdict verdict;
        int pass;
    };
    struct Case {
        const char* name;
        std::vector<Objective> others; // rows of other questions
        std::vector<Prior> progress;
        const char* expected; // statuses: question 1's X, Y, then the others
    };
    const QString a = QStringLiteral("a");
    const QString b = QStringLiteral("b");
    const Objective x1{1, 1, 1, a, b, 0};
    const Objective y1{1, 2, 1, a, b, 0};
    const Objective x2{2, 1, 1, a, b, 0};
    const Objective x3{3, 1, 1, a, b, 0};
    const Case cases[] = {
        {"three questions, one answered right", {x2, x3}, {}, "0100"},
        {"three questions, one of the others right", {x2, x3}, {{kUser, 2, Verdict::Right, 0}}, "0100"},
        {"three questions, the others right before", {x2, x3},
         {{kUser, 2, Verdict::Right, 0}, {kUser, 3, Verdict::Right, 0}}, "1111"},
        {"right only in a completed pass, by another user, or wrong", {x2, x3},
         {{kUser, 2, Verdict::Right, 1}, {kOtherUser, 2, Verdict::Right, 0}, {kUser, 3, Verdict::Right, 0},
          {kUser, 2, Verdict::Wrong, 0}},
         "0100"},
        {"a status of 1 on another question's row does not make it right", {{2, 1, 1, a, b, 1}}, {}, "011"},
        {"a question no longer in the bank does not hold it open", {{500, 1, 1, a, b, 0}}, {}, "111"},
        {"a row differing in one key shares nothing", {{2, 1, 1, a, a, 0}, {2, 9, 9, a, a, 0}}, {}, "1100"},
        {"text keys compare without regard to case",
         {{2, 1, 1, QStringLiteral("A"), QStringLiteral("B"), 0}, {2, 9, 9, a, a, 0}},
         {{kUser, 2, Verdict::Right, 0}},
         "1110"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExamBankFixture bank;
        bank.questions(1, 100, 1);
        bank.writer().addLearningObjective(x1);
        bank.writer().addLearningObjective(y1);
        for (const Objective& row : c.others)
            bank.writer().addLearningObjective(row);
        for (const Prior& p : c.progress)
            bank.progress(p.user, p.question, p.verdict, p.pass);

        const ProgressWriteResult result = endExam(bank, {{1, Answer::Right}});

        ASSERT_TRUE(result.saved) << result.error.toStdString();
        EXPECT_EQ(statuses(bank), QString::fromLatin1(c.expected));
    }
}

// Rows of one objective twice over for a question, and objectives shared by
// questions with several rows each: every row of a complete objective is set
// once, the others stay, in whichever order the exam met the questions.
TEST_F(ExamProgress, ObjectiveUpdateOnDuplicateAndSharedRows)
{
    const QString a = QStringLiteral("a");
    const std::vector<Objective> rows = {
        {1, 1, 1, a, a, 0}, {1, 1, 1, a, a, 0}, // question 1 holds X twice
        {1, 2, 2, a, a, 0},                     // and Y, shared with 2
        {2, 2, 2, a, a, 0}, {2, 1, 1, a, a, 0}, // question 2 holds Y and X
        {3, 2, 2, a, a, 0},                     // question 3 holds Y
        {2, 3, 3, a, a, 0},                     // Z: question 2 alone
    };
    struct Case {
        std::vector<Asked> asked;
        const char* expected;
    };
    const Case cases[] = {
        {{{1, Answer::Right}, {2, Answer::Right}}, "1100101"},
        {{{2, Answer::Right}, {1, Answer::Right}}, "1100101"},
        {{{2, Answer::Right}, {3, Answer::Right}, {1, Answer::Right}}, "1111111"},
        {{{3, Answer::Right}, {1, Answer::Right}, {2, Answer::Wrong}}, "0000000"},
        {{{1, Answer::Right}, {2, Answer::Right}, {3, Answer::Wrong}}, "1100101"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "asked " << c.asked.size() << ", " << c.expected);
        ExamBankFixture bank;
        bank.questions(1, 100, 1);
        for (const Objective& row : rows)
            bank.writer().addLearningObjective(row);

        const ProgressWriteResult result = endExam(bank, c.asked);

        ASSERT_TRUE(result.saved) << result.error.toStdString();
        EXPECT_EQ(statuses(bank), QString::fromLatin1(c.expected));
    }
}

TEST_F(ExamProgress, ObjectiveRowsVisitedAndSkipped)
{
    struct Case {
        const char* name;
        std::vector<Objective> rows;
        std::vector<Asked> asked;
        const char* expected;
        bool logged;
    };
    const QString a = QStringLiteral("a");
    const QString quote = QStringLiteral("'");
    const Case cases[] = {
        {"a wrong answer changes nothing", {{1, 1, 1, a, a, 0}}, {{1, Answer::Wrong}}, "0", false},
        {"a question with no row changes nothing", {{2, 1, 1, a, a, 0}}, {{1, Answer::Right}}, "0", false},
        {"rows of status 1 or Null are not visited; any other status is",
         {{1, 1, 1, a, a, 1}, {1, 1, 2, a, a, std::nullopt}, {1, 1, 3, a, a, 2}},
         {{1, Answer::Right}},
         "1-1",
         false},
        {"a key with a quote is a key like any other",
         {{1, 1, 1, quote, quote, 0}, {2, 1, 1, quote, quote, 0}, {2, 2, 2, a, a, 0}},
         {{1, Answer::Right}},
         "000",
         false},
        // A Null key: that row is skipped and logged; the others and the
        // later questions still count.
        {"a Null key is skipped",
         {{1, std::nullopt, 1, a, a, 0}, {1, 1, 1, std::nullopt, a, 0}, {1, 2, 2, a, a, 0}, {3, 1, 1, a, a, 0}},
         {{1, Answer::Right}, {3, Answer::Right}},
         "0011",
         true},
        // Set at once: question 1's rows are achieved before question 2 asks
        // whether question 1 is still open.
        {"later questions see earlier changes",
         {{1, 1, 1, a, a, 0}, {1, 2, 2, a, a, 0}, {2, 1, 1, a, a, 0}},
         {{1, Answer::Right}, {2, Answer::Right}},
         "111",
         false},
        {"in the other order the end is the same",
         {{1, 1, 1, a, a, 0}, {1, 2, 2, a, a, 0}, {2, 1, 1, a, a, 0}},
         {{2, Answer::Right}, {1, Answer::Right}},
         "111",
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        removeDebugLog();
        ExamBankFixture bank;
        bank.questions(1, 100, 1);
        for (const Objective& row : c.rows)
            bank.writer().addLearningObjective(row);

        const ProgressWriteResult result = endExam(bank, c.asked);

        ASSERT_TRUE(result.saved) << result.error.toStdString();
        EXPECT_EQ(statuses(bank), QString::fromLatin1(c.expected));
        EXPECT_EQ(count(bank, "userid = ?", {kUser}), int(c.asked.size()));
        const QStringList lines = debugLogLines();
        if (c.logged) {
            ASSERT_EQ(lines.size(), 2) << readDebugLog().toStdString();
            for (const QString& line : lines)
                EXPECT_TRUE(line.contains(QStringLiteral(" of question 1 has an empty key and was skipped : "
                                                         "UpdateLosStatus : frmZiduver : Date/Time :")))
                    << line.toStdString();
        } else {
            EXPECT_TRUE(lines.isEmpty()) << readDebugLog().toStdString();
        }
    }
}

// ---- failures ----

// A bank whose exam closes the pass: 16 of 20 right before, the exam adds
// three right answers, turns a wrong row right and answers one wrongly.
void closingBank(ExamBankFixture& bank)
{
    bank.questions(1, 20, 1);
    db::Transaction transaction(bank.conn());
    for (int code = 1; code <= 16; ++code)
        bank.progress(kUser, code, Verdict::Right);
    bank.progress(kUser, 17, Verdict::Wrong).progress(kOtherUser, 1, Verdict::Wrong);
    for (int code = 1; code <= 20; ++code)
        bank.writer().addLearningObjective({code, code % 3, 1, QStringLiteral("a"), QStringLiteral("b"), code % 2});
    transaction.commit();
}

const std::vector<Asked> kClosingExam = {
    {17, Answer::Right}, {18, Answer::Right}, {19, Answer::Right}, {20, Answer::Wrong}, {1, Answer::Right}};

TEST_F(ExamProgress, AFailureAnywhereInTheWriteLeavesTheDatabaseUnchanged)
{
    using Write = FailingWrites::Write;
    using Raise = FailingWrites::Raise;
    struct Case {
        const char* name;
        const char* table;
        int letThrough;
        Write write;
        Raise raise;
    };
    const Case cases[] = {
        {"the second new row", "Qe_Progress", 1, Write::Insert, Raise::Abort},
        {"the second new row, the transaction rolled back", "Qe_Progress", 1, Write::Insert, Raise::Rollback},
        {"the changed row", "Qe_Progress", 0, Write::Update, Raise::Abort},
        {"half way through renumbering the pass", "Qe_Progress", 10, Write::Update, Raise::Abort},
        {"an objective achieved", "Qe_LOS", 0, Write::Update, Raise::Abort},
        {"half way through reopening the objectives", "Qe_LOS", 6, Write::Update, Raise::Rollback},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        removeDebugLog();
        ExamBankFixture bank;
        closingBank(bank);
        const QString before = progressAndObjectives(bank.conn());
        ProgressWriteResult result;
        {
            const FailingWrites seam(bank.path(), QString::fromLatin1(c.table), c.letThrough, c.write, c.raise);
            result = endExam(bank, kClosingExam);
        }
        EXPECT_FALSE(result.saved);
        EXPECT_FALSE(result.passClosed);
        EXPECT_EQ(result.error, FailingWrites::message());
        EXPECT_EQ(progressAndObjectives(bank.conn()), before);
        const QStringList lines = debugLogLines();
        ASSERT_EQ(lines.size(), 1) << readDebugLog().toStdString();
        EXPECT_TRUE(lines.first().startsWith(FailingWrites::message()
                                             + QStringLiteral(" : UpdateProgress : frmZiduver : Date/Time :")))
            << lines.first().toStdString();

        // Nothing was left half done: the same end written again closes the pass.
        result = endExam(bank, kClosingExam);
        ASSERT_TRUE(result.saved) << result.error.toStdString();
        EXPECT_TRUE(result.passClosed);
        EXPECT_EQ(count(bank, "userid = ? AND pass = 1", {kUser}), 20);
    }
}

TEST_F(ExamProgress, InsideTheCallersTransactionAFailureUndoesOnlyTheWrite)
{
    ExamBankFixture bank;
    closingBank(bank);
    db::Connection exam = db::Connection::openFile(bank.path());
    const FailingWrites seam(bank.path(), QStringLiteral("Qe_LOS"), 0, FailingWrites::Write::Update);
    db::Transaction transaction(exam);
    exam.exec(QStringLiteral("DELETE FROM Qe_Progress WHERE userid = ?"), {kOtherUser});
    const QString before = progressAndObjectives(exam);

    const ProgressWriteResult result = UpdateProgress(exam, examList(kClosingExam), 5, account());

    EXPECT_FALSE(result.saved);
    EXPECT_TRUE(exam.inTransaction());
    EXPECT_EQ(progressAndObjectives(exam), before);
    transaction.commit();
    EXPECT_EQ(count(bank, "userid = ?", {kOtherUser}), 0);
}

// ---- a kill during the write ----

// A copy of a bank and a 500-answer exam that closes the pass: a child
// process writes it and is killed at a random moment. Every copy must be a
// sound database holding all of the exam's progress or none of it.
TEST_F(ExamProgress, AKillDuringTheWriteLeavesAllOrNothing)
{
    ExamBankFixture bank;
    bank.questions(1, 600, 1);
    std::vector<Asked> asked;
    {
        db::Transaction transaction(bank.conn());
        for (int code = 501; code <= 600; ++code)
            bank.progress(kUser, code, Verdict::Right);
        for (int code = 1; code <= 500; code += 5)
            bank.progress(kUser, code, Verdict::Wrong);
        for (int code = 1; code <= 600; ++code)
            bank.writer().addLearningObjective(
                {code, code % 40, code % 7, QStringLiteral("a"), QStringLiteral("b"), code % 9 == 0 ? 1 : 0});
        transaction.commit();
    }
    for (int code = 1; code <= 500; ++code)
        asked.push_back({code, code % 12 == 0 ? Answer::Wrong : Answer::Right});
    const QuestionList msflex = examList(asked);

    const QDir dir(home.path());
    const QString pristine = dir.filePath(QStringLiteral("pristine.qzr"));
    const QString copy = dir.filePath(QStringLiteral("copy.qzr"));
    ASSERT_TRUE(QFile::copy(bank.path(), pristine));
    const auto freshCopy = [&] {
        QFile::remove(copy);
        QFile::remove(copy + QStringLiteral("-journal"));
        return QFile::copy(pristine, copy);
    };
    const auto snapshot = [&] {
        db::Connection c = db::Connection::openFile(copy);
        return progressAndObjectives(c);
    };

    ASSERT_TRUE(freshCopy());
    const QString none = snapshot();
    QString all;
    {
        db::Connection exam = db::Connection::openFile(copy);
        const ProgressWriteResult result = UpdateProgress(exam, msflex, 500, account());
        ASSERT_TRUE(result.saved) << result.error.toStdString();
        ASSERT_TRUE(result.passClosed);
        all = snapshot();
    }
    ASSERT_NE(all, none);

    // The child opens its own connection, as the exam window does.
    const auto startWrite = [&] {
        const pid_t pid = fork();
        if (pid == 0) {
            int code = 2;
            try {
                db::Connection exam = db::Connection::openFile(copy);
                code = UpdateProgress(exam, msflex, 500, account()).saved ? 0 : 1;
            } catch (...) {
            }
            _exit(code);
        }
        return pid;
    };
    // How long a whole write takes here, so the kills spread over it.
    std::chrono::microseconds span{0};
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(freshCopy());
        const auto start = std::chrono::steady_clock::now();
        const pid_t pid = startWrite();
        ASSERT_GT(pid, 0);
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        span = std::max(
            span, std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start));
        ASSERT_EQ(snapshot(), all);
    }

    std::mt19937 random(20240613);
    std::uniform_int_distribution<long long> delay(0, span.count() * 11 / 10);
    int sawNone = 0;
    int sawAll = 0;
    int cutShort = 0; // killed inside the transaction: the journal was left behind
    for (int i = 0; i < 100; ++i) {
        SCOPED_TRACE(testing::Message() << "kill " << i);
        ASSERT_TRUE(freshCopy());
        const pid_t pid = startWrite();
        ASSERT_GT(pid, 0);
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        kill(pid, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        cutShort += QFile::exists(copy + QStringLiteral("-journal"));

        db::Connection c = db::Connection::openFile(copy);
        EXPECT_EQ(c.scalar(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
        const QString now = progressAndObjectives(c);
        EXPECT_TRUE(now == none || now == all);
        sawNone += now == none;
        sawAll += now == all;
    }
    std::printf("kills: %d left nothing (%d inside the transaction), %d left the whole exam (one write: %lld us)\n",
                sawNone, cutShort, sawAll, static_cast<long long>(span.count()));
}

} // namespace
