#include "foundation/ExamBank.h"
#include "foundation/SharedState.h"
#include "results/LosScoreCard.h"
#include "results/ObjectiveTable.h"
#include "tests/support/DebugLogFile.h"
#include "tests/support/ExamBankFixture.h"
#include "tests/support/StartupFixture.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace {

// "key text" per line, "[x]" for a ticked one.
std::vector<std::string> lines(const std::vector<LosItem>& items)
{
    std::vector<std::string> texts;
    for (const LosItem& item : items)
        texts.push_back((item.key + QLatin1Char(' ') + item.text + (item.checked ? QStringLiteral(" [x]") : QString()))
                            .toStdString());
    return texts;
}

using Lines = std::vector<std::string>;

TEST(LosIdentifier, PartsAreTrimmedAndJoinedByPoints)
{
    struct Case {
        std::array<QVariant, 4> parts;
        const char* identifier;
    };
    const Case cases[] = {
        {{1, 2, QStringLiteral("a"), QStringLiteral("iv")}, "1.2.a.iv"},
        {{QVariant(), QVariant(), QVariant(), QVariant()}, "..."},
        {{QString(), QStringLiteral("  "), QVariant(), QString()}, "..."},
        {{QStringLiteral(" 3 "), 0, QStringLiteral(" b c "), QStringLiteral("\tx")}, "3.0.b c.\tx"},
        {{1.5, QVariant(), QStringLiteral("&"), QVariant()}, "1.5..&."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(losIdentifier(c.parts), QString::fromUtf8(c.identifier));
}

TEST(LosProgress, TheLoadingBarNeverShowsLessThanOne)
{
    struct Case {
        int record, count, value;
    };
    for (const Case& c : {Case{1, 2000, 1}, Case{10, 1000, 1}, Case{15, 1000, 2}, Case{25, 1000, 2}, Case{35, 1000, 4},
                          Case{1, 3, 33}, Case{2, 3, 67}, Case{1, 1, 100}, Case{500, 500, 100}, Case{0, 0, 1}})
        EXPECT_EQ(losProgressValue(c.record, c.count), c.value) << c.record << " of " << c.count;
}

// Categories 1 "Networks" (chapters 11 and 12) and 2 "Security" (chapter
// 21), category 3 "Empty" without chapters. Questions: 1-4 directly under
// category 1, 5-6 in chapter 11, 7 in chapter 12, 8-9 in category 2
// (chapter 0), 10 in chapter 21.
class ScoreCard : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetStartupState();
        bank.writer().addCategory({1, QStringLiteral("Networks")});
        bank.writer().addCategory({2, QStringLiteral("Security")});
        bank.writer().addCategory({3, QStringLiteral("Empty")});
        bank.chapter(11, 1).chapter(12, 1).chapter(21, 2);
        bank.questions(1, 4, 1).questions(5, 2, 1, 1, 11).question(7, 1, 1, 12);
        bank.questions(8, 2, 2).question(10, 2, 1, 21);
    }

    void objective(int question, int cat, int sub, const char* subSub, const char* subSubSub, int status)
    {
        bank.writer().addLearningObjective(
            {question, cat, sub, QString::fromLatin1(subSub), QString::fromLatin1(subSubSub), status});
    }

    std::vector<LosItem> load()
    {
        card.fillTree(QStringLiteral("Exam One"), ExamBank(bank.conn()).categoryTree());
        return card.load(ObjectiveTable(bank.conn()).scoreCardRows());
    }

    int node(const char* key) const { return card.tree.find(QString::fromLatin1(key)); }

    ExamBankFixture bank;
    LosScoreCard card;
};

TEST_F(ScoreCard, AnObjectiveIsListedOnceAndIsCompleteOnlyWithEveryRow)
{
    // Stored out of order; the list comes by the four parts.
    objective(8, 2, 1, "a", "i", 1);
    objective(1, 1, 2, "b", "i", 0);
    objective(2, 1, 2, "b", "i", 1); // same objective, later row: its question is not right yet
    objective(3, 1, 1, "a", "ii", 1);
    objective(4, 1, 1, "a", "i", 0);
    objective(9, 2, 1, "a", "i", 0); // same objective as the first row
    objective(5, 3, 1, "a", "i", 1); // three questions, all right
    objective(6, 3, 1, "a", "i", 1);
    objective(7, 3, 1, "a", "i", 1);
    objective(900, 3, 1, "a", "i", 0); // a question that is gone does not count
    EXPECT_EQ(lines(load()),
              (Lines{"K1 1.1.a.i", "K2 1.1.a.ii [x]", "K3 1.2.b.i", "K4 2.1.a.i", "K5 3.1.a.i [x]"}));
    const std::vector<LosEntry>& grid = card.grid();
    ASSERT_EQ(grid.size(), 5u);
    EXPECT_EQ(grid[2].questCode, 1);
    EXPECT_EQ(grid[3].questCode, 8);
    EXPECT_EQ(grid[3].category, 2);
    EXPECT_EQ(grid[3].chapter, 0);
}

TEST_F(ScoreCard, ARowWhoseQuestionIsGoneGivesWayToTheObjectivesNextRow)
{
    objective(900, 1, 1, "a", "i", 1); // no such question
    objective(10, 1, 1, "a", "i", 0);  // chapter 21 stands for the objective
    objective(2, 1, 1, "a", "i", 1);
    objective(901, 5, 5, "x", "y", 1); // no row of it has a question
    objective(902, 5, 5, "x", "y", 1);
    EXPECT_EQ(lines(load()), (Lines{"K1 1.1.a.i"}));
    const std::vector<LosEntry>& grid = card.grid();
    ASSERT_EQ(grid.size(), 2u);
    EXPECT_EQ(grid[0].questCode, 10);
    EXPECT_EQ(grid[0].chapter, 21);
    EXPECT_FALSE(grid[0].complete());
    // The objective without questions stays in the grid, never selected.
    EXPECT_EQ(grid[1].identifier, "5.5.x.y");
    EXPECT_EQ(grid[1].questCode, 901);
    EXPECT_FALSE(grid[1].category);
    EXPECT_FALSE(grid[1].selected);
    // Narrowed to chapter 21: the stand-in's place decides.
    card.nodeClicked(node("ID1"));
    card.nodeClicked(node("ID2"));
    EXPECT_TRUE(lines(card.list(LosFilter::All)).empty());
    EXPECT_EQ(lines(card.nodeClicked(node("21ID"))), (Lines{"K1 1.1.a.i"}));
}

TEST_F(ScoreCard, FiltersShowTheSelectedObjectivesByState)
{
    objective(1, 1, 1, "a", "i", 1);
    objective(2, 1, 1, "a", "ii", 0);
    objective(8, 2, 1, "a", "i", 1);
    objective(9, 2, 1, "a", "ii", 0);
    bank.writer().addLearningObjective({5, 3, 0, QString(), QString(), std::nullopt}); // a Null status is incomplete
    load();
    // Category 2 and its chapter unticked.
    card.nodeClicked(node("ID2"));
    EXPECT_EQ(lines(card.list(LosFilter::All)), (Lines{"K1 1.1.a.i [x]", "K2 1.1.a.ii", "K3 3.0.."}));
    EXPECT_EQ(lines(card.list(LosFilter::Complete)), (Lines{"K1 1.1.a.i [x]"}));
    EXPECT_EQ(lines(card.list(LosFilter::Incomplete)), (Lines{"K1 1.1.a.ii", "K2 3.0.."}));
}

TEST_F(ScoreCard, TicksNarrowTheListAndEveryTickChangeShowsAllSelected)
{
    objective(1, 1, 1, "cat", "1", 1);  // category 1 itself
    objective(5, 1, 1, "ch11", "1", 0); // chapter 11
    objective(7, 1, 1, "ch12", "1", 1); // chapter 12
    objective(8, 2, 1, "cat", "2", 0);  // category 2 itself
    objective(10, 2, 1, "ch21", "2", 1);
    const Lines all = {"K1 1.1.cat.1 [x]", "K2 1.1.ch11.1", "K3 1.1.ch12.1 [x]", "K4 2.1.cat.2", "K5 2.1.ch21.2 [x]"};
    EXPECT_EQ(lines(load()), all);

    // A question counts as selected by its category or by its chapter:
    // with chapter 12 unticked, category 1 still holds its objective.
    EXPECT_EQ(lines(card.nodeClicked(node("12ID"))), all);
    EXPECT_TRUE(card.tree.isChecked(node("ID1")));
    // A box flipped by the user (its tick is already the new one): the
    // category's chapters follow it, and its objectives go.
    card.tree.setChecked(node("ID1"), false);
    EXPECT_EQ(lines(card.nodeChecked(node("ID1"))), (Lines{"K1 2.1.cat.2", "K2 2.1.ch21.2 [x]"}));
    EXPECT_FALSE(card.tree.isChecked(node("11ID")));

    // A filter, then a tick change: back to all selected ones. Ticking
    // chapter 11 ticks its category again.
    EXPECT_EQ(lines(card.list(LosFilter::Incomplete)), (Lines{"K1 2.1.cat.2"}));
    EXPECT_EQ(lines(card.nodeClicked(node("11ID"))), all);
    EXPECT_TRUE(card.tree.isChecked(node("ID1")));
    EXPECT_FALSE(card.tree.isChecked(node("12ID")));

    // Unticking everything empties the list; ticking the root brings all back.
    EXPECT_TRUE(card.nodeClicked(CategoryTree::kRoot).empty());
    for (int i = 0; i < card.tree.size(); ++i)
        EXPECT_FALSE(card.tree.isChecked(i)) << i;
    EXPECT_EQ(lines(card.nodeClicked(CategoryTree::kRoot)), all);
}

TEST_F(ScoreCard, UntickingEveryCategoryEmptiesTheList)
{
    objective(1, 1, 1, "a", "i", 1);
    objective(8, 2, 1, "a", "i", 0);
    load();
    card.nodeClicked(node("ID1"));
    card.nodeClicked(node("ID2"));
    EXPECT_TRUE(card.nodeClicked(node("ID3")).empty());
    EXPECT_FALSE(card.tree.isChecked(CategoryTree::kRoot));
}

TEST_F(ScoreCard, TheLoadingBarHearsEveryRecord)
{
    for (int i = 1; i <= 8; ++i)
        objective(1 + i % 10, 1, i % 3, "a", "i", 0);
    card.fillTree(QStringLiteral("Exam One"), ExamBank(bank.conn()).categoryTree());
    std::vector<int> values;
    card.load(ObjectiveTable(bank.conn()).scoreCardRows(), [&values](int value) { values.push_back(value); });
    EXPECT_EQ(values, (std::vector<int>{12, 25, 38, 50, 62, 75, 88, 100}));
}

TEST_F(ScoreCard, FillingTheTreeWritesItsDebugLinesForTheScoreCard)
{
    const TempHome home;
    gStartup.gDebug = 1;
    card.fillTree(QStringLiteral("Exam One"), ExamBank(bank.conn()).categoryTree());
    gStartup.gDebug = 0;
    QStringList kinds;
    for (const QString& line : debugLogLines())
        kinds << line.section(QStringLiteral(" Form_Load: Date/Time :"), 0, 0);
    EXPECT_EQ(kinds,
              QStringList(
                  {"Entering pFillCategory: module pfillCategory :frmLOS", "Db Opening: module pfillCategory :frmLOS",
                   "Adding Main Nodes: module pfillCategory :frmLOS", "Adding Sub Nodes: module pfillCategory :frmLOS",
                   "Adding Sub Nodes: module pfillCategory :frmLOS", "Adding Main Nodes: module pfillCategory :frmLOS",
                   "Adding Sub Nodes: module pfillCategory :frmLOS", "Adding Main Nodes: module pfillCategory :frmLOS",
                   "pFillCategory Finshed: module pfillCategory :frmLOS"}));
    EXPECT_EQ(card.tree.size(), 1 + 3 + 3);
}

TEST_F(ScoreCard, NoObjectivesGiveAnEmptyList)
{
    EXPECT_TRUE(load().empty());
    EXPECT_TRUE(card.grid().empty());
}

} // namespace
