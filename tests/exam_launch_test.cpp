#include "exam/CategoryMap.h"
#include "exam/ClockRandomSource.h"
#include "exam/QuestionList.h"
#include "exam/QuestionSetBuilder.h"
#include "foundation/ConnectionString.h"
#include "foundation/ExamBank.h"
#include "foundation/SharedState.h"
#include "mainwindow/ExamLaunch.h"
#include "mainwindow/MainWindowLoad.h"
#include "mainwindow/MainWindowShared.h"
#include "mainwindow/ModeChoice.h"
#include "tests/support/DebugLogFile.h"
#include "tests/support/ExamBankFixture.h"
#include "tests/support/FailingWrites.h"
#include "tests/support/ScriptedRandomSource.h"
#include "tests/support/TempHome.h"

#include <QFile>
#include <algorithm>
#include <gtest/gtest.h>
#include <limits>
#include <optional>
#include <random>

namespace {

constexpr int kUser = 7;

using Verdict = ExamBankFixture::Verdict;

// The questions the exam window draws for a mode; 0 when the build fails.
int drawn(ExamMode mode, ExamBankFixture& bank, int wanted)
{
    ClockRandomSource random;
    QuestionList msflex;
    CategoryMap cboCategory;
    QuestionSetBuilder builder(bank.conn(), random);
    const QuestionSetResult result =
        builder.build(mode, QuestionSetBuilder::categoryRows(bank.conn(), mode), kUser, wanted, msflex, cboCategory);
    return result.ok ? result.drawn : 0;
}

// The main window's practice count is the pool the exam window draws from: a
// drill that asks for more than there is gets exactly that many questions,
// whatever is ticked. A chapter row keyed 0, questions in a chapter that does
// not exist and unticked categories must not make the two disagree.
TEST(ExamLaunch, PracticeCountIsThePoolThePracticeDrillDraws)
{
    for (unsigned seed = 1; seed <= 30; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 rng(seed);
        const auto chance = [&](int percent) { return int(rng() % 100) < percent; };
        ExamBankFixture bank;
        bank.randomPracticeBank(rng);
        for (int code = 1; code <= 60; ++code)
            if (chance(40))
                bank.progress(kUser, code, chance(50) ? Verdict::Wrong : Verdict::Right);
        EXPECT_EQ(CountSelectedQuestions(bank.conn()), drawn(ExamMode::Practice, bank, 1000));
    }
}

// The pretest total the main window offers is what the exam window draws;
// a bank where some category holds fewer questions than the share, or none,
// is refused before the exam window opens.
TEST(ExamLaunch, PretestTotalIsWhatThePretestDrawsAndShortBanksAreRefused)
{
    const QString noCategory =
        QStringLiteral("No Category or chapters are available in exam database \r\n Can't Proceed!");
    const QString notEnough = QStringLiteral("Can't take this test. Not enough questions in all categories!");
    struct Case {
        const char* name;
        std::vector<int> questionsPerCategory;
        int total;
        QString refusal;
    };
    const Case cases[] = {
        {"one category", {31}, 31, {}},
        {"three categories of 11", {11, 12, 20}, 33, {}},
        {"seven categories of 5", {5, 5, 5, 5, 5, 5, 9}, 35, {}},
        {"no category", {}, 0, noCategory},
        {"one category short by one", {11, 10, 11}, 33, notEnough},
        {"one category without questions", {11, 0, 11}, 33, notEnough},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExamBankFixture bank;
        int code = 1;
        for (size_t i = 0; i < c.questionsPerCategory.size(); ++i) {
            const int cat = int(i) + 1;
            bank.category(cat).questions(code, c.questionsPerCategory[i], cat);
            code += c.questionsPerCategory[i];
        }
        EXPECT_EQ(pretestTotal(bank.conn()), c.total);
        EXPECT_EQ(notEnoughQuestions(bank.conn()), c.refusal);
        if (c.refusal.isEmpty()) {
            EXPECT_EQ(drawn(ExamMode::Test, bank, 0), c.total);
        }
    }
}

// The pretest's check reads at most the share of each category, and finds
// short exactly the categories that counting them all finds short: a code
// stored as NULL counts for none, a category code that no category row
// holds for no row.
TEST(ExamLaunch, ShortCategoriesAreThoseThatCountingEveryQuestionFinds)
{
    for (unsigned seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 rng(seed);
        ExamBankFixture bank;
        bank.conn().execScript(
            QStringLiteral("ALTER TABLE Qe_QuestionsHead RENAME TO Keyed; "
                           "CREATE TABLE Qe_QuestionsHead AS SELECT * FROM Keyed WHERE 0; DROP TABLE Keyed"));
        if (seed % 2 == 0)
            bank.conn().exec(
                QStringLiteral("CREATE INDEX Qe_QuestionsHead_Pool ON Qe_QuestionsHead (Qq_CatCode, Qq_QuestCode)"));
        for (int cat = 1; cat <= 5; ++cat)
            bank.category(cat);
        for (int i = 0; i < 60; ++i)
            bank.conn().exec(QStringLiteral("INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode) VALUES (?, ?)"),
                             {rng() % 7 == 0 ? QVariant() : QVariant(int(rng() % 30)), int(rng() % 7)});
        ExamBank exam(bank.conn());
        const std::vector<int> counts = exam.questionCountsOfEveryCategory();
        for (int share = 1; share <= 20; ++share)
            EXPECT_EQ(exam.categoriesHoldingFewer(share),
                      std::count_if(counts.begin(), counts.end(), [share](int n) { return n < share; }))
                << share;
    }
}

TEST(ExamLaunch, SimulatedLimitsComeFromTheExamRow)
{
    ExamBankFixture bank;
    const ModeLimits given{5, 6, 7};
    const ModeLimits kept = readSimulatedLimits(bank.conn(), given);
    EXPECT_EQ((std::vector<int>{kept.maxTime, kept.maxPassScore, kept.maxQuestions}), (std::vector<int>{5, 6, 7}))
        << "no exam row keeps the limits given";

    ExamBankWriter::ExamRow exam;
    exam.code = QStringLiteral("EX1");
    exam.simulatedMinutes = 90;
    exam.simulatedPassScore = 70;
    bank.writer().addExam(exam);
    const ModeLimits read = readSimulatedLimits(bank.conn(), given);
    EXPECT_EQ((std::vector<int>{read.maxTime, read.maxPassScore, read.maxQuestions}), (std::vector<int>{90, 70, 0}))
        << "a NULL limit reads 0";
}

// ---- the start command ----

// A bank of three categories (11, 12 and 20 questions of their own; the
// first two with a chapter of 5 more), an exam row with the simulated and
// adaptive limits, and the main window's choice loaded from it for ALICE.
class StartCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetSharedState();
        resetMainWindowShared();
        gLogin.gAppName = QStringLiteral("Ziduver");
        gLogin.gLoginId = QStringLiteral("ALICE");
        gLogin.gUserCode = QStringLiteral("40000");
        gLogin.gExamDesc = QStringLiteral("Exam One");
        gLogin.gExamDbPath = bank.path();
        gLogin.gExamConnStr = bank.connectionString();
        gStartup.gDbPassword = QStringLiteral("pw");
        gStartup.gSysConnStr = QStringLiteral("DBQ=sys.qzr;");
        gMain.gFontFace = QStringLiteral("DejaVu Sans");
        gMain.gFontSize = 10.0;
        ExamBankWriter::ExamRow row;
        row.code = QStringLiteral("EX1");
        row.simulatedMinutes = 90;
        row.simulatedPassScore = 70;
        row.simulatedQuestions = 40;
        row.adaptiveMinutes = 45;
        row.adaptivePassScore = 65;
        row.adaptiveQuestions = 25;
        bank.writer().addExam(row);
        bank.category(1).chapter(11, 1).category(2).chapter(21, 2).category(3);
        bank.questions(1, 11, 1).questions(12, 5, 1, 1, 11);
        bank.questions(17, 12, 2).questions(29, 5, 2, 1, 21);
        bank.questions(34, 20, 3);
        reload();
    }
    void TearDown() override
    {
        resetSharedState();
        resetMainWindowShared();
    }

    void reload() { choice.load(gLogin.gExamDesc, readMainWindowLoad(bank.conn()), false); }

    StartOutcome start()
    {
        ScriptedRandomSource random({0.9, 0.6});
        return startCommand(choice, random);
    }
    QString refusal() { return start().refusal; }

    // The ticks stored in the exam database, as "code:0/1" in code order.
    QString storedTicks(const char* table, const char* code)
    {
        QStringList ticks;
        for (const db::Row& row : bank.conn().query(QStringLiteral("SELECT %1, Qc_Selected FROM %2 ORDER BY 1")
                                                        .arg(QLatin1String(code), QLatin1String(table))))
            ticks << row.text(0) + QLatin1Char(':') + row.text(1);
        return ticks.join(QLatin1Char(' '));
    }
    QString storedPool()
    {
        return storedTicks("Qe_Category", "Qc_catcode") + QStringLiteral(" | ")
            + storedTicks("Qe_Chapters", "Qc_ChapterCode");
    }

    TempHome home;
    ExamBankFixture bank;
    ModeChoice choice;
};

TEST_F(StartCommand, FillsTheLaunchRecordOfEachMode)
{
    const QString untouched = storedPool();
    // The pretest, as loaded: 3 x 11 questions, a minute, the simulated pass score.
    const StartOutcome pretest = start();
    ASSERT_TRUE(pretest.started()) << pretest.refusal.toStdString();
    const ExamParameters& t = *pretest.record;
    EXPECT_EQ(t.gExamMode, QStringLiteral("TEST"));
    EXPECT_EQ((std::vector<int>{t.gQuizQuestionCount, t.gQuizMinutes, t.gQuizHours, t.gQuizPassScore}),
              (std::vector<int>{33, 1, 0, 70}));
    EXPECT_EQ(t.gQuizUserName, QStringLiteral("ALICE"));
    EXPECT_EQ(t.gQuizUserCode, 40000) << "codes are 32-bit";
    EXPECT_EQ(t.gQuizConnStr, bank.connectionString());
    EXPECT_EQ(t.gQuizDbPassword, QStringLiteral("pw"));
    EXPECT_EQ(t.gQuizSysConnStr, QStringLiteral("DBQ=sys.qzr;"));
    EXPECT_EQ(t.gQuizExamDbPath, bank.path());
    EXPECT_EQ(t.gQuizExamName, QStringLiteral("Exam One"));
    EXPECT_EQ(t.gQuizFontName, QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(t.gQuizFontSize, 12);
    EXPECT_TRUE(t.gQuizQuestionsCounted);
    EXPECT_EQ(t.gQuizRandomStart, 2) << "the second of two draws";
    EXPECT_EQ(t.gQuizAppPath, home.path());
    EXPECT_EQ(t.gAppTitle, QStringLiteral("Ziduver"));
    EXPECT_FALSE(t.gQuizCheatKeyEnabled);

    // The simulated exam: its own count and minutes.
    choice.Image2_Click(1);
    const StartOutcome simulated = start();
    ASSERT_TRUE(simulated.started()) << simulated.refusal.toStdString();
    EXPECT_EQ(simulated.record->gExamMode, QStringLiteral("SIMULATED"));
    EXPECT_EQ((std::vector<int>{simulated.record->gQuizQuestionCount, simulated.record->gQuizMinutes,
                                simulated.record->gQuizPassScore}),
              (std::vector<int>{40, 90, 70}));
    EXPECT_EQ(storedPool(), untouched) << "only practice writes the pool";

    // Practice over category 2 and its chapter: the chosen count, a minute.
    choice.Image3_Click(1);
    const int category2 = choice.tree.find(QStringLiteral("ID2"));
    choice.tree.setChecked(category2, true);
    choice.tvwCategory_NodeCheck(category2);
    ASSERT_EQ(choice.lstQues.selectedNumber(), 17);
    choice.lstQues.selectNumber(15);
    const StartOutcome practice = start();
    ASSERT_TRUE(practice.started()) << practice.refusal.toStdString();
    EXPECT_EQ(practice.record->gExamMode, QStringLiteral("PRACTICE"));
    EXPECT_EQ((std::vector<int>{practice.record->gQuizQuestionCount, practice.record->gQuizMinutes}),
              (std::vector<int>{15, 1}));
    EXPECT_EQ(storedPool(), QStringLiteral("1:0 2:1 3:0 | 11:0 21:1"));
    EXPECT_EQ(CountSelectedQuestions(bank.conn()), 17);
}

TEST_F(StartCommand, RefusesInTheOrderOfItsChecks)
{
    EXPECT_EQ(refusal(), QString()) << "the loaded pretest starts";

    choice.lstQues.selected = -1;
    EXPECT_EQ(refusal(), QStringLiteral("No questions selected. Can't Proceed"));
    reload();

    choice.pretestChosen = false;
    EXPECT_EQ(refusal(), QStringLiteral("Select any of the exam type and click to confirm selection"));
    reload();

    gStartup.gDebug = 1;
    removeDebugLog();
    gLogin.gLoginId = QStringLiteral("ADMIN");
    EXPECT_EQ(refusal(), QStringLiteral("ADMIN user cannot write exam"));
    ASSERT_EQ(debugLogLines().size(), 1);
    EXPECT_TRUE(debugLogLines()[0].startsWith(QStringLiteral("Admin user can't write exam:Command1_Click:frmMain")));
    gLogin.gLoginId = QStringLiteral("ALICE");
    gStartup.gDebug = 0;

    choice.tree.setChecked(CategoryTree::kRoot, false);
    EXPECT_EQ(refusal(), QStringLiteral("Not enough data to proceed.\r\nCategories not Selected for Exam."));
    reload();

    // Adaptive testing never starts on the values of an earlier launch.
    choice.chooseOption(ModeChoice::Adaptive);
    ASSERT_TRUE(choice.pretestChosen) << "the option leaves the picture's flag";
    EXPECT_EQ(refusal(),
              QStringLiteral("Adaptive Testing cannot be started. Choose Pretest, Practice Drills or "
                             "Simulated Exam."));
    reload();

    choice.gMaxQuestions = 0;
    EXPECT_EQ(refusal(), QStringLiteral("Select atleast one question"));
    reload();

    // The pretest's check: category 3 is given too few questions.
    bank.conn().exec(QStringLiteral("UPDATE Qe_QuestionsHead SET Qq_CatCode = 1 WHERE Qq_QuestCode > 34"));
    EXPECT_EQ(refusal(), QStringLiteral("Can't take this test. Not enough questions in all categories!"));
}

TEST_F(StartCommand, RefusesASimulatedExamWithoutOneOfItsLimits)
{
    const struct {
        const char* column;
        const char* value;
        const char* limit;
    } cases[] = {
        {"Qe_Simulated_Time", "NULL", "time limit"},
        {"Qe_Simulated_Time", "0", "time limit"},
        {"Qe_Simulated_PassScore", "NULL", "pass score"},
        {"Qe_Simulated_NoofQuest", "NULL", "number of questions"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.column) + "=" + c.value);
        bank.conn().exec(QStringLiteral("UPDATE Qe_Exam SET Qe_Simulated_Time = 90, Qe_Simulated_PassScore = 70, "
                                        "Qe_Simulated_NoofQuest = 40"));
        bank.conn().exec(
            QStringLiteral("UPDATE Qe_Exam SET %1 = %2").arg(QLatin1String(c.column), QLatin1String(c.value)));
        reload();
        choice.Image2_Click(1);
        EXPECT_EQ(refusal(),
                  QStringLiteral("The simulated exam cannot start: the exam database sets no %1.")
                      .arg(QLatin1String(c.limit)));
    }
}

// Limits no exam can keep are refused at Start, naming the setting: a pass
// score outside 0 to 100 in every mode, a negative time limit or number of
// questions in the simulated exam.
TEST_F(StartCommand, RefusesLimitsNoExamCanKeep)
{
    const struct {
        const char* assignment;
        int picture; // 1 simulated, 3 pretest
        const char* refusal;
    } cases[] = {
        {"Qe_Simulated_PassScore = 500", 1,
         "The exam cannot start: the exam database's pass score (500%) is outside 0 to 100."},
        {"Qe_Simulated_PassScore = 500", 3,
         "The exam cannot start: the exam database's pass score (500%) is outside 0 to 100."},
        {"Qe_Simulated_PassScore = 101", 3,
         "The exam cannot start: the exam database's pass score (101%) is outside 0 to 100."},
        {"Qe_Simulated_PassScore = -5", 1,
         "The exam cannot start: the exam database's pass score (-5%) is outside 0 to 100."},
        {"Qe_Simulated_Time = -5", 1,
         "The simulated exam cannot start: the exam database's time limit (-5 minutes) is negative."},
        {"Qe_Simulated_NoofQuest = -3", 1,
         "The simulated exam cannot start: the exam database's number of questions (-3) is negative."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.assignment);
        bank.conn().exec(QStringLiteral("UPDATE Qe_Exam SET Qe_Simulated_Time = 90, Qe_Simulated_PassScore = 70, "
                                        "Qe_Simulated_NoofQuest = 40"));
        bank.conn().exec(QStringLiteral("UPDATE Qe_Exam SET ") + QLatin1String(c.assignment));
        reload();
        if (c.picture == 1)
            choice.Image2_Click(1);
        else
            choice.Image3_Click(3);
        EXPECT_EQ(refusal(), QLatin1String(c.refusal));
    }
    // The bounds themselves are sound.
    bank.conn().exec(QStringLiteral("UPDATE Qe_Exam SET Qe_Simulated_Time = 90, Qe_Simulated_PassScore = 100, "
                                    "Qe_Simulated_NoofQuest = 40"));
    reload();
    choice.Image2_Click(1);
    const StartOutcome outcome = start();
    EXPECT_TRUE(outcome.started()) << outcome.refusal.toStdString();
}

// A limit wider than 32 bits is read as the number it is (the largest the
// program holds, never its low bits) and the start says why it refuses.
TEST_F(StartCommand, AHugeTimeLimitIsNeverReadWrappedAndIsRefused)
{
    bank.conn().exec(QStringLiteral("UPDATE Qe_Exam SET Qe_Simulated_Time = 99999999999"));
    EXPECT_EQ(readSimulatedLimits(bank.conn()).maxTime, std::numeric_limits<int>::max());
    reload();
    choice.Image2_Click(1);
    EXPECT_EQ(refusal(),
              QStringLiteral("The simulated exam cannot start: the exam database's time limit is longer "
                             "than the program can count (2147483646 minutes at most)."));

    bank.conn().exec(QStringLiteral("UPDATE Qe_Exam SET Qe_Simulated_Time = 2147483646"));
    reload();
    choice.Image2_Click(1);
    const StartOutcome outcome = start();
    ASSERT_TRUE(outcome.started()) << outcome.refusal.toStdString();
    EXPECT_EQ(outcome.record->gQuizMinutes, 2147483646);
}

// An exam End Exam could not save is refused before anything is written and
// before the exam window opens, in every mode, with the file and the reason.
TEST_F(StartCommand, AnExamThatCouldNotBeSavedNeverStarts)
{
    struct Case {
        const char* name;
        const char* change;
        const char* named;
    };
    const Case cases[] = {
        {"no progress table", "DROP TABLE Qe_Progress", "no such table: Qe_Progress"},
        {"no learning-objective table", "DROP TABLE Qe_LOS", "no such table: Qe_LOS"},
        {"progress without its pass column",
         "DROP INDEX Qe_Progress_UserPass; DROP INDEX Qe_Progress_Right; ALTER TABLE Qe_Progress DROP COLUMN pass",
         "no such column: pass"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // A copy of the bank with the change: the launch opens the file the
        // login chose.
        const QString broken = home.file(QStringLiteral("broken.qzr"));
        QFile::remove(broken);
        ASSERT_TRUE(QFile::copy(bank.path(), broken));
        db::Connection copy = db::Connection::openFile(broken);
        copy.execScript(QLatin1String(c.change));
        const QString pool = QStringLiteral("%1 | %2").arg(
            copy.query(QStringLiteral("SELECT group_concat(Qc_Selected) FROM Qe_Category")).getString(),
            copy.query(QStringLiteral("SELECT group_concat(Qc_Selected) FROM Qe_Chapters")).getString());
        gLogin.gExamDbPath = broken;
        gLogin.gExamConnStr = connectionString(broken, gStartup.gDbPassword);
        for (const int mode : {0, 1, 2}) {
            SCOPED_TRACE(mode);
            if (mode == 0) {
                reload();
            } else if (mode == 1) {
                choice.Image2_Click(1);
            } else {
                choice.Image3_Click(1);
                const int category2 = choice.tree.find(QStringLiteral("ID2"));
                choice.tree.setChecked(category2, true);
                choice.tvwCategory_NodeCheck(category2);
            }
            const StartOutcome outcome = start();
            EXPECT_FALSE(outcome.started());
            EXPECT_TRUE(outcome.refusal.startsWith(
                QStringLiteral("This exam cannot start, because its results could not be saved.\r\nThe exam database ")
                + broken))
                << outcome.refusal.toStdString();
            EXPECT_TRUE(outcome.refusal.contains(QLatin1String(c.named))) << outcome.refusal.toStdString();
            EXPECT_EQ(QStringLiteral("%1 | %2").arg(
                          copy.query(QStringLiteral("SELECT group_concat(Qc_Selected) FROM Qe_Category")).getString(),
                          copy.query(QStringLiteral("SELECT group_concat(Qc_Selected) FROM Qe_Chapters")).getString()),
                      pool)
                << "nothing is saved for an exam that does not start";
        }
    }
    gLogin.gExamDbPath = bank.path();
    gLogin.gExamConnStr = bank.connectionString();
    EXPECT_TRUE(start().started());
}

TEST_F(StartCommand, HotKeyIsCopiedOnlyWhenItIsANumber)
{
    const struct {
        bool cheat;
        const char* hotKey;
        bool enabled;
        int key;
    } cases[] = {{true, "112", true, 112},
                 {true, " 65 ", true, 65},
                 {true, "", false, 0},
                 {true, "F1", false, 0},
                 {false, "112", false, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hotKey);
        gAdmin.gCheatKeyEnabled = c.cheat;
        gAdmin.gHotKey = QLatin1String(c.hotKey);
        const StartOutcome outcome = start();
        ASSERT_TRUE(outcome.started()) << outcome.refusal.toStdString();
        EXPECT_EQ(outcome.record->gQuizCheatKeyEnabled, c.enabled);
        EXPECT_EQ(outcome.record->gQuizHotKey, c.key);
    }
}

TEST_F(StartCommand, PracticeCountAboveThePoolIsRefusedWithTheTicksSaved)
{
    choice.Image3_Click(1);
    const int chapter = choice.tree.find(QStringLiteral("11ID"));
    choice.tree.setChecked(chapter, true);
    choice.tvwCategory_NodeCheck(chapter);
    ASSERT_EQ(choice.gMaxQuestions, 16) << "the chapter and its category's own questions";
    // A count the list may still hold from before.
    choice.lstQues.items = {17};
    choice.lstQues.selected = 0;
    EXPECT_EQ(refusal(), QStringLiteral("Number of questions cannot exceed 16"));
    EXPECT_EQ(storedPool(), QStringLiteral("1:1 2:0 3:0 | 11:1 21:0"));
}

TEST_F(StartCommand, AFailedSaveSavesNothingAndStartsNothing)
{
    bank.conn().exec(QStringLiteral("UPDATE Qe_Category SET Qc_Selected = 1"));
    bank.conn().exec(QStringLiteral("UPDATE Qe_Chapters SET Qc_Selected = 1"));
    const QString before = storedPool();
    choice.Image3_Click(1);
    const int chapter = choice.tree.find(QStringLiteral("21ID"));
    choice.tree.setChecked(chapter, true);
    choice.tvwCategory_NodeCheck(chapter);
    for (const FailingWrites::Raise raise : {FailingWrites::Raise::Abort, FailingWrites::Raise::Rollback}) {
        // The categories are written, then the second chapter fails.
        const FailingWrites seam(bank.path(), QStringLiteral("Qe_Chapters"), 1, FailingWrites::Write::Update, raise);
        const StartOutcome outcome = start();
        EXPECT_FALSE(outcome.started());
        EXPECT_TRUE(outcome.refusal.startsWith(QStringLiteral("The chosen categories and chapters could not be saved")))
            << outcome.refusal.toStdString();
        EXPECT_TRUE(outcome.refusal.contains(FailingWrites::message()));
        EXPECT_EQ(storedPool(), before);
    }
    const StartOutcome outcome = start();
    ASSERT_TRUE(outcome.started()) << outcome.refusal.toStdString();
    EXPECT_EQ(storedPool(), QStringLiteral("1:0 2:1 3:0 | 11:0 21:1"));
}

} // namespace
