#include "mainwindow/windows/WidgetCategoryTreeView.h"

#include "mainwindow/CategoryTree.h"
#include "platform/ui/WholeTextTips.h"

#include <QEvent>
#include <QSignalBlocker>
#include <utility>

WidgetCategoryTreeView::WidgetCategoryTreeView(QWidget* parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // A name cut short by a narrow tree reads whole as its tip.
    ShowWholeTextTips(this);
    connect(this, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
        const int node = nodeOf(item);
        if (column != 0 || node < 0)
            return;
        m_boxChanged = true;
        emit nodeTicked(node, item->checkState(0) == Qt::Checked);
    });
    connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item, int) {
        if (std::exchange(m_boxChanged, false))
            return;
        const int node = nodeOf(item);
        if (node >= 0)
            emit nodeClicked(node);
    });
}

bool WidgetCategoryTreeView::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress)
        m_boxChanged = false;
    return QTreeWidget::viewportEvent(event);
}

void WidgetCategoryTreeView::fill(const CategoryTree& tree)
{
    const QSignalBlocker blocker(this);
    clear();
    m_items.clear();
    for (int i = 0; i < tree.size(); ++i) {
        const CategoryTree::Node& node = tree.node(i);
        QTreeWidgetItem* item =
            node.parent < 0 ? new QTreeWidgetItem(this) : new QTreeWidgetItem(m_items[size_t(node.parent)]);
        item->setText(0, node.text);
        item->setData(0, Qt::UserRole, i);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(0, node.checked ? Qt::Checked : Qt::Unchecked);
        m_items.push_back(item);
    }
    expandAll();
}

void WidgetCategoryTreeView::showChecks(const CategoryTree& tree)
{
    const QSignalBlocker blocker(this);
    for (int i = 0; i < int(m_items.size()) && i < tree.size(); ++i) {
        const Qt::CheckState state = tree.isChecked(i) ? Qt::Checked : Qt::Unchecked;
        if (m_items[size_t(i)]->checkState(0) != state)
            m_items[size_t(i)]->setCheckState(0, state);
    }
}

int WidgetCategoryTreeView::nodeOf(const QTreeWidgetItem* item) const
{
    if (!item)
        return -1;
    bool ok = false;
    const int node = item->data(0, Qt::UserRole).toInt(&ok);
    return ok && node >= 0 && node < int(m_items.size()) ? node : -1;
}

QTreeWidgetItem* WidgetCategoryTreeView::itemOf(int node) const
{
    return node >= 0 && node < int(m_items.size()) ? m_items[size_t(node)] : nullptr;
}
