#include "exam/GridPanes.h"
#include "foundation/ExamBank.h"
#include "foundation/SharedState.h"
#include "tests/support/ExamBankFixture.h"
#include "tests/support/RecordingUiHooks.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr int kOrdered = 1;
constexpr int kTree = 2;
constexpr int kPlace = 3;

// An interactive question of each kind, its pane rows in storage order.
struct PaneBank {
    ExamBankFixture bank;
    ExamBank exam{bank.conn()};

    PaneBank()
    {
        bank.shownQuestion(kOrdered, 4, 1, QStringLiteral("Order them"));
        for (const auto& [item, seq] : {std::pair{"Alpha", 3}, {"Bravo", 1}, {"Charlie", 4}, {"Delta", 2}})
            row(kOrdered, QString::fromLatin1(item), 0, QString(), seq);

        bank.shownQuestion(kTree, 4, 2, QStringLiteral("Build the tree"));
        row(kTree, QStringLiteral("Mammals"), 1, QStringLiteral("Cat"), 1, QStringLiteral("Animals"));
        row(kTree, QStringLiteral("Birds"), 2, QStringLiteral("Crow"), 2);
        row(kTree, QString(), 0, QStringLiteral("Dog"), 3);

        bank.shownQuestion(kPlace, 4, 3, QStringLiteral("Place them"));
        row(kPlace, QStringLiteral("Capital of France"), 1, QStringLiteral("Paris"), 1);
        row(kPlace, QStringLiteral("Capital of Italy"), 2, QStringLiteral("Rome"), 2);
        row(kPlace, QStringLiteral("Capital of Spain"), 3, QStringLiteral("Madrid"), 3);
        row(kPlace, QString(), 0, QStringLiteral("Lisbon"), 4);
    }
    void row(int question, const QString& left, int leftSeq, const QString& right, int rightSeq,
             std::optional<QString> root = std::nullopt)
    {
        bank.writer().addInteractiveRow({question, left, leftSeq, right, rightSeq, root});
    }
};

const GridPanes::Area kArea{100, 1000, 2000};

QStringList column(const PaneGrid& grid, int col)
{
    QStringList texts;
    for (int row = 0; row < grid.rows(); ++row)
        texts << grid.text(row, col);
    return texts;
}

struct Panes : ::testing::Test {
    Panes()
    {
        gLogin.gAppName = QStringLiteral("Ziduver Test");
        panes.frameMoveBtn.geometry = QRect(0, 0, 900, 800);
        panes.frameUpDown.geometry = QRect(0, 0, 400, 800);
        panes.cmdAddTree.geometry = QRect(0, 0, 1000, 350);
        panes.cmdTrRemove.geometry = QRect(0, 0, 1000, 350);
    }
    ~Panes() override { gLogin.gAppName.clear(); }

    RecordingUiHooks ui;
    PaneBank bank;
    GridPanes panes;
};

TEST_F(Panes, LoadStateShowsTheMainGridsAndHidesThePlacesAndTreeButtons)
{
    EXPECT_TRUE(panes.grdLeft.visible);
    EXPECT_TRUE(panes.grdRight.visible);
    EXPECT_FALSE(panes.grdAnswers.visible);
    EXPECT_TRUE(panes.frameMoveBtn.visible);
    EXPECT_TRUE(panes.frameUpDown.visible);
    EXPECT_FALSE(panes.cmdAddTree.visible);
    EXPECT_FALSE(panes.cmdTrRemove.visible);
    EXPECT_EQ(panes.PaneKind, 0);
    EXPECT_EQ(panes.grdLeft.row(), -1);
}

TEST_F(Panes, OrderedListFillsTheItemsWithAHiddenSequenceBelowTheQuestionPage)
{
    ASSERT_TRUE(panes.ShowOrderdListAnswers(bank.exam, kOrdered, kArea));
    EXPECT_EQ(column(panes.grdLeft, 0), (QStringList{"Alpha", "Bravo", "Charlie", "Delta"}));
    EXPECT_EQ(column(panes.grdLeft, 1), (QStringList{"3", "1", "4", "2"}));
    EXPECT_EQ(panes.grdLeft.colWidth(0), 1500);
    EXPECT_EQ(panes.grdLeft.colWidth(1), 0);
    EXPECT_EQ(panes.grdRight.rows(), 0);
    EXPECT_EQ(panes.PaneKind, 0); // only the tree and place builders set the kind

    // 1000 x 0.4 = 400, times 14.
    EXPECT_EQ(panes.grdLeft.geometry, QRect(450, 100 + 2000 + 250, 5600, 3000));
    EXPECT_EQ(panes.frameMoveBtn.geometry.topLeft(), QPoint(450 + 5600 + 30, 2350 + 150));
    EXPECT_EQ(panes.grdRight.geometry, QRect(450 + 5600 + 900 + 100, 2350, 5600, 3000));
    EXPECT_EQ(panes.frameUpDown.geometry.topLeft(), QPoint(7050 + 5600 + 10, 2500));
    EXPECT_TRUE(panes.grdLeft.visible && panes.grdRight.visible);

    // A question without pane rows builds nothing.
    GridPanes untouched;
    EXPECT_FALSE(untouched.ShowOrderdListAnswers(bank.exam, 999, kArea));
    EXPECT_EQ(untouched.grdLeft.geometry, QRect());
}

TEST_F(Panes, WidthIsAWholeShareRoundedHalfToEven)
{
    // Select and place takes 0.3 of the view: 15 gives 4.5 and 25 gives 7.5,
    // both to the even neighbour; 1004 gives 301.2.
    for (const auto& [width, share] : {std::pair{15, 4}, {25, 8}, {1004, 301}}) {
        GridPanes p;
        p.BuildSelectAndPlacePanes(bank.exam, kPlace, {0, width, 0});
        EXPECT_EQ(p.grdLeft.geometry.width(), share * 14) << width;
    }
    // The ordered list takes 0.4: 1004 gives 401.6.
    GridPanes p;
    p.ShowOrderdListAnswers(bank.exam, kOrdered, {0, 1004, 0});
    EXPECT_EQ(p.grdLeft.geometry.width(), 402 * 14);
}

TEST_F(Panes, OrderedListButtonsMoveRemoveAndReorder)
{
    panes.ShowOrderdListAnswers(bank.exam, kOrdered, kArea);
    PaneGrid& order = panes.grdRight;

    panes.cmdMove_Click(); // no current item
    EXPECT_EQ(order.rows(), 0);
    for (int row : {2, 0, 3}) {
        panes.grdLeft.setRow(row);
        panes.cmdMove_Click();
    }
    EXPECT_EQ(column(order, 0), (QStringList{"Charlie", "Alpha", "Delta"}));
    EXPECT_EQ(column(order, 1), (QStringList{"Charlie", "Alpha", "Delta"}));
    EXPECT_EQ(panes.grdLeft.rows(), 4); // items stay on the left

    order.setRow(2);
    panes.cmdUp_Click();
    EXPECT_EQ(column(order, 0), (QStringList{"Charlie", "Delta", "Alpha"}));
    EXPECT_EQ(order.row(), 1);
    panes.cmdDown_Click();
    EXPECT_EQ(column(order, 0), (QStringList{"Charlie", "Alpha", "Delta"}));
    EXPECT_EQ(order.row(), 2);
    panes.cmdDown_Click(); // already the last row
    EXPECT_EQ(column(order, 0), (QStringList{"Charlie", "Alpha", "Delta"}));

    order.setRow(0);
    panes.cmdBack_Click();
    EXPECT_EQ(column(order, 0), (QStringList{"Alpha", "Delta"}));

    // With two rows Up does nothing, while Down on row 0 swaps them.
    order.setRow(1);
    panes.cmdUp_Click();
    EXPECT_EQ(column(order, 0), (QStringList{"Alpha", "Delta"}));
    order.setRow(0);
    panes.cmdDown_Click();
    EXPECT_EQ(column(order, 0), (QStringList{"Delta", "Alpha"}));
    EXPECT_EQ(order.row(), 1);
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(Panes, MoveStopsAtAsManyRowsAsItems)
{
    panes.ShowOrderdListAnswers(bank.exam, kOrdered, kArea);
    panes.grdLeft.setRow(1);
    for (int i = 0; i < 4; ++i)
        panes.cmdMove_Click();
    ASSERT_TRUE(ui.messages().empty());
    panes.cmdMove_Click();
    EXPECT_EQ(panes.grdRight.rows(), 4);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].text, "Only 4 items could be added here.");
    EXPECT_EQ(ui.messages()[0].title, "Ziduver Test");
    EXPECT_EQ(ui.messages()[0].style, 1);
}

TEST_F(Panes, TreeAndPlaceButtonsDoNothingBeforeATreeOrPlaceBuild)
{
    panes.ShowOrderdListAnswers(bank.exam, kOrdered, kArea);
    panes.grdRight.addItem(QStringLiteral("piece\t1"));
    panes.grdRight.setRow(0);
    panes.grdLeft.setText(1, 1, QStringLiteral("G"));
    panes.grdLeft.setRow(1);
    panes.cmdAddTree_Click();
    panes.grdLeft.setText(2, 1, QStringLiteral("SG"));
    panes.grdLeft.setRow(2);
    panes.cmdTrRemove_Click();
    EXPECT_EQ(panes.grdLeft.rows(), 4);
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(Panes, TreeBuildShowsTheRootTheNodesAndThePieces)
{
    panes.BuildTreePanes(bank.exam, kTree, kArea);
    EXPECT_EQ(panes.PaneKind, 2);
    EXPECT_EQ(column(panes.grdLeft, 0), (QStringList{"Animals", "Mammals", "Birds"}));
    EXPECT_EQ(column(panes.grdLeft, 1), (QStringList{"", "G", "G"}));
    EXPECT_EQ(column(panes.grdLeft, 2), (QStringList{"", "1", "2"}));
    EXPECT_EQ(panes.grdLeft.outlineLevel(1), 2);
    EXPECT_EQ(panes.grdLeft.outlineLevel(2), 2);
    EXPECT_EQ(column(panes.grdRight, 0), (QStringList{"Cat", "Crow", "Dog"}));
    EXPECT_EQ(column(panes.grdRight, 1), (QStringList{"1", "2", "3"}));

    EXPECT_EQ(panes.cmdAddTree.geometry.topLeft(), QPoint(450 + 5600 + 200, 2350 + 150));
    EXPECT_EQ(panes.cmdTrRemove.geometry.topLeft(), QPoint(6250, 2500 + 350 + 10));
    EXPECT_TRUE(panes.cmdAddTree.visible && panes.cmdTrRemove.visible);
    EXPECT_EQ(panes.grdRight.geometry, QRect(450 + 5600 + 900 + 100, 2350, 5600, 3000));

    // Showing the next question hides the tree buttons again.
    panes.hideTreeButtons();
    EXPECT_FALSE(panes.cmdAddTree.visible || panes.cmdTrRemove.visible);
}

TEST_F(Panes, TreeLeavesGoUnderTheChosenNodeAndOnlyLeavesCanBeRemoved)
{
    panes.BuildTreePanes(bank.exam, kTree, kArea);
    PaneGrid& tree = panes.grdLeft;
    PaneGrid& pieces = panes.grdRight;

    pieces.setRow(2); // Dog
    tree.setRow(1);   // Mammals
    panes.cmdAddTree_Click();
    pieces.setRow(0); // Cat
    panes.cmdAddTree_Click();
    EXPECT_EQ(column(tree, 0), (QStringList{"Animals", "Mammals", "1", "1", "Birds"}));
    EXPECT_EQ(column(tree, 1), (QStringList{"", "G", "SG", "SG", "G"}));
    EXPECT_EQ(column(tree, 2), (QStringList{"", "1", "Cat", "Dog", "2"}));
    EXPECT_EQ(pieces.rows(), 3); // pieces stay

    // Not on a node, a piece not selected, or an empty piece: nothing.
    tree.setRow(2);
    panes.cmdAddTree_Click();
    tree.setRow(0);
    panes.cmdAddTree_Click();
    tree.setRow(4);
    pieces.setSelected(0, false);
    panes.cmdAddTree_Click();
    pieces.setRow(0);
    pieces.setText(0, 0, QString());
    panes.cmdAddTree_Click();
    EXPECT_EQ(tree.rows(), 5);

    tree.setRow(0);
    panes.cmdTrRemove_Click(); // the root stays
    tree.setRow(1);
    panes.cmdTrRemove_Click(); // a node stays, with a message
    ASSERT_EQ(ui.messageTexts(), QStringList{"Could not remove selected node from the tree."});
    tree.setRow(3);
    tree.setSelected(3, false);
    panes.cmdTrRemove_Click(); // not selected
    EXPECT_EQ(tree.rows(), 5);
    tree.setRow(3);
    panes.cmdTrRemove_Click();
    EXPECT_EQ(column(tree, 2), (QStringList{"", "1", "Cat", "2"}));
    EXPECT_EQ(ui.messages().size(), 1u);
}

TEST_F(Panes, SelectAndPlaceBuildLaysOutItemsPlacesAndPieces)
{
    panes.BuildSelectAndPlacePanes(bank.exam, kPlace, kArea);
    EXPECT_EQ(panes.PaneKind, 3);
    EXPECT_EQ(column(panes.grdLeft, 0), (QStringList{"Capital of France", "Capital of Italy", "Capital of Spain"}));
    EXPECT_EQ(column(panes.grdAnswers, 0), (QStringList{"", "", ""}));
    EXPECT_EQ(column(panes.grdRight, 0), (QStringList{"Paris", "Rome", "Madrid", "Lisbon"}));
    EXPECT_TRUE(panes.grdAnswers.visible);

    // 1000 x 0.3 = 300, times 14.
    EXPECT_EQ(panes.grdLeft.geometry, QRect(450, 2350, 4200, 3000));
    EXPECT_EQ(panes.grdAnswers.geometry, QRect(450 + 4200 + 100, 2350, 4200, 3000));
    EXPECT_EQ(panes.cmdAddTree.geometry.topLeft(), QPoint(4750 + 4200 + 15, 2350 + 150));
    EXPECT_EQ(panes.cmdTrRemove.geometry.topLeft(), QPoint(8965, 2500 + 350 + 10));
    EXPECT_EQ(panes.grdRight.geometry, QRect(8965 + 1000 + 100, 2350, 4200, 3000));
}

TEST_F(Panes, PlacingAndRemovingMoveToTheNextPlaceAndWrapToTheFirst)
{
    panes.BuildSelectAndPlacePanes(bank.exam, kPlace, kArea);
    PaneGrid& places = panes.grdAnswers;
    PaneGrid& pieces = panes.grdRight;

    places.setRow(1);
    pieces.setRow(1);
    panes.cmdAddTree_Click();
    EXPECT_EQ(places.row(), 2);
    EXPECT_TRUE(places.isSelected(2));
    pieces.setRow(2);
    panes.cmdAddTree_Click(); // into the last place
    EXPECT_EQ(places.row(), 0);
    EXPECT_EQ(column(places, 0), (QStringList{"", "Rome", "Madrid"}));
    EXPECT_EQ(pieces.rows(), 4);

    panes.cmdTrRemove_Click(); // place 0 is empty: nothing
    EXPECT_EQ(places.row(), 0);
    places.setRow(2);
    panes.cmdTrRemove_Click();
    EXPECT_EQ(column(places, 0), (QStringList{"", "Rome", ""}));
    EXPECT_EQ(places.row(), 0);

    // No selected place, or no selected piece: nothing.
    places.setRow(0);
    places.setSelected(0, false);
    panes.cmdAddTree_Click();
    places.setRow(0);
    pieces.setRow(-1);
    panes.cmdAddTree_Click();
    EXPECT_EQ(column(places, 0), (QStringList{"", "Rome", ""}));
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(Panes, ABuilderStartsFromEmptyGrids)
{
    panes.BuildTreePanes(bank.exam, kTree, kArea);
    panes.grdRight.setRow(0);
    panes.grdLeft.setRow(1);
    panes.cmdAddTree_Click();
    panes.BuildSelectAndPlacePanes(bank.exam, kPlace, kArea);
    EXPECT_EQ(panes.grdLeft.rows(), 3);
    EXPECT_EQ(panes.grdRight.rows(), 4);
    EXPECT_EQ(panes.grdAnswers.rows(), 3);
    panes.ShowOrderdListAnswers(bank.exam, kOrdered, kArea);
    EXPECT_EQ(panes.grdLeft.rows(), 4);
    EXPECT_EQ(panes.grdRight.rows(), 0);
    EXPECT_EQ(panes.PaneKind, 3);
}

TEST(PaneGrid, RemovingRowsKeepsTheCurrentRowOnTheSameDataOrItsSuccessor)
{
    PaneGrid grid;
    for (const char* text : {"a", "b", "c", "d"})
        grid.addItem(QString::fromLatin1(text));
    grid.setRow(2);
    grid.removeItem(0); // above: the current row moves up with its data
    EXPECT_EQ(grid.row(), 1);
    EXPECT_EQ(grid.text(grid.row(), 0), "c");
    grid.removeItem(1); // the current row itself: its successor takes its place
    EXPECT_EQ(grid.text(grid.row(), 0), "d");
    EXPECT_TRUE(grid.isSelected(grid.row()));
    grid.removeItem(1); // the last: the new last
    EXPECT_EQ(grid.row(), 0);
    grid.removeItem(0);
    EXPECT_EQ(grid.row(), -1);
    EXPECT_THROW(grid.text(0, 0), std::out_of_range);
}

} // namespace
