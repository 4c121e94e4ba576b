#include "exam/CategoryMap.h"
#include "exam/ClockRandomSource.h"
#include "exam/QuestionList.h"
#include "exam/QuestionSetBuilder.h"
#include "mainwindow/ExamLaunch.h"
#include "tests/support/ExamBankFixture.h"

#include <gtest/gtest.h>
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

} // namespace
