#include "platform/ui/WholeTextTips.h"

#include "platform/ui/PlainText.h"

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QHelpEvent>
#include <QPointer>
#include <QResizeEvent>
#include <QStyle>
#include <QTableView>
#include <QTimer>
#include <QToolTip>
#include <QTreeView>

#include <algorithm>

namespace {

class WholeTextTipper : public QObject {
public:
    explicit WholeTextTipper(QAbstractItemView* view) : QObject(view), m_view(view)
    {
        view->viewport()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::ToolTip || !m_view || watched != m_view->viewport())
            return false;
        const auto* help = static_cast<QHelpEvent*>(event);
        const QModelIndex index = m_view->indexAt(help->pos());
        if (!index.isValid())
            return false;
        // Item texts are data: the tip shows them as written, never as markup.
        const QVariant own = index.data(Qt::ToolTipRole);
        const QString tip = own.isValid()      ? own.toString()
                            : textIsCut(m_view, index) ? index.data(Qt::DisplayRole).toString()
                                                       : QString();
        if (!tip.isEmpty())
            QToolTip::showText(help->globalPos(), plainTip(tip), m_view->viewport(), m_view->visualRect(index));
        else
            QToolTip::hideText();
        return true;
    }

private:
    QPointer<QAbstractItemView> m_view;
};

} // namespace

bool textIsCut(const QAbstractItemView* view, const QModelIndex& index)
{
    if (!view || !index.isValid() || index.data(Qt::DisplayRole).toString().isEmpty())
        return false;
    const QRect shown = view->visualRect(index).intersected(view->viewport()->rect());
    // The delegate's wish: the text, its check box and icon and margins.
    const int wanted = view->itemDelegateForIndex(index)
                           ->sizeHint(
                               [&] {
                                   QStyleOptionViewItem option;
                                   option.initFrom(view->viewport());
                                   option.font = view->font();
                                   option.features |= QStyleOptionViewItem::HasDisplay;
                                   if (index.data(Qt::CheckStateRole).isValid())
                                       option.features |= QStyleOptionViewItem::HasCheckIndicator;
                                   if (index.data(Qt::DecorationRole).isValid())
                                       option.features |= QStyleOptionViewItem::HasDecoration;
                                   return option;
                               }(),
                               index)
                           .width();
    return wanted > shown.width();
}

void ShowWholeTextTips(QAbstractItemView* view)
{
    if (view)
        new WholeTextTipper(view);
}

std::vector<int> sharedWidths(const std::vector<int>& wanted, int room)
{
    std::vector<int> widths = wanted;
    std::vector<bool> settled(wanted.size(), false);
    int left = room;
    size_t open = wanted.size();
    // Settle the columns that fit their share, until the rest all want more.
    for (bool changed = true; changed && open > 0;) {
        changed = false;
        const int share = std::max(0, left) / int(open);
        for (size_t i = 0; i < wanted.size(); ++i)
            if (!settled[i] && wanted[i] <= share) {
                settled[i] = true;
                left -= wanted[i];
                --open;
                changed = true;
            }
    }
    if (open > 0) {
        const int share = std::max(0, left) / int(open);
        for (size_t i = 0; i < wanted.size(); ++i)
            if (!settled[i])
                widths[i] = share;
    }
    return widths;
}

namespace {

void fitColumns(QAbstractItemView* view)
{
    QHeaderView* header = nullptr;
    if (auto* tree = qobject_cast<QTreeView*>(view))
        header = tree->header();
    else if (auto* table = qobject_cast<QTableView*>(view))
        header = table->horizontalHeader();
    if (!header)
        return;
    std::vector<int> columns;
    std::vector<int> wanted;
    std::vector<int> headings; // a heading reads whole whenever the room allows
    for (int i = 0; i < header->count(); ++i) {
        if (header->isSectionHidden(i))
            continue;
        columns.push_back(i);
        const int text = static_cast<const QAbstractItemView*>(view)->sizeHintForColumn(i);
        headings.push_back(header->isHidden() ? 0 : header->sectionSizeHint(i));
        wanted.push_back(std::max(text, headings.back()));
    }
    const int room = view->viewport()->width();
    int headingRoom = 0;
    for (int width : headings)
        headingRoom += width;
    std::vector<int> widths;
    if (headingRoom > 0 && headingRoom <= room) {
        // Every heading whole, the rest of the room shared by the texts.
        std::vector<int> more(wanted.size());
        for (size_t i = 0; i < wanted.size(); ++i)
            more[i] = wanted[i] - headings[i];
        widths = sharedWidths(more, room - headingRoom);
        for (size_t i = 0; i < widths.size(); ++i)
            widths[i] += headings[i];
    } else {
        widths = sharedWidths(wanted, room);
    }
    for (size_t i = 0; i < columns.size(); ++i)
        header->resizeSection(columns[i], widths[i]);
    // A heading cut short reads whole as its tip.
    if (QAbstractItemModel* model = view->model()) {
        for (size_t i = 0; i < columns.size(); ++i) {
            const QString heading = model->headerData(columns[i], Qt::Horizontal, Qt::DisplayRole).toString();
            const QString tip = widths[i] < headings[i] ? heading : QString();
            if (model->headerData(columns[i], Qt::Horizontal, Qt::ToolTipRole).toString() != tip)
                model->setHeaderData(columns[i], Qt::Horizontal, tip, Qt::ToolTipRole);
        }
    }
}

// Fits the columns again whenever the view's width or its rows change.
class ColumnFitter : public QObject {
public:
    explicit ColumnFitter(QAbstractItemView* view) : QObject(view), m_view(view)
    {
        setObjectName(QStringLiteral("ColumnFitter"));
        view->viewport()->installEventFilter(this);
        if (QAbstractItemModel* model = view->model()) {
            connect(model, &QAbstractItemModel::rowsInserted, this, &ColumnFitter::fitSoon);
            connect(model, &QAbstractItemModel::rowsRemoved, this, &ColumnFitter::fitSoon);
            connect(model, &QAbstractItemModel::modelReset, this, &ColumnFitter::fitSoon);
            connect(model, &QAbstractItemModel::dataChanged, this, &ColumnFitter::fitSoon);
            connect(model, &QAbstractItemModel::layoutChanged, this, &ColumnFitter::fitSoon);
        }
    }

    // Once for a burst of changes (a list filled row by row).
    void fitSoon()
    {
        if (m_pending)
            return;
        m_pending = true;
        QTimer::singleShot(0, this, [this] {
            m_pending = false;
            if (m_view)
                fitColumns(m_view);
        });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Resize && m_view && watched == m_view->viewport()
            && static_cast<QResizeEvent*>(event)->size().width()
                != static_cast<QResizeEvent*>(event)->oldSize().width())
            fitColumns(m_view);
        return false;
    }

private:
    QPointer<QAbstractItemView> m_view;
    bool m_pending = false;
};

} // namespace

void FitColumnsToContent(QAbstractItemView* view)
{
    if (!view)
        return;
    if (!view->findChild<ColumnFitter*>(QStringLiteral("ColumnFitter"), Qt::FindDirectChildrenOnly))
        new ColumnFitter(view);
    fitColumns(view);
}

int contentWidthOf(const QAbstractItemView* view)
{
    if (!view)
        return 0;
    int width = 2 * view->frameWidth();
    if (const auto* tree = qobject_cast<const QTreeView*>(view)) {
        for (int i = 0; i < tree->header()->count(); ++i)
            if (!tree->header()->isSectionHidden(i))
                width += view->sizeHintForColumn(i);
    } else {
        width += view->sizeHintForColumn(0);
    }
    return width + view->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 4;
}

void FitTextsWithTips(QAbstractItemView* view)
{
    ShowWholeTextTips(view);
    FitColumnsToContent(view);
}

void ShowWholeTextTip(QLineEdit* box)
{
    QObject::connect(box, &QLineEdit::textChanged, box,
                     [box](const QString& text) { box->setToolTip(plainTip(text)); });
}
