#include "foundation/ExamBank.h"
#include "mainwindow/CategoryTree.h"
#include "mainwindow/ExamLaunch.h"
#include "platform/db/Connection.h"
#include "tests/support/ExamBankFixture.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace {

using Kind = CategoryTree::Kind;

// Category 1 with chapters 11 and 12, category 2 with chapter 21, category 3
// without chapters.
std::vector<ExamBank::TreeCategory> threeCategories()
{
    return {{1, QStringLiteral("Boot"), {{11, QStringLiteral("Targets")}, {12, QStringLiteral("Kernel")}}},
            {2, QStringLiteral("Files"), {{21, QStringLiteral("Links")}}},
            {3, QStringLiteral("Shell"), {}}};
}

CategoryTree treeOf(const std::vector<ExamBank::TreeCategory>& categories)
{
    CategoryTree tree;
    tree.fill(QStringLiteral("Exam One"), categories);
    return tree;
}

// The ticks of every node in node order, as "1" and "0".
std::string ticks(const CategoryTree& tree)
{
    std::string out;
    for (const CategoryTree::Node& node : tree.nodes())
        out += node.checked ? '1' : '0';
    return out;
}

// The node of a key; the root has none.
int nodeOf(const CategoryTree& tree, const QString& key)
{
    return key.isEmpty() ? CategoryTree::kRoot : tree.find(key);
}

// The user flips a node's box.
bool box(CategoryTree& tree, const QString& key, bool practice = true)
{
    const int node = nodeOf(tree, key);
    tree.setChecked(node, !tree.isChecked(node));
    return tree.nodeChecked(node, practice);
}

TEST(CategoryTree, FillsRootCategoriesAndChaptersWithTheirKeysAllTicked)
{
    // A category and a chapter with one code get two nodes.
    const CategoryTree tree = treeOf({{7, QStringLiteral("Seven & more"), {{7, QStringLiteral("Chapter seven")}}},
                                      {8, QStringLiteral("Eight"), {}}});
    ASSERT_EQ(tree.size(), 4);
    const CategoryTree::Node& root = tree.node(CategoryTree::kRoot);
    EXPECT_EQ(root.text, QStringLiteral("Exam One"));
    EXPECT_EQ(root.tag, QStringLiteral("Qe_Category"));
    EXPECT_EQ(root.children, (std::vector<int>{1, 3}));
    const int category = tree.find(QStringLiteral("ID7"));
    const int chapter = tree.find(QStringLiteral("7ID"));
    ASSERT_GE(category, 0);
    ASSERT_GE(chapter, 0);
    EXPECT_NE(category, chapter);
    EXPECT_EQ(tree.node(category).tag, QStringLiteral("Category"));
    EXPECT_EQ(tree.node(category).text, QStringLiteral("Seven & more"));
    EXPECT_EQ(tree.node(chapter).tag, QStringLiteral("Chapters"));
    EXPECT_EQ(tree.node(chapter).parent, category);
    EXPECT_EQ(tree.find(QStringLiteral("ID8")), 3);
    for (const CategoryTree::Node& node : tree.nodes())
        EXPECT_TRUE(node.checked && node.expanded) << node.key.toStdString();

    const CategoryTree empty = treeOf({});
    EXPECT_EQ(empty.size(), 1) << "only the root";
}

// Node order: root, ID1, 11ID, 12ID, ID2, 21ID, ID3.
TEST(CategoryTree, InPracticeTicksReachChildrenParentsAndTheRoot)
{
    CategoryTree tree = treeOf(threeCategories());

    // Unticking the root unticks everything and asks for no new count.
    EXPECT_FALSE(box(tree, QString()));
    EXPECT_EQ(ticks(tree), "0000000");

    // Ticking a chapter ticks its category and the root.
    EXPECT_TRUE(box(tree, QStringLiteral("12ID")));
    EXPECT_EQ(ticks(tree), "1101000");

    // A category's chapters follow it, both ways.
    EXPECT_TRUE(box(tree, QStringLiteral("ID2")));
    EXPECT_EQ(ticks(tree), "1101110");
    EXPECT_TRUE(box(tree, QStringLiteral("ID1")));
    EXPECT_EQ(ticks(tree), "1000110");
    EXPECT_TRUE(box(tree, QStringLiteral("ID1")));
    EXPECT_EQ(ticks(tree), "1111110");

    // Unticking the last ticked chapter of a category unticks the category.
    EXPECT_TRUE(box(tree, QStringLiteral("11ID")));
    EXPECT_EQ(ticks(tree), "1101110");
    EXPECT_TRUE(box(tree, QStringLiteral("12ID")));
    EXPECT_EQ(ticks(tree), "1000110");

    // Unticking the last ticked category unticks the root.
    EXPECT_TRUE(box(tree, QStringLiteral("21ID")));
    EXPECT_EQ(ticks(tree), "0000000");

    // A category without chapters ticks the root, and unticked as the last
    // one unticks it again.
    EXPECT_TRUE(box(tree, QStringLiteral("ID3")));
    EXPECT_EQ(ticks(tree), "1000001");
    EXPECT_TRUE(box(tree, QStringLiteral("ID3")));
    EXPECT_EQ(ticks(tree), "0000000");

    // Ticking the root ticks everything.
    EXPECT_TRUE(box(tree, QString()));
    EXPECT_EQ(ticks(tree), "1111111");
}

TEST(CategoryTree, ATextClickTogglesAsTheBoxDoes)
{
    CategoryTree byBox = treeOf(threeCategories());
    CategoryTree byText = treeOf(threeCategories());
    for (const char* key : {"ID1", "21ID", "ID1", "12ID", "", "", "ID3"}) {
        SCOPED_TRACE(key);
        const bool boxCount = box(byBox, QLatin1String(key));
        const bool textCount = byText.nodeClicked(nodeOf(byText, QLatin1String(key)), true);
        EXPECT_EQ(ticks(byText), ticks(byBox));
        EXPECT_EQ(textCount, boxCount);
    }
}

TEST(CategoryTree, OutsidePracticeOnlyTheRootAndParentsFollow)
{
    CategoryTree tree = treeOf(threeCategories());
    tree.setAllNodesChecked(false);
    // A chapter still ticks its category and the root, but no count is asked.
    EXPECT_FALSE(box(tree, QStringLiteral("21ID"), false));
    EXPECT_EQ(ticks(tree), "1000110");
    // A category's chapters do not follow.
    EXPECT_FALSE(box(tree, QStringLiteral("ID1"), false));
    EXPECT_EQ(ticks(tree), "1100110");
    // Ticking all: the root, every category, every chapter.
    tree.setAllNodesChecked(false);
    tree.expandAll();
    EXPECT_EQ(ticks(tree), "1111111");
    // An exam without categories: its root is left as it is, and the check of
    // the categories unticks it.
    CategoryTree empty = treeOf({});
    empty.setAllNodesChecked(false);
    empty.expandAll();
    EXPECT_EQ(ticks(empty), "0");
    empty.setChecked(CategoryTree::kRoot, true);
    EXPECT_TRUE(empty.checkCategoryNodes());
    EXPECT_EQ(ticks(empty), "0");
}

TEST(CategoryTree, CountsTheTickedChaptersAndTheTickedCategoriesOwnQuestions)
{
    ExamBankFixture bank;
    bank.category(1).chapter(11, 1).chapter(12, 1).chapter(0, 1).category(2).chapter(21, 2);
    bank.questions(1, 5, 1, 1, 0);   // category 1 itself
    bank.questions(6, 7, 1, 1, 11);  // chapter 11
    bank.questions(13, 3, 1, 1, 12); // chapter 12
    bank.questions(16, 2, 2, 1, 0);  // category 2 itself
    bank.questions(18, 4, 9, 1, 21); // chapter 21, filed under a category that does not exist
    bank.questions(22, 6, 9, 1, 0);  // an unknown category's own: under no node
    ExamBankWriter::QuestionRow noChapter = ExamBankWriter::QuestionRow::multipleChoice(40);
    noChapter.category = 1; // chapter NULL: under no node
    bank.writer().addQuestion(noChapter);

    ExamBank exam(bank.conn());
    const QuestionCounts counts(exam.questionCountsByPlace());
    EXPECT_EQ(counts.ofCategoryItself(1), 5);
    EXPECT_EQ(counts.ofChapter(11), 7);
    EXPECT_EQ(counts.ofChapter(21), 4);
    EXPECT_EQ(counts.ofChapter(0), 0) << "a chapter keyed 0 counts none of its own";
    EXPECT_EQ(exam.questionCount(), 28) << "the bank's total counts every question";

    CategoryTree tree = treeOf(exam.categoryTree());
    ASSERT_GE(tree.find(QStringLiteral("0ID")), 0);
    EXPECT_EQ(counts.countChecked(tree), 5 + 7 + 3 + 2 + 4);
    // A ticked chapter of an unticked category: the category's own questions
    // are not counted.
    tree.setChecked(tree.find(QStringLiteral("ID1")), false);
    EXPECT_EQ(counts.countChecked(tree), 7 + 3 + 2 + 4);
    tree.setAllNodesChecked(false);
    EXPECT_EQ(counts.countChecked(tree), 0);
}

// Whatever the user ticks, the count the list offers is the pool that the
// start command saves and the practice drill draws from: a chapter row keyed
// 0, questions in a chapter that does not exist and unknown categories must
// not make them disagree.
TEST(CategoryTree, CountOfTheTicksIsTheSavedPracticePool)
{
    for (unsigned seed = 1; seed <= 25; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 rng(seed);
        ExamBankFixture bank;
        bank.randomPracticeBank(rng);
        ExamBank exam(bank.conn());
        const QuestionCounts counts(exam.questionCountsByPlace());
        CategoryTree tree = treeOf(exam.categoryTree());
        for (int step = 0; step < 12; ++step) {
            const int node = int(rng() % unsigned(tree.size()));
            if (rng() % 2)
                tree.nodeClicked(node, true);
            else
                box(tree, tree.node(node).key);
            saveSelection(bank.conn(), tree.categoryTicks(), tree.chapterTicks());
            ASSERT_EQ(counts.countChecked(tree), CountSelectedQuestions(bank.conn())) << "step " << step;
        }
    }
}

} // namespace
