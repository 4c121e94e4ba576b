#pragma once

#include <vector>

class QAbstractItemView;
class QLineEdit;

// Lists, tables and trees whose columns may be narrower than their texts.

// Whether the text of the item at that cell is cut (elided) where the view
// shows it now.
class QModelIndex;
bool textIsCut(const QAbstractItemView* view, const QModelIndex& index);

// The view shows the whole text of an item as its tip wherever the item's
// text is cut, and no tip where it reads whole (an item's own tip wins).
// Every tip shows its text as written, never as markup.
void ShowWholeTextTips(QAbstractItemView* view);

// Column widths that share the room: every column that wants no more than
// an equal share gets what it wants; the room left is shared equally by the
// wider ones. With room for all, each gets what it wants.
std::vector<int> sharedWidths(const std::vector<int>& wanted, int room);

// The view's visible columns take the width of their texts (and headers)
// where the view has room, else share it as above: a cut text shows whole
// as its tip. The view fits them again whenever its width or its rows
// change.
void FitColumnsToContent(QAbstractItemView* view);

// The width at which the view shows every text of its visible columns
// whole, with room for a vertical scroll bar.
int contentWidthOf(const QAbstractItemView* view);

// Both: the columns fitted to their texts where the view has room, and a
// text cut short shown whole as its tip.
void FitTextsWithTips(QAbstractItemView* view);

// A box whose text may be longer than it shows: its whole text as its tip,
// as written.
void ShowWholeTextTip(QLineEdit* box);
