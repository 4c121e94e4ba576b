#pragma once

#include <QRect>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

class ExamBank;

// One grid of the answer panes: rows of three text cells (no header row),
// a current row and the rows selected, column widths, outline levels, and
// where the grid stands in the answer view.
class PaneGrid {
public:
    static constexpr int kCols = 3;

    int rows() const { return int(m_rows.size()); }
    // New rows are empty; rows beyond the count are dropped.
    void setRows(int count);
    void clear() { setRows(0); }

    // The current row, -1 when there is none.
    int row() const { return m_row; }
    // Makes `row` current and the only selected row, as a click does; -1
    // (or a row outside the grid) leaves no current row and no selection.
    void setRow(int row);
    bool isSelected(int row) const;
    void setSelected(int row, bool selected);

    // Cells inside the grid only (std::out_of_range otherwise).
    QString text(int row, int col) const;
    void setText(int row, int col, const QString& value);
    // Adds a row from tab-separated texts at the end, or before row `at`.
    void addItem(const QString& tabSeparated);
    void addItem(const QString& tabSeparated, int at);
    // Removes a row; a current row below it moves up with it, and a removed
    // current row passes to the row that takes its place (or the new last).
    void removeItem(int row);

    // -1 until set.
    int colWidth(int col) const;
    void setColWidth(int col, int width);
    // An outline node's level; -1 for a row that is no node.
    int outlineLevel(int row) const;
    void setOutlineLevel(int row, int level);

    QRect geometry;
    bool visible = true;

private:
    struct Row {
        QStringList cells;
        bool selected = false;
        int outline = -1;
    };
    void checkRow(int row) const;
    static Row rowOf(const QString& tabSeparated);

    std::vector<Row> m_rows;
    int m_row = -1;
    std::array<int, kCols> m_widths{-1, -1, -1};
};

// A button or frame of the panes: where it stands and whether it shows.
struct PaneControl {
    QRect geometry;
    bool visible = true;
};

// The grid-based answer panes of the three interactive kinds: an ordered
// list (items on the left, the user's order on the right), a tree (the tree
// on the left, the pieces on the right) and select and place (the items,
// their places and the pieces). The builders fill and place the grids for
// one question below the question page; the handlers are the buttons' rules.
class GridPanes {
public:
    // The panes as the exam window loads them: the two main grids and both
    // button frames shown, the places grid and the tree buttons hidden.
    GridPanes();

    // Where the panes go: the answer view's top and width and the height of
    // the question page's container, in the view's units.
    struct Area {
        int viewTop = 0;
        int viewWidth = 0;
        int pictureHeight = 0;
    };

    // Ordered list: the left grid ("items") and right grid ("the order").
    // Tree: the left grid is the tree (root, nodes "G", placed leaves "SG"),
    // the right grid the pieces. Select and place: the left grid the items,
    // grdAnswers the places, the right grid the pieces.
    PaneGrid grdLeft;
    PaneGrid grdRight;
    PaneGrid grdAnswers;
    PaneControl frameMoveBtn; // holds cmdMove and cmdBack
    PaneControl frameUpDown;  // holds cmdUp and cmdDown
    PaneControl cmdAddTree;
    PaneControl cmdTrRemove;
    // The interactive kind the panes were last built for by the tree or the
    // select-and-place builder (2 tree, 3 select and place); 0 before.
    int PaneKind = 0;

    // Every question shown hides the two tree buttons again.
    void hideTreeButtons();

    // Each builder starts the grids it fills from empty, so the panes hold
    // one question. The ordered list is built only when the question has
    // answer rows; false otherwise, and nothing changes.
    bool ShowOrderdListAnswers(ExamBank& bank, int questCode, const Area& area);
    void BuildTreePanes(ExamBank& bank, int questCode, const Area& area);
    void BuildSelectAndPlacePanes(ExamBank& bank, int questCode, const Area& area);

    // Copies the current item of the left grid to the end of the right one,
    // while the right one has fewer rows.
    void cmdMove_Click();
    // Removes the current row of the right grid.
    void cmdBack_Click();
    // Swap the current row of the right grid with its neighbour.
    void cmdUp_Click();
    void cmdDown_Click();
    // Tree: puts the current piece under the current node as a leaf. Select
    // and place: writes it into the current place and moves to the next.
    void cmdAddTree_Click();
    // Tree: removes the current leaf. Select and place: empties the current
    // place and moves to the next.
    void cmdTrRemove_Click();

    static QString onlyItemsText(int count);
    static QString cannotRemoveNodeText() { return QStringLiteral("Could not remove selected node from the tree."); }

private:
    void placeLeftGrid(const Area& area, double widthFactor);
    void placeRightGrid(int left);
    // The current row of a grid when it is selected; -1 otherwise.
    static int selectedCurrentRow(const PaneGrid& grid);
    // The current piece's text; "" when there is none.
    QString currentPiece() const;
    static void moveToNextPlace(PaneGrid& grid, int row);
};
