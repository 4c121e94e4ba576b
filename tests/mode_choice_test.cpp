#include "mainwindow/MainWindowLoad.h"
#include "mainwindow/ModeChoice.h"
#include "platform/db/Connection.h"
#include "tests/support/ExamBankFixture.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <optional>
#include <vector>

namespace {

using Limits = std::optional<ExamBank::SimulatedLimits>;

ExamBankWriter::ExamRow examRow()
{
    ExamBankWriter::ExamRow row;
    row.code = QStringLiteral("EX1");
    row.description = QStringLiteral("Exam One");
    row.simulatedMinutes = 60;
    row.simulatedPassScore = 70;
    row.simulatedQuestions = 40;
    row.adaptiveMinutes = 45;
    row.adaptivePassScore = 65;
    row.adaptiveQuestions = 25;
    row.productId = QStringLiteral("ZDV-1");
    row.version = QStringLiteral("2.5");
    return row;
}

// `perCategory[i]` questions directly under category i + 1, each category
// with one chapter (code 100 + i + 1) holding `inChapter` more.
void fillBank(ExamBankFixture& bank, const std::vector<int>& perCategory, int inChapter = 0)
{
    int code = 1;
    for (size_t i = 0; i < perCategory.size(); ++i) {
        const int cat = int(i) + 1;
        bank.category(cat).chapter(100 + cat, cat);
        bank.questions(code, perCategory[i], cat);
        code += perCategory[i];
        bank.questions(code, inChapter, cat, 1, 100 + cat);
        code += inChapter;
    }
}

ModeChoice loaded(ExamBankFixture& bank, bool administrator = false)
{
    ModeChoice choice;
    choice.load(QStringLiteral("Exam One"), readMainWindowLoad(bank.conn()), administrator);
    return choice;
}

std::vector<int> descending(int max)
{
    std::vector<int> items;
    for (int n = max; n >= 1; --n)
        items.push_back(n);
    return items;
}

TEST(MainWindowLoad, ReadsLimitsCountsTreeAndLearningObjectives)
{
    ExamBankFixture bank;
    bank.writer().addExam(examRow());
    fillBank(bank, {3, 0}, 2);
    bank.writer().addLearningObjective({1, 1, 1, QStringLiteral("a"), QStringLiteral("b"), 0});

    MainWindowLoad load = readMainWindowLoad(bank.conn());
    ASSERT_TRUE(load.simulated && load.adaptive && load.product);
    EXPECT_EQ(load.simulated->minutes, 60);
    EXPECT_EQ(load.adaptive->questions, 25);
    EXPECT_EQ(load.product->productId, QStringLiteral("ZDV-1"));
    EXPECT_EQ(load.product->version, QStringLiteral("2.5"));
    EXPECT_EQ(load.questionTotal, 7);
    EXPECT_EQ(load.categoryCount, 2);
    ASSERT_EQ(load.categories.size(), 2u);
    EXPECT_EQ(load.categories[1].chapters.size(), 1u) << "an empty category keeps its chapter";
    EXPECT_EQ(load.learningObjectives, 1);

    bank.conn().exec(QStringLiteral("DROP TABLE Qe_LOS"));
    load = readMainWindowLoad(bank.conn());
    EXPECT_EQ(load.learningObjectives, 0) << "no table, no learning objectives";
}

// A read that fails (here a lock another program holds) is put to the user
// with the file named; a Yes reads again, and the read that succeeds is the
// load. A No gives up with nothing.
TEST(MainWindowLoad, AFailedReadNamesTheFileAndIsTriedAgainWhileAsked)
{
    TempHome home; // the failure's log line goes to its debug.log
    ExamBankFixture bank;
    bank.writer().addExam(examRow());
    fillBank(bank, {3, 0}, 2);
    db::Connection holder = db::Connection::openFile(bank.path());
    holder.execScript(QStringLiteral("BEGIN EXCLUSIVE"));

    QStringList asked;
    const std::optional<MainWindowLoad> givenUp = readMainWindowLoad(bank.connectionString(), [&](const QString& text) {
        asked << text;
        return false;
    });
    EXPECT_FALSE(givenUp);
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked[0],
              QStringLiteral("The exam could not be loaded.\r\nThe exam database ") + bank.path()
                  + QStringLiteral(" is in use by another program.\r\n\r\nTry again?"));

    asked.clear();
    const std::optional<MainWindowLoad> loaded = readMainWindowLoad(bank.connectionString(), [&](const QString& text) {
        asked << text;
        holder.execScript(QStringLiteral("ROLLBACK")); // the other program lets go
        return true;
    });
    EXPECT_EQ(asked.size(), 1);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->questionTotal, 7);
    EXPECT_EQ(loaded->categoryCount, 2);
}

TEST(ModeChoice, AfterLoadThePretestIsInForce)
{
    ExamBankFixture bank;
    bank.writer().addExam(examRow());
    fillBank(bank, {12, 11, 15});
    const ModeChoice choice = loaded(bank);
    EXPECT_EQ(choice.gExamModeCode, QStringLiteral("T"));
    EXPECT_TRUE(choice.pretestChosen);
    EXPECT_FALSE(choice.practiceChosen || choice.simulatedChosen);
    EXPECT_TRUE(choice.gQuestionsCounted);
    EXPECT_FALSE(choice.treeEnabled);
    EXPECT_TRUE(choice.timeFrameVisible);
    EXPECT_EQ(choice.timeAllowed, QString()) << "the pretest shows no time";
    EXPECT_FALSE(choice.countListEnabled);
    // Three categories: 3 x CInt(30 / 3 + 1) = 33, offered 1..33 with 33 chosen.
    EXPECT_EQ(choice.gMaxQuestions, 33);
    ASSERT_EQ(choice.lstQues.items.size(), 33u);
    EXPECT_EQ(choice.lstQues.items.front(), 1);
    EXPECT_EQ(choice.lstQues.selectedNumber(), 33);
    EXPECT_EQ(choice.gMaxPassScore, 70) << "the simulated pass score";
    EXPECT_EQ(choice.gMaxTime, 60);
    EXPECT_FALSE(choice.gShowResultsAfterWrong);
    EXPECT_EQ(choice.description, ModeDescription::Pretest);
    for (const CategoryTree::Node& node : choice.tree.nodes())
        EXPECT_TRUE(node.checked);
}

TEST(ModeChoice, PretestTotalPerNumberOfCategories)
{
    const struct {
        int categories;
        int total;
    } cases[] = {{0, 0}, {1, 31}, {3, 33}, {4, 32}, {7, 35}, {30, 60}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.categories);
        EXPECT_EQ(pretestTotalFor(c.categories), c.total);
    }
    ExamBankFixture bank;
    const ModeChoice noCategory = loaded(bank);
    EXPECT_EQ(noCategory.gMaxQuestions, 0);
    EXPECT_TRUE(noCategory.lstQues.items.empty());
    EXPECT_FALSE(noCategory.lstQues.selectedNumber());
    EXPECT_EQ(noCategory.tree.size(), 1);
}

TEST(ModeChoice, QuestionTotalSelectsThirtyOrTheMaximum)
{
    for (const int total : {0, 1, 29, 30, 31, 120}) {
        SCOPED_TRACE(total);
        ExamBankFixture bank;
        fillBank(bank, {total});
        ModeChoice choice = loaded(bank);
        choice.SetMaxQuestion();
        EXPECT_EQ(choice.gMaxQuestions, total);
        EXPECT_EQ(choice.lstQues.items, descending(total));
        EXPECT_EQ(choice.lstQues.selectedNumber(),
                  total == 0 ? std::nullopt : std::optional<int>(total > 29 ? 30 : total));
    }
}

TEST(ModeChoice, SimulatedAndAdaptiveTakeTheirLimits)
{
    ExamBankFixture bank;
    bank.writer().addExam(examRow());
    fillBank(bank, {50});
    ModeChoice choice = loaded(bank);
    choice.Image2_Click(1);
    EXPECT_EQ(choice.gExamModeCode, QStringLiteral("S"));
    EXPECT_TRUE(choice.simulatedChosen);
    EXPECT_FALSE(choice.pretestChosen);
    EXPECT_EQ(choice.option, ModeChoice::Simulated);
    EXPECT_EQ(choice.timeAllowed, QStringLiteral("60"));
    EXPECT_EQ((std::vector<int>{choice.gMaxTime, choice.gMaxPassScore, choice.gMaxQuestions}),
              (std::vector<int>{60, 70, 40}));
    EXPECT_EQ(choice.lstQues.items, descending(40));
    EXPECT_EQ(choice.lstQues.selectedNumber(), 40);
    EXPECT_FALSE(choice.treeEnabled);
    EXPECT_EQ(choice.description, ModeDescription::Simulated);

    // Option1 after the simulated picture: the adaptive limits, the
    // simulated flag kept.
    choice.chooseOption(ModeChoice::Adaptive);
    EXPECT_EQ(choice.gExamModeCode, QStringLiteral("A"));
    EXPECT_TRUE(choice.simulatedChosen);
    EXPECT_EQ(choice.timeAllowed, QStringLiteral("45"));
    EXPECT_EQ((std::vector<int>{choice.gMaxTime, choice.gMaxPassScore, choice.gMaxQuestions}),
              (std::vector<int>{45, 65, 25}));
    // Each caption selects its own option.
    choice.Label10_Click();
    EXPECT_EQ(choice.option, ModeChoice::Practice);
    EXPECT_EQ(choice.gExamModeCode, QStringLiteral("P"));
    EXPECT_TRUE(choice.treeEnabled);
    EXPECT_TRUE(choice.gShowResultsAfterWrong);
    EXPECT_FALSE(choice.timeFrameVisible);
    choice.Label7_Click();
    EXPECT_EQ(choice.option, ModeChoice::Adaptive);
    EXPECT_EQ(choice.gExamModeCode, QStringLiteral("A"));
    EXPECT_EQ(choice.timeAllowed, QStringLiteral("45"));
    choice.Label9_Click();
    EXPECT_EQ(choice.option, ModeChoice::Simulated);
    EXPECT_EQ(choice.gExamModeCode, QStringLiteral("S"));
}

TEST(CountList, AHugeCountListsItselfAndTheSmallCountsADrillTakes)
{
    const int bound = CountList::kMostEntries;
    struct Case {
        int max;
        bool descending;
    };
    for (const Case c : {Case{2000000000, true}, Case{2000000000, false}, Case{300000, true}, Case{bound + 1, false},
                         Case{bound, true}, Case{bound, false}}) {
        SCOPED_TRACE(std::to_string(c.max) + (c.descending ? " descending" : " ascending"));
        CountList list;
        if (c.descending)
            list.fillDescending(c.max);
        else
            list.fillAscending(c.max);
        ASSERT_EQ(int(list.items.size()), std::min(c.max, bound));
        EXPECT_EQ(list.selectedNumber(), c.max);
        // Every entry once, the order kept, and 1 and 30 always to pick.
        std::vector<int> sorted = list.items;
        if (c.descending)
            std::reverse(sorted.begin(), sorted.end());
        EXPECT_TRUE(std::is_sorted(sorted.begin(), sorted.end()));
        EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end());
        EXPECT_EQ(sorted.front(), 1);
        EXPECT_EQ(sorted.back(), c.max);
        EXPECT_TRUE(list.selectNumber(30));
    }
    CountList list;
    list.fillDescending(3);
    EXPECT_EQ(list.items, (std::vector<int>{3, 2, 1}));
}

TEST(ModeChoice, NullLimitsReadZeroAndAMissingExamRowKeepsTheLimits)
{
    ExamBankFixture bank;
    fillBank(bank, {5});
    ModeChoice choice = loaded(bank);
    EXPECT_EQ((std::vector<int>{choice.gMaxTime, choice.gMaxPassScore}), (std::vector<int>{0, 0}));
    choice.gMaxTime = 9;
    choice.gMaxPassScore = 8;
    choice.Image2_Click(1);
    EXPECT_EQ((std::vector<int>{choice.gMaxTime, choice.gMaxPassScore}), (std::vector<int>{9, 8}))
        << "no exam row: the limits in force stay";

    ExamBankWriter::ExamRow row = examRow();
    row.simulatedMinutes = std::nullopt;
    row.simulatedPassScore = 0;
    bank.writer().addExam(row);
    ModeChoice nulls = loaded(bank);
    nulls.Image2_Click(1);
    EXPECT_EQ((std::vector<int>{nulls.gMaxTime, nulls.gMaxPassScore, nulls.gMaxQuestions}),
              (std::vector<int>{0, 0, 40}));
    EXPECT_EQ(nulls.timeAllowed, QStringLiteral("0"));
}

TEST(ModeChoice, PracticeStartsEmptyAndTheTicksRefillTheList)
{
    for (const int perCategory : {10, 20}) {
        SCOPED_TRACE(perCategory);
        ExamBankFixture bank;
        bank.writer().addExam(examRow());
        fillBank(bank, {perCategory - 4, perCategory - 4}, 4);
        ModeChoice choice = loaded(bank);
        choice.Image3_Click(1);
        EXPECT_EQ(choice.gExamModeCode, QStringLiteral("P"));
        EXPECT_TRUE(choice.practiceChosen);
        EXPECT_FALSE(choice.pretestChosen);
        EXPECT_EQ(choice.option, ModeChoice::Practice);
        EXPECT_TRUE(choice.treeEnabled);
        EXPECT_TRUE(choice.countListEnabled);
        EXPECT_FALSE(choice.timeFrameVisible);
        EXPECT_TRUE(choice.lstQues.items.empty());
        EXPECT_EQ(choice.description, ModeDescription::Adaptive);
        for (const CategoryTree::Node& node : choice.tree.nodes())
            EXPECT_FALSE(node.checked);

        // The root's box: the whole pool, 30 chosen when it holds 30 or more.
        choice.tree.setChecked(CategoryTree::kRoot, true);
        choice.tvwCategory_NodeCheck(CategoryTree::kRoot);
        const int pool = 2 * perCategory;
        EXPECT_EQ(choice.gMaxQuestions, pool);
        EXPECT_EQ(choice.lstQues.items, descending(pool));
        EXPECT_EQ(choice.lstQues.selectedNumber(), pool >= 30 ? 30 : pool);

        // A category's text click: its chapter goes too.
        choice.tvwCategory_NodeToggle(choice.tree.find(QStringLiteral("ID1")));
        EXPECT_FALSE(choice.tree.isChecked(choice.tree.find(QStringLiteral("101ID"))));
        EXPECT_EQ(choice.gMaxQuestions, perCategory);
        EXPECT_EQ(choice.lstQues.selectedNumber(), perCategory);

        // Unticking the root leaves the list as it was.
        choice.tree.setChecked(CategoryTree::kRoot, false);
        choice.tvwCategory_NodeCheck(CategoryTree::kRoot);
        EXPECT_EQ(choice.gMaxQuestions, perCategory);
        EXPECT_EQ(choice.lstQues.items, descending(perCategory));
        EXPECT_FALSE(choice.tree.isChecked(choice.tree.find(QStringLiteral("ID2"))));
    }
}

TEST(ModeChoice, TheAdministratorsTreeStaysDisabledAtLoad)
{
    ExamBankFixture bank;
    fillBank(bank, {3});
    EXPECT_FALSE(loaded(bank, true).treeEnabled);
}

TEST(ModeChoice, ADescriptionLosesItsLeadingLineBreak)
{
    const struct {
        const char* setting;
        const char* shown;
    } cases[] = {
        {"\r\nPretest", "Pretest"},
        {"\nPretest", "Pretest"},
        {"\rPretest", "Pretest"},
        {"\r\n\r\nTwo", "\r\nTwo"},
        {"Line\r\nbreak", "Line\r\nbreak"},
        {"", ""},
        {" \r\nblank first", " \r\nblank first"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(modeDescriptionText(QLatin1String(c.setting)), QLatin1String(c.shown)) << c.setting;
}

} // namespace
