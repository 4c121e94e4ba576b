#pragma once

#include <QTreeWidget>
#include <vector>

class CategoryTree;

// A category and chapter tree shown as check boxes: one item per node of a
// CategoryTree, and one signal per user action. A click on a box (or Space)
// is a tick of that node; a click on a node's text is a click. Qt reports a
// box click as a change and then a click: the click is swallowed, and a new
// mouse press forgets whatever a keyboard tick left, so the next text click
// still counts.
class WidgetCategoryTreeView : public QTreeWidget {
    Q_OBJECT
public:
    explicit WidgetCategoryTreeView(QWidget* parent = nullptr);

    // Makes the items anew from the tree, expanded; raises no signal.
    void fill(const CategoryTree& tree);
    // Shows the tree's ticks; raises no signal.
    void showChecks(const CategoryTree& tree);

    int nodeOf(const QTreeWidgetItem* item) const;
    QTreeWidgetItem* itemOf(int node) const;

signals:
    void nodeTicked(int node, bool checked);
    void nodeClicked(int node);

protected:
    bool viewportEvent(QEvent* event) override;

private:
    std::vector<QTreeWidgetItem*> m_items; // by node index
    bool m_boxChanged = false;             // a box click's click event is still to come
};
