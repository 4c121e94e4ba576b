#include "exam/GridPanes.h"

#include "foundation/ExamBank.h"
#include "foundation/Messages.h"
#include "foundation/SharedState.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <stdexcept>
#include <utility>

namespace {

constexpr int kPaneHeight = 3000;
constexpr int kPaneLeft = 450;
const QString kNode = QStringLiteral("G");
const QString kLeaf = QStringLiteral("SG");

// The panes' width: a share of the view's width, rounded to a whole number
// half to even, times 14.
int paneWidth(int viewWidth, double factor)
{
    return int(std::nearbyint(viewWidth * factor)) * 14;
}

int rightEdge(const QRect& r)
{
    return r.x() + r.width();
}

QString cells(const QString& a, const QString& b)
{
    return a + QLatin1Char('\t') + b;
}

QString cells(const QString& a, const QString& b, const QString& c)
{
    return a + QLatin1Char('\t') + b + QLatin1Char('\t') + c;
}

} // namespace

// ---- PaneGrid ----

void PaneGrid::setRows(int count)
{
    m_rows.resize(size_t(std::max(0, count)), rowOf(QString()));
    if (m_row >= rows())
        m_row = -1;
}

void PaneGrid::setRow(int row)
{
    for (Row& r : m_rows)
        r.selected = false;
    if (row < 0 || row >= rows()) {
        m_row = -1;
        return;
    }
    m_row = row;
    m_rows[size_t(row)].selected = true;
}

bool PaneGrid::isSelected(int row) const
{
    return row >= 0 && row < rows() && m_rows[size_t(row)].selected;
}

void PaneGrid::setSelected(int row, bool selected)
{
    checkRow(row);
    m_rows[size_t(row)].selected = selected;
}

void PaneGrid::checkRow(int row) const
{
    if (row < 0 || row >= rows())
        throw std::out_of_range("Subscript out of range");
}

QString PaneGrid::text(int row, int col) const
{
    checkRow(row);
    if (col < 0 || col >= kCols)
        throw std::out_of_range("Subscript out of range");
    return m_rows[size_t(row)].cells[col];
}

void PaneGrid::setText(int row, int col, const QString& value)
{
    checkRow(row);
    if (col < 0 || col >= kCols)
        throw std::out_of_range("Subscript out of range");
    m_rows[size_t(row)].cells[col] = value;
}

PaneGrid::Row PaneGrid::rowOf(const QString& tabSeparated)
{
    Row row;
    row.cells = tabSeparated.split(QLatin1Char('\t'));
    while (row.cells.size() > kCols)
        row.cells.removeLast();
    while (row.cells.size() < kCols)
        row.cells.append(QString());
    return row;
}

void PaneGrid::addItem(const QString& tabSeparated)
{
    m_rows.push_back(rowOf(tabSeparated));
}

void PaneGrid::addItem(const QString& tabSeparated, int at)
{
    if (at < 0 || at > rows())
        throw std::out_of_range("Subscript out of range");
    m_rows.insert(m_rows.begin() + at, rowOf(tabSeparated));
}

void PaneGrid::removeItem(int row)
{
    checkRow(row);
    m_rows.erase(m_rows.begin() + row);
    if (row < m_row)
        --m_row;
    else if (row == m_row)
        setRow(std::min(m_row, rows() - 1));
}

int PaneGrid::colWidth(int col) const
{
    return col >= 0 && col < kCols ? m_widths[size_t(col)] : -1;
}

void PaneGrid::setColWidth(int col, int width)
{
    if (col < 0 || col >= kCols)
        throw std::out_of_range("Subscript out of range");
    m_widths[size_t(col)] = width;
}

int PaneGrid::outlineLevel(int row) const
{
    checkRow(row);
    return m_rows[size_t(row)].outline;
}

void PaneGrid::setOutlineLevel(int row, int level)
{
    checkRow(row);
    m_rows[size_t(row)].outline = level;
}

// ---- GridPanes ----

GridPanes::GridPanes()
{
    grdAnswers.visible = false;
    hideTreeButtons();
}

void GridPanes::hideTreeButtons()
{
    cmdAddTree.visible = false;
    cmdTrRemove.visible = false;
}

QString GridPanes::onlyItemsText(int count)
{
    return QStringLiteral("Only ") + QString::number(count) + QStringLiteral(" items could be added here.");
}

void GridPanes::placeLeftGrid(const Area& area, double widthFactor)
{
    grdLeft.geometry =
        QRect(kPaneLeft, area.viewTop + area.pictureHeight + 250, paneWidth(area.viewWidth, widthFactor), kPaneHeight);
    grdLeft.visible = true;
}

void GridPanes::placeRightGrid(int left)
{
    grdRight.geometry = QRect(left, grdLeft.geometry.y(), grdLeft.geometry.width(), kPaneHeight);
    grdRight.visible = true;
}

bool GridPanes::ShowOrderdListAnswers(ExamBank& bank, int questCode, const Area& area)
{
    const std::vector<ExamBank::InteractiveItem> items = bank.interactiveItems(questCode);
    if (items.empty())
        return false;
    grdLeft.clear();
    grdRight.clear();
    placeLeftGrid(area, 0.4);
    frameMoveBtn.geometry.moveTo(rightEdge(grdLeft.geometry) + 30, grdLeft.geometry.y() + 150);
    placeRightGrid(rightEdge(grdLeft.geometry) + frameMoveBtn.geometry.width() + 100);
    // The order buttons stand beside the user's order, level with the move buttons.
    frameUpDown.geometry.moveTo(rightEdge(grdRight.geometry) + 10, frameMoveBtn.geometry.y());
    // The sequence column is kept for the answer but never shown.
    grdLeft.setColWidth(0, 1500);
    grdLeft.setColWidth(1, 0);
    for (const ExamBank::InteractiveItem& item : items)
        grdLeft.addItem(cells(item.leftItem, QString::number(item.rightSeq)));
    return true;
}

void GridPanes::BuildTreePanes(ExamBank& bank, int questCode, const Area& area)
{
    const std::optional<ExamBank::QuestionHead> head = bank.questionHead(questCode);
    PaneKind = head ? head->interactiveCode : 0;
    const std::vector<ExamBank::InteractiveItem> items = bank.interactiveItems(questCode);
    grdLeft.clear();
    grdRight.clear();
    placeLeftGrid(area, 0.4);
    cmdAddTree.geometry.moveTo(rightEdge(grdLeft.geometry) + 200, grdLeft.geometry.y() + 150);
    cmdTrRemove.geometry.moveTo(cmdAddTree.geometry.x(), cmdAddTree.geometry.y() + cmdAddTree.geometry.height() + 10);
    cmdAddTree.visible = true;
    cmdTrRemove.visible = true;
    placeRightGrid(rightEdge(grdLeft.geometry) + frameMoveBtn.geometry.width() + 100);
    // A question without rows has no root to show.
    if (items.empty())
        return;
    grdLeft.addItem(items.front().rootText);
    for (const ExamBank::InteractiveItem& item : items) {
        if (!item.rightItem.isEmpty())
            grdRight.addItem(cells(item.rightItem, QString::number(item.rightSeq)));
        if (!item.leftItem.isEmpty()) {
            grdLeft.addItem(cells(item.leftItem, kNode, QString::number(item.leftSeq)));
            grdLeft.setOutlineLevel(grdLeft.rows() - 1, 2);
        }
    }
}

void GridPanes::BuildSelectAndPlacePanes(ExamBank& bank, int questCode, const Area& area)
{
    const std::optional<ExamBank::QuestionHead> head = bank.questionHead(questCode);
    PaneKind = head ? head->interactiveCode : 0;
    const std::vector<ExamBank::InteractiveItem> items = bank.interactiveItems(questCode);
    grdLeft.clear();
    grdRight.clear();
    grdAnswers.clear();
    placeLeftGrid(area, 0.3);
    for (const ExamBank::InteractiveItem& item : items)
        if (!item.leftItem.isEmpty())
            grdLeft.addItem(item.leftItem);
    grdAnswers.setRows(grdLeft.rows());
    grdAnswers.geometry =
        QRect(rightEdge(grdLeft.geometry) + 100, grdLeft.geometry.y(), grdLeft.geometry.width(), kPaneHeight);
    grdAnswers.visible = true;
    cmdAddTree.geometry.moveTo(rightEdge(grdAnswers.geometry) + 15, grdAnswers.geometry.y() + 150);
    cmdTrRemove.geometry.moveTo(cmdAddTree.geometry.x(), cmdAddTree.geometry.y() + cmdAddTree.geometry.height() + 10);
    cmdAddTree.visible = true;
    cmdTrRemove.visible = true;
    placeRightGrid(rightEdge(cmdAddTree.geometry) + 100);
    for (const ExamBank::InteractiveItem& item : items)
        if (!item.rightItem.isEmpty())
            grdRight.addItem(cells(item.rightItem, QString::number(item.rightSeq)));
}

void GridPanes::cmdMove_Click()
{
    if (grdLeft.rows() == 0 || grdLeft.row() < 0)
        return;
    if (grdRight.rows() < grdLeft.rows()) {
        const QString item = grdLeft.text(grdLeft.row(), 0);
        grdRight.addItem(cells(item, item));
    } else {
        ShowMessage(onlyItemsText(grdLeft.rows()), gLogin.gAppName, OneButton);
    }
}

void GridPanes::cmdBack_Click()
{
    if (grdRight.rows() > 0 && grdRight.row() >= 0)
        grdRight.removeItem(grdRight.row());
}

namespace {

// Swaps the two visible cells of two rows.
void swapRows(PaneGrid& grid, int a, int b)
{
    for (int col = 0; col < 2; ++col) {
        const QString held = grid.text(a, col);
        grid.setText(a, col, grid.text(b, col));
        grid.setText(b, col, held);
    }
}

} // namespace

void GridPanes::cmdUp_Click()
{
    const int row = grdRight.row();
    if (grdRight.rows() < 3 || row < 1)
        return;
    swapRows(grdRight, row, row - 1);
    grdRight.setRow(row - 1);
}

void GridPanes::cmdDown_Click()
{
    const int row = grdRight.row();
    if (row < 0 || row >= grdRight.rows() - 1)
        return;
    swapRows(grdRight, row, row + 1);
    grdRight.setRow(row + 1);
}

int GridPanes::selectedCurrentRow(const PaneGrid& grid)
{
    return grid.isSelected(grid.row()) ? grid.row() : -1;
}

QString GridPanes::currentPiece() const
{
    const int row = selectedCurrentRow(grdRight);
    return row < 0 ? QString() : grdRight.text(row, 0);
}

void GridPanes::moveToNextPlace(PaneGrid& grid, int row)
{
    grid.setRow(row + 1 < grid.rows() ? row + 1 : 0);
}

void GridPanes::cmdAddTree_Click()
{
    const QString piece = currentPiece();
    if (piece.isEmpty())
        return;
    if (PaneKind == 2) {
        const int node = selectedCurrentRow(grdLeft);
        if (node >= 0 && grdLeft.text(node, 1) == kNode)
            grdLeft.addItem(cells(grdLeft.text(node, 2), kLeaf, piece), node + 1);
    } else if (PaneKind == 3) {
        const int place = selectedCurrentRow(grdAnswers);
        if (place >= 0) {
            grdAnswers.setText(place, 0, piece);
            moveToNextPlace(grdAnswers, place);
        }
    }
}

void GridPanes::cmdTrRemove_Click()
{
    if (PaneKind == 2) {
        const int row = selectedCurrentRow(grdLeft);
        // The root (row 0) always stays.
        if (row < 1)
            return;
        if (grdLeft.text(row, 1) == kLeaf)
            grdLeft.removeItem(row);
        else
            ShowMessage(cannotRemoveNodeText(), gLogin.gAppName, OneButton);
    } else if (PaneKind == 3) {
        const int place = selectedCurrentRow(grdAnswers);
        if (place >= 0 && !grdAnswers.text(place, 0).isEmpty()) {
            grdAnswers.setText(place, 0, QString());
            moveToNextPlace(grdAnswers, place);
        }
    }
}
